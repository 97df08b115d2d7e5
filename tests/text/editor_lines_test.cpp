// The Lines view, loading, wrapping on and off, and select-and-replace.
#include "editor_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace corvane;
using namespace corvane::editortest;

namespace {

class TempFile
{
public:
    explicit TempFile(const std::string &bytes)
        : m_path(std::filesystem::temp_directory_path()
                 / ("corvane-editor-"
                    + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt"))
    {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::filesystem::remove(m_path); }
    std::string path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

std::vector<TRow> loaded(const std::string &bytes, bool wrap = false)
{
    TEditor e;
    e.setWordWrap(wrap);
    e.Lines().LoadFromBuffer(bytes);
    return e.rows();
}

// A file's lines end at CR LF, CR or LF; only an unterminated last line gets
// the end mark, and Lines.Text writes every break as CR LF.
TEST(EditorLoad, LineBreaksAndTheEndMark)
{
    TempFile file("a\rb\nc");
    TEditor e;
    e.Lines().LoadFromFile(file.path());
    EXPECT_EQ(e.rows(),
              (std::vector<TRow>{{"a", EndMark::Hard}, {"b", EndMark::Hard}, {"c", EndMark::End}}));
    EXPECT_EQ(e.Lines().Text(), "a\r\nb\r\nc");

    EXPECT_EQ(loaded("a\r\n\r\nb\r\n"),
              (std::vector<TRow>{{"a", EndMark::Hard}, {"", EndMark::Hard}, {"b", EndMark::Hard}}));
    EXPECT_EQ(loaded("\n"), (std::vector<TRow>{{"", EndMark::Hard}}));
    EXPECT_TRUE(loaded("").empty());
    EXPECT_EQ(loaded("x\n\r"), (std::vector<TRow>{{"x", EndMark::Hard}, {"", EndMark::Hard}}))
            << "LF then CR is two breaks";
}

TEST(EditorLoad, EofByteEndsTheTextButNulDoesNot)
{
    EXPECT_EQ(loaded("ab\r\ncd\x1A"
                     "ef\r\n"),
              (std::vector<TRow>{{"ab", EndMark::Hard}, {"cd", EndMark::End}}));
    EXPECT_TRUE(loaded("\x1A"
                       "abc")
                        .empty());
    const std::string withNul("a\0b\r\n\0", 6);
    EXPECT_EQ(loaded(withNul),
              (std::vector<TRow>{{std::string("a\0b", 3), EndMark::Hard},
                                 {std::string("\0", 1), EndMark::End}}));
}

TEST(EditorLoad, FileAndBufferReadTheSameAndLongLinesStayWhole)
{
    const std::string bytes = rep(kA, 20000) + "\r\n" + rep("z", 9000) + "\rq";
    TempFile file(bytes);
    TEditor fromFile;
    fromFile.Lines().LoadFromFile(file.path());
    EXPECT_EQ(fromFile.rows(), loaded(bytes));
    ASSERT_EQ(fromFile.RowCount(), 3);
    EXPECT_EQ(fromFile.RowText(0).size(), 40000u);
}

TEST(EditorLoad, AnUnreadableFileThrowsNamingItAndKeepsTheText)
{
    TEditor e;
    e.Lines().setText("kept");
    const std::string missing
            = (std::filesystem::temp_directory_path() / "corvane-no-such-file.txt").string();
    try {
        e.Lines().LoadFromFile(missing);
        FAIL() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
    EXPECT_THROW(e.Lines().LoadFromFile(std::filesystem::temp_directory_path().string()),
                 std::runtime_error)
            << "a directory cannot be read as a text";
    EXPECT_EQ(e.Lines().Text(), "kept\r\n");
}

// Assigning Lines.Text: every row hard, a final break adds no line.
TEST(EditorLines, AssigningTextSplitsIntoHardRows)
{
    TEditor e;
    e.Lines().setText("one\r\ntwo\rthree\n");
    EXPECT_EQ(e.rows(),
              (std::vector<TRow>{
                      {"one", EndMark::Hard}, {"two", EndMark::Hard}, {"three", EndMark::Hard}}));
    e.Lines().setText("last");
    EXPECT_EQ(e.Lines().Text(), "last\r\n");
    e.Lines().setText("");
    EXPECT_EQ(e.RowCount(), 0);
    EXPECT_EQ(e.Lines().Count(), 0);
    EXPECT_EQ(e.RowText(0), "");
    EXPECT_EQ(e.RowText(-1), "");
}

// Wrapped, Lines shows logical lines; unwrapped, rows. Toggling keeps the
// bytes and the end mark of the last row.
TEST(EditorLines, WrappingOnAndOffKeepsLinesAndBytes)
{
    TEditor e;
    setupEditor2(e);
    EXPECT_EQ(e.Lines().Text(), "Editor1\r\n");
    const std::string longLine = rep(kA, 30);
    e.Lines().LoadFromBuffer("short\r\n" + longLine);
    ASSERT_EQ(e.RowCount(), 3);
    EXPECT_EQ(e.RowMark(1), EndMark::Soft);
    EXPECT_EQ(e.RowMark(2), EndMark::End);
    EXPECT_EQ(e.Lines().Count(), 2);
    EXPECT_EQ(e.Lines()[1], longLine);
    EXPECT_EQ(e.Lines()[2], "");
    EXPECT_EQ(e.Lines().Text(), "short\r\n" + longLine);

    e.setWordWrap(false);
    EXPECT_EQ(e.rows(), (std::vector<TRow>{{"short", EndMark::Hard}, {longLine, EndMark::End}}));
    EXPECT_EQ(e.Lines().Count(), 2);
    e.setWordWrap(true);
    EXPECT_EQ(e.RowCount(), 3);
    EXPECT_EQ(e.Lines().Text(), "short\r\n" + longLine);

    // Without FollowRetMark a line that exactly fills its row gets an empty
    // row; the text still reads back the same.
    TWrapOption narrow = e.WrapOption();
    narrow.FollowRetMark = false;
    e.Lines().setText(rep("a", 36));
    e.setWrapOption(narrow);
    EXPECT_EQ(e.rows(), (std::vector<TRow>{{rep("a", 36), EndMark::Soft}, {"", EndMark::Hard}}));
    EXPECT_EQ(e.Lines().Text(), rep("a", 36) + "\r\n");
}

// Changing an option while wrapped lays the text out again at once.
TEST(EditorLines, OptionChangesRewrapWhileWrapped)
{
    TEditor e;
    setupEditor2(e);
    e.Lines().setText(rep("a", 70));
    EXPECT_EQ(e.RowCount(), 2);
    TWrapOption wide = e.WrapOption();
    wide.setWrapByte(80);
    e.setWrapOption(wide);
    EXPECT_EQ(e.RowCount(), 1);
    e.setWordWrap(false);
    wide.setWrapByte(20);
    e.setWrapOption(wide);
    EXPECT_EQ(e.RowCount(), 1) << "unwrapped text is not cut";

    e.setWordWrap(true);
    wide.setWrapByte(36);
    e.setWrapOption(wide);
    e.Lines().setText("\t" + rep("a", 30));
    EXPECT_EQ(e.RowCount(), 2);
    e.setTabSpaceCount(0);
    EXPECT_EQ(e.TabSpaceCount(), 1);
    EXPECT_EQ(e.RowCount(), 1) << "a one-column tab stop brings the line to 31 columns";
}

// The page builder's round trip: rows set back one per line wrap to the
// same rows, including full and hanging rows.
TEST(EditorLines, ProducedRowsRewrapToThemselves)
{
    TEditor e;
    setupEditor2(e);
    const std::string text = rep(kA, 18) + kMaru + rep(kA, 30) + "\r\n" + rep("a", 36) + "\r\n"
            + rep("word ", 20) + "\r\n" + rep(kA, 13) + rep(kChoon, 10) + kA;
    e.Lines().setText(text);
    const std::vector<std::string> rows = rowTexts(e);
    std::string joined;
    for (const std::string &row : rows)
        joined += row + "\r\n";
    e.ClearText();
    e.Lines().setText(joined);
    EXPECT_EQ(rowTexts(e), rows);
    EXPECT_EQ(e.Lines().Count(), int(rows.size()));
}

} // namespace
