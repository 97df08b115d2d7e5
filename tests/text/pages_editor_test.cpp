#include "text/PagedText.h"
#include "text/TEditor.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

std::string lines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

} // namespace

// Paging on the window's editor: 26 rows make 2 pages, 27 make 3 with 12
// padding rows, 13 make 1; the editor then holds one row per line.
TEST(PagesEditor, BuildsPagesInTheEditor)
{
    for (const auto &[rows, pages, padded] :
         {std::tuple{26, 2, 26}, {27, 3, 39}, {13, 1, 13}, {0, 0, 0}}) {
        SCOPED_TRACE(rows);
        TEditor editor;
        setupEditor2(editor);
        loadText(editor, lines(rows), true);
        EXPECT_EQ(buildPages(editor), pages);
        EXPECT_EQ(editor.Lines().Count(), padded);
        if (rows == 27) {
            EXPECT_EQ(pageRows(editor, 3)[0], "line 26");
            EXPECT_EQ(pageRows(editor, 3)[12], kPaddingRow);
        }
    }
}

// Wrapping sees the normalised text: a tab is four ideographic spaces, eight
// bytes, so a line of 30 letters after a tab no longer fits one row. Loading
// normalised gives the rows that normalising in the editor gives.
TEST(PagesEditor, NormalisesBeforeWrapping)
{
    const std::string text = "\t" + std::string(30, 'a') + "\r\n\x81\xE1x\x81\xE2\r\n";
    TEditor viaEditor;
    setupEditor2(viaEditor);
    viaEditor.Lines().Clear();
    viaEditor.Lines().setText(text);
    normaliseEditor(viaEditor);
    EXPECT_TRUE(viaEditor.ReadOnly());
    EXPECT_TRUE(viaEditor.WordWrap());

    TEditor direct;
    setupEditor2(direct);
    loadText(direct, text, true);
    EXPECT_EQ(viaEditor.rows(), direct.rows());
    ASSERT_EQ(direct.RowCount(), 3);
    EXPECT_EQ(direct.RowText(0), "\x81\x40\x81\x40\x81\x40\x81\x40" + std::string(28, 'a'));
    EXPECT_EQ(direct.RowText(2), "\x81\x73x\x81\x74");

    TEditor raw;
    setupEditor2(raw);
    loadText(raw, text, false); // "Keep" off: the text as it is
    EXPECT_EQ(raw.RowText(0).substr(0, 1), "\t");
}

// A text ending in an empty line keeps it as a line of its own, so every
// page of the editor holds 13 lines.
TEST(PagesEditor, TrailingEmptyLineStays)
{
    TEditor editor;
    setupEditor2(editor);
    loadText(editor, lines(12) + "\r\n", true);
    ASSERT_EQ(editor.RowCount(), 13);
    EXPECT_EQ(buildPages(editor), 1);
    EXPECT_EQ(editor.Lines().Count(), 13);
    std::vector<std::string> expected{"a", "", ""};
    expected.resize(13, std::string(kPaddingRow));
    EXPECT_EQ(pagedRows("a\r\n\r\n\r\n", true), expected);
}
