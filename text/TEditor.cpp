// TEditor: row list, Lines view, select-and-replace and the row wrapper.
// Writes only the editor's own rows, selection and options.
#include "text/TEditor.h"

#include "core/Design.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <utility>

namespace corvane {

namespace {

// Line-break rule sets, code page 932 bytes. The window's editor extends the
// default FollowStr by a space and the closing angle brackets and percent
// signs (67 bytes) and LeadStr by the opening ones (21 bytes).
constexpr std::string_view kDefaultFollowStr
        = "\x81\x41\x81\x42\x81\x43\x81\x44\x81\x45\x81\x48\x81\x49\x81\x4A\x81\x4B\x81\x52"
          "\x81\x53\x81\x54\x81\x55\x81\x58\x81\x5B\x81\x6A\x81\x6E\x81\x70\x81\x76\x81\x78"
          "\x21\x29\x2C\x2E\x3A\x3B\x3F\x5D\x7D\xA1\xA3\xA4\xA5\xB0\xDE\xDF";
constexpr std::string_view kEditor2FollowExtra = "\x20\x81\x74\x81\x84\x3E\x81\xE2\x25\x81\x93";
constexpr std::string_view kDefaultLeadStr
        = "\x81\x69\x81\x6D\x81\x6F\x81\x75\x81\x77\x28\x5B\x7B\xA2";
constexpr std::string_view kEditor2LeadExtra = "\x81\x73\x81\x83\x3C\x81\xE1";
constexpr std::string_view kPunctuationStr = "\x81\x41\x81\x42\x81\x43\x81\x44\x2C\x2E\xA1\xA4";

constexpr int kMaxTabSpaceCount = 256; // wider stops than any row are meaningless

// Calls f(piece, isLast) for every line of text; the piece after the last
// break is always reported, possibly empty.
template<typename F>
void forEachLine(std::string_view text, F &&f)
{
    // memchr for each break byte keeps long lines fast; a position is
    // searched again only after the break it found has been used.
    const char *const base = text.data();
    const size_t size = text.size();
    auto find = [&](char c, size_t from) {
        const void *hit = from < size ? std::memchr(base + from, c, size - from) : nullptr;
        return hit ? size_t(static_cast<const char *>(hit) - base) : size;
    };
    size_t begin = 0;
    size_t cr = find('\r', 0);
    size_t lf = find('\n', 0);
    while (cr < size || lf < size) {
        const size_t at = std::min(cr, lf);
        f(text.substr(begin, at - begin), false);
        begin = (at == cr && lf < size && lf == cr + 1) ? at + 2 : at + 1;
        if (cr < begin)
            cr = find('\r', begin);
        if (lf < begin)
            lf = find('\n', begin);
    }
    f(text.substr(begin), true);
}

size_t countBreaks(std::string_view text)
{
    size_t count = 0;
    for (const char c : {'\r', '\n'}) {
        const char *p = text.data();
        const char *const end = p + text.size();
        while (p < end
               && (p = static_cast<const char *>(std::memchr(p, c, size_t(end - p)))) != nullptr) {
            ++count;
            ++p;
        }
    }
    return count;
}

// Rows of a text as assigned or read: one per line, a final break adds no
// empty row, an unterminated last line gets lastMark.
RowStore splitIntoRows(std::string_view text, EndMark lastMark)
{
    RowStore rows;
    if (text.empty())
        return rows;
    rows.reserve(countBreaks(text) + 1, text.size());
    forEachLine(text, [&](std::string_view line, bool isLast) {
        if (!isLast)
            rows.append(line, EndMark::Hard);
        else if (!line.empty())
            rows.append(line, lastMark);
    });
    return rows;
}

EndMark finalMark(EndMark previous)
{
    return previous == EndMark::Hard ? EndMark::Hard : EndMark::End;
}

} // namespace

// ---------------------------------------------------------------- row store

void RowStore::append(std::string_view text, EndMark mark)
{
    m_bytes.append(text);
    m_ends.push_back(m_bytes.size());
    m_marks.push_back(mark);
}

void RowStore::reserve(std::size_t rows, std::size_t bytes)
{
    m_bytes.reserve(bytes);
    m_ends.reserve(rows);
    m_marks.reserve(rows);
}

void RowStore::clear()
{
    // Swapping with empty containers frees the buffers; clear() would keep them.
    std::string().swap(m_bytes);
    std::vector<std::size_t>().swap(m_ends);
    std::vector<EndMark>().swap(m_marks);
}

void RowStore::replace(std::size_t first, std::size_t last, const RowStore &other)
{
    const std::size_t from = first == 0 ? 0 : m_ends[first - 1];
    const std::size_t to = last == 0 ? 0 : m_ends[last - 1];
    m_bytes.replace(from, to - from, other.m_bytes);
    // Rows after the range move by the change in byte count.
    const std::size_t removedRows = last - first;
    const std::size_t addedRows = other.size();
    std::vector<std::size_t> ends;
    ends.reserve(m_ends.size() - removedRows + addedRows);
    ends.insert(ends.end(), m_ends.begin(), m_ends.begin() + std::ptrdiff_t(first));
    for (const std::size_t e : other.m_ends)
        ends.push_back(from + e);
    const std::size_t added = other.m_bytes.size();
    for (std::size_t r = last; r < m_ends.size(); ++r)
        ends.push_back(m_ends[r] - (to - from) + added);
    m_ends = std::move(ends);
    m_marks.erase(m_marks.begin() + std::ptrdiff_t(first), m_marks.begin() + std::ptrdiff_t(last));
    m_marks.insert(m_marks.begin() + std::ptrdiff_t(first), other.m_marks.begin(),
                   other.m_marks.end());
}

std::vector<TRow> RowStore::toRows() const
{
    std::vector<TRow> rows;
    rows.reserve(size());
    for (std::size_t r = 0; r < size(); ++r)
        rows.push_back({std::string(text(r)), mark(r)});
    return rows;
}

// ---------------------------------------------------------------- options

TWrapOption::TWrapOption()
    : FollowStr(kDefaultFollowStr)
    , LeadStr(kDefaultLeadStr)
    , PunctuationStr(kPunctuationStr)
{
}

TWrapOption TWrapOption::editor2()
{
    TWrapOption option;
    option.FollowRetMark = true;
    option.FollowPunctuation = true;
    option.FollowStr = std::string(kDefaultFollowStr) + std::string(kEditor2FollowExtra);
    option.Leading = true;
    option.LeadStr = std::string(kDefaultLeadStr) + std::string(kEditor2LeadExtra);
    option.WordBreak = true;
    option.WrapByte = kRowColumns;
    return option;
}

int TWrapOption::clampWrapByte(int columns)
{
    return std::clamp(columns, MinWrapByte, MaxWrapByte);
}

void TWrapOption::setWrapByte(int columns)
{
    WrapByte = clampWrapByte(columns);
}

TWordDelimiters defaultWordDelimiters()
{
    struct Range
    {
        int first, last;
    };
    constexpr Range ranges[] = {
            {0x00, 0x2F}, {0x3A, 0x40}, {0x5B, 0x5E}, {0x60, 0x60},
            {0x7B, 0x80}, {0xA0, 0xA5}, {0xFD, 0xFF},
    };
    TWordDelimiters set;
    for (const Range &r : ranges)
        for (int b = r.first; b <= r.last; ++b)
            set.set(size_t(b));
    return set;
}

// ---------------------------------------------------------------- Lines

int TEditorStrings::Count() const
{
    const TEditor &e = m_editor;
    if (!e.m_wordWrap)
        return e.RowCount();
    const std::vector<size_t> &starts = e.lineStarts();
    return e.m_rowsAreLines ? e.RowCount() : int(starts.size());
}

std::string TEditorStrings::operator[](int index) const
{
    const TEditor &e = m_editor;
    if (!e.m_wordWrap)
        return e.RowText(index);
    const std::vector<size_t> &starts = e.lineStarts();
    if (e.m_rowsAreLines)
        return e.RowText(index);
    if (index < 0 || size_t(index) >= starts.size())
        return {};
    const size_t first = starts[size_t(index)];
    const size_t last = e.logicalLineEnd(first);
    std::string line;
    for (size_t r = first; r <= last; ++r)
        line += e.m_rows.text(r);
    return line;
}

std::string TEditorStrings::Text() const
{
    const RowStore &rows = m_editor.m_rows;
    size_t size = rows.byteCount();
    for (size_t r = 0; r < rows.size(); ++r)
        size += rows.mark(r) == EndMark::Hard ? 2 : 0;
    std::string text;
    text.reserve(size);
    for (size_t r = 0; r < rows.size(); ++r) {
        text += rows.text(r);
        if (rows.mark(r) == EndMark::Hard)
            text += "\r\n";
    }
    return text;
}

void TEditorStrings::setText(std::string_view text)
{
    m_editor.replaceRows(m_editor.layOut(text, EndMark::Hard));
}

void TEditorStrings::setRows(RowStore rows)
{
    for (size_t r = 0; r < rows.size(); ++r)
        rows.setMark(r, EndMark::Hard);
    if (!m_editor.m_wordWrap || rows.empty()) {
        m_editor.replaceRows(std::move(rows));
        return;
    }
    // As layOut does for a text whose every line ends with a break.
    m_editor.replaceRows({});
    RowStore wrapped;
    wrapped.reserve(rows.size() + rows.byteCount() / size_t(m_editor.m_wrapOption.WrapByte),
                    rows.byteCount());
    for (size_t r = 0; r < rows.size(); ++r)
        m_editor.appendWrapped(rows.text(r), wrapped);
    rows.clear();
    wrapped.setMark(wrapped.size() - 1, EndMark::Hard);
    m_editor.replaceRows(std::move(wrapped));
}

void TEditorStrings::setWrappedRows(RowStore rows)
{
    for (size_t r = 0; r < rows.size(); ++r)
        rows.setMark(r, EndMark::Hard);
    m_editor.replaceRows(std::move(rows));
}

void TEditorStrings::LoadFromBuffer(std::string_view bytes)
{
    // 0x1A is the old end-of-file mark: it and everything after it are not text.
    const size_t eof = bytes.find('\x1A');
    if (eof != std::string_view::npos)
        bytes = bytes.substr(0, eof);
    m_editor.replaceRows(m_editor.layOut(bytes, EndMark::End));
}

void TEditorStrings::LoadFromFile(const std::string &fileName)
{
    struct Closer
    {
        void operator()(std::FILE *f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file(std::fopen(fileName.c_str(), "rb"));
    if (!file)
        throw std::runtime_error("Cannot open file \"" + fileName + "\". " + std::strerror(errno));

    // Read everything before touching the rows, so a failed read leaves the
    // previous text in place.
    std::string bytes;
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(fileName, sizeError);
    if (!sizeError)
        bytes.reserve(size_t(size));
    char block[65536];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, file.get());
        bytes.append(block, got);
        if (got < sizeof block)
            break;
    }
    if (std::ferror(file.get()))
        throw std::runtime_error("Cannot read file \"" + fileName + "\". " + std::strerror(errno));
    LoadFromBuffer(bytes);
}

void TEditorStrings::Clear()
{
    m_editor.replaceRows({});
}

// ---------------------------------------------------------------- editor

TEditor::TEditor()
    : m_wordDelimiters(defaultWordDelimiters())
    , m_follow(m_wrapOption.FollowStr)
    , m_lead(m_wrapOption.LeadStr)
    , m_punctuation(m_wrapOption.PunctuationStr)
    , m_lines(*this)
{
}

std::string TEditor::RowText(int index) const
{
    return std::string(RowView(index));
}

std::string_view TEditor::RowView(int index) const
{
    if (index < 0 || size_t(index) >= m_rows.size())
        return {};
    return m_rows.text(size_t(index));
}

EndMark TEditor::RowMark(int index) const
{
    if (index < 0 || size_t(index) >= m_rows.size())
        return EndMark::Hard;
    return m_rows.mark(size_t(index));
}

void TEditor::ClearText()
{
    m_lines.Clear();
}

RowStore TEditor::takeRows()
{
    RowStore rows = std::move(m_rows);
    replaceRows({});
    return rows;
}

void TEditor::setWordWrap(bool on)
{
    if (on == m_wordWrap)
        return;
    m_wordWrap = on;
    if (on)
        WrapAll();
    else
        UnwrapAll();
}

void TEditor::setTabSpaceCount(int columns)
{
    const int clamped = std::clamp(columns, 1, kMaxTabSpaceCount);
    if (clamped == m_tabSpaceCount)
        return;
    m_tabSpaceCount = clamped;
    // Row widths depend on the tab stops, so wrapped rows would go stale.
    if (m_wordWrap)
        WrapAll();
}

void TEditor::setWrapOption(const TWrapOption &option)
{
    TWrapOption next = option;
    next.setWrapByte(option.WrapByte);
    if (next == m_wrapOption)
        return;
    m_wrapOption = std::move(next);
    m_follow = CharSet(m_wrapOption.FollowStr);
    m_lead = CharSet(m_wrapOption.LeadStr);
    m_punctuation = CharSet(m_wrapOption.PunctuationStr);
    if (m_wordWrap)
        WrapAll();
}

RowStore TEditor::layOut(std::string_view text, EndMark lastMark) const
{
    if (!m_wordWrap)
        return splitIntoRows(text, lastMark);
    // Cutting each line straight from the text gives what splitting and
    // then WrapAll would, without building every long line twice.
    RowStore rows;
    if (text.empty())
        return rows;
    rows.reserve(text.size() / size_t(m_wrapOption.WrapByte) + countBreaks(text) + 1, text.size());
    bool terminated = true;
    forEachLine(text, [&](std::string_view line, bool isLast) {
        if (isLast) {
            terminated = line.empty();
            if (terminated)
                return;
        }
        appendWrapped(line, rows);
    });
    if (!rows.empty())
        rows.setMark(rows.size() - 1, terminated ? EndMark::Hard : finalMark(lastMark));
    return rows;
}

void TEditor::replaceRows(RowStore rows)
{
    m_rows = std::move(rows);
    m_lineStartsValid = false;
    std::vector<size_t>().swap(m_lineStarts);
}

// ---------------------------------------------------------------- wrapping

std::vector<TRow> TEditor::WrapLine(std::string_view line) const
{
    RowStore rows;
    appendWrapped(line, rows);
    return rows.toRows();
}

namespace {

// A cut after `bytes` of the row starting at pos, moved back to the start of
// a group it would split, unless that group starts the row.
size_t keepGroupWhole(const std::vector<std::pair<uint32_t, uint32_t>> &groups, size_t pos,
                      size_t bytes)
{
    const size_t cut = pos + bytes;
    auto it = std::upper_bound(groups.begin(), groups.end(), cut,
                               [](size_t c, const auto &g) { return c < g.first; });
    if (it == groups.begin())
        return bytes;
    --it;
    if (it->first < cut && cut < it->second && it->first > pos)
        return it->first - pos;
    return bytes;
}

} // namespace

void TEditor::appendWrapped(std::string_view line, RowStore &out) const
{
    appendWrapped(line, out, m_wrapOption.WrapByte, nullptr);
}

void TEditor::wrapLineInto(std::string_view line, int width,
                           const std::vector<std::pair<uint32_t, uint32_t>> &groups,
                           RowStore &out) const
{
    appendWrapped(line, out, std::clamp(width, 2, TWrapOption::MaxWrapByte), &groups);
}

void TEditor::appendWrapped(std::string_view line, RowStore &out, int w,
                            const std::vector<std::pair<uint32_t, uint32_t>> *groups) const
{
    const TWrapOption &o = m_wrapOption;
    const int minRow = (w / 5) * 4; // the line-start and line-end rules stop here
    // Every decision looks at most at column w + 4 (a hanging double-byte
    // mark after w + 2) and compares the width only with numbers up to that,
    // so each row maps a window of the rest instead of the whole rest. This
    // keeps a long line linear; tabs still realign to each row's start.
    const int window = w + 6;
    ColumnMap &map = m_scratch;
    map.build(line, m_tabSpaceCount, window);
    auto restWidth = [&] { return map.truncated() ? window + 1 : map.width(); };

    int n = restWidth();
    if (n < w) {
        out.append(line, EndMark::Hard);
        return;
    }

    size_t pos = 0;
    while (n >= w) {
        const std::string_view rest = line.substr(pos);
        auto byteAt = [&](int k) { return static_cast<unsigned char>(map.charAt(rest, k)[0]); };
        auto endingAt = [&](int k) {
            const ColumnClass c = map.at(k);
            return (c == ColumnClass::Single || c == ColumnClass::TrailHalf) ? map.charAt(rest, k)
                                                                             : std::string_view{};
        };

        int p = w;
        if (map.at(w) == ColumnClass::LeadHalf) {
            p = w - 1; // the double-byte character moves whole
        } else if (o.WordBreak && n > w && map.at(w) == ColumnClass::Single
                   && !m_wordDelimiters[byteAt(w)]) {
            // Only the byte at column w decides; a word that ends exactly
            // there still moves when an earlier break point exists.
            for (int k = w - 1; k >= w / 3; --k) {
                const ColumnClass c = map.at(k);
                if (c == ColumnClass::TrailHalf
                    || (c == ColumnClass::Single && m_wordDelimiters[byteAt(k)])) {
                    p = k;
                    break;
                }
            }
        }

        if (o.FollowPunctuation) {
            while (p < w + 2) {
                const std::string_view c = map.charAt(rest, p + 1);
                if (!m_punctuation.contains(c))
                    break;
                p += int(c.size());
            }
        }

        if (o.Leading && p < n) {
            auto stepBack = [&] { p -= map.at(p) == ColumnClass::TrailHalf ? 2 : 1; };
            while (p >= minRow && m_lead.contains(endingAt(p)))
                stepBack();
            if (p + 1 < n && m_follow.contains(map.charAt(rest, p + 1))) {
                while (p >= minRow
                       && (m_lead.contains(endingAt(p))
                           || m_follow.contains(map.charAt(rest, p + 1))))
                    stepBack();
            }
        }

        // Column 1 is never tab fill, so a row always takes at least one byte.
        size_t bytes = std::max<size_t>(map.bytesInColumns(p), 1);
        if (groups)
            bytes = keepGroupWhole(*groups, pos, bytes);
        out.append(rest.substr(0, bytes), EndMark::Soft);
        pos += bytes;
        map.build(line.substr(pos), m_tabSpaceCount, window);
        n = restWidth();
    }

    if (pos < line.size())
        out.append(line.substr(pos), EndMark::Hard);
    else if (!o.FollowRetMark)
        out.append({}, EndMark::Hard);
    else
        out.setMark(out.size() - 1, EndMark::Hard);
}

size_t TEditor::logicalLineEnd(size_t row) const
{
    while (row + 1 < m_rows.size() && m_rows.mark(row) == EndMark::Soft)
        ++row;
    return row;
}

const std::vector<size_t> &TEditor::lineStarts() const
{
    if (!m_lineStartsValid) {
        m_lineStarts.clear();
        // The last row ends a line whatever its mark.
        m_rowsAreLines = true;
        for (size_t r = 0; r + 1 < m_rows.size() && m_rowsAreLines; ++r)
            m_rowsAreLines = m_rows.mark(r) != EndMark::Soft;
        if (!m_rowsAreLines)
            for (size_t r = 0; r < m_rows.size(); r = logicalLineEnd(r) + 1)
                m_lineStarts.push_back(r);
        m_lineStartsValid = true;
    }
    return m_lineStarts;
}

void TEditor::WrapAll()
{
    if (m_rows.empty())
        return;
    const EndMark lastMark = m_rows.mark(m_rows.size() - 1);
    RowStore out;
    out.reserve(m_rows.size() + m_rows.byteCount() / size_t(m_wrapOption.WrapByte),
                m_rows.byteCount());
    std::string joined;
    for (size_t r = 0; r < m_rows.size();) {
        const size_t last = logicalLineEnd(r);
        if (r == last) {
            appendWrapped(m_rows.text(r), out);
        } else {
            joined.clear();
            for (size_t k = r; k <= last; ++k)
                joined += m_rows.text(k);
            appendWrapped(joined, out);
        }
        r = last + 1;
    }
    out.setMark(out.size() - 1, finalMark(lastMark));
    replaceRows(std::move(out));
}

void TEditor::UnwrapAll()
{
    if (m_rows.empty())
        return;
    const EndMark lastMark = m_rows.mark(m_rows.size() - 1);
    RowStore out;
    out.reserve(m_rows.size(), m_rows.byteCount());
    std::string joined;
    for (size_t r = 0; r < m_rows.size();) {
        const size_t last = logicalLineEnd(r);
        joined.clear();
        for (size_t k = r; k <= last; ++k)
            joined += m_rows.text(k);
        out.append(joined, EndMark::Hard);
        r = last + 1;
    }
    out.setMark(out.size() - 1, finalMark(lastMark));
    replaceRows(std::move(out));
}

// ---------------------------------------------------------------- set-up

void setupEditor2(TEditor &editor)
{
    editor.setTabSpaceCount(8);
    editor.setWrapOption(TWrapOption::editor2());
    editor.setWordWrap(true);
    editor.setReadOnly(true);
    editor.Lines().setText("Editor1");
}

} // namespace corvane
