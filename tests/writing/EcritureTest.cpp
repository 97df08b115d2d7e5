// The page-writing and title-screen sequences: which fades run, how many
// steps are shown, what the picture ends as, and the flags left behind.
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "writing/Ecriture.h"
#include "writing/PageComposer.h"
#include "writing/TitleScreens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvane;

namespace {

constexpr quint32 kG = 0x405060;
constexpr quint32 kFo = 0xE0E0E0;

// The fixture is the picture state the writer reads and leaves.
class SequenceTest : public ::testing::Test, public PictureState
{
protected:
    static void SetUpTestSuite() { s_composer = new PageComposer; }
    static void TearDownTestSuite()
    {
        delete s_composer;
        s_composer = nullptr;
    }

    FadeContext context(bool tenderly = false)
    {
        return FadeContext{random, [this] { ++presents; }, tenderly, false};
    }

    // The page as the sequence should leave it.
    TABitmap expectedPage(const EcritureOptions &o, bool tenderly)
    {
        TABitmap page(481, 351);
        PageStyle style;
        style.horizontal = o.horizontal;
        style.gothic = o.gothic;
        style.tenderly = tenderly;
        style.textColour = o.FoColor;
        style.background = o.GColor;
        RandomGenerator r;
        s_composer->compose(page, rows, style, r);
        return page;
    }

    QString write(const EcritureOptions &o, bool tenderly = false)
    {
        EcritureRows source{[this] { ++retsuCalls; },
                            [this] { return std::span<const std::string>(rows); },
                            {}};
        return Ecriture(picture, *s_composer, *this, o, source, context(tenderly));
    }

    static PageComposer *s_composer;
    RandomGenerator random{3};
    QImage picture = TABitmap(481, 351).take();
    std::vector<std::string> rows{"\x97\x85\x90\xb6\x96\xe5", "abc", "\x81\x40"};
    int presents = 0, retsuCalls = 0;
};
PageComposer *SequenceTest::s_composer = nullptr;

EcritureOptions options(bool fadeIn, bool fadeOut)
{
    EcritureOptions o;
    o.fadeIn = fadeIn;
    o.fadeOut = fadeOut;
    o.FoColor = kFo;
    o.GColor = kG;
    return o;
}

} // namespace

// Without "+Fade In" the page replaces the picture in one copy; with it, 17
// steps (or 24 with "+Fade Out") and the copy. A fade-out runs first only when
// "+Fade Out" is on and a page stands on the picture.
TEST_F(SequenceTest, EcritureShowsTheRightNumberOfSteps)
{
    struct Case
    {
        bool fadeIn, fadeOut, pageShown;
        int presents;
    };
    const Case cases[] = {
            {false, false, false, 1}, {false, false, true, 1},     {true, false, true, 18},
            {true, true, false, 25},  {true, true, true, 28 + 25}, {false, true, true, 28 + 1},
    };
    for (const Case &c : cases) {
        presents = 0;
        FPageShown = c.pageShown;
        write(options(c.fadeIn, c.fadeOut));
        EXPECT_EQ(presents, c.presents) << c.fadeIn << c.fadeOut << c.pageShown;
    }
}

// Whatever the steps, the picture ends as exactly the composed page, with or
// without the grain; the flags say a page is shown and the start is over.
TEST_F(SequenceTest, EcritureEndsOnTheComposedPageAndSetsTheFlags)
{
    for (bool tenderly : {false, true}) {
        for (bool fadeIn : {false, true}) {
            FBColor = true;
            FPageShown = false;
            FFreshStart = true;
            EcritureOptions o = options(fadeIn, true);
            o.horizontal = fadeIn;
            const QString hint = write(o, tenderly);
            EXPECT_EQ(picture, expectedPage(o, tenderly).image());
            EXPECT_TRUE(FPageShown);
            EXPECT_FALSE(FBColor);
            EXPECT_FALSE(FFreshStart);
            EXPECT_EQ(hint, QStringLiteral("Corvanes"));
        }
    }
}

