// A profile (INI) file read and written the way older settings files expect:
// sections and keys found without regard to case, the first of duplicates
// wins, values passed through as raw code page 932 bytes, and every write
// replaces the file atomically so a crash or a full disk during a save never
// leaves a truncated file behind (unless the folder allows no new file; see
// writeFileAtomically). Only regular files of a bounded size are
// read, so a FIFO or a device put in the file's place cannot hang or
// exhaust the program.
//
// Pure standard C++ plus POSIX file calls; no Qt, so a fuzz target can
// include the .cpp directly.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

class IniProfile
{
public:
    // Longest value a read returns, in bytes (a 2048-byte buffer with its NUL).
    static constexpr std::size_t kMaxValueBytes = 2047;
    // Largest file read, in bytes. A real settings file is a few KiB; past
    // this it is something else and counts as unreadable.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    explicit IniProfile(std::string path)
        : m_path(std::move(path))
    {
    }

    const std::string &path() const { return m_path; }

    // The value of Key in Section, or Default when the file, the section or
    // the key is missing (or the file cannot be read). "Key=" gives "".
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // The value of Key in Section, or nullopt when it is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // Sets Key in Section to Value, creating the file and the section as
    // needed, and replaces the file on disk at once. Returns false, leaving
    // the previous file byte for byte as it was, when the file cannot be read
    // or the new one cannot be written, or when Section or Key cannot be
    // stored (empty, or holding a line break, "]" in a section, "=" in a key).
    // A value is stored up to its first line break so it cannot add lines.
    // On failure *whyNot, when given, says what went wrong in English.
    bool write(std::string_view section, std::string_view key, std::string_view value,
               std::string *whyNot = nullptr) const;

    // --- the codec, on file contents held in memory ---------------------------

    // Looks Key up in Section of the given file contents.
    static std::optional<std::string> lookup(std::string_view content, std::string_view section,
                                             std::string_view key);

    // The file contents after setting Key in Section to Value: an existing key
    // is rewritten in place keeping the file's own spelling of it, a new key
    // goes after the last key of its section, a new section is appended as
    // "[section]" CR LF "key=value" CR LF. nullopt when the names are unusable.
    static std::optional<std::string> assign(std::string_view content, std::string_view section,
                                             std::string_view key, std::string_view value);

    // Name comparison used for sections and keys: ASCII letters match without
    // regard to case; double-byte characters (code page 932) match exactly,
    // so a trail byte that happens to be a letter is never folded.
    static bool namesEqual(std::string_view a, std::string_view b);

private:
    std::string m_path;
};

// A settings file read once, for many lookups from memory: each find gives
// what IniProfile::lookup gives on the file's contents (a start-up reads
// about a hundred items). The reader names the sections it will ask for;
// only their lines are kept, and their headers indexed. The file is read in
// pieces and only lines that open with '[' are looked at, so a file grown to
// the size limit with foreign sections or keys costs one pass over its
// bytes, not a copy of them or a name per line. An item of a section not
// named is still found, by a read of the whole file.
class IniIndex
{
public:
    // A file that cannot be read (missing, not a regular file, over the
    // size limit) answers every find with nothing.
    IniIndex(std::string path, const std::vector<std::string> &sections);
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

private:
    void takeLines(std::string_view lines, std::size_t lineStart);
    bool named(std::size_t hash) const;
    bool namedShape(std::size_t shape) const;

    std::string m_path;
    bool m_readable = false;
    std::vector<std::size_t> m_named;       // hashes of the named sections, sorted
    std::vector<std::size_t> m_namedShapes; // their names' lengths and first bytes, sorted
    std::string m_kept;                     // the named sections' lines, as they stand
    bool m_keeping = false;                 // the lines being read belong in m_kept
    // The first header of each named section present, with the hash of its
    // name as namesEqual sees it, and its line's offset in m_kept.
    std::vector<std::pair<std::size_t, std::size_t>> m_sections;
};

// Whole-file helpers used by IniProfile; exposed for tests.
enum class FileReadResult { Ok, Missing, Failed };
// Reads a regular file of at most IniProfile::kMaxFileBytes. Anything else
// (a FIFO, a device, a folder, a larger file, a read error) is Failed, and
// the open never blocks. On failure *why, when given, says why in English.
FileReadResult readWholeFile(const std::string &path, std::string &content,
                             std::string *why = nullptr);
// The same file rules, with the bytes handed over in pieces of at most
// 64 KiB as they are read instead of kept.
FileReadResult readFileInPieces(const std::string &path,
                                const std::function<void(std::string_view)> &take,
                                std::string *why = nullptr);

// Replaces the file at Path with Content: a temporary file in the same folder,
// flushed to disk, renamed over the old one. A symbolic link is followed, so
// the file it points to is replaced, not the link. An existing file keeps its
// permission bits; a new one gets 0666 less the umask. A file that is not
// writable (read-only bits, not a regular file) is refused. On failure the
// temporary file is removed and the old file is untouched.
// When the folder refuses the temporary file but the file itself is writable
// (a read-only folder holding a writable settings file), the file is
// rewritten in place instead: room for the new size is claimed first, so a
// full disk still leaves the old file whole, but unlike the replacement an
// interrupted in-place write can leave a mixture.
bool writeFileAtomically(const std::string &path, std::string_view content,
                         std::string *whyNot = nullptr);

// Called, when set, the moment writeFileAtomically has created its
// temporary file and before it locks it: the seam where a test lets a second
// copy's start-up cleanup run.
extern void (*temporaryCreatedHook)(const std::string &temp);

// Name of the temporary files writeFileAtomically makes for Path: Path
// followed by "." and six letters or digits.
bool isTemporaryNameFor(std::string_view fileName, std::string_view baseName);

// Removes the temporary files that earlier runs, killed in the middle of a
// save, left beside the file at Path (after following a link, as the
// writer does). Only regular files named by isTemporaryNameFor are touched,
// and none that a running save still holds. Returns how many were removed.
std::size_t removeStaleTemporaries(const std::string &path);

} // namespace corvane
