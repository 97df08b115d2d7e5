// The 24-bit picture: byte order, copies that stay 24-bit, and the blend's
// arithmetic, clipping and untouched row padding.
#include "effects/PixelKernels.h"
#include "effects/TABitmap.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <array>
#include <cstring>

using corvane::TABitmap;

namespace {

std::array<int, 3> bgrAt(const TABitmap &bmp, int x, int y)
{
    const uchar *p = bmp.image().constScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// Pseudo-random bytes without the program's generator, so that a fault in it
// cannot hide a fault here.
void scribble(TABitmap &bmp, uint32_t salt)
{
    uint32_t v = salt * 2654435761u + 1;
    for (int y = 0; y < bmp.height(); ++y) {
        uchar *row = bmp.image().scanLine(y);
        for (int i = 0; i < bmp.width() * 3; ++i) {
            v ^= v << 13, v ^= v >> 17, v ^= v << 5;
            row[i] = uchar(v);
        }
    }
}

// Marks each row's padding bytes so that a write into them shows.
void markPadding(TABitmap &bmp, uchar mark)
{
    for (int y = 0; y < bmp.height(); ++y) {
        uchar *row = bmp.image().scanLine(y);
        for (qsizetype i = qsizetype(bmp.width()) * 3; i < bmp.image().bytesPerLine(); ++i)
            row[i] = mark;
    }
}

bool paddingIs(const TABitmap &bmp, uchar mark)
{
    for (int y = 0; y < bmp.height(); ++y) {
        const uchar *row = bmp.image().constScanLine(y);
        for (qsizetype i = qsizetype(bmp.width()) * 3; i < bmp.image().bytesPerLine(); ++i)
            if (row[i] != mark)
                return false;
    }
    return true;
}

uchar expected(uchar s, uchar d, int alpha)
{
    const int c = alpha > 255 ? 255 : alpha;
    return uchar((s * c + d * (256 - c)) / 256);
}

} // namespace

// The picture holds bytes B, G, R, rows padded to 4 bytes, whatever it is built from.
TEST(PixelsBitmap, StaysTwentyFourBitsInWindowsByteOrder)
{
    TABitmap bmp(481, 351);
    EXPECT_EQ(bmp.image().format(), QImage::Format_BGR888);
    EXPECT_EQ(bmp.image().bytesPerLine(), 1444);

    bmp.fill(0x00336699); // red 0x99, green 0x66, blue 0x33
    EXPECT_EQ(bgrAt(bmp, 0, 0), (std::array<int, 3>{0x33, 0x66, 0x99}));
    EXPECT_EQ(bgrAt(bmp, 480, 350), (std::array<int, 3>{0x33, 0x66, 0x99}));
    EXPECT_EQ(bmp.image().pixelColor(480, 350), QColor(0x99, 0x66, 0x33));

    QImage argb(4, 3, QImage::Format_ARGB32);
    argb.fill(QColor(10, 20, 30));
    TABitmap fromArgb(argb);
    EXPECT_EQ(fromArgb.image().format(), QImage::Format_BGR888);
    EXPECT_EQ(bgrAt(fromArgb, 3, 2), (std::array<int, 3>{30, 20, 10}));

    TABitmap assigned;
    assigned.Assign(argb);
    EXPECT_EQ(assigned.image().format(), QImage::Format_BGR888);

    // Someone drawing through image() may swap in another format; the next
    // blend converts it back before touching a byte.
    TABitmap dest(4, 3);
    dest.image() = argb;
    TABitmap src(4, 3);
    src.fill(0);
    src.BlendOnto(0, 0, 4, 3, dest, 0);
    EXPECT_EQ(dest.image().format(), QImage::Format_BGR888);

    EXPECT_TRUE(TABitmap(0, 5).isEmpty());
    EXPECT_TRUE(TABitmap(-3, 5).isEmpty());
}

TEST(PixelsBitmap, LoadFromFileForcesTwentyFourBitsAndKeepsOldContentOnFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage indexed(5, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(200, 100, 50)});
    indexed.fill(0);
    const QString path = dir.filePath("p.png");
    ASSERT_TRUE(indexed.save(path));

