// Velocity: brightness, head motion, rebirth, the clock, warm-up, the scope.
#include "effects/Random.h"
#include "effects/Velocity.h"
#include "tests/support/PlainPicture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>

using namespace corvane;

namespace {

struct VelRun
{
    QImage image{kPictureWidth, kPictureHeight, QImage::Format_BGR888};
    Canvas canvas{&image};
    RandomGenerator random;
    EffectClock clock;
    VelocityState state;
    VelocityOptions options;
    PictureState shown{.FArtsShown = true};

    explicit VelRun(VelocityOptions o = {}, QTime time = QTime(15, 0, 0))
        : clock(fixedClock(time, 777))
        , options(o)
    {
        state.Pdigit = false; // no fonts without a GUI application
    }
    void start() { state.start(options, canvas, random, clock, shown); }
    VelocityTick tick() { return state.tick(options, canvas, random, clock); }
    bool allBlack() const { return isPlain(image, Qt::black); }
};

} // namespace

// A line is drawn black on its first tick and reaches 250 after ten ticks.
TEST(VelocityRun, NewLineBrightensOverTenTicks)
{
    VelRun run({false, true, false, false}); // MiniBlackHole: a head on the centre stays put
    run.start();
    EXPECT_TRUE(run.tick().repaint);
    EXPECT_TRUE(run.allBlack()); // every line was still at brightness 0
    run.start();
    run.state.FLines[0] = {240, 175, 240, 175};
    std::vector<int> seen;
    for (int t = 0; t < 11; ++t) {
        run.tick();
        seen.push_back(run.state.FLineBright[0]);
    }
    EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 250}));
    EXPECT_FALSE(run.allBlack());
}

// A head on the centre's column steps 2 left per tick until it is 8 away,
// then moves by an eighth of its distance.
TEST(VelocityRun, HeadMotionNearTheCentre)
{
    VelRun run;
    run.start();
    run.state.FLines[5] = {240, 200, 240, 200};
    std::vector<int> xs, ys;
    for (int t = 0; t < 9; ++t) {
        run.tick();
        xs.push_back(run.state.FLines[5].hx - 240);
        ys.push_back(run.state.FLines[5].hy - 175);
    }
    EXPECT_EQ(xs, (std::vector<int>{-2, -4, -6, -8, -9, -10, -11, -12, -13}));
    EXPECT_EQ(ys[0], 28);                         // 25 + 25 div 8
    EXPECT_EQ(run.state.FLines[5].tx - 240, -12); // the tail holds the head's last place
}

// With MiniBlackHole a head within 7 pixels of the centre on both axes never
// moves again and its line is never reborn.
TEST(VelocityRun, MiniBlackHoleGathersAtTheCentre)
{
    VelRun run({false, true, false, false});
    run.start();
    run.state.FLines[7] = {0, 0, 247, 168};
    run.state.FLines[8] = {0, 0, 250, 175}; // 10 away on x: drifts out
    for (int t = 0; t < 10; ++t)
        run.tick();
    EXPECT_GT(run.state.FLines[8].hx, 260);
    EXPECT_EQ(run.state.FLines[8].hy, 175);
    for (int t = 0; t < 90; ++t)
        run.tick();
    EXPECT_EQ(run.state.FLines[7], (VelocityLine{247, 168, 247, 168}));
    EXPECT_EQ(run.state.FLineBright[7], 250);
}

// At 15:00:00 the hour hand points right and the minute and second hands up;
// their new points lie on the centre's row or column, and snapping keeps them there.
TEST(VelocityRun, ClockAtThreeSnapsToTheAxes)
{
    for (int shape : {1, 3}) {
        VelRun run({false, false, false, true});
        run.state.Pformt = shape;
        run.start();
        EXPECT_EQ(run.state.Pcx, 240);
        EXPECT_EQ(run.state.Pcy, 175);
        for (auto &l : run.state.FLines)
            l = {0, 0, 1000, 1000}; // every line leaves this tick
        run.tick();
        SCOPED_TRACE(shape);
        EXPECT_EQ(run.state.FClockHour, 15);
        for (int i = 0; i < 100; ++i) {
            const VelocityLine &l = run.state.FLines[i];
            if (i < 25) {
                EXPECT_EQ(l, (VelocityLine{241, 175, 240 + 90 + 11, 175})) << i;
            } else {
                EXPECT_EQ(l, (VelocityLine{240, 176, 240, 175 - 90 - 11})) << i;
            }
            EXPECT_EQ(run.state.FLineBright[i], 75);
        }
    }
}

// The clock keeps its centre and target in x 180..300, y 140..210.
TEST(VelocityRun, ClockZoneClamp)
{
    VelRun run({true, false, false, true});
    run.start();
    run.state.Pcx = 5;
    run.state.Pcy = 400;
    run.state.FTargetX = 470;
    run.state.FTargetY = 0;
    run.tick();
    EXPECT_EQ(run.state.Pcy, 210);
    EXPECT_GE(run.state.Pcx, 180); // 180, possibly moved one step by Movement
    EXPECT_LE(run.state.Pcx, 181);
    for (int t = 0; t < 400; ++t) {
        run.tick();
        ASSERT_TRUE(run.state.Pcx >= 180 && run.state.Pcx <= 300 && run.state.Pcy >= 140
                    && run.state.Pcy <= 210);
        ASSERT_TRUE(run.state.FTargetX >= 180 && run.state.FTargetX <= 300);
        ASSERT_TRUE(run.state.FTargetY >= 140 && run.state.FTargetY <= 210);
    }
}

