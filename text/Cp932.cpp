// Column map and character-set membership for code page 932 byte strings.
#include "text/Cp932.h"

#include <algorithm>

namespace corvane {

void ColumnMap::build(std::string_view text, int tabSpaceCount, int maxColumns)
{
    const int tab = std::max(tabSpaceCount, 1);
    const int limit = std::max(maxColumns, 0);
    m_classes.clear();
    m_starts.clear();
    m_truncated = false;

    size_t i = 0;
    while (i < text.size()) {
        const int column = width();
        if (column >= limit) {
            m_truncated = true;
            return;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        const auto start = uint32_t(i);
        // A lead byte with nothing after it is a broken character; it gets
        // one column rather than reading past the string.
        if (isLeadByte(b) && i + 1 < text.size()) {
            m_classes.push_back(ColumnClass::LeadHalf);
            m_classes.push_back(ColumnClass::TrailHalf);
            m_starts.push_back(start);
            m_starts.push_back(start);
            i += 2;
        } else if (b == '\t') {
            const int span = tab - column % tab;
            // A huge tab stop must not allocate a column per blank.
            const int mapped = std::min(span, limit - column);
            m_classes.push_back(ColumnClass::Single);
            m_starts.push_back(start);
            for (int k = 1; k < mapped; ++k) {
                m_classes.push_back(ColumnClass::TabFill);
                m_starts.push_back(start);
            }
            ++i;
            if (mapped < span) {
                m_truncated = true;
                return;
            }
        } else {
            m_classes.push_back(ColumnClass::Single);
            m_starts.push_back(start);
            ++i;
        }
    }
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
    const int end = std::clamp(p, 0, width());
    size_t bytes = 0;
    for (int k = 0; k < end; ++k)
        if (m_classes[size_t(k)] != ColumnClass::TabFill)
            ++bytes;
    return bytes;
}

int displayWidth(std::string_view text, int tabSpaceCount)
{
    const int tab = std::max(tabSpaceCount, 1);
    int width = 0;
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (isLeadByte(b) && i + 1 < text.size()) {
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
        if (isLeadByte(b) && i + 1 < set.size()) {
            m_pairs.push_back(uint16_t(b << 8 | static_cast<unsigned char>(set[i + 1])));
            i += 2;
        } else {
            m_singles[b] = true;
            ++i;
        }
    }
    std::sort(m_pairs.begin(), m_pairs.end());
}

bool CharSet::contains(std::string_view c) const
{
    if (c.size() == 1)
        return m_singles[static_cast<unsigned char>(c[0])];
    if (c.size() == 2) {
        const auto key = uint16_t(static_cast<unsigned char>(c[0]) << 8 | static_cast<unsigned char>(c[1]));
        return std::binary_search(m_pairs.begin(), m_pairs.end(), key);
    }
    return false;
}

bool inCharSet(std::string_view c, std::string_view set)
{
    return CharSet(set).contains(c);
}

} // namespace corvane