    TABitmap bmp(1, 1);
    bmp.fill(0x010203);
    EXPECT_FALSE(bmp.LoadFromFile(dir.filePath("missing.bmp")));
    EXPECT_EQ(bmp.width(), 1);
    EXPECT_EQ(bgrAt(bmp, 0, 0), (std::array<int, 3>{1, 2, 3}));

    ASSERT_TRUE(bmp.LoadFromFile(path));
    EXPECT_EQ(bmp.image().format(), QImage::Format_BGR888);
    EXPECT_EQ(bmp.width(), 5);
    EXPECT_EQ(bgrAt(bmp, 4, 1), (std::array<int, 3>{50, 100, 200}));
}

// Every byte becomes (s * c + d * (256 - c)) div 256 with c = min(Alpha, 255),
// also in the vectorised middle of a long row and in its scalar tail.
TEST(PixelsBlend, MatchesTheByteFormulaAtEveryAlphaAndWidth)
{
    for (int width : {1, 21, 22, 43, 481}) {
        for (int alpha : {1, 6, 12, 25, 96, 128, 254, 255, 256, 300, 65535}) {
            TABitmap src(width, 3), dest(width, 3);
            scribble(src, uint32_t(width));
            scribble(dest, uint32_t(alpha));
            const TABitmap before = dest;
            src.BlendOnto(0, 0, width, 3, dest, quint16(alpha));
            for (int y = 0; y < 3; ++y) {
                const uchar *s = src.image().constScanLine(y);
                const uchar *d0 = before.image().constScanLine(y);
                const uchar *d = dest.image().constScanLine(y);
                for (int i = 0; i < width * 3; ++i)
                    ASSERT_EQ(d[i], expected(s[i], d0[i], alpha))
                            << "width " << width << " alpha " << alpha << " row " << y << " byte "
                            << i;
            }
        }
    }
}

TEST(PixelsBlend, AlphaZeroDrawsNothingAndOverflowingAlphaActsAs255)
{
    TABitmap src(481, 351), dest(481, 351);
    scribble(src, 1);
    scribble(dest, 2);
    const TABitmap original = dest;

    src.BlendOnto(0, 0, 481, 351, dest, 0);
    EXPECT_EQ(dest.image(), original.image());

    TABitmap at255 = original, at300 = original;
    src.BlendOnto(0, 0, 481, 351, at255, 255);
    src.BlendOnto(0, 0, 481, 351, at300, 300);
    EXPECT_EQ(at255.image(), at300.image());

    // Even at 255 the blend stops short of the source: white over black gives 254.
    TABitmap white(2, 2), black(2, 2);
    white.fill(0xFFFFFF);
    black.fill(0);
    white.BlendOnto(0, 0, 2, 2, black, 255);
    EXPECT_EQ(bgrAt(black, 1, 1), (std::array<int, 3>{254, 254, 254}));
}

// The area stops at the right and bottom edges of Dest and of the source, and
// the bytes after each row's pixels are never written.
TEST(PixelsBlend, ClipsToBothBitmapsAndLeavesRowPaddingAlone)
{
    TABitmap src(10, 10), dest(7, 5); // 7 * 3 = 21 bytes, 3 bytes of padding
    src.fill(0xFFFFFF);
    dest.fill(0);
    markPadding(dest, 0xAB);

    src.BlendOnto(4, 3, 100, 100, dest, 255);
    EXPECT_TRUE(paddingIs(dest, 0xAB));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(bgrAt(dest, x, y)[0], (x >= 4 && y >= 3) ? 254 : 0) << x << "," << y;

    // A source smaller than the area blends only what it has.
    TABitmap small(2, 1), wide(7, 5);
    small.fill(0xFFFFFF);
    wide.fill(0);
    markPadding(wide, 0xCD);
    small.BlendOnto(0, 0, 7, 5, wide, 255);
    EXPECT_TRUE(paddingIs(wide, 0xCD));
    EXPECT_EQ(bgrAt(wide, 1, 0)[2], 254);
    EXPECT_EQ(bgrAt(wide, 2, 0)[2], 0);
    EXPECT_EQ(bgrAt(wide, 0, 1)[2], 0);

    // Outside Dest, or starting above or left of it, nothing is written out of bounds.
    TABitmap same = wide;
    small.BlendOnto(7, 0, 5, 5, same, 255);
    small.BlendOnto(0, 5, 5, 5, same, 255);
    small.BlendOnto(0, 0, 0, 5, same, 255);
    EXPECT_EQ(same.image(), wide.image());
    TABitmap corner(3, 3);
    corner.fill(0);
    TABitmap big(4, 4);
    big.fill(0xFFFFFF);
    big.image().scanLine(1)[3] = 0; // source pixel (1, 1), blue byte
    big.BlendOnto(-1, -1, 4, 4, corner, 255);
    EXPECT_EQ(bgrAt(corner, 0, 0), (std::array<int, 3>{0, 254, 254}));
    EXPECT_EQ(bgrAt(corner, 2, 2), (std::array<int, 3>{254, 254, 254}));
}

