// What the loader needs to take a text in other encodings: tests that tell
// UTF-8 from code page 932, and conversions into code page 932 through the
// C library's converter. Where characters begin and end is text/Cp932.h's.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

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
