// Where ink lands on a composed page, and how the glyphs are shaped.
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/PagedText.h"
#include "text/TextSource.h"
#include "writing/PageComposer.h"

#include <QFile>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace corvane;

namespace {

constexpr quint32 kBackground = 0x202020;
constexpr quint32 kText = 0xFFFFFF;

struct Box
{
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // right/bottom inclusive
    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

// A pixel is ink when it is clearly brighter than the plain background.
bool isInk(const TABitmap &page, int x, int y)
{
    const uchar *p = page.image().constScanLine(y) + 3 * x;
    return p[0] > 0x50 || p[1] > 0x50 || p[2] > 0x50;
}

Box inkBox(const TABitmap &page, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1)
{
    if (x1 < 0)
        x1 = page.width();
    if (y1 < 0)
        y1 = page.height();
    Box b;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (isInk(page, x, y)) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

PageStyle plainStyle(bool horizontal, bool gothic = false)
{
    PageStyle s;
    s.horizontal = horizontal;
    s.gothic = gothic;
    s.tenderly = false;
    s.textColour = kText;
    s.background = kBackground;
    return s;
}

TABitmap composed(const PageComposer &c, const std::vector<std::string> &rows,
                  const PageStyle &style)
{
    TABitmap page(481, 351);
    RandomGenerator random(7);
    c.compose(page, rows, style, random);
    return page;
}

std::vector<std::string> corpusRows()
{
    QFile f(QStringLiteral(CORVANE_CORPUS_DIR "/akutagawa-rashomon.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    return pagedRows(std::string(bytes.constData(), size_t(bytes.size())), true);
}

// Rows that stress the vertical forms and the sideways runs: brackets, long
// vowel mark, wave dash, small kana, half-width Latin, digits and katakana.
std::vector<std::string> mixedRows()
{
    return {
            "\x81\x75\x83\x4A\x83\x89\x83\x58\x81\x5B\x81\x76\x81\x60\x82\xe1\x82\xc1", // 「カラス」～ゃっ
            "Corvane 1234 abc xyz",
            "\x81\x69\x8a\xbf\x81\x6a\xb1\xb2\xb3"
            "ABC"
            "\x81\x42", // （漢）ｱｲｳABC。
            "\x81\x40", // padding row
            "",
            std::string(36, 'W'),
            "\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88"
            "\xea"
            "\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea\x88\xea", // 一 x 19 (38
                                                                                // columns)
    };
}

class PageComposerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_composer = new PageComposer; }
    static void TearDownTestSuite()
    {
        delete s_composer;
        s_composer = nullptr;
    }
    void SetUp() override
    {
        if (!s_composer->isReady())
            GTEST_SKIP() << "page fonts not installed: "
                         << s_composer->missingFaces().toStdString();
    }
    static PageComposer *s_composer;
};
PageComposer *PageComposerTest::s_composer = nullptr;

} // namespace

// Vertical rows: all ink of row k lies in its column, x from 425 - 30k - 16 to
// 425 - 30k, from y = 30 down; nothing between the columns.
TEST_F(PageComposerTest, VerticalInkStaysInsideTheColumnBands)
{
    std::vector<std::vector<std::string>> pages;
    const std::vector<std::string> rows = corpusRows();
    ASSERT_GE(rows.size(), 13u * 6);
    for (int p = 0; p < 6; ++p)
        pages.emplace_back(rows.begin() + 13 * p, rows.begin() + 13 * (p + 1));
    pages.push_back(mixedRows());
    for (bool gothic : {false, true}) {
        for (const auto &page : pages) {
            const TABitmap img = composed(*s_composer, page, plainStyle(false, gothic));
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    if (!isInk(img, x, y))
                        continue;
                    const int k = x <= 424 ? (424 - x) / 30
                                           : -1; // the only column whose band could hold x
                    const int right = 425 - 30 * k;
                    ASSERT_TRUE(k >= 0 && k < 13 && x >= right - 16 && x < right && y >= 30)
                            << "ink at " << x << "," << y << (gothic ? " gothic" : " mincho");
                }
        }
    }
}

// Horizontal rows: row k's ink lies in y from 15 + 25k to 15 + 25k + 17, from x = 80.
TEST_F(PageComposerTest, HorizontalInkStaysInsideTheLineBands)
{
    const std::vector<std::string> rows = corpusRows();
    std::vector<std::vector<std::string>> pages;
    for (int p = 0; p < 6; ++p)
        pages.emplace_back(rows.begin() + 13 * p, rows.begin() + 13 * (p + 1));
    pages.push_back(mixedRows());
    for (bool gothic : {false, true}) {
        for (const auto &page : pages) {
            const TABitmap img = composed(*s_composer, page, plainStyle(true, gothic));
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    if (!isInk(img, x, y))
                        continue;
                    const int k = (y - 15) / 25;
                    const int top = 15 + 25 * k;
                    ASSERT_TRUE(y >= 15 && k < 13 && y < top + 17 && x >= 80 && x < 481)
                            << "ink at " << x << "," << y;
                }
        }
    }
}

