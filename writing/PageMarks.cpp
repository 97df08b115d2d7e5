#include "writing/PageMarks.h"

#include "text/Cp932.h"
#include "text/Pages.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr int kVerticalEm = 16;
constexpr int kHorizontalEm = 17;
constexpr int kBlockTop = 30;     // a column's first cell
constexpr int kBlockBottom = 318; // one past its last
constexpr int kLineLeft = 80;
constexpr int kLineRight = 80 + 18 * kHorizontalEm;

// One character of a row: where its bytes start, the half-width column it
// starts at, its width in columns and its code.
struct RowChar
{
    size_t byte;
    int column;
    int width;
    char32_t code;
};

// The characters as the decoder cuts them, control characters left out.
std::vector<RowChar> rowChars(const Cp932Decoder &decoder, std::string_view row)
{
    std::vector<RowChar> out;
    const std::string_view bytes = cp932Prefix(row, kRowByteLimit);
    int column = 0;
    size_t k = 0;
    for (const Cp932Char &c : decoder.decodeRow(bytes)) {
        while (k < bytes.size() && cp932CharLength(bytes, k) == 1
               && (uint8_t(bytes[k]) < 0x20 || uint8_t(bytes[k]) == 0x7F))
            ++k;
        const int width = c.doubleByte ? 2 : 1;
        out.push_back({k, column, width, c.code});
        column += width;
        k += cp932CharLength(bytes, k);
    }
    return out;
}

QRect baseCell(int k, int column, int width, bool horizontal)
{
    if (horizontal) {
        const int x0 = kLineLeft + int(std::lround(column * kHorizontalEm / 2.0));
        const int x1 = kLineLeft + int(std::lround((column + width) * kHorizontalEm / 2.0));
        return QRect(x0, 15 + 25 * k, x1 - x0, kHorizontalEm);
    }
    return QRect(425 - 30 * k - kVerticalEm, kBlockTop + column * kVerticalEm / 2, kVerticalEm,
                 width * kVerticalEm / 2);
}

// Cells of n half-size marks centred on the span [from, to) along the line,
// moved on to `after` when the marks before them reach that far, and kept
// within the column's block; `after` becomes their end. A reading longer
// than the whole column is set closer, to stay in it.
std::vector<QRect> bandCells(int k, int from, int to, size_t n, bool horizontal, bool left,
                             int *after = nullptr)
{
    std::vector<QRect> cells;
    if (n == 0)
        return cells;
    const int lo = horizontal ? kLineLeft : kBlockTop;
    const int hi = horizontal ? kLineRight : kBlockBottom;
    // The marks before end at `after`; the last mark's cell must end by hi.
    const int first = after ? std::max(lo, *after) : lo;
    const int gaps = int(n) - 1;
    int pitch = kRubyPixels;
    int start = (from + to) / 2 - (gaps * pitch + kRubyPixels) / 2;
    start = std::clamp(start, first, std::max(first, hi - gaps * pitch - kRubyPixels));
    if (gaps > 0 && start + gaps * pitch + kRubyPixels > hi) {
        // At a column's foot, after another reading, or longer than the
        // column: set closer rather than over the other marks or the edge.
        start = std::min(start, std::max(lo, hi - kRubyPixels));
        pitch = std::max(1, (hi - start - kRubyPixels) / gaps);
    }
    if (after)
        *after = start + gaps * pitch + kRubyPixels;
    for (size_t i = 0; i < n; ++i) {
        const int along = start + int(i) * pitch;
        if (horizontal)
            cells.emplace_back(along, 15 + 25 * k - kRubyPixels, kRubyPixels, kRubyPixels);
        else
            cells.emplace_back(left ? 425 - 30 * k - kVerticalEm - kRubyPixels : 425 - 30 * k,
                               along, kRubyPixels, kRubyPixels);
    }
    return cells;
}

} // namespace

QRect uprightCell(const QRect &cell, size_t i, size_t n)
{
    // Up to two keep their half width side by side; more are pressed
    // together to share the cell's width.
    const int width = cell.width();
    const double each = n <= 2 ? width / 2.0 : double(width) / double(n);
    const double start = cell.left() + (width - each * double(n)) / 2;
    const int x0 = int(std::lround(start + each * double(i)));
    const int x1 = int(std::lround(start + each * double(i + 1)));
    return QRect(x0, cell.top(), x1 - x0, cell.height());
}

