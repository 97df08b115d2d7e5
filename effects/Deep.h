// Deep (Mu-gen): a frame, or a pair of lines, drawn at an inset sweeping from
// the border to the centre and back, in a slowly walking colour, with the
// whole picture blended half and half with itself one row lower after every
// drawing, so every line runs down as a soft streak. Nothing is erased.
// The window owns FDeep, Timer5 and the "Deep Separation" box.
#pragma once
#include "effects/Canvas.h"
#include "effects/EffectCommon.h"

#include <QImage>

namespace corvane {

class RandomGenerator;

struct DeepState
{
    static constexpr int kWalkTop = 16568930;  // walk turns down above this
    static constexpr int kWalkBottom = 131070; // and jumps up at or below this

    bool FBlackRect = true;          // "Deep Black" ground, else light grey; stored, read at start
    quint32 FDeepColor = kLightGrey; // colour of the next frame or lines
    int FDeepWalk = int(kLightGrey); // colour walk, a 24-bit colour as a plain integer
    bool FDeepWalkUp = true;         // walk rising
    int FDeepInset = 5;              // inset of frame or lines, pixels
    bool FDeepGrowing = true;        // inset moving towards the centre
    int FDeepSepMode = 0;            // 0..4: which line pair "Deep Separation" draws
    int FDeepSlow = 2;               // the inset moves 5 - FDeepSlow pixels per tick

    // Program start-up: the walk begins at a random colour. The other start
    // values are the member defaults; later runs continue where the last stopped.
    void init(RandomGenerator &random, const EffectClock &clock);

    // Stop the others first (not a running Deep); fade to the ground colour
    // when the background is not black.
    StartPlan plan(const Busy &running, quint32 GColor) const;

    // Ground filled, brush set to the frame colour. Only FDeepColor restarts.
    StartResult start(Canvas &canvas);

    // One frame: draw, smear, move the inset, walk the colour.
    void tick(bool separation, Canvas &canvas, RandomGenerator &random);

    // One step of the colour walk.
    void ColorChange(RandomGenerator &random);

    // Every row from 1 down becomes, byte by byte, the mean (rounded down) of
    // itself and the row above as it was before; row 0 stays. Done in place
    // from the bottom up, which reads each upper row before it changes.
    static void smear(QImage &picture);

    // The key that draws a line along row 0 (which then feeds every tick).
    static void drawTopLine(Canvas &canvas, quint32 colour);
};

} // namespace corvane