// Each of the 13 rows of a full page shows up, in order, and blank or padding
// rows leave the background untouched.
TEST_F(PageComposerTest, EveryRowIsDrawnAndBlankRowsStayBlank)
{
    const std::vector<std::string> rows = corpusRows();
    const std::vector<std::string> page(rows.begin() + 13, rows.begin() + 26);
    const TABitmap v = composed(*s_composer, page, plainStyle(false));
    const TABitmap h = composed(*s_composer, page, plainStyle(true));
    for (int k = 0; k < 13; ++k) {
        const bool blank = page[size_t(k)].empty() || page[size_t(k)] == "\x81\x40";
        EXPECT_EQ(inkBox(v, 425 - 30 * k - 16, 0, 425 - 30 * k, 351).empty(), blank)
                << "column " << k;
        EXPECT_EQ(inkBox(h, 0, 15 + 25 * k, 481, 15 + 25 * k + 17).empty(), blank) << "line " << k;
    }
    const std::vector<std::string> mixed = mixedRows();
    const TABitmap m = composed(*s_composer, mixed, plainStyle(false));
    EXPECT_TRUE(inkBox(m, 425 - 30 * 3 - 16, 0, 425 - 30 * 3, 351).empty()); // padding row
    EXPECT_TRUE(inkBox(m, 425 - 30 * 4 - 16, 0, 425 - 30 * 4, 351).empty()); // empty row
    EXPECT_TRUE(inkBox(m, 0, 0, 425 - 30 * 6 - 16, 351).empty());            // no 8th row and on
}

TEST_F(PageComposerTest, GothicAndMinchoDiffer)
{
    const std::vector<std::string> rows = corpusRows();
    const std::vector<std::string> page(rows.begin(), rows.begin() + 13);
    for (bool horizontal : {false, true}) {
        const TABitmap mincho = composed(*s_composer, page, plainStyle(horizontal, false));
        const TABitmap gothic = composed(*s_composer, page, plainStyle(horizontal, true));
        EXPECT_NE(mincho.image(), gothic.image());
    }
}

// A full-width "１" stands upright (taller than wide) while a half-width "1"
// lies on its side (wider than tall); "一" stays a horizontal stroke.
TEST_F(PageComposerTest, UprightFullWidthAndSidewaysHalfWidth)
{
    const std::vector<std::string> rows = {"\x82\x50", "1", "\x88\xea", "l"};
    const TABitmap img = composed(*s_composer, rows, plainStyle(false));
    const Box fullOne = inkBox(img, 409, 0, 425, 351);
    const Box halfOne = inkBox(img, 379, 0, 395, 351);
    const Box ichi = inkBox(img, 349, 0, 365, 351);
    const Box ell = inkBox(img, 319, 0, 335, 351);
    ASSERT_FALSE(fullOne.empty() || halfOne.empty() || ichi.empty() || ell.empty());
    EXPECT_GT(fullOne.height(), fullOne.width());
    EXPECT_GT(halfOne.width(), halfOne.height());
    EXPECT_GT(ichi.width(), 3 * ichi.height());
    EXPECT_GT(2 * ell.width(), 5 * ell.height());
    // A sideways glyph's top faces right: "l" sits on the baseline, left of
    // the cell's top edge, so its ink keeps clear of the right edge by the
    // space above its ascender only.
    EXPECT_LT(ell.right, 425 - 30 * 3);
    EXPECT_GE(ell.left, 425 - 30 * 3 - 16);
}

// "。" and "、" take their vertical forms: ink in the upper-right quarter of the cell.
TEST_F(PageComposerTest, VerticalFullStopSitsUpperRight)
{
    for (const char *mark : {"\x81\x42", "\x81\x41"}) {
        const TABitmap img = composed(*s_composer, {std::string(mark)}, plainStyle(false));
        const FaceMetrics m = s_composer->faces().face(pageFace(false, false))->metrics(16);
        const Box b = inkBox(img, 425 - 16, 30, 425, 30 + m.pixelSize);
        ASSERT_FALSE(b.empty());
        const double cellCentreX = 425 - m.cellHeight() / 2.0;
        const double cellCentreY = 30 + m.pixelSize / 2.0;
        EXPECT_GE(b.left, cellCentreX) << mark;
        EXPECT_LE(b.bottom, cellCentreY) << mark;
    }
}

