// The About screen's picture.
#include "app/AboutScreen.h"

#include <QString>

#include "core/Design.h"
#include "effects/EffectCommon.h"
#include "effects/TABitmap.h"
#include "writing/Faces.h"
#include "writing/GlyphPainter.h"
#include "writing/PageComposer.h"

namespace corvane {

void composeAbout(TABitmap &bitmap, const FaceLibrary &faces, bool gothic, quint32 FoColor,
                  quint32 GColor, bool tenderly, RandomGenerator &random)
{
    if (bitmap.isEmpty())
        bitmap.setSize(kPictureWidth, kPictureHeight);
    bitmap.fill(GColor);
    if (const Face *face = faces.face(pageFace(true, gothic))) {
        // Through the one glyph path, so the credits share the pages' tone.
        GlyphPainter glyphs(bitmap.image().size());
        for (const AboutLine &line : kAboutLines) {
            const std::u32string text = QString::fromUtf8(line.text).toStdU32String();
            drawHorizontalText(glyphs, *face, kAboutFontHeight, QPointF(line.x, line.y), text);
        }
        glyphs.paintOnto(bitmap.image(), FoColor);
    }
    if (tenderly)
        TABitmap::AddNoise(bitmap, kGrainAmount, random);
}

} // namespace corvane
