#include "text/Cp932Convert.h"
#include "text/Normalise.h"
#include "text/TextSource.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

std::string cp932(const char *utf8)
{
    return utf8ToCp932(utf8);
}

} // namespace

// The built-in statement has the shape the window and its pages rely on.
TEST(BuiltinText, Structure)
{
    const std::string text = builtinTextBytes();
    ASSERT_FALSE(text.empty()) << "resource not linked in";
    EXPECT_GT(text.size(), 4700u);
    EXPECT_LT(text.size(), 5100u);
    EXPECT_TRUE(isDecodableCp932(text));
    EXPECT_TRUE(isNormalised(text));
    for (const std::string_view bad : {"\t", "\x81\xE1", "\x81\xE2", "\x81\x46"})
        EXPECT_EQ(text.find(bad), std::string::npos); // not even across characters

    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    ASSERT_EQ(lines.size(), 149u);

    const std::string ideo = "\x81\x40";
    const std::string heading = cp932("◇");
    std::vector<std::string> headings;
    int empty = 0;
    for (const std::string &l : lines) {
        EXPECT_LE(l.size(), 136u);
        EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos);
        if (l.empty())
            ++empty;
        else if (l.rfind(heading, 0) == 0)
            headings.push_back(l);
    }
    EXPECT_EQ(empty, 19);
    const char *expected[] = {"◇メイン・テーマ", "◇コンセプト（基本概念）",
                              "◇サブ・テーマ",   "◇存立平面",
                              "◇形態",           "◇効果（差異）",
                              "◇効果（心理的）", "◇ラスト・コンセプト",
                              "◇チャレンジ",     "◇Velocity　（速度）",
                              "◇宇宙空間",       "◇ロードムービー風",
                              "◇時計",           "◇plan de arts"};
    ASSERT_EQ(headings.size(), std::size(expected));
    for (std::size_t i = 0; i < headings.size(); ++i)
        EXPECT_EQ(headings[i], cp932(expected[i])) << i;

    // Title block, then sections whose lines are indented by one space;
    // the version line after the ninth, and the signature at the end.
    EXPECT_TRUE(lines[1].empty());
    EXPECT_NE(lines[0].find("Corvanes"), std::string::npos);
    int section = 0;
    bool sawVersion = false;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const std::string &l = lines[i];
        if (l.rfind(heading, 0) == 0) {
            ++section;
        } else if (l == ideo + ideo + ideo + ideo + "Version 1.02") {
            EXPECT_EQ(section, 9);
            sawVersion = true;
        } else if (!l.empty()) {
            EXPECT_EQ(l.rfind(ideo, 0), 0u) << "line " << i + 1;
        }
    }
    EXPECT_TRUE(sawVersion);
    std::string eight;
    for (int i = 0; i < 8; ++i)
        eight += ideo;
    EXPECT_EQ(lines.back().rfind(eight, 0), 0u);
    EXPECT_NE(lines.back().substr(eight.size(), 2), ideo);
}
