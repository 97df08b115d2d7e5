// TEditor: the hidden text holder that doubles as the row layout engine.
// The text lives only as a list of display rows of code page 932 bytes, each
// with an end mark; with WordWrap on, every logical line is cut into rows of
// at most WrapByte columns (a few more when punctuation hangs) under the
// Japanese line-break rules of TWrapOption. This is a model, not a widget:
// no caret, painting, keys or undo. The rows are kept compactly, all their
// bytes in one buffer, so that a text of any size costs little more memory
// than its bytes.
//
// The window configures its instance with setupEditor2(), loads a text
// through Lines() (Clear, then LoadFromFile or setText), normalises it by
// setting the normalised text while WordWrap is off, and pages it with
// RowCount / RowText.
#pragma once
#include "text/Cp932.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What a row adds to Lines.Text after its bytes.
enum class EndMark : uint8_t {
    Hard = 0, // the logical line ends here: CR LF
    Soft = 1, // the line continues on the next row: nothing
    End = 2,  // last row of a text without a final line break: nothing
};

struct TRow
{
    std::string text; // never holds CR or LF
    EndMark mark = EndMark::Hard;

    bool operator==(const TRow &) const = default;
};

// The rows of an editor: every row's bytes one after another in one buffer,
// where each row ends, and each row's end mark. About 9 bytes per row beyond
// the text itself, where a string per row would cost some 50.
class RowStore
{
public:
    std::size_t size() const { return m_marks.size(); }
    bool empty() const { return m_marks.empty(); }
    std::string_view text(std::size_t row) const
    {
        const std::size_t from = row == 0 ? 0 : m_ends[row - 1];
        return std::string_view(m_bytes).substr(from, m_ends[row] - from);
    }
    std::size_t length(std::size_t row) const
    {
        return m_ends[row] - (row == 0 ? 0 : m_ends[row - 1]);
    }
    EndMark mark(std::size_t row) const { return m_marks[row]; }
    void setMark(std::size_t row, EndMark mark) { m_marks[row] = mark; }
    std::size_t byteCount() const { return m_bytes.size(); }

    // text must not point into this store.
    void append(std::string_view text, EndMark mark);
    void reserve(std::size_t rows, std::size_t bytes);
    // Empties the store and gives its memory back.
    void clear();
    // Rows first..last-1 give way to all rows of other.
    void replace(std::size_t first, std::size_t last, const RowStore &other);
    // The rows as separate strings, for tests and small texts.
    std::vector<TRow> toRows() const;

private:
    std::string m_bytes;
    std::vector<std::size_t> m_ends; // one past each row's last byte in m_bytes
    std::vector<EndMark> m_marks;
};

struct TWrapOption
{
    bool FollowRetMark = false;     // a line exactly filling its last row gets no empty row
    bool FollowPunctuation = false; // PunctuationStr may hang past the width
    std::string FollowStr;          // may not begin a row
    bool Leading = false;           // switches the FollowStr and LeadStr rules on
    std::string LeadStr;            // may not end a row
    std::string PunctuationStr;     // may hang at the end of a row
    bool WordBreak = false;         // break single-byte words only at word ends
    int WrapByte = 80;              // columns, kept in MinWrapByte..MaxWrapByte

    static constexpr int MinWrapByte = 20;
    static constexpr int MaxWrapByte = 250;

    TWrapOption();
    // The values of the window's editor: 36 columns, every rule on, and the
    // longer FollowStr and LeadStr with the angle brackets and percent signs.
    static TWrapOption editor2();

    void setWrapByte(int columns);
    static int clampWrapByte(int columns);

    bool operator==(const TWrapOption &) const = default;
};

// Single bytes that end a word: controls, ASCII punctuation and space, 0x80,
// the half-width punctuation 0xA0-0xA5 and 0xFD-0xFF. Digits, letters, "_"
// and half-width katakana 0xA6-0xDF are word bytes.
using TWordDelimiters = std::bitset<256>;
TWordDelimiters defaultWordDelimiters();

class TEditor;

// The Lines view: logical lines when WordWrap is on, rows when it is off.
class TEditorStrings
{
public:
    explicit TEditorStrings(TEditor &editor)
        : m_editor(editor)
    {
    }
    TEditorStrings(const TEditorStrings &) = delete;
    TEditorStrings &operator=(const TEditorStrings &) = delete;

    int Count() const;
    // Logical line index with its rows joined; empty when out of range.
    std::string operator[](int index) const;

