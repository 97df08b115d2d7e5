// Characters of code page 932 (Shift-JIS) byte strings: where one ends and
// the next begins, display columns, the column map, and membership of one
// character in a set string. Pure standard C++; no conversion to Unicode.
//
// The one rule every part of the program cuts text by (the wrapper, the
// normalisation, the page rows, the settings file, the drawing): a lead byte
// 0x81-0x9F or 0xE0-0xFC and the byte after it form one double-byte
// character two columns wide, whatever that second byte is. Every other
// byte, and a lead byte with nothing after it, is a character of its own.
// Lines are split at CR and LF bytes before rows are cut, so in a row a lead
// byte before a line break stands alone. Where a whole text is scanned, a
// lead byte may take a CR or LF; as neither is a lead byte, the scan is in
// step again right after it, at the same place as the lines.
#pragma once
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

constexpr bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length (1 or 2) of the character that starts at byte i of s; i < s.size().
constexpr std::size_t cp932CharLength(std::string_view s, std::size_t i)
{
    return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// The longest prefix of s of at most limit bytes that ends on a character
// boundary (never between a lead byte and the byte after it).
constexpr std::string_view cp932Prefix(std::string_view s, std::size_t limit)
{
    if (s.size() <= limit)
        return s;
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = cp932CharLength(s, i);
        if (i + n > limit)
            break;
        i += n;
    }
    return s.substr(0, i);
}

// The second bytes to which the code page assigns characters. Only decoding
// asks this: a pair with any other second byte is still one character, one
// the code page leaves undefined.
constexpr bool isAssignedTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Half-width katakana and punctuation: single bytes, one column each.
constexpr bool isHalfWidthKana(unsigned char b)
{
    return b >= 0xA1 && b <= 0xDF;
}

enum class ColumnClass : uint8_t {
    Single,    // a one-column character (also the first column of a tab)
    LeadHalf,  // left column of a double-byte character
    TrailHalf, // right column of a double-byte character
    TabFill,   // the columns a tab covers after its first one
};

// One class code per display column of a byte string, columns numbered from 1.
// Each column also records where its character starts in the string, so the
// character at a column can be read back without re-measuring.
class ColumnMap
{
public:
    // Maps text with tabs stopping at multiples of tabSpaceCount (values below
    // 1 count as 1). At most maxColumns columns are mapped; a character that
    // straddles the limit is mapped whole. truncated() tells whether text went
    // on past the mapped columns, so callers can compare widths against small
    // numbers without mapping a long line to its end.
    void build(std::string_view text, int tabSpaceCount, int maxColumns = INT32_MAX);

    // Mapped columns; the full width of the text unless truncated().
    int width() const { return m_width; }
    bool truncated() const { return m_truncated; }

    // Class of 1-based column k; TabFill for k outside 1..width() so that the
    // character there reads as empty.
    ColumnClass at(int k) const
    {
        return (k >= 1 && k <= m_width) ? m_classes[size_t(k - 1)] : ColumnClass::TabFill;
    }

    // The character at 1-based column k: its byte for Single, both bytes for
    // either half of a double-byte character, empty for tab fill and outside.
    std::string_view charAt(std::string_view text, int k) const;

    // Bytes of text covered by columns 1..p: p minus the tab-fill columns.
    size_t bytesInColumns(int p) const;

private:
    std::vector<ColumnClass> m_classes; // at least m_width entries
    std::vector<uint32_t> m_starts;     // byte offset of each column's character
    int m_width = 0;
    size_t m_consumed = 0; // bytes of text the mapped columns cover
    bool m_truncated = false;
};

// Display width of a string, tabs expanded from column 0.
int displayWidth(std::string_view text, int tabSpaceCount);

// A set string of characters (FollowStr, LeadStr, PunctuationStr) prepared
// for fast membership tests. The set is walked character by character, so a
// lead byte and its trail byte are never taken as two characters, and a
// character belongs to the set when it equals one of them: a broken lead
// byte at the end of a line is not the first half of a full stop. The empty
// string belongs to no set.
class CharSet
{
public:
    CharSet() = default;
    explicit CharSet(std::string_view set);

    bool contains(std::string_view c) const;

private:
    std::array<bool, 256> m_singles{}; // one-byte characters of the set
    std::bitset<65536> m_pairs;        // double-byte characters, lead byte high
};

} // namespace corvane
