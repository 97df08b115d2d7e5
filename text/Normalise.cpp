#include "text/Normalise.h"

#include "text/Cp932Bytes.h"

namespace corvane {

namespace {

// The replacement for the character of length len at text[i], or nullptr.
const Replacement *matchAt(std::string_view text, std::size_t i, std::size_t len)
{
    for (const Replacement &r : kNormalisation)
        if (r.find.size() == len && text.compare(i, len, r.find) == 0)
            return &r;
    return nullptr;
}

} // namespace

std::string replaceAll(std::string_view text, std::string_view find, std::string_view with)
{
    if (find.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, find.size(), find) == 0) {
            out += with;
            i += find.size();
            continue;
        }
        const std::size_t n = cp932CharLength(text, i);
        out.append(text, i, n);
        i += n;
    }
    return out;
}

std::string normaliseText(std::string_view text)
{
    std::string out;
    // Most texts have few tabs; a tab grows by seven bytes.
    out.reserve(text.size() + text.size() / 16);
    std::size_t copied = 0; // text[copied..i) is still to be appended
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = cp932CharLength(text, i);
        if (const Replacement *r = matchAt(text, i, n)) {
            out.append(text, copied, i - copied);
            out += r->with;
            copied = i + n;
        }
        i += n;
    }
    out.append(text, copied, text.size() - copied);
    return out;
}

bool isNormalised(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = cp932CharLength(text, i);
        if (matchAt(text, i, n))
            return false;
        i += n;
    }
    return true;
}

} // namespace corvane
