// Fades, the start-up grain, the random background and the flag rules of the
// colour and fade commands. Writes the picture and, through the PictureState
// it is given, FBColor, FPageShown and FSamePage.
#include "effects/Fades.h"

#include "core/Design.h"
#include "effects/Random.h"
#include "effects/TABitmap.h"

namespace corvane {

namespace {

constexpr quint32 kBlack = 0x000000;

constexpr BlendSteps kFadeOut{27, 0, 12}; // Alpha 0..312; 255 and over blend at 255
constexpr BlendSteps kFadeOutB{17, 25, 0};
constexpr BlendSteps kFadeOutW{27, 25, 0};
constexpr BlendSteps kFadeInG{17, 0, 8}; // Alpha 0..128: half way, then the copy

void show(const FadeContext &context)
{
    if (context.present)
        context.present();
}

TABitmap plainFill(const QImage &picture, quint32 colour)
{
    TABitmap fill(picture.width(), picture.height());
    fill.fill(colour);
    return fill;
}

} // namespace

void steppedBlend(const TABitmap &source, QImage &picture, BlendSteps steps, const Present &present)
{
    for (int i = 0; i < steps.count; ++i) {
        source.BlendOnto(0, 0, source.width(), source.height(), picture,
                         quint16(steps.base + steps.slope * i));
        if (present)
            present();
    }
    source.copyOnto(picture);
    if (present)
        present();
}

void PFadeOut(QImage &picture, quint32 colour, PictureState &state, const FadeContext &context)
{
    TABitmap fill = plainFill(picture, colour);
    if (context.tenderly)
        TABitmap::AddNoise(fill, kGrainAmount, context.random);
    steppedBlend(fill, picture, kFadeOut, context.present);
    if (colour != 0)
        state.FBColor = false;
}

void PFadeOutB(QImage &picture, PictureState &state, const FadeContext &context)
{
    steppedBlend(plainFill(picture, kBlack), picture, kFadeOutB, context.present);
    TABitmap::fillImage(picture, kBlack);
    state.FBColor = true;
}

void PFadeOutW(QImage &picture, PictureState &state, const FadeContext &context)
{
    steppedBlend(plainFill(picture, kLightGrey), picture, kFadeOutW, context.present);
    TABitmap::fillImage(picture, kLightGrey);
    state.FBColor = true;
}

void PFadeInG(QImage &picture, quint32 colour, const PictureState &state,
              const FadeContext &context)
{
    steppedBlend(plainFill(picture, colour), picture, kFadeInG, context.present);
    if (context.color && state.FBColor)
        TABitmap::fillImage(picture, colour);
}

void PNoise1(QImage &picture, const FadeContext &context)
{
    TABitmap grained(picture);
    TABitmap::AddNoise(grained, kGrainAmount, context.random);
    picture = grained.take();
    show(context);
}

quint32 randomBackground(RandomGenerator &random, bool coolColor)
{
    if (!coolColor)
        return random.next(65535); // 0..0xFFFE: red and green only
    quint32 a = random.next(255);
    // Fold the bright end down, then lift the dark end: blue ends in 60..167.
    if (a >= 168)
        a -= 100;
    if (a <= 70)
        a += 60;
    const quint32 g = a + random.next(40) - 20; // draw order: green, then red
    const quint32 r = a + random.next(40) - 20;
    return (a << 16) | (g << 8) | r;
}

void fadeToNewColour(QImage &picture, quint32 GColor, PictureState &state,
                     const FadeContext &context, const std::function<void()> &rewritePage)
{
    PFadeOut(picture, GColor, state, context);
    state.FSamePage = true;
    if (state.FPageShown && rewritePage)
        rewritePage();
    else
        state.FPageShown = false; // the fade took the page away
}

void settleBackground(quint32 GColor, PictureState &state)
{
    if (GColor != 0)
        state.FBColor = false;
}

bool runFadeOut(bool busy, QImage &picture, quint32 GColor, PictureState &state,
                const FadeContext &context)
{
    if (busy || (!state.FBColor && !state.FPageShown))
        return false;
    PFadeOut(picture, GColor, state, context);
    if (GColor != 0)
        state.FBColor = false;
    state.FPageShown = false;
    state.FSamePage = true;
    return true;
}

bool runBlackFadeOut(bool busy, QImage &picture, PictureState &state, const FadeContext &context)
{
    if (busy)
        return false;
    PFadeOutB(picture, state, context);
    state.FPageShown = false;
    state.FSamePage = true;
    return true;
}

} // namespace corvane
