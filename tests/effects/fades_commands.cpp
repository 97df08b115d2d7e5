// The colour and fade commands: when they refuse, what they leave in
// FBColor / FPageShown / FSamePage, and the random background colours.
#include "effects/Fades.h"
#include "effects/Random.h"
#include "effects/TABitmap.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

struct Window : PictureState
{
    Window()
        : PictureState{.FSamePage = false}
    {
    }
    TABitmap picture{481, 351};
    RandomGenerator random{1};
    int presents = 0;
    FadeContext context{random, [this] { ++presents; }, false};

    PictureState &flags() { return *this; }
};

} // namespace

// With a page shown the page is written again, and the forward command that
// does it already sees FSamePage; without one the picture is left blank.
TEST(FadesCommands, NewColourFadesAndRewritesOnlyAShownPage)
{
    Window shown;
    shown.FPageShown = true;
    shown.FBColor = true;
    int rewrites = 0;
    bool sameWhenRewriting = false;
    fadeToNewColour(shown.picture.image(), 0x302010, shown.flags(), shown.context, [&] {
        ++rewrites;
        sameWhenRewriting = shown.FSamePage;
    });
    EXPECT_EQ(rewrites, 1);
    EXPECT_TRUE(sameWhenRewriting);
    EXPECT_EQ(shown.presents, 28);
    EXPECT_FALSE(shown.FBColor);
    EXPECT_TRUE(shown.FPageShown);

    Window blank;
    blank.FBColor = true;
    fadeToNewColour(blank.picture.image(), 0, blank.flags(), blank.context, [&] { ++rewrites; });
    EXPECT_EQ(rewrites, 1);
    EXPECT_FALSE(blank.FPageShown);
    EXPECT_TRUE(blank.FSamePage);
    EXPECT_TRUE(blank.FBColor); // black stays a plain fade colour

    settleBackground(0, blank.flags());
    EXPECT_TRUE(blank.FBColor);
    settleBackground(0x010000, blank.flags());
    EXPECT_FALSE(blank.FBColor);
}

TEST(FadesCommands, FadeOutNeedsSomethingToFadeAndNoRunningEffect)
{
    // Right after start-up: no page, no plain colour.
    Window start;
    EXPECT_FALSE(runFadeOut(false, start.picture.image(), 0x505050, start.flags(), start.context));
    EXPECT_EQ(start.presents, 0);
    EXPECT_FALSE(start.FSamePage);

    Window busy;
    busy.FPageShown = true;
    EXPECT_FALSE(runFadeOut(true, busy.picture.image(), 0x505050, busy.flags(), busy.context));
    EXPECT_TRUE(busy.FPageShown);
    EXPECT_EQ(busy.presents, 0);

    Window page;
    page.FPageShown = true;
    page.FBColor = true;
    EXPECT_TRUE(runFadeOut(false, page.picture.image(), 0x505050, page.flags(), page.context));
    EXPECT_EQ(page.presents, 28);
    EXPECT_FALSE(page.FPageShown);
    EXPECT_TRUE(page.FSamePage);
    EXPECT_FALSE(page.FBColor);

    // On a black background the picture is still a plain fade colour.
    Window dark;
    dark.FBColor = true;
    EXPECT_TRUE(runFadeOut(false, dark.picture.image(), 0, dark.flags(), dark.context));
    EXPECT_TRUE(dark.FBColor);
    EXPECT_TRUE(dark.FSamePage);
}

TEST(FadesCommands, BlackFadeOutRefusesOnlyWhileAnEffectRuns)
{
    Window busy;
    busy.FPageShown = true;
    EXPECT_FALSE(runBlackFadeOut(true, busy.picture.image(), busy.flags(), busy.context));
    EXPECT_TRUE(busy.FPageShown);
    EXPECT_FALSE(busy.FBColor);

    Window w;
    w.FPageShown = true;
    w.picture.fill(0xFFFFFF);
    EXPECT_TRUE(runBlackFadeOut(false, w.picture.image(), w.flags(), w.context));
    EXPECT_EQ(w.presents, 18);
    EXPECT_TRUE(w.FBColor);
    EXPECT_FALSE(w.FPageShown);
    EXPECT_TRUE(w.FSamePage);
    EXPECT_EQ(w.picture.image().pixelColor(240, 175), QColor(Qt::black));
}

// Cool colours: blue 60..167, green and red within -20..+19 of it. Otherwise
// red and green only. The first value from seed 0 is worked out by hand.
TEST(FadesCommands, RandomBackgroundStaysInItsRange)
{
    RandomGenerator random(0);
    EXPECT_EQ(randomBackground(random, true), 0x3C294Au); // blue 60, green 41, red 74
    random.setSeed(5);
    EXPECT_EQ(randomBackground(random, false), 10282u);

    int minBlue = 255, maxBlue = 0;
    for (uint32_t seed = 0; seed < 20000; ++seed) {
        random.setSeed(seed * 2654435761u);
        const quint32 cool = randomBackground(random, true);
        const int r = int(cool & 0xFF), g = int((cool >> 8) & 0xFF), b = int((cool >> 16) & 0xFF);
        ASSERT_EQ(cool >> 24, 0u);
        ASSERT_GE(b, 60);
        ASSERT_LE(b, 167);
        ASSERT_GE(g - b, -20);
        ASSERT_LE(g - b, 19);
        ASSERT_GE(r - b, -20);
        ASSERT_LE(r - b, 19);
        minBlue = std::min(minBlue, b);
        maxBlue = std::max(maxBlue, b);

        const quint32 warm = randomBackground(random, false);
        ASSERT_EQ(warm & 0xFF0000u, 0u);
        ASSERT_LE(warm, 65534u);
    }
    EXPECT_EQ(minBlue, 60);
    EXPECT_EQ(maxBlue, 167);
}
