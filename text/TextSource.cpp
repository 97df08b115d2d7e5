#include "text/TextSource.h"

#include "text/BookPath.h"
#include "text/Cp932Convert.h"
#include "text/ZipText.h"

#include <QFile>
#include <sys/stat.h>

namespace corvane {

namespace {

std::string textFilePath(const std::string &directory)
{
    return directory.empty() ? std::string(kTextFileName)
                             : directory + '/' + std::string(kTextFileName);
}

} // namespace

FileAccess realFileAccess()
{
    return FileAccess{
            [](const std::string &path) {
                struct stat st;
                return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
            },
            [](const std::string &path) { return readBookBytes(path); },
    };
}

TextFile readTextFile(const std::string &path, const FileAccess &files)
{
    BookBytes book = files.read(path);
    if (book.refusal != Refusal::None)
        return TextFile{book.refusal, false, {}};
    return textFromBytes(std::move(book.bytes));
}

namespace {

// Why a book is refused, as the message's sentence ends; %1 is the limit.
struct RefusalText
{
    Refusal refusal;
    const char *text;
    std::size_t limit;
};

// clang-format off
constexpr RefusalText kRefusalTexts[] = {
    {Refusal::Missing,      "it does not exist", 0},
    {Refusal::Folder,       "it is a folder, not a file", 0},
    {Refusal::NotRegular,   "it is a device or a pipe, not a file", 0},
    {Refusal::TooLarge,     "it is larger than %1 MiB", kMaxTextFileBytes >> 20},
    {Refusal::Unreadable,   "it cannot be read (no permission, or a read error)", 0},
    {Refusal::Binary,       "it holds NUL characters in its first %1 KiB, so it is no plain text", kBinaryProbeBytes / 1024},
    {Refusal::ZipDamaged,   "it is a damaged ZIP archive", 0},
    {Refusal::ZipEncrypted, "the text in this ZIP archive is encrypted", 0},
    {Refusal::ZipNoText,    "this ZIP archive holds no .txt file", 0},
    {Refusal::ZipTooLarge,  "the text in this ZIP archive is larger than %1 MiB", kMaxZipTextBytes >> 20},
    {Refusal::ZipRatio,     "the text in this ZIP archive is compressed more than %1 to 1, which no book is", kMaxZipRatio},
};
// clang-format on

} // namespace

QString refusalReason(Refusal refusal)
{
    for (const RefusalText &r : kRefusalTexts)
        if (r.refusal == refusal) {
            const QString text = QString::fromLatin1(r.text);
            return r.limit ? text.arg(qulonglong(r.limit)) : text;
        }
    return QString(); // None and Cancelled tell the user nothing
}

QString refusalMessage(const std::string &path, Refusal refusal)
{
    return QStringLiteral("\u201C%1\u201D cannot be read as a text: %2.")
            .arg(displayPath(path), refusalReason(refusal));
}

std::string passageBytes(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCp932(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

SavedSourceCheck checkSavedSource(bool keep, bool fileIn, const std::string &fileName, int page,
                                  const FileAccess &files)
{
    SavedSourceCheck c{fileIn, page, false};
    if (!keep || !fileIn)
        return c;
    if (fileName == "Clipboard" || fileName.empty() || fileName == "Corvane") {
        c.fileIn = false;
    } else if (files.isFile(fileName)) {
        c.samePage = true;
    } else {
        c.fileIn = false;
        c.page = 1;
    }
    return c;
}

std::optional<std::string> readFileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return data.toStdString();
}

std::optional<std::string> loadTextFile(const QString &path)
{
    TextFile t = readTextFile(QFile::encodeName(path).toStdString());
    if (t.refusal != Refusal::None)
        return std::nullopt;
    return std::move(t.bytes);
}

StartupText chooseStartupText(bool keep, bool fileIn, const std::string &savedName,
                              const std::string &directory, const FileAccess &files)
{
    StartupText t;
    if (keep && fileIn) {
        TextFile saved = readTextFile(savedName, files);
        t.normalise = true;
        if (saved.refusal == Refusal::None) {
            t.origin = TextOrigin::Saved;
            t.fromUtf8 = saved.fromUtf8;
            t.bytes = std::move(saved.bytes);
            return t;
        }
        // Its page belonged to the saved book: the default text starts afresh.
        t.savedRefused = saved.refusal;
        t.fromPageOne = true;
    }

    if (keep) {
        t.normalise = true;
        // Read by the same rules as any book; what is refused gives the
        // built-in text, as a missing file does.
        TextFile file = readTextFile(textFilePath(directory), files);
        if (file.refusal == Refusal::None) {
            t.origin = TextOrigin::File;
            t.fromUtf8 = file.fromUtf8;
            t.bytes = std::move(file.bytes);
            return t;
        }
    } else {
        t.fromPageOne = true;
    }
    t.origin = TextOrigin::BuiltIn;
    t.bytes = builtinTextBytes();
    return t;
}

std::string builtinTextBytes()
{
    // Compiled in, so it cannot fail short of a broken build.
    return readFileBytes(QStringLiteral(":/builtin-text.txt")).value_or(std::string());
}

} // namespace corvane