namespace {

int charAt(const std::vector<RowChar> &chars, size_t byte)
{
    const auto it = std::lower_bound(chars.begin(), chars.end(), byte,
                                     [](const RowChar &c, size_t b) { return c.byte < b; });
    return int(it - chars.begin());
}

} // namespace

const char *roleName(GlyphRole role)
{
    switch (role) {
    case GlyphRole::Base:
        return "base";
    case GlyphRole::Ruby:
        return "ruby";
    case GlyphRole::Emphasis:
        return "emphasis";
    case GlyphRole::Gaiji:
        return "gaiji";
    case GlyphRole::Heading:
        return "heading";
    case GlyphRole::Bold:
        return "bold";
    case GlyphRole::Upright:
        return "base";
    }
    return "base";
}

std::u32string codePoints(std::string_view utf8)
{
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = uint8_t(utf8[i]);
        const int n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
        if (n == 0 || i + size_t(n) > utf8.size()) {
            ++i;
            continue;
        }
        char32_t cp = n == 1 ? b : b & (0x7F >> n);
        for (int j = 1; j < n; ++j)
            cp = (cp << 6) | (uint8_t(utf8[i + size_t(j)]) & 0x3F);
        out.push_back(cp);
        i += size_t(n);
    }
    return out;
}

namespace {

// Where each character of a row starts, by character index as the decoder
// counts them (control characters left out).
std::vector<size_t> charStarts(std::string_view row)
{
    std::vector<size_t> starts;
    const std::string_view bytes = cp932Prefix(row, kRowByteLimit);
    for (size_t k = 0; k < bytes.size(); k += cp932CharLength(bytes, k))
        if (!(cp932CharLength(bytes, k) == 1
              && (uint8_t(bytes[k]) < 0x20 || uint8_t(bytes[k]) == 0x7F)))
            starts.push_back(k);
    return starts;
}

} // namespace

std::vector<std::pair<size_t, char32_t>> outsideHeavy(std::string_view row,
                                                      std::span<const RowMark> rowMarks)
{
    std::vector<std::pair<size_t, char32_t>> out;
    const std::vector<size_t> starts = charStarts(row);
    for (size_t i = 0; i < starts.size(); ++i) {
        const bool heavy = std::any_of(rowMarks.begin(), rowMarks.end(), [&](const RowMark &rm) {
            return isHeavy(rm.mark.kind) && rm.mark.from <= starts[i] && starts[i] < rm.mark.to;
        });
        if (!heavy)
            out.emplace_back(i, cp932CharLength(row, starts[i]) == 2 ? U'\u3000' : U' ');
    }
    return out;
}

