// CP932 (Shift-JIS) bytes to Unicode, for drawing only. The rest of the
// program counts and compares bytes; the picture is the one place that needs
// code points, so decoding lives here and nowhere else (the loader's
// conversions of other encodings into CP932 are text/Cp932Convert.h's).
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace corvane {

// One character of a row: its code point and whether it took two bytes
// (a double-byte character stands upright in a vertical column; a single-byte
// one lies on its side).
struct Cp932Char
{
    char32_t code;
    bool doubleByte;
};

// Drawn in place of a byte sequence the code page does not define, as the
// platform's own conversion does for CP932.
inline constexpr char32_t kCp932DefaultChar = U'\u30FB';

// Decodes CP932 through the C library's "CP932" converter. The whole code page
// is read into a table once, so decoding a row is a lookup per character.
class Cp932Decoder
{
public:
    Cp932Decoder();

    // False when the C library has no CP932 converter; every character then
    // decodes to kCp932DefaultChar except plain ASCII.
    bool isValid() const { return m_valid; }

    char32_t single(uint8_t b) const { return m_single[b]; }
    char32_t pair(uint8_t lead, uint8_t trail) const;

    // Characters are cut as the editor cuts them (text/Cp932.h): a pair the
    // code page leaves undefined stands upright as one undefined character,
    // a lead byte with nothing after it alone and on its side. Control characters (below 0x20
    // and 0x7F) draw nothing and are left out.
    std::vector<Cp932Char> decodeRow(std::string_view bytes) const;

private:
    bool m_valid = false;
    char32_t m_single[256];
    std::vector<char16_t> m_double; // 60 lead bytes x 256 trail bytes
};

} // namespace corvane
