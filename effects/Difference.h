// Difference: one or two wandering shapes, each chased by up to 35 copies of
// itself in a colour ramp that ends in black, so the end of the trail wipes
// out the oldest positions. With "Paint" a tunnel of nested rectangles opens
// the run. The window owns FDifference, Timer1 and the three option boxes;
// this holds the rest and draws.
#pragma once
#include "effects/Canvas.h"
#include "effects/EffectCommon.h"

#include <array>

namespace corvane {

class RandomGenerator;

// The three boxes, read at the start and locked while the effect runs.
struct DifferenceOptions
{
    bool form = false;  // LCheckBox1 "Form": rectangles instead of ellipses
    bool color = false; // LCheckBox2 "Color": warm grey ramp instead of blue
    bool paint = false; // LCheckBox3 "Paint": filled shapes and the opening tunnel
};

struct DifferenceState
{
    static constexpr int kShapes = 2;
    static constexpr int kLayers = 49; // room; at most 36 are used

    struct Step
    {
        int dx = 0, dy = 0;
    };
    using Layers = std::array<Ltrb, kLayers>;
    using Ramp = std::array<quint32, kLayers>;

    int FShapeCount = 1;                                   // S: 1 or 2
    int FLayerCount = 25;                                  // N: 25, 28, 30 or 35 trailing layers
    std::array<Layers, kShapes> FShapeRects{};             // [shape][layer], layer 0 leads
    std::array<Ramp, kShapes> FTrailColors{};              // used while wandering
    std::array<Ramp, kShapes> FOpenColors{};               // opening tunnel
    std::array<Ramp, kShapes> FPaintColors{};              // opening tunnel, "Paint" alone
    int FDiffTick = 0;                                     // K: phase counter, 0 at program start
    std::array<Step, kShapes> FShapeStep{};                // opening inset per tick
    std::array<std::array<int, 4>, kShapes> FShapeSpeed{}; // leader's L, T, R, B velocities
    DifferenceOptions options;                             // as read by the last start

    // The start command's first part, before any state changes: run the
    // common stop when another animation runs (a running Difference is set up
    // afresh instead), fade to black when the background is not black.
    static StartPlan plan(const Busy &running, quint32 GColor);

    // Sets up shapes, ramps and velocities, reseeds the generator from the
    // clock and blacks the picture. The window then disables the three boxes
    // and arms Timer1.
    StartResult start(const DifferenceOptions &opts, Canvas &canvas, RandomGenerator &random,
                      const EffectClock &clock, PictureState &state);

    // One frame, straight onto the picture; nothing is cleared between ticks.
    void tick(Canvas &canvas, RandomGenerator &random);

    // A velocity step: uniform over -16..-1 and 1..16, never 0.
    static int randomStep(RandomGenerator &random);
};

} // namespace corvane