// RoadMovie and Clock draw nothing for 30 ticks and force no repaint.
TEST(VelocityRun, WarmUpDrawsNothingForThirtyTicks)
{
    for (VelocityOptions o :
         {VelocityOptions{false, false, true, false}, VelocityOptions{false, false, false, true}}) {
        VelRun run(o);
        run.start();
        EXPECT_EQ(run.state.FVelWarm, 0);
        for (int t = 1; t <= 30; ++t) {
            EXPECT_FALSE(run.tick().repaint) << t;
            ASSERT_TRUE(run.allBlack()) << t;
        }
        EXPECT_TRUE(run.tick().repaint);
        for (int t = 0; t < 3; ++t)
            run.tick();
        EXPECT_FALSE(run.allBlack());
        EXPECT_EQ(run.state.FVelWarm, 31);
    }
}

// A tail at x = W (or y = H) is inside; one further out and the line is reborn.
TEST(VelocityRun, RebirthAtTheEdge)
{
    VelRun run;
    run.start();
    run.state.FLines[3] = {400, 300, 481, 300};
    run.state.FLines[4] = {400, 300, 482, 300};
    run.state.FLines[6] = {200, 300, 200, 351};
    run.state.FLineBright[3] = run.state.FLineBright[4] = run.state.FLineBright[6] = 100;
    run.tick();
    EXPECT_EQ(run.state.FLines[3].tx, 481);
    EXPECT_EQ(run.state.FLineBright[3], 125);
    EXPECT_EQ(run.state.FLines[6].ty, 351);
    EXPECT_NE(run.state.FLines[4].tx, 482);
    EXPECT_EQ(run.state.FLineBright[4], 0);

    // RoadMovie rebirths land in the quadrant of the line's group.
    VelRun road({false, false, true, false});
    road.start();
    for (auto &l : road.state.FLines)
        l = {0, 0, -50, -50};
    road.tick();
    for (int i = 0; i < 100; ++i) {
        const VelocityLine &l = road.state.FLines[i];
        const int sx = (i < 25 || i >= 75) ? -1 : 1, sy = i < 50 ? -1 : 1;
        EXPECT_TRUE((l.tx - 240) * sx >= 1 && (l.tx - 240) * sx <= 7) << i;
        EXPECT_TRUE((l.ty - 175) * sy >= 1 && (l.ty - 175) * sy <= 7) << i;
    }
}

// The scope counts ticks, not lines, and marks a hit in red.
TEST(VelocityRun, LockCountsTicks)
{
    VelRun run;
    run.state.Pdigi = true;
    run.start();
    for (int i = 0; i < 5; ++i) {
        run.state.FLines[i] = {240, 175, 241, 176};
        run.state.FLineBright[i] = 250;
    }
    VelocityTick t = run.tick();
    EXPECT_EQ(run.state.FLockCount, 1);
    EXPECT_EQ(t.status.value(), "lock 1");
    EXPECT_FALSE(run.state.FLockHit); // cleared by the crosshair
    EXPECT_EQ(run.canvas.pixel(240, 165), 0x0000FFu);

    // No hit: no count, no status; the crosshair in its centred colour.
    for (int i = 0; i < 5; ++i)
        run.state.FLines[i] = {10, 10, 12, 12};
    t = run.tick();
    EXPECT_EQ(run.state.FLockCount, 1);
    EXPECT_FALSE(t.status.has_value());

    // The count stops at its limit.
    run.state.FLockCount = VelocityState::kLockLimit;
    run.state.FLines[0] = {240, 175, 241, 176};
    run.state.FLineBright[0] = 250;
    run.tick();
    EXPECT_EQ(run.state.FLockCount, VelocityState::kLockLimit);

    // Dim lines do not lock; shape 2 asks for more than 200.
    run.state.FLockCount = 0;
    run.state.Pform = 2;
    run.state.FLines[0] = {240, 175, 241, 176};
    run.state.FLineBright[0] = 200;
    run.tick();
    EXPECT_EQ(run.state.FLockCount, 0);
}

