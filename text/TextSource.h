// Which text a run writes, and its bytes: corvane.txt in the current
// directory or the built-in statement, chosen once at start-up by "Keep"
// and the saved source fields. Text files saved as UTF-8 are converted to
// code page 932 here, so everything after this point sees CP932 bytes.
#pragma once
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr char kTextFileName[] = "corvane.txt";
inline constexpr char kProductName[] = "Corvane"; // picture hint and status line

// The saved source fields after validation. samePage is set only when the
// saved name designates an existing file; otherwise FSamePage is left alone.
struct SavedSourceCheck
{
    bool fileIn = false; // FFileIn
    int page = 1;        // FPage
    bool samePage = false;
};

// How files are looked at; tests replace it to reach the failure paths.
struct FileAccess
{
    std::function<bool(const QString &)> isFile;
    std::function<std::optional<std::string>(const QString &)> read;
};
FileAccess realFileAccess();

// Validates FFileIn / FFileName, which only matters with "Keep" on and
// FFileIn set. "Clipboard", "Corvane" and the empty name never designate a
// file and keep the stored page; a name that is no file resets to page 1.
SavedSourceCheck checkSavedSource(bool keep, bool fileIn, const QString &fileName, int page,
                                  const FileAccess &files = realFileAccess());

enum class TextOrigin {
    None,    // "Keep" on and a saved source still in use: nothing is loaded
    File,    // corvane.txt
    BuiltIn, // the built-in statement
};

struct StartupText
{
    TextOrigin origin = TextOrigin::None;
    bool normalise = false;   // run the normalisation before paging ("Keep" on)
    bool fromPageOne = false; // FPage := 1 ("Keep" off)
    bool fromUtf8 = false;    // the file was converted from UTF-8
    std::string bytes;        // CP932, lines ended by CR LF / CR / LF
};

// The text the start-up load puts into the editor. fileIn is FFileIn after
// checkSavedSource. directory is where corvane.txt is looked for (empty:
// the current directory). A corvane.txt that is no file, or that cannot be
// read, gives the built-in text.
StartupText chooseStartupText(bool keep, bool fileIn, const QString &directory = QString(),
                              const FileAccess &files = realFileAccess());

// Raw bytes of a file; nullopt when it cannot be opened or read.
std::optional<std::string> readFileBytes(const QString &path);

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

// Read and decode a text file; nullopt when it cannot be read.
std::optional<std::string> loadTextFile(const QString &path, bool *fromUtf8 = nullptr,
                                        const FileAccess &files = realFileAccess());

// The built-in statement, CP932 with CR LF line ends.
std::string builtinTextBytes();

} // namespace corvane
