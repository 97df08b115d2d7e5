// The generator's sequence and the fixed grain built on it.
#include "effects/Random.h"
#include "effects/TABitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using corvane::RandomGenerator;
using corvane::TABitmap;

namespace {

// The grain as one walks it: every row restarts the generator at its number
// and every colour byte takes one draw. Returns the draws, row after row.
std::vector<uint32_t> drawsOfTheGrain(int width, int height, uint32_t amount,
                                      RandomGenerator &random)
{
    std::vector<uint32_t> draws;
    for (int y = 0; y < height; ++y) {
        random.setSeed(uint32_t(y));
        for (int i = 0; i < width * 3; ++i)
            draws.push_back(random.next(amount));
    }
    return draws;
}

} // namespace

// Each draw first steps seed := seed * 134775813 + 1; an integer draw is the
// high half of seed * n, a real one seed / 2^32. Values worked out by hand.
TEST(PixelsRandom, FollowsTheRecurrence)
{
    RandomGenerator random(0);
    EXPECT_EQ(random.next(100), 0u);
    EXPECT_EQ(random.seed(), 1u);
    EXPECT_EQ(random.next(100), 3u);
    EXPECT_EQ(random.seed(), 134775814u);
    EXPECT_EQ(random.next(255), 219u);
    EXPECT_EQ(random.seed(), 3698175007u);
    EXPECT_EQ(random.next(100), 20u);
    EXPECT_EQ(random.seed(), 870078620u);
    EXPECT_DOUBLE_EQ(random.real(), 1172187917.0 / 4294967296.0);

    // Random(0) still steps the seed and gives 0.
    RandomGenerator zero(0);
    EXPECT_EQ(zero.next(0), 0u);
    EXPECT_EQ(zero.random(-5), 0);
    EXPECT_EQ(zero.seed(), 134775814u);
}

// The grain adds exactly the draws of that walk, clamped at 255, and leaves
// the generator where the walk leaves it; the row padding stays as it was.
TEST(PixelsNoise, AddsTheDrawsOfEveryRowFromItsOwnSeed)
{
    for (int width : {1, 21, 22, 481}) {
        for (uint32_t amount : {0u, 1u, 15u, 255u}) {
            const int height = 7;
            TABitmap pic(width, height);
            for (int y = 0; y < height; ++y) {
                uchar *row = pic.image().scanLine(y);
                for (int i = 0; i < width * 3; ++i)
                    row[i] = uchar((i * 37 + y * 11) % 256);
                for (qsizetype i = qsizetype(width) * 3; i < pic.image().bytesPerLine(); ++i)
                    row[i] = 0xEE;
            }
            const TABitmap before = pic;

            RandomGenerator walk(12345);
            const std::vector<uint32_t> draws = drawsOfTheGrain(width, height, amount, walk);
            RandomGenerator random(999);
            TABitmap::AddNoise(pic, quint8(amount), random);

            EXPECT_EQ(random.seed(), walk.seed()) << "width " << width << " amount " << amount;
            size_t k = 0;
            for (int y = 0; y < height; ++y) {
                const uchar *was = before.image().constScanLine(y);
                const uchar *now = pic.image().constScanLine(y);
                for (int i = 0; i < width * 3; ++i, ++k)
                    ASSERT_EQ(now[i], std::min<uint32_t>(was[i] + draws[k], 255u))
                            << "width " << width << " amount " << amount << " row " << y << " byte "
                            << i;
                for (qsizetype i = qsizetype(width) * 3; i < pic.image().bytesPerLine(); ++i)
                    ASSERT_EQ(now[i], 0xEE);
            }
        }
    }
}

TEST(PixelsNoise, IsTheSameFixedTextureOnEveryCallAndOnlyBrightens)
{
    TABitmap a(481, 351), b(481, 351);
    a.fill(0x102030);
    b.fill(0x102030);
    RandomGenerator random(1);
    TABitmap::AddNoise(a, 15, random);
    random.setSeed(777); // the grain ignores where the generator stood
    TABitmap::AddNoise(b, 15, random);
    EXPECT_EQ(a.image(), b.image());

    // Twice over adds the same pattern twice.
    TABitmap once(481, 351), twice(481, 351);
    once.fill(0x102030);
    twice.fill(0x102030);
    TABitmap::AddNoise(once, 15, random);
    TABitmap::AddNoise(twice, 15, random);
    TABitmap::AddNoise(twice, 15, random);
    int grew = 0;
    for (int y = 0; y < 351; ++y) {
        const uchar *o = once.image().constScanLine(y);
        const uchar *t = twice.image().constScanLine(y);
        for (int i = 0; i < 481 * 3; ++i) {
            const int base = 0x10 * (i % 3 + 1); // bytes B, G, R of 0x102030
            ASSERT_GE(o[i], base);
            ASSERT_LT(o[i], base + 15);
            ASSERT_EQ(t[i] - base, 2 * (o[i] - base));
            grew += o[i] > base;
        }
    }
    EXPECT_GT(grew, 481 * 351 * 3 / 2);
}

TEST(PixelsNoise, ClampsAtTheTopAndLeavesEmptyBitmapsAndTheSeedSane)
{
    // 250 plus a draw of 14 is 255, not 8.
    const int width = 40;
    TABitmap pic(width, 3);
    pic.fill(0xFAFAFA);
    RandomGenerator walk;
    const std::vector<uint32_t> draws = drawsOfTheGrain(width, 3, 15, walk);
    const auto fourteen = std::find(draws.begin(), draws.end(), 14u);
    ASSERT_NE(fourteen, draws.end());
    const size_t at = size_t(fourteen - draws.begin());
    RandomGenerator random;
    TABitmap::AddNoise(pic, 15, random);
    EXPECT_EQ(pic.image().constScanLine(int(at / (width * 3)))[at % (width * 3)], 255);

    // An empty bitmap has no rows, so the generator stays where it was.
    TABitmap empty;
    random.setSeed(42);
    TABitmap::AddNoise(empty, 15, random);
    EXPECT_EQ(random.seed(), 42u);
    EXPECT_EQ(TABitmap::ClampByte(-1), 0);
    EXPECT_EQ(TABitmap::ClampByte(264), 255);
    EXPECT_EQ(TABitmap::ClampByte(7), 7);
}