// The smear: Y = 1 at Alpha 128 makes each row the mean of itself and the row
// above as it was before the step, even when a bitmap is blended onto itself.
TEST(PixelsBlend, OneRowDownAveragesWithTheRowAboveAsItWas)
{
    TABitmap pic(5, 4);
    for (int y = 0; y < 4; ++y)
        std::memset(pic.image().scanLine(y), 40 * (y + 1), 15); // rows 40, 80, 120, 160

    TABitmap copy = pic;
    copy.BlendOnto(0, 1, 5, 4, pic, 128);
    EXPECT_EQ(bgrAt(pic, 2, 0)[1], 40);
    EXPECT_EQ(bgrAt(pic, 2, 1)[1], 60);
    EXPECT_EQ(bgrAt(pic, 2, 2)[1], 100);
    EXPECT_EQ(bgrAt(pic, 2, 3)[1], 140);
    EXPECT_EQ(bgrAt(copy, 2, 3)[1], 160); // the source keeps its bytes

    TABitmap self(5, 4);
    for (int y = 0; y < 4; ++y)
        std::memset(self.image().scanLine(y), 40 * (y + 1), 15);
    self.BlendOnto(0, 1, 5, 4, self, 128);
    EXPECT_EQ(self.image(), pic.image());
}

TEST(PixelsBlend, CopyOntoReplacesPixelsButNotPadding)
{
    TABitmap src(7, 3), dest(7, 3);
    scribble(src, 9);
    dest.fill(0);
    markPadding(dest, 0x5A);
    const quint64 changes = dest.changeCount();
    src.copyOnto(dest);
    EXPECT_GT(dest.changeCount(), changes);
    EXPECT_TRUE(paddingIs(dest, 0x5A));
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(std::memcmp(src.image().constScanLine(y), dest.image().constScanLine(y), 21), 0);
}

// Both row kernels give the same bytes, at every length around their step sizes.
TEST(PixelsBlend, BaselineAndAvx2KernelsAgree)
{
    if (!corvane::pixels::hasAvx2())
        GTEST_SKIP() << "no AVX2 on this CPU";
    uchar s[200], d[200], a[200], b[200];
    for (int i = 0; i < 200; ++i) {
        s[i] = uchar(i * 73 + 5);
        d[i] = uchar(255 - i * 31);
    }
    for (int n : {0, 1, 31, 32, 33, 63, 64, 65, 127, 200}) {
        for (int c : {1, 96, 128, 255}) {
            std::memcpy(a, d, sizeof d);
            std::memcpy(b, d, sizeof d);
            corvane::pixels::blendBytesGeneric(s, a, n, uint16_t(c), uint16_t(256 - c));
            corvane::pixels::blendBytesAvx2(s, b, n, uint16_t(c), uint16_t(256 - c));
            for (int i = 0; i < 200; ++i)
                ASSERT_EQ(a[i], i < n ? expected(s[i], d[i], c) : d[i])
                        << "n " << n << " c " << c << " at " << i;
            ASSERT_EQ(std::memcmp(a, b, sizeof a), 0) << "n " << n << " c " << c;
        }
    }
}
