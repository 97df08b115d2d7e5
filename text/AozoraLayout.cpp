#include "text/AozoraLayout.h"

#include "text/Cp932.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::string_view kIdeographicSpace = "\x81\x40";
constexpr int kLayoutColumns = 36;

bool isGroup(MarkKind k)
{
    return k == MarkKind::Ruby || k == MarkKind::Kunoji || k == MarkKind::TateChuYoko;
}

class Layout
{
public:
    Layout(AozoraText text, const TEditor &editor)
        : m_text(std::move(text))
        , m_editor(editor)
    {
        m_out.pages.strings = std::move(m_text.strings);
    }

    AozoraLayout run()
    {
        // The rows point into the text rather than copying it.
        const auto shared = std::make_shared<const std::string>(std::move(m_text.text));
        const std::string_view all(*shared);
        m_out.rows.shareText(shared);
        // Room for the rows as wrapped, with some for indents and padding.
        const std::size_t rows = all.size() / 24 + kPageRows;
        m_out.rows.reserve(rows, all.size() + all.size() / 4);
        // Grown by doubling, these would hold two copies at each step, the
        // largest near the end, when everything else is held too.
        m_out.pages.rowPlaces.reserve(rows);
        m_out.pages.marks.reserve(m_text.marks.size() + m_text.marks.size() / 4);
        size_t lineNo = 0, format = 0, mark = 0;
        for (size_t start = 0; start < all.size(); ++lineNo) {
            size_t end = all.find("\r\n", start);
            if (end == std::string_view::npos)
                end = all.size();
            LineFormat f;
            if (format < m_text.lines.size() && m_text.lines[format].line == lineNo)
                f = m_text.lines[format++];
            const size_t firstMark = mark;
            while (mark < m_text.marks.size() && m_text.marks[mark].from < end)
                ++mark;
            if (f.pageBefore)
                padPage();
            setLine(all.substr(start, end - start), uint32_t(start), f,
                    std::span(m_text.marks).subspan(firstMark, mark - firstMark));
            start = end + 2;
        }
        if (m_text.pageBreakAtEnd)
            padPage();
        padPage();
        return std::move(m_out);
    }

private:
    void padPage()
    {
        std::vector<uint32_t> &places = m_out.pages.rowPlaces;
        while (m_out.rows.size() % kPageRows != 0) {
            addRow(kPaddingRow, 0, 0, {}, 0);
            places.back() = places.size() > 1 ? places[places.size() - 2] : 0;
        }
    }

    void addRow(std::string_view bytes, uint32_t lineStart, uint32_t rowStart,
                std::span<const Mark> marks, size_t prefix)
    {
        m_rowText.clear();
        for (size_t k = 0; k < prefix / 2; ++k)
            m_rowText.append(kIdeographicSpace);
        if (prefix % 2)
            m_rowText.push_back(' ');
        m_rowText.append(bytes);
        m_out.rows.append(m_rowText, EndMark::Hard);
        noteRow(m_out.rows.size() - 1, lineStart + rowStart, bytes.size(), marks, prefix);
    }

    // Row `row` holds `length` bytes of the text from `from` on, after
    // `prefix` bytes of indent: its file line and the marks over it.
    void noteRow(size_t row, uint32_t from, size_t length, std::span<const Mark> marks,
                 size_t prefix)
    {
        m_out.pages.rowPlaces.push_back(m_text.filePlace(from));
        const uint32_t to = from + uint32_t(length);
        for (const Mark &m : marks) {
            if (m.from >= to)
                break; // the marks come by their start
            if (m.to <= from)
                continue;
            if (isGroup(m.kind) && m.from < from)
                continue; // a group longer than a row stays with its first row
            Mark r = m;
            r.from = uint32_t(std::max(m.from, from) - from + prefix);
            r.to = uint32_t(std::min(m.to, to) - from + prefix);
            m_out.pages.marks.push_back({uint32_t(row), r});
        }
    }