TEST(VelocityRun, ColourRules)
{
    VelocityState s;
    RandomGenerator random(9);
    s.FLineBright.fill(250);
    // shade 0..4 at B = 250: M = 125, T = 187.
    const quint32 shades[5] = {250u | 250u << 8 | 250u << 16, 187u | 250u << 8 | 125u << 16,
                               187u | 0u << 8 | 125u << 16, 187u | 187u << 8 | 250u << 16,
                               125u | 187u << 8 | 187u << 16};
    std::set<quint32> rule7;
    for (int n = 0; n < 400; ++n)
        rule7.insert(*s.lineColour(7, false, n % 100, random));
    EXPECT_EQ(rule7, (std::set<quint32>{shades[0], shades[1], shades[2], shades[3]}));

    // Rule 1 picks out i mod 60 = 0..3; rule 2 differs between free and clock lines.
    EXPECT_EQ(*s.lineColour(1, false, 0, random), shades[2]);
    EXPECT_EQ(*s.lineColour(1, false, 63, random), shades[1]);
    EXPECT_EQ(*s.lineColour(1, false, 64, random), shades[0]);
    EXPECT_EQ(*s.lineColour(2, false, 30, random), shades[2]);
    EXPECT_EQ(*s.lineColour(2, true, 30, random), shades[1]);
    EXPECT_EQ(*s.lineColour(2, true, 99, random), shades[3]);
    EXPECT_FALSE(s.lineColour(0, false, 1, random).has_value());
    EXPECT_FALSE(s.lineColour(9, true, 1, random).has_value());
}

// Movement: the mouse is followed only while Pmouse is on; the walk stays inside.
TEST(VelocityRun, MovingCentre)
{
    VelRun run({true, false, false, false});
    run.start();
    run.state.mouseMove(10, 20);
    EXPECT_EQ(run.state.FMouseX, 240); // Pmouse off: ignored
    run.state.Pmouse = true;
    run.state.mouseMove(10, 20);
    run.tick();
    EXPECT_EQ(run.state.Pcx, 10);
    EXPECT_EQ(run.state.Pcy, 20);
    run.state.Pmouse = false;
    run.state.Pmvc = 10;
    for (int t = 0; t < 500; ++t) {
        run.tick();
        ASSERT_TRUE(run.state.Pcx >= 0 && run.state.Pcx < 481 && run.state.Pcy >= 0
                    && run.state.Pcy < 351);
    }
    EXPECT_EQ(run.state.moveLevelStatus(), "MoveLevel 10");
}

TEST(VelocityRun, StartPlanAndFlags)
{
    EXPECT_TRUE(VelocityState::plan({true, false, false, false}, 0).stopFirst);
    EXPECT_FALSE(VelocityState::plan({false, true, false, false}, 0).stopFirst);
    EXPECT_EQ(VelocityState::plan({}, 1).fade, Fade::Black);
    VelRun run;
    run.state.FLockCount = 9;
    const StartResult r
            = run.state.start(run.options, run.canvas, run.random, run.clock, run.shown);
    EXPECT_EQ(run.state.FLockCount, 0);
    EXPECT_FALSE(run.shown.FArtsShown);
    EXPECT_EQ(r.imageHint, "Velocity");
    // Lines start on the centre's row or column get a tail at the right edge.
    for (const VelocityLine &l : run.state.FLines)
        EXPECT_TRUE(l.tx >= 0 && l.tx <= 480);
}

// The Clock writes the time of day in the locale's long format without the
// time-zone name Qt's long format ends in, so that the text sits centred on
// the clock at the (-23, -10) offset: "15:04:05" in Times New Roman at 17 px
// has its ink centre within a few pixels of the centre point.
TEST(VelocityRun, ClockTextHasNoZoneAndSitsOnTheCentre)
{
    const QTime t(15, 4, 5);
    EXPECT_EQ(clockText(t, QLocale::c()), QStringLiteral("15:04:05"));
    EXPECT_EQ(clockText(t, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("15:04:05"));
    EXPECT_EQ(clockText(t, QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("3:04:05 PM"));
    EXPECT_EQ(clockText(t, QLocale(QLocale::Japanese, QLocale::Japan)),
              QStringLiteral("15時04分05秒"));
    EXPECT_EQ(clockText(t, QLocale(QLocale::French, QLocale::France)), QStringLiteral("15:04:05"));

    QLocale::setDefault(QLocale::c());
    VelRun run({false, false, false, true}, t);
    run.state.Pdigit = true;
    run.start();
    run.tick();
    int left = 999, right = -1, top = 999, bottom = -1;
    for (int y = 0; y < run.image.height(); ++y)
        for (int x = 0; x < run.image.width(); ++x) {
            const uchar *p = run.image.constScanLine(y) + 3 * x;
            if (p[0] > 0x40 || p[1] > 0x40 || p[2] > 0x40) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    QLocale::setDefault(QLocale::system());
    ASSERT_GE(right, left) << "no time on the picture";
    EXPECT_NEAR((left + right) / 2.0, 240, 4);
    EXPECT_NEAR((top + bottom) / 2.0, 175, 4);
}

// During the warm-up nothing forces a repaint, but the picture the tick drew
// (black, with the time in Clock mode) is still handed to the ordinary update;
// after it, each tick repaints at once.
TEST(VelocityRun, WarmUpFramesReachTheScreen)
{
    VelRun run({false, false, false, true});
    run.start();
    for (int t = 1; t <= 30; ++t) {
        const VelocityTick r = run.tick();
        EXPECT_FALSE(r.repaint) << t;
        EXPECT_TRUE(r.update) << t;
    }
    const VelocityTick after = run.tick();
    EXPECT_TRUE(after.repaint);
}
