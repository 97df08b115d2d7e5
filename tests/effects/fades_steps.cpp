// The fades: how many steps are shown, which Alpha each step uses, what the
// picture holds at the end and what becomes of FBColor.
#include "effects/Fades.h"
#include "effects/Random.h"
#include "effects/TABitmap.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

constexpr int W = 481, H = 351;

int blueAt(const TABitmap &bmp, int x, int y)
{
    return bmp.image().constScanLine(y)[3 * x];
}

// A picture of one colour, and a context that records the blue byte of its
// first pixel at every present.
struct Scene
{
    TABitmap picture{W, H};
    RandomGenerator random{3};
    std::vector<int> shown;
    FadeContext context{random, [this] { shown.push_back(blueAt(picture, 0, 0)); }};

    explicit Scene(quint32 colour) { picture.fill(colour); }
};

TABitmap plain(quint32 colour)
{
    TABitmap bmp(W, H);
    bmp.fill(colour);
    return bmp;
}

// The blue byte's path when a fill of blue `to` is blended onto blue `from`
// at the given Alphas, ending with the plain copy.
std::vector<int> path(int from, int to, const std::vector<int> &alphas)
{
    std::vector<int> out;
    int d = from;
    for (int a : alphas) {
        const int c = a > 255 ? 255 : a;
        if (c > 0)
            d = (to * c + d * (256 - c)) / 256;
        out.push_back(d);
    }
    out.push_back(to);
    return out;
}

std::vector<int> ramp(int count, int base, int slope)
{
    std::vector<int> a;
    for (int i = 0; i < count; ++i)
        a.push_back(base + slope * i);
    return a;
}

} // namespace

// 27 blends at 0, 12, ..., 312, then the fill itself: 28 frames.
TEST(FadesSteps, FadeOutShowsEachOfItsStepsThenTheFill)
{
    Scene scene(0xC8C8C8);
    scene.context.tenderly = false;
    PictureState state{.FBColor = true};
    PFadeOut(scene.picture.image(), 0x141414, state, scene.context);
    EXPECT_EQ(scene.shown, path(200, 20, ramp(27, 0, 12)));
    EXPECT_EQ(scene.picture.image(), plain(0x141414).image());
    EXPECT_FALSE(state.FBColor);
}

// With "Tenderly" the picture ends as the grained fill, and the generator goes
// on from the grain.
TEST(FadesSteps, FadeOutWithTheGrainEndsOnTheGrainedFill)
{
    Scene scene(0);
    TABitmap grained = plain(0x4D5C50);
    RandomGenerator reference;
    TABitmap::AddNoise(grained, 15, reference);

    PictureState state{.FBColor = true};
    PFadeOut(scene.picture.image(), 0x4D5C50, state, scene.context);
    EXPECT_EQ(scene.shown.size(), 28u);
    EXPECT_EQ(scene.picture.image(), grained.image());
    EXPECT_EQ(scene.random.seed(), reference.seed());
    EXPECT_FALSE(state.FBColor);

    // Fading to black leaves FBColor as it was.
    state.FBColor = true;
    PFadeOut(scene.picture.image(), 0, state, scene.context);
    EXPECT_TRUE(state.FBColor);
}

TEST(FadesSteps, BlackAndGreyFadesUseAConstantAlphaAndSetFBColor)
{
    Scene black(0xFFFFFF);
    black.context.tenderly = true; // never grained
    PictureState state{.FBColor = false};
    PFadeOutB(black.picture.image(), state, black.context);
    EXPECT_EQ(black.shown, path(255, 0, ramp(17, 25, 0)));
    EXPECT_EQ(black.picture.image(), plain(0).image());
    EXPECT_TRUE(state.FBColor);

    Scene grey(0);
    state.FBColor = false;
    PFadeOutW(grey.picture.image(), state, grey.context);
    EXPECT_EQ(grey.shown, path(0, 0xE7, ramp(27, 25, 0)));
    EXPECT_EQ(grey.picture.image(), plain(0xE7E7E7).image());
    EXPECT_TRUE(state.FBColor);
}

// 17 blends at 0, 8, ..., 128, then the plain fill; FBColor is left to the writer.
TEST(FadesSteps, FadeInFromAPlainColourIsNeverGrainedAndKeepsFBColor)
{
    for (bool color : {false, true}) {
        Scene scene(0);
        scene.context.color = color;
        const uint32_t seed = scene.random.seed();
        PFadeInG(scene.picture.image(), 0x646464, PictureState{.FBColor = true}, scene.context);
        EXPECT_EQ(scene.shown, path(0, 100, ramp(17, 0, 8)));
        EXPECT_EQ(scene.picture.image(), plain(0x646464).image());
        EXPECT_EQ(scene.random.seed(), seed);
    }
}

TEST(FadesSteps, StartUpGrainIsTheFixedTextureShownOnce)
{
    Scene scene(0x505050);
    TABitmap expected = plain(0x505050);
    RandomGenerator reference;
    TABitmap::AddNoise(expected, 15, reference);

    PNoise1(scene.picture.image(), scene.context);
    EXPECT_EQ(scene.shown.size(), 1u);
    EXPECT_EQ(scene.picture.image(), expected.image());
    EXPECT_EQ(scene.picture.image().format(), QImage::Format_BGR888);

    // Without a present callback the fades still run to the end.
    RandomGenerator random;
    PictureState state{.FBColor = false};
    TABitmap pic = plain(0x123456);
    PFadeOutB(pic.image(), state, FadeContext{random, {}});
    EXPECT_EQ(pic.image(), plain(0).image());
}

// A picture handed over in another format is made 24-bit before the first step.
TEST(FadesSteps, PictureInAnotherFormatIsConvertedFirst)
{
    RandomGenerator random;
    QImage rgb32(481, 351, QImage::Format_RGB32);
    rgb32.fill(QColor(255, 255, 255));
    int frames = 0;
    PictureState state{.FBColor = false};
    PFadeOutW(rgb32, state, FadeContext{random, [&] {
                                            ++frames;
                                            EXPECT_EQ(rgb32.format(), QImage::Format_BGR888);
                                        }});
    EXPECT_EQ(frames, 28);
    EXPECT_EQ(rgb32, plain(0xE7E7E7).image());
}
