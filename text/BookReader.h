// The one way a book comes in, whatever route it takes (corvane.txt, the
// saved source, the file named on the command line, a dropped file): its
// bytes are taken from the file system in one place (readBookBytes), and
// turned into the program's CP932 text by one pure function (textFromBytes):
// the encoding is recognised first, then the decoded text is checked for
// binary content and size. Only what a route does with a refusal differs.
//
// Paths are the file system's own bytes, never a decoded name: a file whose
// name is no valid UTF-8 (Shift-JIS names from Japanese ZIP archives) must
// open all the same.
//
// Pure standard C++ plus POSIX calls and the C library's converter; no Qt,
// so a fuzz target can include the .cpp directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

// Why a file is not taken as a text; None when it was read.
enum class Refusal {
    None,
    Missing,    // no such file
    Folder,     // a folder
    NotRegular, // a device, a pipe or a socket
    TooLarge,   // over kMaxTextFileBytes, also when it grew while it was read
    Unreadable, // no permission, or the read failed
    Binary,     // a NUL character within the first kBinaryProbeBytes of the text
    Cancelled,  // the reader asked for another book while this one was read
    // A ZIP archive whose text cannot be taken (text/ZipText.h):
    ZipDamaged,
    ZipEncrypted,
    ZipNoText,
    ZipTooLarge,
    ZipRatio,
};

// The longest Aozora novels are a few MiB; beyond this a file is no book and
// would only fill the memory with rows.
inline constexpr std::size_t kMaxTextFileBytes = std::size_t(64) << 20;
// Text never holds NUL; binary formats put one in their first block.
inline constexpr std::size_t kBinaryProbeBytes = 4096;

// The form a text file is written in. A UTF-16 byte-order mark (either
// order) or a UTF-8 one decides; without one, a text that is valid UTF-8
// with non-ASCII bytes but does not decode as CP932 is UTF-8, any other is
// CP932. A CP932 text never starts with 0xFE or 0xFF, which are not CP932.
enum class TextEncoding { Cp932, Utf8, Utf16Le, Utf16Be };
TextEncoding detectTextEncoding(std::string_view raw);

// The bytes of a text file as the program takes them, converted to CP932
// when it is UTF-8 or UTF-16 (fromUtf8 tells whether it was UTF-8), with
// everything from the first end-of-text character 0x1A on dropped.
std::string decodeTextFile(std::string_view raw, bool *fromUtf8 = nullptr);

struct BookBytes
{
    Refusal refusal = Refusal::None;
    std::string bytes; // the file's bytes as stored; empty when refused
};

// Told after every block read: the bytes read so far and the file's size
// when the read began. Returning false stops the read (Refusal::Cancelled).
using ReadProgress = std::function<bool(std::size_t done, std::size_t size)>;

// The file's bytes. Only a regular file is read (the open never blocks on a
// pipe), and never more than kMaxTextFileBytes + 1 bytes, whatever the file
// does while it is read.
BookBytes readBookBytes(const std::string &path, const ReadProgress &progress = {});

struct TextFile
{
    Refusal refusal = Refusal::None;
    bool fromUtf8 = false; // converted from UTF-8
    std::string bytes;     // CP932; empty when refused
};

// The stored bytes of a book as the program's text, or why they are none.
TextFile textFromBytes(std::string raw);

// readBookBytes, then textFromBytes.
TextFile readTextFile(const std::string &path, const ReadProgress &progress = {});

} // namespace corvane
