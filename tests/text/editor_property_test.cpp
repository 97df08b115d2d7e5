// Properties that every text must keep through loading, wrapping and
// editing, checked over generated texts and the real corpus: no byte is
// lost or added, rows stay within the width plus hanging marks, and rows
// set back one per line wrap to themselves (what paging relies on).
#include "editor_support.h"

#include "effects/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

using namespace corvane;
using namespace corvane::editortest;

namespace {

// Pieces chosen to sit on the rules: word bytes, delimiters, every class of
// line-break character, half-width kana, and now and then a stray byte.
const std::vector<std::string> kTokens = {
        "a",    "b",        "z",        "7",        "_",        " ",        " ",        "-",
        ",",    ".",        "!",        ")",        "(",        "<",        "%",        kA,
        kA,     kA,         kA,         kMaru,      kTen,       kOpen,      kClose,     kChoon,
        kParen, kIdeoSpace, "\x81\x69", "\x81\x73", "\x81\x74", "\x81\x93", "\x81\xE1", "\x81\xE2",
        kKanaA, "\xB0",     "\xA1",     "\xA4",     "\xDE",     "\xA2",
};

std::string randomText(RandomGenerator &rng, bool tabs)
{
    std::string text;
    const int lines = 1 + rng.random(8);
    for (int l = 0; l < lines; ++l) {
        // Mostly long lines, so that most rows are cut by the rules.
        const int length = rng.random(5) == 0 ? rng.random(10) : rng.random(300);
        for (int i = 0; i < length; ++i) {
            const int pick = rng.random(100);
            if (pick < 2)
                text += char(0x80 + rng.random(0x7D)); // stray, perhaps a lead byte
            else if (pick < 4 && tabs)
                text += '\t';
            else
                text += kTokens[size_t(rng.random(int(kTokens.size())))];
        }
        if (l + 1 < lines || rng.random(2) == 0) {
            const int brk = rng.random(3);
            text += brk == 0 ? "\r\n" : brk == 1 ? "\r" : "\n";
        }
    }
    return text;
}

// The lines of a text as the reader sees them.
std::vector<std::string> sourceLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

TWrapOption randomOption(RandomGenerator &rng)
{
    TWrapOption o = TWrapOption::editor2();
    o.FollowPunctuation = rng.random(4) != 0;
    o.Leading = rng.random(4) != 0;
    o.WordBreak = rng.random(4) != 0;
    o.setWrapByte(rng.random(3) == 0 ? 20 + rng.random(60) : 36);
    return o;
}

void checkRows(const TEditor &e, const std::string &text, bool tabs)
{
    const int w = e.WrapOption().WrapByte;
    const std::vector<TRow> &rows = e.rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].text.find_first_of("\r\n"), std::string::npos);
        if (r + 1 < rows.size()) {
            ASSERT_NE(rows[r].mark, EndMark::End) << "row " << r;
        }
        if (!tabs) {
            ASSERT_LE(displayWidth(rows[r].text, 8), w + 3) << "row " << r;
        }
    }
    EXPECT_EQ(e.Lines().Text(), withCrLf(text));
    const std::vector<std::string> lines = sourceLines(text);
    ASSERT_EQ(e.Lines().Count(), int(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(e.Lines()[int(i)], lines[i]) << "line " << i;
}

TEST(EditorProperties, GeneratedTextsKeepTheirBytesAndWidths)
{
    RandomGenerator rng(20240611);
    for (int round = 0; round < 400; ++round) {
        const bool tabs = round % 4 == 3;
        const std::string text = randomText(rng, tabs);
        TEditor e;
        e.setWrapOption(randomOption(rng));
        e.setWordWrap(true);
        e.Lines().LoadFromBuffer(text);
        SCOPED_TRACE("round " + std::to_string(round) + ", width "
                     + std::to_string(e.WrapOption().WrapByte));
        checkRows(e, text, tabs);

        // Unwrapping gives one row per line again, wrapping the same rows.
        const std::vector<TRow> wrapped = e.rows();
        e.setWordWrap(false);
        EXPECT_EQ(e.RowCount(), int(sourceLines(text).size()));
        EXPECT_EQ(e.Lines().Text(), withCrLf(text));
        e.setWordWrap(true);
        EXPECT_EQ(e.rows(), wrapped);
    }
}

// Paging stores every row back as a line of its own; with FollowRetMark on
// and the window's rule sets, each must wrap to exactly itself.
TEST(EditorProperties, ProducedRowsRewrapToThemselves)
{
    RandomGenerator rng(77);
    for (int round = 0; round < 300; ++round) {
        const bool tabs = round % 4 == 3;
        const std::string text = randomText(rng, tabs);
        TEditor e;
        e.setWrapOption(randomOption(rng));
        e.setWordWrap(true);
        e.Lines().setText(text);
        const std::vector<std::string> rows = rowTexts(e);
        const std::string joined = rowsAsLines(rows);
        e.ClearText();
        // Half the rounds hold the text once, the rows pointing into it,
        // and take it through unwrapping and wrapping again.
        if (round % 2) {
            e.Lines().adoptText(joined);
            e.setWordWrap(false);
            ASSERT_EQ(e.Lines().Text(), joined) << "round " << round;
            e.setWordWrap(true);
        } else {
            e.Lines().setText(joined);
        }
        ASSERT_EQ(rowTexts(e), rows) << "round " << round;
    }
}

std::string readCorpus(const std::string &name)
{
    std::ifstream in(std::string(CORVANE_CORPUS_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(EditorProperties, CorpusTextsWrapAndPageStably)
{
    for (const char *name :
         {"akutagawa-rashomon.txt", "soseki-wagahai-neko.txt", "miyamoto-bunka-mondai.txt"}) {
        SCOPED_TRACE(name);
        const std::string text = readCorpus(name);
        ASSERT_FALSE(text.empty());
        TEditor e;
        setupEditor2(e);
        e.Lines().Clear();
        e.Lines().LoadFromBuffer(text);
        checkRows(e, text.substr(0, text.find('\x1A')), text.find('\t') != std::string::npos);

        const std::vector<std::string> rows = rowTexts(e);
        const std::string joined = rowsAsLines(rows);
        e.ClearText();
        e.Lines().setText(joined);
        EXPECT_EQ(rowTexts(e), rows);
        EXPECT_EQ(e.Lines().Count(), e.RowCount());
    }
}

} // namespace
