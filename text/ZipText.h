// The text file inside a ZIP archive, as Aozora Bunko distributes its books:
// read in memory through libzip, never extracted to disk. The largest .txt
// entry is the book (an archive may also hold pictures or a second, smaller
// text). What cannot safely be read is refused with its reason.
#pragma once
#include <string>
#include <string_view>

namespace corvane {

enum class ZipRefusal {
    None,
    NotZip,    // no ZIP archive at all
    Damaged,   // unreadable directory, bad data or checksum
    Encrypted, // the text is encrypted
    NoText,    // no .txt entry
    TooLarge,  // the text is over kMaxZipTextBytes uncompressed
    Ratio,     // compressed more than kMaxZipRatio to one: a ZIP bomb, not a book
};

inline constexpr std::size_t kMaxZipTextBytes = std::size_t(64) << 20;
inline constexpr std::size_t kMaxZipRatio = 100;

struct ZipText
{
    ZipRefusal refusal = ZipRefusal::None;
    std::string bytes; // the entry's bytes as stored (not yet decoded)
};

// True when bytes start like a ZIP archive (a local file header, or the end
// record of an empty archive).
bool looksLikeZip(std::string_view bytes);

// The largest .txt entry of the archive held in archive.
ZipText textFromZip(std::string_view archive);

} // namespace corvane