// Full-width characters are shaped top to bottom: no sideways advance, a
// downward one (negative in HarfBuzz's y-up units); the vertical forms give
// other glyphs than the horizontal ones for 「 and ー.
TEST_F(PageComposerTest, TopToBottomShapingAdvancesDownOnly)
{
    const Face *face = s_composer->faces().face(pageFace(false, false));
    ASSERT_NE(face, nullptr);
    const std::u32string text = U"羅生門「カラス」ー～ゃ。";
    const auto vertical = shapeRun(*face, text, true);
    ASSERT_EQ(vertical.size(), text.size());
    for (const ShapedGlyph &g : vertical) {
        EXPECT_EQ(g.xAdvance, 0);
        EXPECT_LT(g.yAdvance, 0);
    }
    const auto horizontal = shapeRun(*face, text, false);
    ASSERT_EQ(horizontal.size(), text.size());
    EXPECT_NE(vertical[3].glyph, horizontal[3].glyph); // 「
    EXPECT_NE(vertical[8].glyph, horizontal[8].glyph); // ー
    EXPECT_EQ(vertical[0].glyph, horizontal[0].glyph); // 羅 has no vertical form

    // Down a column every full-width character takes the same pitch.
    const auto runs
            = s_composer->layoutRow("\x97\x85\x90\xb6\x96\xe5\x81\x42\x82\xa0", 0, false, false);
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].positions.size(), 5u);
    const int pitch = face->metrics(16).pixelSize;
    EXPECT_DOUBLE_EQ(runs[0].positions[1].y() - runs[0].positions[0].y(), pitch);
    EXPECT_DOUBLE_EQ(runs[0].positions[4].y() - runs[0].positions[3].y(), pitch);
}

// A sideways run continues the column where the upright one ended, and the
// upright run after it continues below.
TEST_F(PageComposerTest, MixedRowRunsFollowEachOtherDownTheColumn)
{
    const auto runs = s_composer->layoutRow("\x88\xea"
                                            "ab"
                                            "\x88\xea",
                                            2, false, false);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_FALSE(runs[0].sideways);
    EXPECT_TRUE(runs[1].sideways);
    EXPECT_FALSE(runs[2].sideways);
    const int em = s_composer->faces().face(pageFace(false, false))->metrics(16).pixelSize;
    EXPECT_DOUBLE_EQ(runs[1].pivot.x(), 365);
    EXPECT_DOUBLE_EQ(runs[1].pivot.y(), 30 + em);
    const double ab = runs[1].positions.size() == 2 ? runs[1].positions[1].x() * 2
                                                    : 0; // two equal advances
    EXPECT_GT(runs[2].positions[0].y(), runs[0].positions[0].y() + em + ab / 2);
}

// The grain is fixed: the same page written twice is the same, byte for byte,
// whatever state the generator was in.
TEST_F(PageComposerTest, SamePageTwiceIsByteIdentical)
{
    const std::vector<std::string> rows = corpusRows();
    const std::vector<std::string> page(rows.begin() + 26, rows.begin() + 39);
    PageStyle style; // defaults: vertical Mincho with the grain
    TABitmap a(481, 351), b(481, 351);
    RandomGenerator r1(1), r2(987654321);
    s_composer->compose(a, page, style, r1);
    s_composer->compose(b, page, style, r2);
    for (int y = 0; y < 351; ++y)
        ASSERT_EQ(0, memcmp(a.image().constScanLine(y), b.image().constScanLine(y), 481 * 3))
                << "row " << y;
    EXPECT_EQ(r1.seed(), r2.seed());
    PageStyle noGrain = style;
    noGrain.tenderly = false;
    TABitmap c(481, 351);
    s_composer->compose(c, page, noGrain, r1);
    EXPECT_NE(a.image(), c.image());
}

// Colours are 0x00BBGGRR: a pure red text colour comes out with only its red byte set.
TEST_F(PageComposerTest, ColoursAreBgrWithRedInTheLowByte)
{
    PageStyle style = plainStyle(true);
    style.textColour = 0x0000FF;
    style.background = 0xFF0000;                                             // blue
    const TABitmap img = composed(*s_composer, {"\x81\xa1\x81\xa1"}, style); // ■■, solid ink
    const uchar *bg = img.image().constScanLine(0);
    EXPECT_EQ(bg[0], 0xFF); // B
    EXPECT_EQ(bg[2], 0x00); // R
    const uchar *ink = img.image().constScanLine(15 + 8) + 3 * 86;
    EXPECT_EQ(ink[0], 0x00);
    EXPECT_EQ(ink[2], 0xFF);
}
