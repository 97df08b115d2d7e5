// plan de arts: the fold, the subdivision, the Devenir swing, the fade and
// the guard against a second build on the one grid.
#include "effects/PlanDeArts.h"
#include "effects/Random.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

using namespace corvane;

namespace {

const EffectClock kClock = fixedClock(QTime(10, 0), 31337);

// Walks the subdivision as the build does and checks every rectangle with
// room for an interior centre: that centre is the plain mean of its corners.
void expectPlainCentres(const ByteGrid &g, int X1, int Y1, int X2, int Y2, int &checked)
{
    if (X2 - X1 < 2 && Y2 - Y1 < 2)
        return;
    const int XM = (X1 + X2) / 2, YM = (Y1 + Y2) / 2;
    if (X2 - X1 >= 2 && Y2 - Y1 >= 2) {
        const int mean = (g.at(X1, Y1) + g.at(X2, Y1) + g.at(X2, Y2) + g.at(X1, Y2)) / 4;
        ASSERT_EQ(g.at(XM, YM), mean) << X1 << "," << Y1 << " " << X2 << "," << Y2;
        ++checked;
    }
    expectPlainCentres(g, X1, Y1, XM, YM, checked);
    expectPlainCentres(g, XM, Y1, X2, YM, checked);
    expectPlainCentres(g, XM, YM, X2, Y2, checked);
    expectPlainCentres(g, X1, YM, XM, Y2, checked);
}

} // namespace

// Below the base a value is raised by it (mod 256): the brightness folds.
TEST(ArtsPlasma, FoldAtTheBaseAndTheChannel)
{
    EXPECT_EQ(PlanDeArts::fold(79, 80), 159);
    EXPECT_EQ(PlanDeArts::fold(80, 80), 80);
    EXPECT_EQ(PlanDeArts::fold(1, 80), 81);
    EXPECT_EQ(PlanDeArts::fold(124, 125), 249);
    EXPECT_EQ(PlanDeArts::fold(255, 125), 255);

    PlanDeArts arts;
    arts.PlasmaMap.at(3, 2) = 79;
    arts.PlasmaMap.at(4, 2) = 200;
    const QImage blue = arts.paint(481, 351, 80, false);
    const uchar *p = blue.constScanLine(2) + 9;
    EXPECT_EQ(p[0], 159);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 200);
    const QImage green = arts.paint(481, 351, 80, true);
    p = green.constScanLine(2) + 9;
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 159);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(green.constScanLine(0)[1], 80); // an unset 0 folds to the base
}

// Every point gets a value 1..255 (corners 0..254); centres take no offset;
// edge midpoints 3 apart move by -4, 0 or 4.
TEST(ArtsPlasma, SubdivisionFillsTheGrid)
{
    PlanDeArts arts;
    for (uint32_t seed : {1u, 99u, 123456u}) {
        RandomGenerator random(seed);
        arts.build(481, 351, random);
        const ByteGrid &g = arts.PlasmaMap;
        if (g.at(0, 0) == 0 || g.at(480, 0) == 0 || g.at(0, 350) == 0 || g.at(480, 350) == 0)
            continue; // an unset corner may be overwritten later
        int unset = 0;
        for (int x = 0; x < 481; ++x)
            for (int y = 0; y < 351; ++y)
                unset += g.at(x, y) == 0;
        EXPECT_EQ(unset, 0) << seed;
        int checked = 0;
        expectPlainCentres(g, 0, 0, 480, 350, checked);
        EXPECT_GT(checked, 10000);
    }

    // A picture larger than the grid makes the grid grow rather than overrun it.
    RandomGenerator big(5);
    arts.build(600, 400, big);
    EXPECT_GE(arts.PlasmaMap.columns(), 600);
    EXPECT_GE(arts.PlasmaMap.rows(), 400);
    EXPECT_NE(arts.PlasmaMap.at(599, 399), 0);
    EXPECT_EQ(arts.paint(600, 400, 80, false).size(), QSize(600, 400));

    ByteGrid small(4, 1);
    small.at(0, 0) = 100;
    small.at(3, 0) = 100;
    RandomGenerator random(7);
    PlasmaBuilder b(small, random);
    std::set<int> seen;
    for (int n = 0; n < 200; ++n) {
        small.at(1, 0) = 0;
        b.setMidpoint(0, 0, 1, 0, 3, 0);
        seen.insert(small.at(1, 0));
    }
    EXPECT_EQ(seen, (std::set<int>{96, 100, 104}));
    small.at(1, 0) = 42; // a set point is left alone
    b.setMidpoint(0, 0, 1, 0, 3, 0);
    EXPECT_EQ(small.at(1, 0), 42);
}

