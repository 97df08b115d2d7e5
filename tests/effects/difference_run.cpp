// Difference: layout per option set, colour ramps, the opening and the bounce.
#include "effects/Difference.h"
#include "effects/Random.h"
#include "tests/support/PlainPicture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>

using namespace corvane;

namespace {

struct DiffRun
{
    QImage image{kPictureWidth, kPictureHeight, QImage::Format_BGR888};
    Canvas canvas{&image};
    RandomGenerator random;
    EffectClock clock = fixedClock(QTime(12, 0), 4242);
    DifferenceState state;
    PictureState shown;

    explicit DiffRun(DifferenceOptions o)
    {
        image.fill(Qt::white);
        state.start(o, canvas, random, clock, shown);
    }
    bool allBlack() const { return isPlain(image, Qt::black); }
};

quint32 blue(int b)
{
    return quint32(b) << 16;
}

} // namespace

// Shapes and trailing layers by (Form, Color, Paint).
TEST(DifferenceRun, ShapeAndLayerCountsPerOptionSet)
{
    struct Row
    {
        bool form, color, paint;
        int shapes, layers, firstTick;
    };
    const Row rows[] = {
            {false, false, false, 2, 25, 50}, {false, true, false, 2, 25, 50},
            {false, false, true, 1, 25, 0},   {false, true, true, 1, 25, 0},
            {true, false, false, 1, 30, 60},  {true, true, false, 1, 30, 60},
            {true, false, true, 1, 35, 0},    {true, true, true, 1, 28, 0},
    };
    for (const Row &r : rows) {
        DiffRun run({r.form, r.color, r.paint});
        SCOPED_TRACE(testing::Message() << r.form << r.color << r.paint);
        EXPECT_EQ(run.state.FShapeCount, r.shapes);
        EXPECT_EQ(run.state.FLayerCount, r.layers);
        EXPECT_EQ(run.state.FDiffTick, r.firstTick);
        EXPECT_TRUE(run.allBlack());
        const Ltrb start
                = (r.form || r.color || r.paint) ? Ltrb{0, 0, 481, 351} : Ltrb{240, 175, 240, 175};
        EXPECT_EQ(run.state.FShapeRects[0][r.layers], start);
        EXPECT_EQ(run.state.FShapeStep[0].dx, 240 / r.layers);
        EXPECT_EQ(run.state.FShapeStep[0].dy, 175 / r.layers);
    }
}

// The ramps at their sample values; each trail ends in black.
TEST(DifferenceRun, ColourRamps)
{
    DiffRun paint({false, false, true});
    const auto &p = paint.state.FPaintColors[0];
    EXPECT_EQ(p[0], 0u);
    EXPECT_EQ(p[1], blue(231));
    EXPECT_EQ(p[12], blue(0));
    EXPECT_EQ(p[24], blue(252));
    EXPECT_EQ(p[25], blue(17)); // byte(273)

    const auto &t = paint.state.FTrailColors[0];
    EXPECT_EQ(t[0], 0xFF0000u);
    EXPECT_EQ(t[1], blue(240)); // 10 * 24
    EXPECT_EQ(t[25], 0u);
    // The opening ramp is the trail ramp turned round: dark near the leader.
    const auto &o = paint.state.FOpenColors[0];
    EXPECT_EQ(o[0], 0u);
    EXPECT_EQ(o[1], blue(16));   // byte(0 - 240)
    EXPECT_EQ(o[24], blue(246)); // byte(0 - 10)
    EXPECT_EQ(o[25], 0u);

    DiffRun warm({true, true, false}); // N = 30
    const auto &w = warm.state.FTrailColors[0];
    EXPECT_EQ(w[0], 0xC8C8D2u);
    // j = 1: f = 7 * 29 = 203, g = 6 * 29 = 174 -> RGB(203, 174, 174)
    EXPECT_EQ(w[1], 203u | 174u << 8 | 174u << 16);
    EXPECT_EQ(w[30], 0u);
    const auto &wo = warm.state.FOpenColors[0];
    EXPECT_EQ(wo[1], 7u | 26u << 8 | 26u << 16);
    EXPECT_EQ(wo[30], 0u);
}

TEST(DifferenceRun, VelocitiesAreNeverZero)
{
    RandomGenerator random(1);
    std::set<int> seen;
    for (int i = 0; i < 5000; ++i)
        seen.insert(DifferenceState::randomStep(random));
    EXPECT_EQ(seen.size(), 32u);
    EXPECT_FALSE(seen.count(0));
    EXPECT_EQ(*seen.begin(), -16);
    EXPECT_EQ(*seen.rbegin(), 16);
    DiffRun run({});
    for (int i = 0; i < 2; ++i)
        for (int v : run.state.FShapeSpeed[i])
            EXPECT_NE(v, 0);
}

