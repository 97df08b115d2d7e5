// Title and end screens.
#include "writing/TitleScreens.h"

#include "effects/EffectCommon.h"
#include "effects/TABitmap.h"
#include "writing/Ecriture.h"
#include "writing/Faces.h"
#include "writing/GlyphPainter.h"
#include "writing/PageComposer.h"

namespace corvane {

TitleWord titleWord(bool ending, int width, int height)
{
    return ending ? TitleWord{"FIN", width / 2 - 20, height / 2 - 10}
                  : TitleWord{"Corvane", width / 2 - 60, height / 2 - 10};
}

void composeTitle(TABitmap &bitmap, const FaceLibrary &faces, bool ending, bool gothic,
                  quint32 FoColor, quint32 GColor, bool tenderly, RandomGenerator &random)
{
    if (bitmap.isEmpty())
        bitmap.setSize(kPictureWidth, kPictureHeight);
    bitmap.fill(GColor);
    const TitleWord w = titleWord(ending, bitmap.width(), bitmap.height());
    if (const Face *face = faces.face(pageFace(true, gothic))) {
        std::u32string text;
        for (const char *p = w.word; *p; ++p)
            text.push_back(char32_t(uchar(*p)));
        GlyphPainter glyphs(bitmap.image().size());
        drawHorizontalText(glyphs, *face, kTitleFontHeight, QPointF(w.x, w.y), text,
                           /*bold=*/kTitleFontWeight >= 550);
        glyphs.paintOnto(bitmap.image(), FoColor);
    }
    if (tenderly)
        TABitmap::AddNoise(bitmap, kGrainAmount, random);
}

void FCorvanes(QImage &picture, const FaceLibrary &faces, PictureState &state,
               const TitleOptions &options, const FadeContext &context)
{
    if (picture.isNull())
        picture = TABitmap(kPictureWidth, kPictureHeight).take();
    if (options.FEnding && !state.FBColor && !state.FFreshStart)
        PFadeOut(picture, options.GColor, state, context);

    TABitmap screen(picture.width(), picture.height());
    composeTitle(screen, faces, options.FEnding, options.gothic, options.FoColor, options.GColor,
                 context.tenderly, context.random);
    blendInSteps(screen, picture, options.fadeOut, context.present);

    state.FPageShown = true;
    state.FBColor = false;
    PFadeOut(picture, options.GColor, state, context);
}

} // namespace corvane