// A plain fade colour on the picture (FBColor) is faded back to the
// background first (17 steps and the fill). With a black background FBColor
// stays set, so the next write fades in again.
TEST_F(SequenceTest, EcritureFadesInFromAPlainColourFirst)
{
    FBColor = true;
    write(options(false, false));
    EXPECT_EQ(presents, 18 + 1);
    EXPECT_FALSE(FBColor);

    EcritureOptions black = options(false, false);
    black.GColor = 0;
    FBColor = true;
    presents = 0;
    write(black);
    EXPECT_TRUE(FBColor);
    presents = 0;
    write(black);
    EXPECT_EQ(presents, 18 + 1);
}

// Rows come from FRetsuIist unless FFileIn, which writes FRows unchanged and
// clears the picture's hint.
TEST_F(SequenceTest, EcritureTakesRowsFromThePageUnlessFileIn)
{
    write(options(false, false));
    EXPECT_EQ(retsuCalls, 1);
    EcritureOptions o = options(false, false);
    o.FFileIn = true;
    EXPECT_EQ(write(o), QString());
    EXPECT_EQ(retsuCalls, 1);
    EXPECT_EQ(picture, expectedPage(o, false).image());
}

// Title: the word blends in (17 steps and the copy) and fades out (27 steps
// and the fill); the end screen first fades out what is shown, unless nothing
// was shown since start-up or the picture is a plain fade colour.
TEST_F(SequenceTest, TitleScreensFadeInThenOut)
{
    struct Case
    {
        bool ending, bColor, freshStart, fadeOut;
        int presents;
    };
    const Case cases[] = {
            {false, false, false, false, 18 + 28}, // title: never a fade-out first
            {true, false, true, false, 18 + 28},   // closing right after start-up
            {true, true, false, false, 18 + 28},   // over an effect's black picture
            {true, false, false, false, 28 + 18 + 28},
            {true, false, false, true, 28 + 25 + 28}, // "+Fade Out": the finer blend
    };
    for (const Case &c : cases) {
        presents = 0;
        PictureState title{.FBColor = c.bColor, .FFreshStart = c.freshStart};
        TitleOptions o;
        o.FEnding = c.ending;
        o.fadeOut = c.fadeOut;
        o.FoColor = kFo;
        o.GColor = kG;
        FCorvanes(picture, s_composer->faces(), title, o, context());
        EXPECT_EQ(presents, c.presents) << c.ending << c.bColor << c.freshStart << c.fadeOut;
        EXPECT_TRUE(title.FPageShown);
        EXPECT_FALSE(title.FBColor);
        TABitmap plain(481, 351);
        plain.fill(kG);
        EXPECT_EQ(picture, plain.image()); // ends on the plain background
    }
}

// The word is drawn bold at its place: "Corvane" from (180, 165), "FIN" from
// (220, 165), nothing elsewhere; Gothic draws other glyphs.
TEST_F(SequenceTest, TitleWordsSitWhereTheyShould)
{
    if (!s_composer->isReady())
        GTEST_SKIP();
    for (bool ending : {false, true}) {
        TABitmap screen(481, 351);
        composeTitle(screen, s_composer->faces(), ending, false, 0xFFFFFF, 0, false, random);
        int left = 481, right = -1, top = 351, bottom = -1;
        for (int y = 0; y < 351; ++y)
            for (int x = 0; x < 481; ++x)
                if (screen.image().constScanLine(y)[3 * x] > 0x60) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        const TitleWord w = titleWord(ending, 481, 351);
        EXPECT_GE(left, w.x);
        EXPECT_LE(left, w.x + 4);
        EXPECT_GE(top, w.y);
        EXPECT_LE(bottom, w.y + 30);
        EXPECT_GT(right - left, ending ? 30 : 90);
        TABitmap gothic(481, 351);
        composeTitle(gothic, s_composer->faces(), ending, true, 0xFFFFFF, 0, false, random);
        EXPECT_NE(screen.image(), gothic.image());
    }
}
