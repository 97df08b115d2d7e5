// A profile (INI) file read and written the way older settings files expect:
// sections and keys found without regard to case, the first of duplicates
// wins, values passed through as raw code page 932 bytes, and every write
// replaces the file atomically so a crash or a full disk during a save never
// leaves a truncated file behind.
//
// Pure standard C++ plus POSIX file calls; no Qt, so a fuzz target can
// include the .cpp directly.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class IniProfile
{
public:
    // Longest value a read returns, in bytes (a 2048-byte buffer with its NUL).
    static constexpr std::size_t kMaxValueBytes = 2047;

    explicit IniProfile(std::string path) : m_path(std::move(path)) {}

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
    bool write(std::string_view section, std::string_view key, std::string_view value) const;

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

// Whole-file helpers used by IniProfile; exposed for tests.
enum class FileReadResult { Ok, Missing, Failed };
FileReadResult readWholeFile(const std::string &path, std::string &content);

// Replaces the file at Path with Content: a temporary file in the same folder,
// flushed to disk, renamed over the old one. A symbolic link is followed, so
// the file it points to is replaced, not the link. An existing file keeps its
// permission bits; a new one gets 0666 less the umask. A file that is not
// writable (read-only bits, not a regular file) is refused. On failure the
// temporary file is removed and the old file is untouched.
bool writeFileAtomically(const std::string &path, std::string_view content);

} // namespace corvane
