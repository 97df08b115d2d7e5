#include "text/Normalise.h"

#include "text/Cp932.h"

namespace corvane {

namespace {

// Calls onMatch(offset, length, replacement) for each pattern of the table
// that starts at a character boundary, left to right, until it returns
// false. The table is fixed, so the scan tests its four characters
// directly: a tab among the single bytes, and 0x81 with the second byte of
// the others.
template<class OnMatch>
void scanPatterns(std::string_view text, OnMatch onMatch)
{
    static_assert(kNormalisation[0].find == "\x09" && kNormalisation[1].find == "\x81\xE1"
                  && kNormalisation[2].find == "\x81\xE2" && kNormalisation[3].find == "\x81\x46");
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            if (b == 0x09 && !onMatch(i, 1, kNormalisation[0].with))
                return;
            ++i;
        } else if (cp932CharLength(text, i) == 2) {
            if (b == 0x81) {
                const unsigned char t = bytes[i + 1];
                const int row = t == 0xE1 ? 1 : t == 0xE2 ? 2 : t == 0x46 ? 3 : 0;
                if (row != 0 && !onMatch(i, 2, kNormalisation[std::size_t(row)].with))
                    return;
            }
            i += 2;
        } else {
            ++i;
        }
    }
}

} // namespace

std::string normaliseText(std::string_view text)
{
    std::string out;
    // Most texts have few tabs; a tab grows by seven bytes.
    out.reserve(text.size() + text.size() / 16);
    std::size_t copied = 0; // text[copied..at) is still to be appended
    scanPatterns(text, [&](std::size_t at, std::size_t len, std::string_view with) {
        out.append(text, copied, at - copied);
        out += with;
        copied = at + len;
        return true;
    });
    out.append(text, copied, text.size() - copied);
    return out;
}

std::size_t normalisedLength(std::string_view text)
{
    std::size_t length = text.size();
    scanPatterns(text, [&](std::size_t, std::size_t len, std::string_view with) {
        length += with.size() - len;
        return true;
    });
    return length;
}

bool isNormalised(std::string_view text)
{
    bool clean = true;
    scanPatterns(text, [&](std::size_t, std::size_t, std::string_view) { return clean = false; });
    return clean;
}

} // namespace corvane
