// Byte-level facts about code page 932 text that the loader, the
// normalisation and the page builder share. Pure functions, no Qt.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// 0x81-0x9F and 0xE0-0xFC open a double-byte character.
constexpr bool isCp932Lead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The second byte of a double-byte character: 0x40-0x7E or 0x80-0xFC.
// Control bytes (tab, CR, LF) are never trail bytes, so a stray lead byte
// cannot swallow a line break or a tab.
constexpr bool isCp932Trail(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Length (1 or 2) of the character that starts at byte i of s; i < s.size().
// A lead byte without a trail byte after it stands alone.
inline std::size_t cp932CharLength(std::string_view s, std::size_t i)
{
    if (isCp932Lead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()
        && isCp932Trail(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

// The longest prefix of s of at most limit bytes that ends on a character
// boundary (never between a lead byte and its trail byte).
std::string_view cp932Prefix(std::string_view s, std::size_t limit);

// s decodes as code page 932 without error in the C library's converter:
// well-formed pairs that name assigned characters. A UTF-8 Japanese line is
// often well-formed Shift-JIS by byte ranges alone, rarely by this test.
bool isDecodableCp932(std::string_view s);

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s);

bool hasNonAscii(std::string_view s);

// UTF-8 to code page 932 through the C library's converter. A character
// without a CP932 form, and any malformed UTF-8 sequence, becomes the geta
// mark "〓" (0x81 0xAC). A leading byte-order mark is dropped.
std::string utf8ToCp932(std::string_view utf8);

// UTF-16 (what Windows Notepad saves as "Unicode") to code page 932, by the
// same rules as utf8ToCp932: a character without a CP932 form, an unpaired
// surrogate and an odd last byte each become one "〓". A leading
// byte-order mark is dropped.
std::string utf16ToCp932(std::string_view utf16, bool bigEndian);

} // namespace corvane