    // The rows concatenated, CR LF after every row with the hard mark.
    std::string Text() const;
    // Splits at CR LF, CR and LF (a final break adds no line), all rows hard,
    // then wraps when WordWrap is on.
    void setText(std::string_view text);

    // Each row of rows becomes one logical line (all of them with the hard
    // mark), then wraps when WordWrap is on: the result of assigning the
    // rows joined by CR LF, without building that text. Rows hold no CR
    // or LF.
    void setRows(RowStore rows);
    // The same for rows this editor's wrapping already cut to its width (as
    // the Aozora layout does): each row stays one line, with no second pass.
    void setWrappedRows(RowStore rows);

    // Reads a file: CR LF, CR and LF end lines, 0x1A ends the text, a last
    // line without a break gets the end mark, NUL is an ordinary byte.
    // Throws std::runtime_error naming the file when it cannot be read; the
    // editor then keeps its previous text.
    void LoadFromFile(const std::string &fileName);
    // The same reading rules applied to bytes already in memory.
    void LoadFromBuffer(std::string_view bytes);

    void Clear();

    // Kept for callers that bracket bulk changes; the model never repaints,
    // so the count only nests.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate()
    {
        if (m_updateCount > 0)
            --m_updateCount;
    }
    int UpdateCount() const { return m_updateCount; }

private:
    TEditor &m_editor;
    int m_updateCount = 0;
};

class TEditor
{
public:
    TEditor();
    TEditor(const TEditor &) = delete;
    TEditor &operator=(const TEditor &) = delete;

    // Rows.
    int RowCount() const { return int(m_rows.size()); }
    std::string RowText(int index) const;      // empty when out of range
    std::string_view RowView(int index) const; // RowText without a copy; valid until a change
    EndMark RowMark(int index) const;          // Hard when out of range
    std::vector<TRow> rows() const { return m_rows.toRows(); }
    void ClearText();
    // Moves the rows out, leaving the editor empty: a caller that rebuilds
    // the text from its rows needs no second copy of them.
    RowStore takeRows();

    // Properties.
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on); // on: WrapAll, off: UnwrapAll; nothing if unchanged
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }
    int TabSpaceCount() const { return m_tabSpaceCount; }
    void setTabSpaceCount(int columns); // below 1 counts as 1; re-wraps when wrapped
    const TWrapOption &WrapOption() const { return m_wrapOption; }
    // Clamps WrapByte; re-wraps once when wrapped and any field changed.
    void setWrapOption(const TWrapOption &option);
    const TWordDelimiters &WordDelimiters() const { return m_wordDelimiters; }

    TEditorStrings &Lines() { return m_lines; }
    const TEditorStrings &Lines() const { return m_lines; }

    // Layout.
    std::vector<TRow> WrapLine(std::string_view line) const;
    // Wraps one line at width columns into out without cutting inside any of
    // groups (byte ranges [first, second) of line, sorted): a cut that would
    // fall inside one moves to its start, unless the group starts the row.
    void wrapLineInto(std::string_view line, int width,
                      const std::vector<std::pair<uint32_t, uint32_t>> &groups,
                      RowStore &out) const;
    void WrapAll();
    void UnwrapAll();

private:
    friend class TEditorStrings;

    RowStore layOut(std::string_view text, EndMark lastMark) const;
    void replaceRows(RowStore rows);
    void appendWrapped(std::string_view line, RowStore &out) const;
    void appendWrapped(std::string_view line, RowStore &out, int width,
                       const std::vector<std::pair<uint32_t, uint32_t>> *groups) const;
    size_t logicalLineEnd(size_t row) const;
    const std::vector<size_t> &lineStarts() const;

    RowStore m_rows;
    bool m_wordWrap = false;
    bool m_readOnly = false;
    int m_tabSpaceCount = 8;
    TWrapOption m_wrapOption;
    TWordDelimiters m_wordDelimiters;
    CharSet m_follow;
    CharSet m_lead;
    CharSet m_punctuation;
    TEditorStrings m_lines;

    mutable ColumnMap m_scratch; // reused by every row cut, to spare allocations

    // First row of each logical line, rebuilt on demand after a change.
    // Left empty while every row is a line of its own (a paged text), where
    // the row number is the line number.
    mutable std::vector<size_t> m_lineStarts;
    mutable bool m_lineStartsValid = false;
    mutable bool m_rowsAreLines = true;
};

// Gives an editor the properties of the window's hidden one: tab stops of 8,
// TWrapOption::editor2(), WordWrap and ReadOnly on, and the design text
// "Editor1" (replaced when the real text is loaded).
void setupEditor2(TEditor &editor);

} // namespace corvane
