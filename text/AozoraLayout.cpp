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
            addPadding();
            places.back() = places.size() > 1 ? places[places.size() - 2] : 0;
        }
    }

    // One row of a line: `length` bytes from `at` in the line after `prefix`
    // blank columns, and, set at the foot of the same row after `gap` more
    // blank columns, `tailLength` bytes from `tailAt`.
    struct Piece
    {
        uint32_t at = 0;
        uint32_t length = 0;
        size_t prefix = 0;
        uint32_t tailAt = 0;
        uint32_t tailLength = 0;
        size_t gap = 0;
    };

    void addRow(std::string_view line, uint32_t lineStart, const Piece &piece,
                std::span<const Mark> marks)
    {
        m_rowText.clear();
        appendBlank(m_rowText, piece.prefix);
        m_rowText.append(line.substr(piece.at, piece.length));
        if (piece.tailLength) {
            appendBlank(m_rowText, piece.gap);
            m_rowText.append(line.substr(piece.tailAt, piece.tailLength));
        }
        m_out.rows.append(m_rowText, EndMark::Hard);
        const size_t row = m_out.rows.size() - 1;
        noteRow(row, lineStart + piece.at, piece.length, marks, piece.prefix);
        if (piece.tailLength)
            noteMarks(row, lineStart + piece.tailAt, piece.tailLength, marks,
                      piece.prefix + piece.length + piece.gap);
    }

    void addPadding()
    {
        m_out.rows.append(kPaddingRow, EndMark::Hard);
        m_out.pages.rowPlaces.push_back(0);
    }

    // Blank columns: ideographic spaces, and a space for an odd one.
    static void appendBlank(std::string &row, size_t columns)
    {
        for (size_t k = 0; k < columns / 2; ++k)
            row.append(kIdeographicSpace);
        if (columns % 2)
            row.push_back(' ');
    }

    // Row `row` begins with `length` bytes of the text from `from` on,
    // `offset` bytes into it: its place in the file and the marks over it.
    void noteRow(size_t row, uint32_t from, size_t length, std::span<const Mark> marks,
                 size_t offset)
    {
        m_out.pages.rowPlaces.push_back(m_text.filePlace(from, m_anchorsPassed));
        noteMarks(row, from, length, marks, offset);
    }

    // The marks over `length` bytes of the text from `from` on, which stand
    // `offset` bytes into row `row`.
    void noteMarks(size_t row, uint32_t from, size_t length, std::span<const Mark> marks,
                   size_t offset)
    {
        const uint32_t to = from + uint32_t(length);
        for (const Mark &m : marks) {
            if (m.from >= to)
                break; // the marks come by their start
            if (m.to <= from)
                continue;
            if (isGroup(m.kind) && m.from < from)
                continue; // a group longer than a row stays with its first row
            Mark r = m;
            r.from = uint32_t(std::max(m.from, from) - from + offset);
            r.to = uint32_t(std::min(m.to, to) - from + offset);
            m_out.pages.marks.push_back({uint32_t(row), r});
        }
    }

    // The groups from byte `from` of the line on, counted from there.
    static std::vector<std::pair<uint32_t, uint32_t>>
    groupsFrom(const std::vector<std::pair<uint32_t, uint32_t>> &groups, uint32_t from)
    {
        std::vector<std::pair<uint32_t, uint32_t>> rest;
        for (const auto &g : groups)
            if (g.first >= from)
                rest.emplace_back(g.first - from, g.second - from);
        return rest;
    }

    // text (from byte `at` of the line on) cut into rows of `width` columns
    // at most, each after `prefix` blank columns or, with foot set, after
    // as many as end it at the width.
    void wrapPieces(std::string_view text, uint32_t at, int width,
                    const std::vector<std::pair<uint32_t, uint32_t>> &groups, size_t prefix,
                    bool foot, std::vector<Piece> &out) const
    {
        RowStore rows;
        m_editor.wrapLineInto(text, width, groups, rows);
        for (size_t r = 0; r < rows.size(); ++r) {
            const std::string_view row = rows.text(r);
            const int used = displayWidth(row, m_editor.TabSpaceCount());
            out.push_back(
                    {at, uint32_t(row.size()), foot ? size_t(std::max(width - used, 0)) : prefix});
            at += uint32_t(row.size());
        }
    }

    // The rows of a line (from byte `at` on) indented as its notes say: the
    // first by f.indent ems, the further ones by f.wrapIndent.
    void indentedPieces(std::string_view line, uint32_t at, const LineFormat &f,
                        const std::vector<std::pair<uint32_t, uint32_t>> &groups,
                        std::vector<Piece> &out) const
    {
        const int first = std::max(kLayoutColumns - 2 * f.indent, 4);
        const int further = std::max(kLayoutColumns - 2 * f.wrapIndent, 4);
        const size_t begin = out.size();
        wrapPieces(line, at, first, groups, size_t(kLayoutColumns - first), false, out);
        if (out.size() - begin > 1 && first != further) {
            // The further rows wrap again at their own width.
            const uint32_t done = out[begin].length;
            out.resize(begin + 1);
            wrapPieces(line.substr(done), at + done, further, groupsFrom(groups, done),
                       size_t(kLayoutColumns - further), false, out);
        }
    }

    // The rows of a line with a 地付き or 地からＮ字上げ note: the text before
    // the note runs as any line; the text after it ends at the foot (raised
    // by f.raise ems), on the last row of the text before when it fits there
    // with an em to spare, else on rows of its own.
    std::vector<Piece> footPieces(std::string_view line, const LineFormat &f,
                                  const std::vector<std::pair<uint32_t, uint32_t>> &groups) const
    {
        std::vector<Piece> out;
        const uint32_t split = std::min<uint32_t>(f.footFrom, uint32_t(line.size()));
        if (split > 0)
            indentedPieces(line.substr(0, split), 0, f, groups, out);
        if (split == line.size())
            return out;
        const int width = std::max(kLayoutColumns - 2 * f.raise, 4);
        std::vector<Piece> tail;
        wrapPieces(line.substr(split), split, width, groupsFrom(groups, split), 0, true, tail);
        if (!out.empty() && tail.size() == 1) {
            Piece &last = out.back();
            const int used = int(last.prefix)
                    + displayWidth(line.substr(last.at, last.length), m_editor.TabSpaceCount());
            const int tailStart = int(tail[0].prefix);
            if (used + 2 <= tailStart) {
                last.tailAt = tail[0].at;
                last.tailLength = tail[0].length;
                last.gap = size_t(tailStart - used);
                return out;
            }
        }
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
    }

    void setLine(std::string_view line, uint32_t lineStart, const LineFormat &f,
                 std::span<const Mark> marks)
    {
        std::vector<std::pair<uint32_t, uint32_t>> groups;
        for (const Mark &m : marks)
            if (isGroup(m.kind))
                groups.emplace_back(m.from - lineStart, m.to - lineStart);
        std::sort(groups.begin(), groups.end());

        if (!f.toFoot && f.indent == 0 && f.wrapIndent == 0) {
            // Most lines: wrapped straight into the rows, nothing to add.
            const size_t before = m_out.rows.size();
            m_editor.wrapLineInto(line, kLayoutColumns, groups, m_out.rows);
            uint32_t at = lineStart;
            for (size_t r = before; r < m_out.rows.size(); ++r) {
                m_out.rows.setMark(r, EndMark::Hard);
                noteRow(r, at, m_out.rows.length(r), marks, 0);
                at += uint32_t(m_out.rows.length(r));
            }
            return;
        }
        std::vector<Piece> pieces;
        if (f.toFoot)
            pieces = footPieces(line, f, groups);
        else
            indentedPieces(line, 0, f, groups, pieces);
        for (const Piece &piece : pieces)
            addRow(line, lineStart, piece, marks);
    }

    AozoraText m_text;
    const TEditor &m_editor;
    AozoraLayout m_out;
    std::string m_rowText;      // the row being added, reused
    size_t m_anchorsPassed = 0; // by the rows laid out so far
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