// "Paint" alone: 50 ticks of nested rectangles closing on the centre, ending
// with a black picture and every rectangle at the end of shape 0's trail.
TEST(DifferenceRun, OpeningTunnelEndsBlack)
{
    DiffRun run({false, false, true});
    run.state.tick(run.canvas, run.random);
    EXPECT_EQ(run.state.FDiffTick, 2);
    EXPECT_EQ(run.state.FShapeRects[0][0], (Ltrb{9, 7, 472, 344}));
    // Every layer still covers the picture, the black leader last.
    EXPECT_TRUE(run.allBlack());
    run.state.tick(run.canvas, run.random);
    EXPECT_FALSE(run.allBlack());                  // the first ring of the tunnel
    EXPECT_EQ(run.canvas.pixel(3, 3), 210u << 16); // layer 2, the last one still covering all
    EXPECT_EQ(run.canvas.pixel(240, 175), 0u);
    for (int k = 3; k < 50; ++k)
        run.state.tick(run.canvas, run.random);
    EXPECT_FALSE(run.allBlack());
    run.state.tick(run.canvas, run.random); // K = 50
    EXPECT_TRUE(run.allBlack());
    EXPECT_EQ(run.state.FDiffTick, 51);
    const Ltrb end = run.state.FShapeRects[0][25];
    for (int j = 0; j <= 25; ++j)
        EXPECT_EQ(run.state.FShapeRects[0][j], end);
    // Then the running phase: K stays, the leader wanders.
    run.state.tick(run.canvas, run.random);
    EXPECT_EQ(run.state.FDiffTick, 51);
    EXPECT_FALSE(run.allBlack());
}

// Without "Paint" the opening is the single tick K = 2N: black, shapes back
// at the start rectangle; the next tick draws.
TEST(DifferenceRun, WithoutPaintTheOpeningIsOneTick)
{
    DiffRun run({});
    run.image.fill(Qt::white);
    run.state.tick(run.canvas, run.random);
    EXPECT_TRUE(run.allBlack());
    EXPECT_EQ(run.state.FDiffTick, 51);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(run.state.FShapeRects[i][0], (Ltrb{240, 175, 240, 175}));
    for (int n = 0; n < 5; ++n)
        run.state.tick(run.canvas, run.random);
    // The leaders are drawn in pure blue.
    bool sawLeader = false;
    for (int y = 0; y < run.image.height() && !sawLeader; ++y)
        for (int x = 0; x < run.image.width() && !sawLeader; ++x)
            sawLeader = run.canvas.pixel(x, y) == 0xFF0000u;
    EXPECT_TRUE(sawLeader);
}

// A corner held at an edge draws a new velocity on every tick; corners never
// leave the picture.
TEST(DifferenceRun, CornerAtAnEdgeRedrawsItsVelocity)
{
    DiffRun run({true, false, false});
    run.state.tick(run.canvas, run.random); // the one-tick opening
    Ltrb &lead = run.state.FShapeRects[0][0];
    lead = {0, 100, 200, 300};
    run.state.FShapeSpeed[0] = {-5, 3, 4, 4};
    RandomGenerator expected = run.random;
    const int redrawn = DifferenceState::randomStep(expected);
    run.state.tick(run.canvas, run.random);
    EXPECT_EQ(run.state.FShapeSpeed[0][0], redrawn);
    EXPECT_EQ(lead.left, std::max(0, redrawn));
    EXPECT_EQ(lead.top, 103);
    EXPECT_EQ(run.state.FShapeSpeed[0][1], 3); // inside: kept

    for (int n = 0; n < 300; ++n) {
        run.state.tick(run.canvas, run.random);
        ASSERT_TRUE(lead.left >= 0 && lead.left <= 480 && lead.top >= 0 && lead.top <= 350);
        ASSERT_TRUE(lead.right >= 0 && lead.right <= 480 && lead.bottom >= 0 && lead.bottom <= 350);
        for (int v : run.state.FShapeSpeed[0])
            ASSERT_NE(v, 0);
    }
}

// Starting again while it runs sets it up afresh; only other effects are stopped.
TEST(DifferenceRun, RestartAndStartPlan)
{
    DiffRun run({false, false, true});
    for (int k = 0; k < 60; ++k)
        run.state.tick(run.canvas, run.random);
    StartResult r
            = run.state.start({false, false, true}, run.canvas, run.random, run.clock, run.shown);
    EXPECT_EQ(run.state.FDiffTick, 0);
    EXPECT_TRUE(run.allBlack());
    EXPECT_EQ(r.imageHint, "difference");
    EXPECT_TRUE(run.shown.FBColor && run.shown.FSamePage);
    EXPECT_FALSE(run.shown.FPageShown || run.shown.FFreshStart);

    EXPECT_FALSE(DifferenceState::plan({true, false, false, false}, 0).stopFirst);
    EXPECT_TRUE(DifferenceState::plan({false, false, false, true}, 0).stopFirst);
    EXPECT_EQ(DifferenceState::plan({}, 0).fade, Fade::None);
    EXPECT_EQ(DifferenceState::plan({}, 5266509).fade, Fade::Black);
}

// The common stop reports the Velocity lock count and nothing else.
TEST(DifferenceRun, CommonStopStatus)
{
    EXPECT_EQ(planStop({false, true, false, false}, 3).status.value(), "lock 3");
    EXPECT_EQ(planStop({false, true, false, false}, 1).status.value(), "lock 1")
            << "one hit counts";
    EXPECT_EQ(planStop({false, true, false, false}, 0).status.value(), "");
    const StopPlan others = planStop({true, false, true, true}, 7);
    EXPECT_FALSE(others.status.has_value());
    EXPECT_TRUE(others.stopDifference && others.clearArts && others.stopDeep
                && !others.stopVelocity);
}
