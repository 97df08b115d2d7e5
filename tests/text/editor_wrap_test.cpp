// Where rows end: the window's wrap settings (36 columns, every rule on)
// applied to lines built to sit on each rule's boundary.
#include "editor_support.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::editortest;

namespace {

struct WrapCase
{
    const char *rule;
    std::string line;
    std::vector<std::string> rows;
};

void PrintTo(const WrapCase &c, std::ostream *os)
{
    *os << c.rule;
}

class Editor2Wrap : public ::testing::TestWithParam<WrapCase>
{
};

TEST_P(Editor2Wrap, CutsRowsWhereTheRuleSays)
{
    const WrapCase &c = GetParam();
    EXPECT_EQ(editor2Rows(c.line), c.rows) << c.rule;
}

const std::string a29 = rep("a", 29);

INSTANTIATE_TEST_SUITE_P(
        Rules, Editor2Wrap,
        ::testing::Values(
                WrapCase{"a line narrower than the width is one row", rep("a", 35), {rep("a", 35)}},
                WrapCase{"an empty line is one empty row", "", {""}},
                WrapCase{"a double-byte character at column 36 moves whole",
                         rep("a", 35) + kA,
                         {rep("a", 35), kA}},
                WrapCase{"a full stop after 36 columns hangs to 38",
                         rep(kA, 18) + kMaru,
                         {rep(kA, 18) + kMaru}},
                WrapCase{"two single-byte marks hang to 38",
                         rep(kA, 18) + ".,x",
                         {rep(kA, 18) + ".,", "x"}},
                WrapCase{"a single-byte mark and a double-byte one hang to 39",
                         rep(kA, 18) + "." + kMaru + "x",
                         {rep(kA, 18) + "." + kMaru, "x"}},
                WrapCase{"a mark that cannot hang any more pulls the hung one back",
                         rep(kA, 18) + kMaru + kTen + "x",
                         {rep(kA, 17), kA + kMaru + kTen + "x"}},
                WrapCase{"a moved double-byte mark hangs from 35, and one more to 39",
                         rep(kA, 17) + "x" + kMaru + kTen + kA,
                         {rep(kA, 17) + "x" + kMaru + kTen, kA}},
                WrapCase{"an opening bracket at the row end moves to the next row",
                         rep(kA, 17) + kOpen + rep(kA, 5),
                         {rep(kA, 17), kOpen + rep(kA, 5)}},
                WrapCase{"a closing mark may not begin a row: the break backs off",
                         rep(kA, 18) + kClose + kA,
                         {rep(kA, 17), kA + kClose + kA}},
                WrapCase{"backing off stops two columns below 28",
                         rep(kA, 13) + rep(kChoon, 10) + kA,
                         {rep(kA, 13), rep(kChoon, 10) + kA}},
                WrapCase{"a parenthesis with one column after it does not back off",
                         rep(kA, 18) + ")",
                         {rep(kA, 18), ")"}},
                WrapCase{"a closing mark with two columns after it backs off",
                         rep(kA, 18) + kParen,
                         {rep(kA, 17), kA + kParen}},
                WrapCase{"a space may not begin a row",
                         rep(kA, 18) + " ab",
                         {rep(kA, 17), kA + " ab"}},
                WrapCase{"a row ends with the space at column 30 before an overlong word",
                         a29 + " " + rep("b", 10) + " cc",
                         {a29 + " ", rep("b", 10) + " cc"}},
                WrapCase{"a word ending exactly at 36 still moves",
                         a29 + " " + rep("b", 6) + " ccc",
                         {a29 + " ", rep("b", 6) + " ccc"}},
                WrapCase{"a delimiter at column 36 ends the row there",
                         rep("a", 35) + "-bbb",
                         {rep("a", 35) + "-", "bbb"}},
                WrapCase{"without a break point in 12..35 the word is cut at 36",
                         rep("a", 10) + " " + rep("b", 40),
                         {rep("a", 10) + " " + rep("b", 25), rep("b", 15)}},
                WrapCase{"a double-byte character is a break point for a word",
                         rep(kA, 10) + rep("b", 30),
                         {rep(kA, 10), rep("b", 30)}},
                WrapCase{"half-width katakana form one word",
                         rep("a", 15) + " " + rep(kKanaA, 30),
                         {rep("a", 15) + " ", rep(kKanaA, 30)}},
                WrapCase{"a line of exactly 36 columns gives no empty row",
                         rep("a", 36),
                         {rep("a", 36)}},
                WrapCase{"a broken lead byte at the line end is one column",
                         rep("a", 35) + "\x81",
                         {rep("a", 35) + "\x81"}},
                WrapCase{"a broken lead byte past the width starts the last row",
                         rep("a", 36) + "\x81",
                         {rep("a", 36), "\x81"}}));

// Switching rules off shows which rule made each cut.
TEST(EditorWrapOptions, RulesOnlyActWhenSwitchedOn)
{
    TWrapOption plain = TWrapOption::editor2();
    plain.FollowPunctuation = false;
    EXPECT_EQ(wrapRows(plain, rep(kA, 18) + kMaru),
              (std::vector<std::string>{rep(kA, 17), kA + kMaru}))
            << "without hanging, the full stop may not begin a row, so the break backs off";

    plain = TWrapOption::editor2();
    plain.Leading = false;
    EXPECT_EQ(wrapRows(plain, rep(kA, 17) + kOpen + kA),
              (std::vector<std::string>{rep(kA, 17) + kOpen, kA}))
            << "without the leading rules, a bracket may end a row";

    plain = TWrapOption::editor2();
    plain.WordBreak = false;
    EXPECT_EQ(wrapRows(plain, a29 + " " + rep("b", 10)),
              (std::vector<std::string>{a29 + " " + "bbbbbb", "bbbb"}))
            << "without word breaks, single-byte text is cut at the width";

    TWrapOption defaults;
    EXPECT_EQ(defaults.FollowStr.find(' '), std::string::npos) << "only the window adds the space";
    defaults.Leading = true;
    defaults.FollowPunctuation = true;
    defaults.setWrapByte(36);
    EXPECT_EQ(wrapRows(defaults, rep(kA, 18) + " ab"),
              (std::vector<std::string>{rep(kA, 18), " ab"}))
            << "the default FollowStr lets a space begin a row";
}

TEST(EditorWrapOptions, ExactWidthWithoutFollowRetMarkAddsAnEmptyRow)
{
    TWrapOption option = TWrapOption::editor2();
    option.FollowRetMark = false;
    TEditor e;
    e.setWrapOption(option);
    const std::vector<TRow> rows = e.WrapLine(rep("a", 36));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TRow{rep("a", 36), EndMark::Soft}));
    EXPECT_EQ(rows[1], (TRow{"", EndMark::Hard}));

    option.FollowRetMark = true;
    e.setWrapOption(option);
    EXPECT_EQ(e.WrapLine(rep("a", 36)), (std::vector<TRow>{{rep("a", 36), EndMark::Hard}}));
    EXPECT_EQ(e.WrapLine(rep("a", 40)),
              (std::vector<TRow>{{rep("a", 36), EndMark::Soft}, {"aaaa", EndMark::Hard}}));
}

