// Normalisation of a loaded text before it is wrapped: tabs become four
// ideographic spaces, ≪ ≫ become 《 》 and the full-width colon becomes
// " : ". Matching happens only where a character starts, so the trail byte
// of one character and the lead byte of the next never pass for a pattern
// (源氏箙 holds 0x81 0xE2 across two characters and must stay intact).
#pragma once
#include <array>
#include <string>
#include <string_view>

namespace corvane {

struct Replacement
{
    std::string_view find;
    std::string_view with;
};

// The four replacements, in the order they are applied. None of the
// replacements contains a pattern, and each pattern is a whole character,
// so applying them together in one pass gives the same text as applying
// them one after another.
inline constexpr std::array<Replacement, 4> kNormalisation{{
        {"\x09", "\x81\x40\x81\x40\x81\x40\x81\x40"}, // tab -> "　　　　"
        {"\x81\xE1", "\x81\x73"},                     // ≪ -> 《
        {"\x81\xE2", "\x81\x74"},                     // ≫ -> 》
        {"\x81\x46", " : "},                          // ： -> " : "
}};

// All of kNormalisation in one linear pass over text (CP932 bytes, lines
// joined with any line breaks; a line break always starts a character).
std::string normaliseText(std::string_view text);

// The length of normaliseText(text), without building it.
std::size_t normalisedLength(std::string_view text);

// True when normaliseText would change nothing.
bool isNormalised(std::string_view text);

} // namespace corvane