std::vector<std::pair<size_t, char32_t>>
substitutes(std::string_view row, std::span<const RowMark> rowMarks, std::string_view strings)
{
    std::vector<std::pair<size_t, char32_t>> out;
    if (rowMarks.empty())
        return out;
    const std::vector<size_t> starts = charStarts(row);
    for (const RowMark &rm : rowMarks) {
        const Mark &m = rm.mark;
        if (m.kind != MarkKind::Gaiji && m.kind != MarkKind::Kunoji
            && m.kind != MarkKind::TateChuYoko)
            continue;
        // An upright run's cell is drawn apart from the row: blank in it.
        const std::u32string codes = m.kind == MarkKind::TateChuYoko
                ? std::u32string(1, U'\u3000')
                : codePoints(strings.substr(m.text, m.textLength));
        size_t index
                = size_t(std::lower_bound(starts.begin(), starts.end(), m.from) - starts.begin());
        // A gaiji that maps to two code points keeps the first: it has one cell.
        const size_t cells
                = m.kind == MarkKind::Gaiji ? std::min<size_t>(codes.size(), 1) : codes.size();
        for (size_t i = 0; i < cells && index < starts.size() && starts[index] < m.to; ++i, ++index)
            out.emplace_back(index, codes[i]);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<LaidGlyph> laidGlyphs(const Cp932Decoder &decoder, std::span<const std::string> rows,
                                  const PageMarks &marks, bool horizontal)
{
    std::vector<LaidGlyph> out;
    const int count = std::min<int>(int(rows.size()), kPageRows);
    auto rowBegin = marks.marks.begin();
    for (int k = 0; k < count; ++k) {
        auto rowEnd = rowBegin;
        while (rowEnd != marks.marks.end() && rowEnd->row == uint32_t(k))
            ++rowEnd;
        const std::span<const RowMark> rowMarks(rowBegin, rowEnd);
        rowBegin = rowEnd;

        const std::string &row = rows[size_t(k)];
        const std::vector<RowChar> chars = rowChars(decoder, row);
        std::vector<GlyphRole> roles(chars.size(), GlyphRole::Base);
        std::vector<char32_t> codes(chars.size());
        for (size_t i = 0; i < chars.size(); ++i)
            codes[i] = chars[i].code;
        for (const auto &[index, code] : substitutes(row, rowMarks, marks.strings))
            if (index < codes.size())
                codes[index] = code;
        for (const RowMark &rm : rowMarks) {
            const int a = charAt(chars, rm.mark.from), b = charAt(chars, rm.mark.to);
            for (int i = a; i < b; ++i) {
                if (rm.mark.kind == MarkKind::Gaiji)
                    roles[size_t(i)] = GlyphRole::Gaiji;
                else if (rm.mark.kind == MarkKind::Heading && roles[size_t(i)] == GlyphRole::Base)
                    roles[size_t(i)] = GlyphRole::Heading;
                else if (rm.mark.kind == MarkKind::Bold && roles[size_t(i)] == GlyphRole::Base)
                    roles[size_t(i)] = GlyphRole::Bold;
            }
        }
        for (size_t i = 0; i < chars.size(); ++i)
            if (codes[i] != U' ' && codes[i] != U'\u3000')
                out.push_back({codes[i], roles[i],
                               baseCell(k, chars[i].column, chars[i].width, horizontal), k});

        for (const RowMark &rm : rowMarks) {
            const int a = charAt(chars, rm.mark.from);
            if (rm.mark.kind != MarkKind::TateChuYoko || a >= int(chars.size()))
                continue;
            const QRect cell = baseCell(k, chars[size_t(a)].column, 2, horizontal);
            const std::u32string run = codePoints(marks.text(rm.mark));
            for (size_t i = 0; i < run.size(); ++i)
                out.push_back({run[i], GlyphRole::Upright, uprightCell(cell, i, run.size()), k});
        }

        int bandEnd = horizontal ? kLineLeft : kBlockTop; // where the last ruby ends
        for (MarkKind kind : {MarkKind::Ruby, MarkKind::Emphasis}) {
            for (const RowMark &rm : rowMarks) {
                if (rm.mark.kind != kind)
                    continue;
                const int a = charAt(chars, rm.mark.from), b = charAt(chars, rm.mark.to);
                if (a >= b)
                    continue;
                if (kind == MarkKind::Ruby) {
                    const QRect first = baseCell(k, chars[size_t(a)].column, 1, horizontal);
                    const QRect last = baseCell(k, chars[size_t(b - 1)].column,
                                                chars[size_t(b - 1)].width, horizontal);
                    const std::u32string reading = codePoints(marks.text(rm.mark));
                    const int from = horizontal ? first.left() : first.top();
                    const int to = horizontal ? last.right() + 1 : last.bottom() + 1;
                    const std::vector<QRect> cells
                            = bandCells(k, from, to, reading.size(), horizontal, false, &bandEnd);
                    for (size_t i = 0; i < reading.size(); ++i)
                        out.push_back({reading[i], GlyphRole::Ruby, cells[i], k, from, to});
                    continue;
                }
                const bool left = (rm.mark.form & kLeftSide) != 0;
                const size_t form = std::min<size_t>(rm.mark.form & ~kLeftSide,
                                                     std::size(kEmphasisMarks) - 1);
                for (int i = a; i < b; ++i) {
                    const QRect cell = baseCell(k, chars[size_t(i)].column, chars[size_t(i)].width,
                                                horizontal);
                    const int from = horizontal ? cell.left() : cell.top();
                    const int to = from + (horizontal ? cell.width() : cell.height());
                    out.push_back({kEmphasisMarks[form], GlyphRole::Emphasis,
                                   bandCells(k, from, to, 1, horizontal, left && !horizontal)[0], k,
                                   from, to});
                }
            }
        }
    }
    return out;
}

} // namespace corvane
