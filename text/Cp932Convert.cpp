#include "text/Cp932Convert.h"

#include <cerrno>
#include <iconv.h>

namespace corvane {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kGeta = "\x81\xAC"; // 〓

// Owns one conversion descriptor for the length of a call.
class Converter
{
public:
    Converter(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (ok())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Length of the UTF-8 sequence that starts at i, 1 when it is malformed, so
// that a converter error skips exactly one character or one bad byte.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        len = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0)
            lo = 0xA0;
        else if (b == 0xED)
            hi = 0x9F; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else
        return 0;
    if (i + len > s.size())
        return 0;
    if (at(i + 1) < lo || at(i + 1) > hi)
        return 0;
    for (std::size_t k = 2; k < len; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return len;
}

} // namespace

bool isDecodableCp932(std::string_view s)
{
    Converter cv("UTF-16LE", "CP932");
    if (!cv.ok())
        return false;
    char *in = const_cast<char *>(s.data());
    std::size_t inLeft = s.size();
    char buf[4096];
    while (inLeft > 0) {
        char *out = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(cv.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)
            && errno != E2BIG)
            return false; // EILSEQ, or EINVAL for a lead byte at the very end
    }
    return true;
}

bool isValidUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8SequenceLength(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

bool hasNonAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

std::string utf8ToCp932(std::string_view utf8)
{
    if (utf8.substr(0, kBom.size()) == kBom)
        utf8.remove_prefix(kBom.size());

    std::string result;
    result.reserve(utf8.size());
    Converter cv("CP932", "UTF-8");
    std::size_t pos = 0;
    char buf[4096];
    while (pos < utf8.size()) {
        // Hand the converter only well-formed runs: what glibc does with
        // malformed input is not ours to rely on.
        std::size_t end = pos;
        while (end < utf8.size() && utf8SequenceLength(utf8, end) != 0)
            end += utf8SequenceLength(utf8, end);

        char *in = const_cast<char *>(utf8.data() + pos);
        std::size_t inLeft = end - pos;
        while (inLeft > 0) {
            char *out = buf;
            std::size_t outLeft = sizeof buf;
            const std::size_t rc = cv.ok() ? iconv(cv.get(), &in, &inLeft, &out, &outLeft)
                                           : static_cast<std::size_t>(-1);
            result.append(buf, out - buf);
            if (rc == static_cast<std::size_t>(-1) && (!cv.ok() || errno != E2BIG)) {
                // No CP932 form for this character: one geta for it.
                const std::size_t at = in - utf8.data();
                const std::size_t skip = utf8SequenceLength(utf8, at);
                result += kGeta;
                in += skip;
                inLeft -= skip;
            }
        }
        pos = end;
        if (pos < utf8.size()) {
            result += kGeta; // one malformed byte
            ++pos;
        }
    }
    return result;
}

std::string utf16ToCp932(std::string_view utf16, bool bigEndian)
{
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(utf16[i]);
        const auto b = static_cast<unsigned char>(utf16[i + 1]);
        return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
    };
    // Through UTF-8, so that both Unicode forms share one conversion and one
    // rule for what cannot be converted; 0xFF is never part of UTF-8 and so
    // stands for one malformed unit.
    std::string utf8;
    utf8.reserve(utf16.size() / 2 * 3);
    const auto put = [&](char32_t c) {
        if (c < 0x80) {
            utf8 += char(c);
        } else if (c < 0x800) {
            utf8 += char(0xC0 | (c >> 6));
            utf8 += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += char(0xE0 | (c >> 12));
            utf8 += char(0x80 | ((c >> 6) & 0x3F));
            utf8 += char(0x80 | (c & 0x3F));
        } else {
            utf8 += char(0xF0 | (c >> 18));
            utf8 += char(0x80 | ((c >> 12) & 0x3F));
            utf8 += char(0x80 | ((c >> 6) & 0x3F));
            utf8 += char(0x80 | (c & 0x3F));
        }
    };
    std::size_t i = 0;
    if (utf16.size() >= 2 && unit(0) == 0xFEFF)
        i = 2;
    for (; i + 1 < utf16.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < utf16.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                put(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF)
            utf8 += '\xFF';
        else
            put(u);
    }
    if (i < utf16.size())
        utf8 += '\xFF'; // half a unit at the end
    return utf8ToCp932(utf8);
}

} // namespace corvane
