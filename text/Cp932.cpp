// Column map and character-set membership for code page 932 byte strings.
#include "text/Cp932.h"

#include <algorithm>

namespace corvane {

void ColumnMap::build(std::string_view text, int tabSpaceCount, int maxColumns)
{
    const int tab = std::max(tabSpaceCount, 1);
    const int limit = std::max(maxColumns, 0);
    m_truncated = false;
    m_width = 0;

    // The arrays only grow; a window rebuilt for every row costs no
    // allocation after the first.
    auto reserveColumns = [&](size_t columns) {
        if (m_classes.size() < columns) {
            const size_t grown = std::max(columns, m_classes.size() * 2);
            m_classes.resize(grown);
            m_starts.resize(grown);
        }
    };
    auto put = [&](ColumnClass c, size_t start) {
        m_classes[size_t(m_width)] = c;
        m_starts[size_t(m_width)] = uint32_t(start);
        ++m_width;
    };

    size_t i = 0;
    while (i < text.size()) {
        const int column = m_width;
        if (column >= limit) {
            m_truncated = true;
            break;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        // A lead byte with nothing after it is a broken character; it gets
        // one column rather than reading past the string.
        if (cp932CharLength(text, i) == 2) {
            reserveColumns(size_t(column) + 2);
            put(ColumnClass::LeadHalf, i);
            put(ColumnClass::TrailHalf, i);
            i += 2;
        } else if (b == '\t') {
            const int span = tab - column % tab;
            // A huge tab stop must not allocate a column per blank.
            const int mapped = std::min(span, limit - column);
            reserveColumns(size_t(column) + size_t(mapped));
            put(ColumnClass::Single, i);
            for (int k = 1; k < mapped; ++k)
                put(ColumnClass::TabFill, i);
            ++i;
            if (mapped < span) {
                m_truncated = true;
                break;
            }
        } else {
            reserveColumns(size_t(column) + 1);
            put(ColumnClass::Single, i);
            ++i;
        }
    }
    m_consumed = i;
}

std::string_view ColumnMap::charAt(std::string_view text, int k) const
{
    switch (at(k)) {
    case ColumnClass::Single:
        return text.substr(m_starts[size_t(k - 1)], 1);
    case ColumnClass::LeadHalf:
    case ColumnClass::TrailHalf:
        return text.substr(m_starts[size_t(k - 1)], 2);
    case ColumnClass::TabFill:
        break;
    }
    return {};
}

size_t ColumnMap::bytesInColumns(int p) const
{
    // Columns 1..p hold every character that starts before column p + 1,
    // and also the one column p + 1 continues (a tab or a split pair),
    // whose first column is one byte.
    if (p <= 0)
        return 0;
    if (p >= m_width)
        return m_consumed;
    const ColumnClass next = m_classes[size_t(p)];
    const size_t start = m_starts[size_t(p)];
    return (next == ColumnClass::TabFill || next == ColumnClass::TrailHalf) ? start + 1 : start;
}

int displayWidth(std::string_view text, int tabSpaceCount)
{
    const int tab = std::max(tabSpaceCount, 1);
    int width = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (cp932CharLength(text, i) == 2) {
            width += 2;
            i += 2;
        } else {
            width += (b == '\t') ? tab - width % tab : 1;
            ++i;
        }
    }
    return width;
}

CharSet::CharSet(std::string_view set)
{
    size_t i = 0;
    while (i < set.size()) {
        const auto b = static_cast<unsigned char>(set[i]);
        if (cp932CharLength(set, i) == 2) {
            m_pairs.set(size_t(b << 8 | static_cast<unsigned char>(set[i + 1])));
            i += 2;
        } else {
            m_singles[b] = true;
            ++i;
        }
    }
}

bool CharSet::contains(std::string_view c) const
{
    if (c.size() == 1)
        return m_singles[static_cast<unsigned char>(c[0])];
    if (c.size() == 2) {
        return m_pairs[size_t(static_cast<unsigned char>(c[0]) << 8
                              | static_cast<unsigned char>(c[1]))];
    }
    return false;
}

} // namespace corvane