// Devenir: the base runs 80 .. 125, stays one picture at each end, and the
// colour changes at the low turn.
TEST(ArtsPlasma, DevenirLevelSequence)
{
    PlanDeArts arts;
    ArtsOptions opts{false, true, false};
    const ArtsBegin b = arts.plan(false, {}, 0, false, opts);
    PictureState shown;
    arts.start(b.mode, shown);
    EXPECT_EQ(b.mode, ArtsMode::Devenir);
    EXPECT_TRUE(b.uncheckGreen);
    EXPECT_EQ(b.plan.status, "bright 80");
    std::vector<int> bases;
    std::vector<bool> greens;
    for (int n = 0; n < 24; ++n) {
        bases.push_back(arts.FArtsLevel);
        greens.push_back(opts.green);
        const PlasmaResult r = arts.advance(opts);
        if (r.green)
            opts.green = *r.green;
        EXPECT_EQ(r.status, "bright " + QString::number(arts.FArtsLevel));
    }
    const std::vector<int> want = {80,  85,  90,  95,  100, 105, 110, 115, 120, 125, 125, 120,
                                   115, 110, 105, 100, 95,  90,  85,  80,  80,  85,  90,  95};
    EXPECT_EQ(bases, want);
    for (int n = 0; n < 24; ++n)
        EXPECT_EQ(greens[size_t(n)], n >= 20) << n; // the second picture at 80 is green

    // A new Devenir run starts again at 80, rising, blue.
    arts.FArtsRise = false;
    arts.FArtsLevel = 110;
    const ArtsBegin again = arts.plan(false, {}, 0, true, {true, true, false});
    EXPECT_EQ(arts.FArtsLevel, 110) << "the plan changes nothing";
    PictureState fresh;
    arts.start(again.mode, fresh);
    EXPECT_TRUE(fresh.FArtsShown);
    EXPECT_EQ(arts.FArtsLevel, 80);
    EXPECT_TRUE(arts.FArtsRise);

    // Without Devenir the status shows the fixed base.
    arts.Fconm = 95;
    EXPECT_EQ(arts.advance({}).status, "bright 95");
}

TEST(ArtsPlasma, PlanDecidesStopFadeAndMode)
{
    PlanDeArts arts;
    EXPECT_TRUE(arts.plan(true, {}, 0, false, {}).plan.refused); // a repetition runs
    const ArtsBegin single = arts.plan(false, {false, false, false, true}, 5, false, {});
    EXPECT_FALSE(single.plan.refused);
    EXPECT_TRUE(single.plan.stopFirst);
    EXPECT_EQ(single.plan.fade, Fade::Black);
    EXPECT_EQ(single.mode, ArtsMode::Single);
    EXPECT_EQ(arts.plan(false, {}, 5, true, {}).plan.fade, Fade::None); // picture already shown
    EXPECT_EQ(arts.plan(false, {}, 0, false, {}).plan.fade, Fade::None);
    EXPECT_EQ(arts.plan(false, {}, 0, false, {false, false, true}).mode, ArtsMode::Repetition);
    EXPECT_EQ(arts.plan(false, {}, 0, false, {false, true, true}).mode, ArtsMode::Devenir);

    // Unchecking either repeating box ends the run; "Bright" sets the base.
    EXPECT_TRUE(arts.devenirClicked(false).clearArts);
    EXPECT_TRUE(arts.repetitionClicked(false).clearArts);
    EXPECT_FALSE(arts.repetitionClicked(true).clearArts);
    EXPECT_EQ(arts.brightClicked(true).status, "bright 125");
    EXPECT_EQ(arts.repetitionClicked(true).status, "Repetition on 125");
}

