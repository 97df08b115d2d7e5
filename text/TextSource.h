// Which text a run writes, and its bytes: a book the reader chose (the saved
// source, a dropped file, the file named on the command line), corvane.txt
// in the current directory or the built-in statement. Text files saved as
// UTF-8 or UTF-16 are converted to code page 932 by the reader
// (text/BookReader.h), so everything after this point sees CP932 bytes.
#pragma once
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/BookReader.h"

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

// How books are read; tests replace it to reach the failure paths.
struct FileAccess
{
    std::function<bool(const std::string &)> isFile;
    std::function<BookBytes(const std::string &)> read;
};
FileAccess realFileAccess();

// Validates FFileIn / FFileName, which only matters with "Keep" on and
// FFileIn set. "Clipboard", "Corvane" and the empty name never designate a
// file and keep the stored page; a name that is no file resets to page 1.
SavedSourceCheck checkSavedSource(bool keep, bool fileIn, const std::string &fileName, int page,
                                  const FileAccess &files = realFileAccess());

// Reads a book through files (the real reader unless a test gives another).
// A ZIP archive gives its largest .txt entry, read in memory.
TextFile readTextFile(const std::string &path, const FileAccess &files);

// The reason in words, completing "… cannot be read as a text: ".
QString refusalReason(Refusal refusal);
// The message box text naming the file and the reason.
QString refusalMessage(const std::string &path, Refusal refusal);

// A passage dropped as text (Unicode) in CP932; characters without a CP932
// form become the geta mark.
std::string passageBytes(const QString &text);

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
StartupText chooseStartupText(bool keep, bool fileIn, const std::string &savedName,
                              const std::string &directory = std::string(),
                              const FileAccess &files = realFileAccess());

// Raw bytes of a resource or a small file; nullopt when it cannot be read.
std::optional<std::string> readFileBytes(const QString &path);

// A text file read as a book is, for the tools; nullopt when it is refused.
std::optional<std::string> loadTextFile(const QString &path);

// The built-in statement, CP932 with CR LF line ends.
std::string builtinTextBytes();

} // namespace corvane
