// Reads glibc's CP932 converter into a lookup table.
#include "writing/Cp932Decoder.h"

#include "text/Cp932.h"

#include <cerrno>
#include <iconv.h>

namespace corvane {
namespace {

constexpr int leadIndex(uint8_t lead)
{
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
}

// Converts one character's bytes; 0 when the code page leaves it undefined or
// maps it outside the Basic Multilingual Plane (CP932 never does).
char32_t convertOne(iconv_t cd, const char *bytes, size_t length)
{
    char in[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
    char16_t out[4] = {};
    char *inPtr = in;
    size_t inLeft = length;
    char *outPtr = reinterpret_cast<char *>(out);
    size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == size_t(-1) || inLeft != 0 || outLeft != sizeof out - 2)
        return 0;
    return out[0];
}

} // namespace

Cp932Decoder::Cp932Decoder()
    : m_double(60 * 256, char16_t(kCp932DefaultChar))
{
    for (int b = 0; b < 256; ++b)
        m_single[b] = b < 0x80 ? char32_t(b) : kCp932DefaultChar;

    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd == iconv_t(-1))
        return;
    m_valid = true;
    for (int b = 0x80; b < 256; ++b) {
        if (isLeadByte(uint8_t(b)))
            continue;
        const char c = char(b);
        if (char32_t u = convertOne(cd, &c, 1))
            m_single[b] = u;
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(uint8_t(lead)))
            continue;
        // Pairs with other second bytes stay undefined without asking the converter.
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (!isAssignedTrailByte(uint8_t(trail)))
                continue;
            const char pairBytes[2] = {char(lead), char(trail)};
            if (char32_t u = convertOne(cd, pairBytes, 2))
                m_double[leadIndex(uint8_t(lead)) * 256 + trail] = char16_t(u);
        }
    }
    iconv_close(cd);
}

char32_t Cp932Decoder::pair(uint8_t lead, uint8_t trail) const
{
    if (!isLeadByte(lead))
        return kCp932DefaultChar;
    return m_double[leadIndex(lead) * 256 + trail];
}

std::vector<Cp932Char> Cp932Decoder::decodeRow(std::string_view bytes) const
{
    std::vector<Cp932Char> out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t b = uint8_t(bytes[i]);
        if (cp932CharLength(bytes, i) == 2) {
            out.push_back({pair(b, uint8_t(bytes[i + 1])), true});
            ++i;
            continue;
        }
        if (isLeadByte(b)) { // with nothing after it
            out.push_back({kCp932DefaultChar, false});
            continue;
        }
        if (b < 0x20 || b == 0x7F)
            continue;
        out.push_back({single(b), false});
    }
    return out;
}

} // namespace corvane
