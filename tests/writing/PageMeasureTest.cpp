// Golden measurements of whole corpus pages as the window writes them: the
// length of a full column, where a page's ink sits on the picture, the size
// of the two faces, and half-width runs kept on the character grid.
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/PagedText.h"
#include "writing/PageComposer.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvane;

namespace {

constexpr quint32 kBackground = 0x000000;
constexpr quint32 kText = 0xFFFFFF;
constexpr int kInk = 0x60; // clearly more than the faintest antialiasing

struct Box
{
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
    bool empty() const { return right < left; }
    int height() const { return bottom - top + 1; }
    double centreX() const { return (left + right) / 2.0; }
    double centreY() const { return (top + bottom) / 2.0; }
};

Box inkBox(const TABitmap &page, int x0, int x1, int y0 = 0, int y1 = 351)
{
    Box b;
    for (int y = y0; y < y1; ++y) {
        const uchar *row = page.image().constScanLine(y);
        for (int x = x0; x < x1; ++x)
            if (row[3 * x + 1] > kInk) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    }
    return b;
}

Box columnInk(const TABitmap &page, int k)
{
    return inkBox(page, 425 - 30 * k - 16, 425 - 30 * k);
}

bool isLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

struct RowShape
{
    int columns = 0;
    bool halfWidth = false; // holds a single-byte character
    bool kanjiEnds = false; // first and last characters are kanji, whose ink fills the cell
};

RowShape shapeOf(const std::string &row)
{
    RowShape s;
    bool firstKanji = false, lastKanji = false;
    for (size_t i = 0; i < row.size();) {
        const auto c = static_cast<unsigned char>(row[i]);
        const bool pair = isLead(c) && i + 1 < row.size();
        // 0x88 0x9F on is the kanji block of CP932.
        const bool kanji = pair && c >= 0x88
                && !(c == 0x88 && static_cast<unsigned char>(row[i + 1]) < 0x9F);
        if (i == 0)
            firstKanji = kanji;
        lastKanji = kanji;
        s.halfWidth |= !pair;
        s.columns += pair ? 2 : 1;
        i += pair ? 2 : 1;
    }
    s.kanjiEnds = firstKanji && lastKanji;
    return s;
}

struct CorpusPage
{
    std::string text;
    std::vector<std::string> rows; // 13
};

std::vector<CorpusPage> corpusPages(int first, int perText)
{
    std::vector<CorpusPage> pages;
    const QDir dir(QStringLiteral(CORVANE_CORPUS_DIR));
    for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        if (name == QLatin1String("README.md"))
            continue;
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = f.readAll();
        const std::vector<std::string> rows
                = pagedRows(std::string(bytes.constData(), size_t(bytes.size())), true);
        for (int p = first; p < first + perText && size_t(13 * (p + 1)) <= rows.size(); ++p)
            pages.push_back(
                    {name.toStdString(), {rows.begin() + 13 * p, rows.begin() + 13 * (p + 1)}});
    }
    return pages;
}

TABitmap composed(const PageComposer &c, const std::vector<std::string> &rows, bool horizontal,
                  bool gothic)
{
    PageStyle style;
    style.horizontal = horizontal;
    style.gothic = gothic;
    style.tenderly = false;
    style.textColour = kText;
    style.background = kBackground;
    TABitmap page(481, 351);
    RandomGenerator random(1);
    c.compose(page, rows, style, random);
    return page;
}

class PageMeasureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_composer = new PageComposer;
        // Past the title pages, where the running text fills the columns.
        s_pages = new std::vector<CorpusPage>(corpusPages(4, 3));
    }
    static void TearDownTestSuite()
    {
        delete s_composer;
        delete s_pages;
    }
    void SetUp() override
    {
        if (!s_composer->isReady())
            GTEST_SKIP() << "page fonts not installed";
        ASSERT_GE(s_pages->size(), 12u);
    }
    static PageComposer *s_composer;
    static std::vector<CorpusPage> *s_pages;
};
PageComposer *PageMeasureTest::s_composer = nullptr;
std::vector<CorpusPage> *PageMeasureTest::s_pages = nullptr;

} // namespace

// An 18-character column is 18 ems of 16 px. Seen as ink, it runs 286 to
// 290 px when its end characters fill their cells; taking away what the end
// characters leave blank of their own cells (measured on each alone), it is
// 288 px exactly, in both faces.
TEST_F(PageMeasureTest, FullColumnsAreEighteenEmsLong)
{
    int measured = 0, filled = 0;
    for (const CorpusPage &page : *s_pages) {
        for (bool gothic : {false, true}) {
            const TABitmap img = composed(*s_composer, page.rows, false, gothic);
            for (int k = 0; k < 13; ++k) {
                const std::string &row = page.rows[size_t(k)];
                const RowShape s = shapeOf(row);
                if (s.columns != 36 || s.halfWidth || !s.kanjiEnds)
                    continue;
                const Box ink = columnInk(img, k);
                const Box first
                        = columnInk(composed(*s_composer, {row.substr(0, 2)}, false, gothic), 0);
                const Box last
                        = columnInk(composed(*s_composer, {row.substr(34)}, false, gothic), 0);
                const int above = first.top - 30, below = 30 + 16 - 1 - last.bottom;
                EXPECT_EQ(above + ink.height() + below, 18 * 16) << page.text << " column " << k;
                if (above <= 1 && below <= 1) {
                    EXPECT_GE(ink.height(), 286) << page.text << " column " << k;
                    EXPECT_LE(ink.height(), 290) << page.text << " column " << k;
                    ++filled;
                }
                ++measured;
            }
        }
    }
    EXPECT_GE(measured, 20);
    EXPECT_GE(filled, 10);
}

