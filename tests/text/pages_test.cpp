#include "text/Pages.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

std::vector<std::string> numberedRows(int n)
{
    std::vector<std::string> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back("r" + std::to_string(i));
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

// Forward and back wrap round; a slider move or Go makes forward write
// that very page; the stored page is clamped into the text.
TEST(PageState, Commands)
{
    PageState s;
    s.page = 99;
    s.paged(10);
    EXPECT_EQ(s.page, 10);
    EXPECT_TRUE(s.samePage);
    EXPECT_EQ(s.forward(), 10); // the first forward writes the stored page
    EXPECT_EQ(s.forward(), 1);  // from the last page to the first
    EXPECT_EQ(s.back(), 10);    // and back again

    s.slide(5);
    EXPECT_EQ(s.forward(), 5);
    EXPECT_EQ(s.forward(), 6);
    EXPECT_EQ(s.back(), 5);

    s.setLeaf();
    s.slide(9);
    EXPECT_EQ(s.go(), 5);
    EXPECT_EQ(s.reset(), 1);

    PageState low;
    low.page = -3;
    low.paged(10);
    EXPECT_EQ(low.page, 1);
}

// A bookmark beyond the text refuses Go and leaves the page alone; one
// below 1 counts as page 1.
TEST(PageState, Bookmark)
{
    PageState s;
    s.paged(10);
    s.slide(4);
    s.leaf = 12;
    EXPECT_FALSE(s.go());
    EXPECT_EQ(s.page, 4);
    s.leaf = 0;
    EXPECT_EQ(s.go(), 1);
    EXPECT_EQ(leafHint(0), "1 page");
    EXPECT_EQ(leafHint(12), "12 page");
}

// With no text every command lands on page 1 and nothing breaks.
TEST(PageState, EmptyText)
{
    PageState s;
    s.page = 3;
    s.paged(0);
    EXPECT_EQ(s.page, 1);
    EXPECT_EQ(s.forward(), 1);
    EXPECT_EQ(s.back(), 1);
    EXPECT_EQ(s.reset(), 1);
    s.leaf = 1;
    EXPECT_FALSE(s.go()); // "over page, set leaf"
    EXPECT_EQ(backPage(1, 0), 0); // the raw step, before the slider clamps it
    EXPECT_EQ(clampPage(0, 0), 1);
}

// Gothic rewrites the page over plan de arts; Tenderly and Horizontal wait.
TEST(Pages, OptionRewrites)
{
    Effects arts;
    arts.arts = true;
    EXPECT_TRUE(optionRewrites(PageOption::Gothic, arts));
    EXPECT_FALSE(optionRewrites(PageOption::Tenderly, arts));
    EXPECT_FALSE(optionRewrites(PageOption::Horizontal, arts));
    Effects deep;
    deep.deep = true;
    EXPECT_FALSE(optionRewrites(PageOption::Gothic, deep));
    EXPECT_TRUE(optionRewrites(PageOption::Horizontal, Effects{}));
}
