// The page-writing sequence and the stepped blend it shares with the title
// screens.
#include "writing/Ecriture.h"

#include "effects/EffectCommon.h"
#include "effects/TABitmap.h"
#include "writing/PageComposer.h"

namespace corvane {

void blendInSteps(const TABitmap &source, QImage &picture, bool fine, const Present &present)
{
    steppedBlend(source, picture, fine ? BlendSteps{24, 0, 4} : BlendSteps{17, 0, 6}, present);
}

QString Ecriture(QImage &picture, const PageComposer &composer, PictureState &state,
                 const EcritureOptions &options, const EcritureRows &rows,
                 const FadeContext &context)
{
    if (state.FBColor)
        PFadeInG(picture, options.GColor, state, context);
    if (!options.FFileIn && rows.FRetsuIist)
        rows.FRetsuIist();
    if (options.fadeOut && state.FPageShown)
        PFadeOut(picture, options.GColor, state, context);

    if (picture.isNull())
        picture = TABitmap(kPictureWidth, kPictureHeight).take();
    TABitmap page(picture.width(), picture.height());
    PageStyle style;
    style.horizontal = options.horizontal;
    style.gothic = options.gothic;
    style.tenderly = context.tenderly;
    style.textColour = options.FoColor;
    style.background = options.GColor;
    const std::span<const std::string> pageRows
            = rows.FRows ? rows.FRows() : std::span<const std::string>();
    composer.compose(page, pageRows, style, context.random,
                     rows.marks ? rows.marks() : PageMarks{});

    if (options.fadeIn) {
        blendInSteps(page, picture, options.fadeOut, context.present);
    } else {
        page.copyOnto(picture);
        if (context.present)
            context.present();
    }

    state.FPageShown = true;
    if (options.GColor != 0)
        state.FBColor = false;
    state.FFreshStart = false;
    return options.FFileIn ? QString() : QStringLiteral("Corvanes");
}

} // namespace corvane