// A page's ink is centred on the picture: within 4 px of (240, 175) in both
// axes for vertical writing, and in y for horizontal writing, in both faces.
// Horizontal lines start at the fixed left margin of 80, so there the ink
// runs from x 80 to about 80 + 18 ems (386), hanging punctuation aside.
TEST_F(PageMeasureTest, PageInkIsCentredOnThePicture)
{
    int measured = 0;
    for (const CorpusPage &page : *s_pages) {
        for (bool gothic : {false, true}) {
            // Only a page with text in its first and last rows spans the picture.
            if (shapeOf(page.rows[12]).columns == 0 || shapeOf(page.rows[0]).columns == 0)
                continue;
            ++measured;
            const Box v = inkBox(composed(*s_composer, page.rows, false, gothic), 0, 481);
            EXPECT_NEAR(v.centreY(), 175, 4) << page.text << (gothic ? " gothic" : "");
            EXPECT_NEAR(v.centreX(), 240, 4) << page.text << (gothic ? " gothic" : "");
            const Box h = inkBox(composed(*s_composer, page.rows, true, gothic), 0, 481);
            EXPECT_NEAR(h.centreY(), 175, 4) << page.text << (gothic ? " gothic" : "");
            EXPECT_GE(h.left, 80);
            EXPECT_LE(h.left, 82);
            EXPECT_LE(h.right, 80 + 19 * 17);
        }
    }
    EXPECT_GE(measured, 10);
}

// Two half-width characters take exactly one em down the column, so a
// column of 36 display columns with half-width runs in it ends where a
// column of 18 full-width characters does, and the "----" rule of an
// Aozora header is as long as the text under it.
TEST_F(PageMeasureTest, HalfWidthRunsStayOnTheCharacterGrid)
{
    const std::string ichi = "\x88\xea"; // 一: a stroke across the middle of its cell
    std::string ichi18, mixed = ichi + ichi + "ABCDEFGH";
    for (int i = 0; i < 18; ++i)
        ichi18 += ichi;
    for (int i = 0; i < 9; ++i)
        mixed += ichi;
    mixed += "1234" + ichi; // 36 columns, 12 of them half-width
    const std::vector<std::string> rows = {
            std::string(36, '-'), mixed, ichi18,
            "\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a"
            "\xbf\x8a\xbf"
            "\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf\x8a\xbf", // 漢 x 18
    };
    const int fullEnd = 30 + 18 * 16; // below the last cell of a full column
    for (bool gothic : {false, true}) {
        const TABitmap img = composed(*s_composer, rows, false, gothic);
        const Box rule = columnInk(img, 0), mix = columnInk(img, 1), ones = columnInk(img, 2),
                  kanji = columnInk(img, 3);
        EXPECT_EQ(mix.bottom, ones.bottom) << gothic;
        EXPECT_LT(kanji.bottom, fullEnd) << gothic;
        EXPECT_GE(kanji.bottom, fullEnd - 3) << gothic;
        EXPECT_LT(rule.bottom, fullEnd) << gothic;
        EXPECT_GE(rule.bottom, fullEnd - 3) << gothic;
        // Across the line, at 17 px an em, half-width characters take 8.5 px.
        const TABitmap h = composed(*s_composer, rows, true, gothic);
        const Box hMix = inkBox(h, 0, 481, 15 + 25, 15 + 25 + 17),
                  hOnes = inkBox(h, 0, 481, 65, 65 + 17);
        EXPECT_EQ(hMix.right, hOnes.right) << gothic;
    }
    // The same holds along the corpus, headers included: no 36-column row
    // with half-width characters reaches past a full column.
    int measured = 0;
    for (const CorpusPage &page : corpusPages(0, 4)) {
        const TABitmap img = composed(*s_composer, page.rows, false, false);
        for (int k = 0; k < 13; ++k) {
            const RowShape s = shapeOf(page.rows[size_t(k)]);
            if (s.columns != 36 || !s.halfWidth)
                continue;
            EXPECT_LT(columnInk(img, k).bottom, fullEnd) << page.text << " column " << k;
            ++measured;
        }
    }
    EXPECT_GE(measured, 3);
}