    void setLine(std::string_view line, uint32_t lineStart, const LineFormat &f,
                 std::span<const Mark> marks)
    {
        std::vector<std::pair<uint32_t, uint32_t>> groups;
        for (const Mark &m : marks)
            if (isGroup(m.kind))
                groups.emplace_back(m.from - lineStart, m.to - lineStart);
        std::sort(groups.begin(), groups.end());

        if (f.toFoot) {
            const int width = std::max(kLayoutColumns - 2 * f.raise, 4);
            RowStore rows;
            m_editor.wrapLineInto(line, width, groups, rows);
            uint32_t at = 0;
            for (size_t r = 0; r < rows.size(); ++r) {
                const std::string_view text = rows.text(r);
                const int used = displayWidth(text, m_editor.TabSpaceCount());
                addRow(text, lineStart, at, marks, size_t(std::max(width - used, 0)));
                at += uint32_t(text.size());
            }
            return;
        }

        const int first = std::max(kLayoutColumns - 2 * f.indent, 4);
        const int further = std::max(kLayoutColumns - 2 * f.wrapIndent, 4);
        if (first == kLayoutColumns && further == kLayoutColumns) {
            // Most lines: wrapped straight into the rows, nothing to add.
            const size_t before = m_out.rows.size();
            m_editor.wrapLineInto(line, first, groups, m_out.rows);
            uint32_t at = lineStart;
            for (size_t r = before; r < m_out.rows.size(); ++r) {
                m_out.rows.setMark(r, EndMark::Hard);
                noteRow(r, at, m_out.rows.length(r), marks, 0);
                at += uint32_t(m_out.rows.length(r));
            }
            return;
        }
        RowStore rows;
        m_editor.wrapLineInto(line, first, groups, rows);
        if (rows.size() > 1 && first != further) {
            const std::string_view head = rows.text(0);
            addRow(head, lineStart, 0, marks, size_t(kLayoutColumns - first));
            const uint32_t done = uint32_t(head.size());
            std::vector<std::pair<uint32_t, uint32_t>> rest;
            for (const auto &g : groups)
                if (g.first >= done)
                    rest.emplace_back(g.first - done, g.second - done);
            RowStore more;
            m_editor.wrapLineInto(line.substr(done), further, rest, more);
            addRows(more, lineStart, done, marks, size_t(kLayoutColumns - further));
            return;
        }
        uint32_t at = 0;
        for (size_t r = 0; r < rows.size(); ++r) {
            addRow(rows.text(r), lineStart, at, marks,
                   size_t(r == 0 ? kLayoutColumns - first : kLayoutColumns - further));
            at += uint32_t(rows.length(r));
        }
    }

    void addRows(const RowStore &rows, uint32_t lineStart, uint32_t at, std::span<const Mark> marks,
                 size_t prefix)
    {
        for (size_t r = 0; r < rows.size(); ++r) {
            addRow(rows.text(r), lineStart, at, marks, prefix);
            at += uint32_t(rows.length(r));
        }
    }

    AozoraText m_text;
    const TEditor &m_editor;
    AozoraLayout m_out;
    std::string m_rowText; // the row being added, reused
};

} // namespace

std::vector<RowMark> AozoraPages::pageMarks(int page) const
{
    std::vector<RowMark> out;
    if (page < 1)
        return out;
    const uint32_t first = uint32_t(page - 1) * kPageRows, last = first + kPageRows;
    auto it = std::lower_bound(marks.begin(), marks.end(), first,
                               [](const RowMark &m, uint32_t row) { return m.row < row; });
    for (; it != marks.end() && it->row < last; ++it)
        out.push_back({it->row - first, it->mark});
    return out;
}

std::size_t AozoraPages::bytes() const
{
    return marks.capacity() * sizeof(RowMark) + strings.capacity()
            + rowPlaces.capacity() * sizeof(uint32_t);
}

AozoraLayout layOutAozora(AozoraText text, const TEditor &editor)
{
    return Layout(std::move(text), editor).run();
}

std::vector<uint32_t> rawRowPlaces(const TEditor &editor)
{
    std::vector<uint32_t> places;
    places.reserve(size_t(editor.RowCount()));
    uint32_t place = 0;
    for (int r = 0; r < editor.RowCount(); ++r) {
        places.push_back(place);
        place += uint32_t(editor.RowView(r).size());
        if (editor.RowMark(r) != EndMark::Soft)
            place += 2;
    }
    return places;
}

} // namespace corvane

namespace corvane {

AozoraPages loadAozora(TEditor &editor, std::string_view text)
{
    AozoraLayout layout = layOutAozora(parseAozora(text), editor);
    editor.Lines().Clear();
    editor.Lines().setWrappedRows(std::move(layout.rows));
    return std::move(layout.pages);
}

} // namespace corvane