// The wrap width is kept in 20..250 however it is set.
TEST(EditorWrapOptions, WrapByteIsClamped)
{
    TEditor e;
    TWrapOption option;
    option.WrapByte = 10;
    e.setWrapOption(option);
    EXPECT_EQ(e.WrapOption().WrapByte, 20);
    option.setWrapByte(300);
    EXPECT_EQ(option.WrapByte, 250);
    option.WrapByte = 1000;
    e.setWrapOption(option);
    EXPECT_EQ(e.WrapOption().WrapByte, 250);
    option.WrapByte = 40;
    e.setWrapOption(option);
    EXPECT_EQ(e.WrapOption().WrapByte, 40);
}

// The window's rule strings are exact byte strings; a slip in one of the
// escapes shows in their lengths.
TEST(EditorWrapOptions, Editor2RuleSets)
{
    const TWrapOption def;
    const TWrapOption e2 = TWrapOption::editor2();
    EXPECT_EQ(def.FollowStr.size(), 56u);
    EXPECT_EQ(def.LeadStr.size(), 14u);
    EXPECT_EQ(def.PunctuationStr.size(), 12u);
    EXPECT_EQ(def.WrapByte, 80);
    EXPECT_FALSE(def.FollowRetMark || def.FollowPunctuation || def.Leading || def.WordBreak);
    EXPECT_EQ(e2.FollowStr.size(), 67u);
    EXPECT_EQ(e2.LeadStr.size(), 21u);
    EXPECT_EQ(e2.FollowStr[56], ' ')
            << "the space stands between the half-width marks and the brackets";
    EXPECT_TRUE(e2.FollowRetMark && e2.FollowPunctuation && e2.Leading && e2.WordBreak);
    EXPECT_EQ(e2.WrapByte, 36);
}