// One picture: 17 fade steps and the final copy each repainted; the picture
// ends as the painted plasma.
TEST(ArtsPlasma, PictureFadesInAndEndsAsThePlasma)
{
    PlanDeArts arts;
    QImage picture(481, 351, QImage::Format_BGR888);
    picture.fill(Qt::white);
    RandomGenerator random;
    int repaints = 0;
    PlasmaHooks hooks;
    hooks.repaint = [&] { ++repaints; };
    hooks.options = [] { return ArtsOptions{true, false, false}; };
    const PlasmaResult r = arts.drawPicture(picture, random, kClock, hooks);
    EXPECT_TRUE(r.done);
    EXPECT_EQ(repaints, 18);
    EXPECT_EQ(r.status, "bright 80");
    EXPECT_FALSE(r.green.has_value());
    const QImage want = arts.paint(481, 351, 80, true);
    for (int y = 0; y < 351; ++y)
        ASSERT_EQ(0, memcmp(want.constScanLine(y), picture.constScanLine(y), 481 * 3)) << y;

    // The same clock gives the same picture.
    QImage again(481, 351, QImage::Format_BGR888);
    arts.drawPicture(again, random, kClock, hooks);
    EXPECT_EQ(again, picture);
}

// Events handled during a build may not start a second build on the grid:
// the start, a second picture and the tick are refused until the picture is done.
TEST(ArtsPlasma, SecondBuildIsRefused)
{
    PlanDeArts arts;
    arts.pumpInterval = std::chrono::microseconds(0); // pump at every check
    QImage picture(481, 351, QImage::Format_BGR888);
    RandomGenerator random;
    bool FArts = true;
    int pumps = 0, nestedDone = 0, refusedBegins = 0, refusedTicks = 0;
    PlasmaHooks hooks;
    hooks.pumpEvents = [&] {
        ++pumps;
        EXPECT_TRUE(arts.building());
        nestedDone += arts.drawPicture(picture, random, kClock, hooks).done;
        refusedBegins += arts.plan(false, {}, 0, false, {}).plan.refused;
        refusedTicks += arts.tick(FArts, picture, random, kClock, hooks).refused;
    };
    const ArtsTick t = arts.tick(FArts, picture, random, kClock, hooks);
    EXPECT_TRUE(t.picture.done);
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(nestedDone, 0);
    EXPECT_EQ(refusedBegins, pumps);
    EXPECT_EQ(refusedTicks, pumps);
    EXPECT_FALSE(arts.building());
    EXPECT_FALSE(t.stopTimer);
}

// The stop clears FArts; the timer's next tick makes no picture and ends the
// run, and a stop handled during a build ends it at that very tick.
TEST(ArtsPlasma, StopEndsTheRepetition)
{
    PlanDeArts arts;
    arts.pumpInterval = std::chrono::microseconds(0);
    QImage picture(481, 351, QImage::Format_BGR888);
    RandomGenerator random;
    bool FArts = false;
    PlasmaHooks hooks;
    ArtsTick t = arts.tick(FArts, picture, random, kClock, hooks);
    EXPECT_FALSE(t.picture.done);
    EXPECT_TRUE(t.stopTimer);

    FArts = true;
    hooks.pumpEvents = [&] { FArts = false; };
    t = arts.tick(FArts, picture, random, kClock, hooks);
    EXPECT_TRUE(t.picture.done);
    EXPECT_TRUE(t.stopTimer);
}

// The pump runs at a bounded rate: not on each of the many calls.
TEST(ArtsPlasma, PumpRateIsBounded)
{
    ByteGrid grid;
    RandomGenerator random(2);
    grid.at(0, 0) = grid.at(480, 0) = grid.at(0, 350) = grid.at(480, 350) = 100;
    QElapsedTimer timer;
    timer.start();
    PlasmaBuilder b(
            grid, random, [] {}, std::chrono::milliseconds(4));
    b.subdivide(0, 0, 480, 350);
    const qint64 ms = timer.elapsed();
    EXPECT_GT(b.calls(), 100000);
    EXPECT_LE(b.pumps(), ms / 4 + 1);
}
