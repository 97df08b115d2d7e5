#include "text/Pages.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

std::vector<std::string> numberedRows(int n)
{
    std::vector<std::string> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back(std::string(1, 'r').append(std::to_string(i)));
    return rows;
}

} // namespace

// Rows are padded to whole pages of 13; a partial page still counts.
TEST(Pages, PaddingAndPageCount)
{
    EXPECT_EQ(padRows(numberedRows(26)).size(), 26u);
    EXPECT_EQ(pageTotal(26), 2);
    EXPECT_EQ(padRows(numberedRows(13)).size(), 13u);
    EXPECT_EQ(pageTotal(13), 1);
    EXPECT_EQ(pageTotal(0), 0);
    EXPECT_TRUE(padRows({}).empty());

    const std::vector<std::string> lines = padRows(numberedRows(27));
    ASSERT_EQ(lines.size(), 39u);
    EXPECT_EQ(pageTotal(lines.size()), 3);
    const PageRows third = pageRows(lines, 3);
    EXPECT_EQ(third[0], "r26");
    for (int k = 1; k < kPageRows; ++k)
        EXPECT_EQ(third[k], kPaddingRow);
    EXPECT_EQ(pageRows(lines, 2)[0], "r13");
    // A final empty row survives the round trip through the editor's text.
    EXPECT_EQ(joinRows({"a", ""}), "a\r\n\r\n");
}

// Pages outside the text, and an empty text, give an empty page.
TEST(Pages, OutOfRangePagesAreEmpty)
{
    const std::vector<std::string> lines = padRows(numberedRows(13));
    for (int page : {0, -1, 2, 1000})
        for (const std::string &row : pageRows(lines, page))
            EXPECT_TRUE(row.empty()) << page;
    for (const std::string &row : pageRows({}, 1))
        EXPECT_TRUE(row.empty());
}

// Rows are cut after 255 bytes, never between the two bytes of a character.
TEST(Pages, RowsAreCutAtCharacterBoundaries)
{
    EXPECT_EQ(cutRow(std::string(255, 'a')).size(), 255u);
    EXPECT_EQ(cutRow(std::string(300, 'a')).size(), 255u);
    std::string wide;
    for (int i = 0; i < 200; ++i)
        wide += "\x82\xA0";
    EXPECT_EQ(cutRow(wide), wide.substr(0, 254));
    EXPECT_EQ(cutRow("a" + wide), ("a" + wide).substr(0, 255));
    const std::vector<std::string> lines = padRows({wide});
    EXPECT_EQ(pageRows(lines, 1)[0].size(), 254u);
}

// The slider ticks every page up to 50 pages, then spaces its ticks.
TEST(Pages, TickFrequency)
{
    EXPECT_EQ(tickFrequency(0), 1);
    EXPECT_EQ(tickFrequency(50), 1);
    EXPECT_EQ(tickFrequency(51), 2);
    EXPECT_EQ(tickFrequency(150), 4);
    EXPECT_EQ(scaleHint(tickFrequency(50)), "scale : 1");
}

// The page steps wrap round at both ends; a bookmark beyond the text gives
// no page, one below 1 counts as page 1.
TEST(Pages, StepsAndBookmark)
{
    EXPECT_EQ(forwardPage(10, 10, false), 1);
    EXPECT_EQ(forwardPage(4, 10, true), 4);
    EXPECT_EQ(backPage(1, 10), 10);
    EXPECT_EQ(backPage(1, 0), 0); // the raw step, before the slider clamps it
    EXPECT_EQ(clampPage(0, 0), 1);
    EXPECT_EQ(clampPage(99, 10), 10);
    EXPECT_FALSE(goPage(12, 10));
    EXPECT_EQ(goPage(10, 10), 10);
    EXPECT_EQ(goPage(0, 10), 1);
    EXPECT_FALSE(goPage(1, 0)); // no text: "over page, set leaf"
    EXPECT_EQ(leafHint(0), "1 page");
    EXPECT_EQ(leafHint(12), "12 page");
}