// Set membership walks the set by characters: a trail byte of the set never
// matches on its own, and the empty string matches nothing.
TEST(EditorCharacters, SetMembershipRespectsCharacterBoundaries)
{
    const std::string follow = TWrapOption::editor2().FollowStr;
    const auto inCharSet
            = [](std::string_view c, std::string_view set) { return CharSet(set).contains(c); };
    EXPECT_TRUE(inCharSet(kMaru, follow));
    EXPECT_TRUE(inCharSet(" ", follow));
    EXPECT_TRUE(inCharSet("\xDF", follow));
    EXPECT_FALSE(inCharSet(kA, follow));
    EXPECT_FALSE(inCharSet("", follow));
    EXPECT_FALSE(inCharSet("\x42", "\x81\x42")) << "B is the trail byte of the full stop";
    EXPECT_FALSE(inCharSet("\x42\x81", "\x81\x42\x81"));
    EXPECT_TRUE(inCharSet("\x42", "\x81\x42\x42"));
    EXPECT_FALSE(inCharSet("\x81", kMaru)) << "a broken lead byte is not the full stop";
}

// Tabs run to the next stop, and each row restarts the stops.
TEST(EditorCharacters, ColumnMapExpandsTabsAndPairs)
{
    ColumnMap map;
    map.build("\t", 8);
    EXPECT_EQ(map.width(), 8);
    EXPECT_EQ(map.at(1), ColumnClass::Single);
    EXPECT_EQ(map.at(8), ColumnClass::TabFill);
    map.build("abc\t", 8);
    EXPECT_EQ(map.width(), 8);
    EXPECT_EQ(map.bytesInColumns(8), 4u);
    map.build("a" + kA + "\t", 8);
    EXPECT_EQ(map.at(2), ColumnClass::LeadHalf);
    EXPECT_EQ(map.at(3), ColumnClass::TrailHalf);
    EXPECT_EQ(map.charAt("a" + kA + "\t", 3), kA);
    EXPECT_EQ(map.width(), 8);
    EXPECT_EQ(displayWidth("ab\tc\td", 4), 9);
    EXPECT_EQ(displayWidth("\x81", 8), 1);

    // A window over a long string stops early but reports that it did.
    map.build(rep("a", 100), 8, 40);
    EXPECT_EQ(map.width(), 40);
    EXPECT_TRUE(map.truncated());
    map.build(rep("a", 39) + kA, 8, 40);
    EXPECT_EQ(map.width(), 41) << "a character across the limit is mapped whole";

    // The rest of a line realigns its tabs to the new row start.
    TEditor e;
    e.setWrapOption(TWrapOption::editor2());
    const std::vector<TRow> rows = e.WrapLine(rep("a", 36) + "b\tc" + rep("d", 35));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].text, "b\tc" + rep("d", 27));
    EXPECT_EQ(displayWidth(rows[1].text, 8), 36)
            << "the tab after b takes 7 columns on the second row";
}

} // namespace
