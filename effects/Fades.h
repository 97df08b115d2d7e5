// The soft picture changes (fades to a colour, to black, to light grey, back
// in from a plain colour, the start-up grain) and the flag rules of the colour
// and fade commands, as window-free functions. The window owns the picture
// (a 24-bit QImage, converted if it is not), the flags and the generator and
// passes them in; `present` repaints the picture at once and holds it for one
// display frame, so every step is seen. The picture's pixels are written in
// place: a view that shows this very QImage sees each step.
#pragma once
#include <QImage>
#include <functional>

#include "effects/PictureState.h"

namespace corvane {

class RandomGenerator;
class TABitmap;

using Present = std::function<void()>;

// A stepped blend: count blends of source onto picture at Alpha base + slope * i
// (i from 0), each presented, then source copied over the picture and
// presented once more, since a blend at Alpha 255 stops one short of the
// source. Every fade, page, title screen and plasma picture comes on this way.
struct BlendSteps
{
    int count;
    int base;
    int slope;
};
void steppedBlend(const TABitmap &source, QImage &picture, BlendSteps steps,
                  const Present &present);

// What a fade reads besides the picture.
struct FadeContext
{
    RandomGenerator &random; // set by the grain, so it moves on after a textured fade
    Present present;         // may be empty (nothing to show, as in tests)
    bool tenderly = true;    // "Tenderly": the fill of PFadeOut carries the fixed grain
    bool color = false;      // "Color": PFadeInG paints the plain colour once more
};

// 27 steps at Alpha 12 x i towards colour (grained with "Tenderly"), then the
// fill itself. A colour other than 0 clears FBColor. 28 presents.
void PFadeOut(QImage &picture, quint32 colour, PictureState &state, const FadeContext &context);
// 17 steps at Alpha 25 towards black, then black. Sets FBColor. 18 presents.
void PFadeOutB(QImage &picture, PictureState &state, const FadeContext &context);
// 27 steps at Alpha 25 towards light grey 0xE7E7E7, then grey. Sets FBColor. 28 presents.
void PFadeOutW(QImage &picture, PictureState &state, const FadeContext &context);
// 17 steps at Alpha 8 x i towards colour, never grained, then the fill.
// FBColor is only read ("Color" with FBColor paints colour again). 18 presents.
void PFadeInG(QImage &picture, quint32 colour, const PictureState &state,
              const FadeContext &context);
// The fixed grain over the whole picture, as at start-up. 1 present.
void PNoise1(QImage &picture, const FadeContext &context);

// A random background colour 0x00BBGGRR. With coolColor: dim and bluish,
// blue in 60..167 and red and green within 20 of it; without: red and green
// random and no blue. Draws from the generator as it stands; the caller
// reseeds it from the clock first.
quint32 randomBackground(RandomGenerator &random, bool coolColor);

// The colour commands (font colour, background colour, random background),
// once their new colour is in place: fade to GColor and set FSamePage; with a
// page shown, write it again through rewritePage (the forward command, which
// then sees FSamePage), otherwise clear FPageShown and leave the picture blank.
void fadeToNewColour(QImage &picture, quint32 GColor, PictureState &state,
                     const FadeContext &context, const std::function<void()> &rewritePage);
// The background commands' rule after fadeToNewColour: a GColor other than 0
// means the picture shows the background, so FBColor is cleared.
void settleBackground(quint32 GColor, PictureState &state);

// "FadeOut": nothing while an effect runs or when there is nothing to fade
// (neither FBColor nor FPageShown). Returns whether it faded.
bool runFadeOut(bool busy, QImage &picture, quint32 GColor, PictureState &state,
                const FadeContext &context);
// "BLackFadeout": nothing while an effect runs. Returns whether it faded.
bool runBlackFadeOut(bool busy, QImage &picture, PictureState &state, const FadeContext &context);

} // namespace corvane
