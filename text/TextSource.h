// Which text a run writes, and its bytes: a book the reader chose (the saved
// source, a dropped file, the file named on the command line), corvane.txt
// in the current directory or the built-in statement. Text files saved as
// UTF-8 are converted to code page 932 here, so everything after this point
// sees CP932 bytes. What is no readable text is refused with its reason.
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

// What the file system says about a name before anything is read.
struct FileFacts
{
    bool exists = false;
    bool folder = false;
    bool regular = false; // a plain file (a device or a pipe could block the read)
    qint64 size = 0;      // bytes
};

// How files are looked at; tests replace it to reach the failure paths.
struct FileAccess
{
    std::function<bool(const QString &)> isFile;
    std::function<std::optional<std::string>(const QString &)> read;
    std::function<FileFacts(const QString &)> facts;
};
FileAccess realFileAccess();

// Validates FFileIn / FFileName, which only matters with "Keep" on and
// FFileIn set. "Clipboard", "Corvane" and the empty name never designate a
// file and keep the stored page; a name that is no file resets to page 1.
SavedSourceCheck checkSavedSource(bool keep, bool fileIn, const QString &fileName, int page,
                                  const FileAccess &files = realFileAccess());

// Why a file is not taken as a text; None when it was read.
enum class Refusal {
    None,
    Missing,    // no such file
    Folder,     // a folder
    NotRegular, // a device, a pipe or a socket
    TooLarge,   // over kMaxTextFileBytes
    Unreadable, // no permission, or the read failed
    Binary,     // a NUL byte within the first kBinaryProbeBytes
    // A ZIP archive whose text cannot be taken (text/ZipText.h):
    ZipDamaged,
    ZipEncrypted,
    ZipNoText,
    ZipTooLarge,
    ZipRatio,
};

// The longest Aozora novels are a few MiB; beyond this a file is no book and
// would only fill the memory with rows.
inline constexpr qint64 kMaxTextFileBytes = qint64(64) << 20;
// Text never holds NUL; binary formats put one in their first block.
inline constexpr std::size_t kBinaryProbeBytes = 4096;

struct TextFile
{
    Refusal refusal = Refusal::None;
    bool fromUtf8 = false; // converted from UTF-8
    std::string bytes;     // CP932 as decodeTextFile gives it; empty when refused
};

// Reads a file the reader chose as a text, refusing what is not one. A ZIP
// archive gives its largest .txt entry, read in memory.
TextFile readTextFile(const QString &path, const FileAccess &files = realFileAccess());

// The reason in words, completing "… cannot be read as a text: ".
QString refusalReason(Refusal refusal);
// The message box text naming the file and the reason.
QString refusalMessage(const QString &path, Refusal refusal);

// A passage dropped as text (Unicode) in CP932; characters without a CP932
// form become the geta mark.
std::string passageBytes(const QString &text);

// FFileName holds a path as the file system spells it (UTF-8 on Linux).
QString pathFromStored(const std::string &stored);
std::string storedPath(const QString &path);

enum class TextOrigin {
    Saved,   // the saved source FFileName, "Keep" on and FFileIn set
    File,    // corvane.txt
    BuiltIn, // the built-in statement
};

struct StartupText
{
    TextOrigin origin = TextOrigin::BuiltIn;
    bool normalise = false;               // run the normalisation before paging ("Keep" on)
    bool fromPageOne = false;             // FPage := 1 ("Keep" off, or a refused saved source)
    bool fromUtf8 = false;                // the file was converted from UTF-8
    Refusal savedRefused = Refusal::None; // why the saved source was not read
    std::string bytes;                    // CP932, lines ended by CR LF / CR / LF
};

// The text the start-up load puts into the editor. fileIn is FFileIn after
// checkSavedSource, savedName FFileName. With "Keep" on and fileIn set the
// saved source is read as corvane.txt is; when it is refused (savedRefused)
// the default source is used from page 1, as for a saved name that is gone.
// directory is where corvane.txt is looked for (empty: the current
// directory). A corvane.txt that is no file, or that cannot be read, gives
// the built-in text.
StartupText chooseStartupText(bool keep, bool fileIn, const QString &savedName,
                              const QString &directory = QString(),
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
