// Deep: the inset sweep, the line modes, the colour walk and the smear.
#include "effects/Deep.h"
#include "effects/Random.h"
#include "effects/TABitmap.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace corvane;

namespace {

struct DeepRun
{
    QImage image{kPictureWidth, kPictureHeight, QImage::Format_BGR888};
    Canvas canvas{&image};
    RandomGenerator random{5};
    DeepState state;
    DeepRun() { state.start(canvas); }
};

} // namespace

// From 5 the inset climbs by 3 to 176, holds one tick at each turn, and falls to 2.
TEST(DeepRun, InsetSweepsInAndOut)
{
    DeepRun run;
    std::vector<int> seq;
    for (int t = 0; t < 240; ++t) {
        seq.push_back(run.state.FDeepInset);
        run.state.tick(false, run.canvas, run.random);
    }
    std::vector<int> want;
    for (int d = 5; d <= 176; d += 3)
        want.push_back(d);
    want.push_back(176);
    for (int d = 173; d >= 2; d -= 3)
        want.push_back(d);
    want.push_back(2);
    want.push_back(5);
    ASSERT_LT(want.size(), seq.size());
    EXPECT_EQ(std::vector<int>(seq.begin(), seq.begin() + long(want.size())), want);
    EXPECT_EQ(*std::min_element(seq.begin(), seq.end()), 2);
    EXPECT_EQ(*std::max_element(seq.begin(), seq.end()), 176);
    EXPECT_EQ(run.state.FDeepSepMode, 0); // without separation the mode never moves
}

// With "Deep Separation" each turn advances the mode: 1, 2, 3, 4, 1.
TEST(DeepRun, SeparationModesCycle)
{
    DeepRun run;
    std::vector<int> modes;
    int last = run.state.FDeepSepMode;
    for (int t = 0; t < 600; ++t) {
        run.state.tick(true, run.canvas, run.random);
        if (run.state.FDeepSepMode != last)
            modes.push_back(last = run.state.FDeepSepMode);
    }
    ASSERT_GE(modes.size(), 5u);
    EXPECT_EQ(std::vector<int>(modes.begin(), modes.begin() + 5),
              (std::vector<int>{1, 2, 3, 4, 1}));
}

// The walk rises by 65535 a step, turns down once above 16568930, and at
// 131070 or below jumps to a colour without blue and rises again.
TEST(DeepRun, ColourWalkTurns)
{
    DeepState s;
    RandomGenerator random(3);
    s.FDeepWalk = 16568930 - 65535;
    s.ColorChange(random);
    EXPECT_EQ(s.FDeepColor, quint32(16568930 - 65535));
    EXPECT_EQ(s.FDeepWalk, 16568930);
    EXPECT_TRUE(s.FDeepWalkUp); // not yet above
    s.ColorChange(random);
    EXPECT_EQ(s.FDeepWalk, 16568930 + 65535);
    EXPECT_FALSE(s.FDeepWalkUp);

    s.FDeepWalk = 131070 + 65535;
    RandomGenerator expected = random;
    s.ColorChange(random);
    EXPECT_EQ(s.FDeepWalk, int(expected.next(65535)));
    EXPECT_LT(s.FDeepWalk, 65535);
    EXPECT_TRUE(s.FDeepWalkUp);

    // Each rising step moves one towards blue and one away from red.
    s.FDeepWalk = 0x102030;
    s.FDeepWalkUp = true;
    s.ColorChange(random);
    EXPECT_EQ(s.FDeepWalk, 0x11202F);
}

// The smear equals a copy blended at alpha 128 one row down, and row 0 stays.
TEST(DeepRun, SmearMatchesTheCopyAndBlend)
{
    QImage picture(481, 351, QImage::Format_BGR888);
    RandomGenerator random(11);
    for (int y = 0; y < picture.height(); ++y) {
        uchar *p = picture.scanLine(y);
        for (int i = 0; i < picture.bytesPerLine(); ++i)
            p[i] = uchar(random.next(256));
    }
    TABitmap copy(picture);
    TABitmap dest(picture);
    copy.BlendOnto(0, 1, 481, 351, dest, 128);
    QImage mine = picture.copy();
    DeepState::smear(mine);
    for (int y = 0; y < 351; ++y)
        ASSERT_EQ(0, memcmp(mine.constScanLine(y), dest.image().constScanLine(y), 481 * 3))
                << "row " << y;
    EXPECT_EQ(0, memcmp(mine.constScanLine(0), picture.constScanLine(0), 481 * 3));

    QImage two(1, 2, QImage::Format_BGR888);
    two.scanLine(0)[0] = 200;
    two.scanLine(1)[0] = 101;
    DeepState::smear(two);
    EXPECT_EQ(two.constScanLine(1)[0], 150);
}

// The first tick draws a grey frame at 5, which the smear halves on its upper
// edge; the ground follows the Black/White variant.
TEST(DeepRun, FirstFrameAndGround)
{
    DeepRun run;
    run.state.tick(false, run.canvas, run.random);
    EXPECT_EQ(run.canvas.pixel(100, 4), 0u);
    EXPECT_EQ(run.canvas.pixel(100, 5), 0x737373u); // (0 + 0xE7) div 2
    EXPECT_EQ(run.canvas.pixel(100, 6), 0x737373u);
    EXPECT_EQ(run.canvas.pixel(5, 100), 0xE7E7E7u); // the sides run down their own column
    EXPECT_EQ(run.canvas.pixel(475, 100), 0xE7E7E7u);

    DeepState white;
    white.FBlackRect = false;
    QImage img(481, 351, QImage::Format_BGR888);
    Canvas canvas(&img);
    EXPECT_EQ(white.start(canvas).imageHint, "Deep (Mu-gen)");
    EXPECT_EQ(canvas.pixel(0, 0), 0xE7E7E7u);
    EXPECT_EQ(canvas.brushColor(), 0xE7E7E7u);
    EXPECT_EQ(white.plan({}, 0).fade, Fade::None);
    EXPECT_EQ(white.plan({}, 7).fade, Fade::White);
    EXPECT_EQ(run.state.plan({}, 7).fade, Fade::Black);
    EXPECT_TRUE(white.plan({false, true, false, false}, 0).stopFirst);
    EXPECT_FALSE(white.plan({false, false, false, true}, 0).stopFirst);
}

// A new start resets only the colour: inset, direction, mode and walk go on.
TEST(DeepRun, ContinuesAfterStopAndRestart)
{
    DeepRun run;
    for (int t = 0; t < 70; ++t)
        run.state.tick(true, run.canvas, run.random);
    const DeepState before = run.state;
    run.state.start(run.canvas);
    EXPECT_EQ(run.state.FDeepInset, before.FDeepInset);
    EXPECT_EQ(run.state.FDeepGrowing, before.FDeepGrowing);
    EXPECT_EQ(run.state.FDeepSepMode, before.FDeepSepMode);
    EXPECT_EQ(run.state.FDeepWalk, before.FDeepWalk);
    EXPECT_EQ(run.state.FDeepColor, 0xE7E7E7u);

    DeepState fresh;
    RandomGenerator random;
    fresh.init(random, fixedClock(QTime(1, 2, 3), 123456));
    RandomGenerator expected(123456);
    EXPECT_EQ(fresh.FDeepWalk, int(expected.next(16600000)));
}
