// The normalisation done the slow way, one replacement after another: what
// the one-pass normaliser must agree with.
#pragma once
#include <string>
#include <string_view>

#include "text/Cp932.h"

namespace corvane {

// Every occurrence of find that starts at a character boundary of text,
// replaced in one left-to-right pass. An empty find returns text unchanged.
inline std::string replaceAll(std::string_view text, std::string_view find, std::string_view with)
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

} // namespace corvane
