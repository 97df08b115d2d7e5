#include "text/TextSource.h"

#include "text/Cp932Convert.h"
#include "text/ZipText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char kEndOfText = 0x1A;

// The text before the first end-of-text character.
std::string_view cutAtEndOfText(std::string_view s)
{
    return s.substr(0, s.find(kEndOfText));
}

QString textFilePath(const QString &directory)
{
    const QString name = QString::fromLatin1(kTextFileName);
    return directory.isEmpty() ? name : QDir(directory).filePath(name);
}

Refusal refusalOf(ZipRefusal zip)
{
    switch (zip) {
    case ZipRefusal::None:
        return Refusal::None;
    case ZipRefusal::NotZip:
    case ZipRefusal::Damaged:
        return Refusal::ZipDamaged;
    case ZipRefusal::Encrypted:
        return Refusal::ZipEncrypted;
    case ZipRefusal::NoText:
        return Refusal::ZipNoText;
    case ZipRefusal::TooLarge:
        return Refusal::ZipTooLarge;
    case ZipRefusal::Ratio:
        return Refusal::ZipRatio;
    }
    return Refusal::ZipDamaged;
}

} // namespace

FileAccess realFileAccess()
{
    return FileAccess{
            [](const QString &path) { return QFileInfo(path).isFile(); },
            [](const QString &path) { return readFileBytes(path); },
            [](const QString &path) {
                const QFileInfo info(path);
                FileFacts f;
                f.exists = info.exists();
                f.folder = info.isDir();
                // Qt's isFile() is false for a device or a pipe, whose read may never end.
                f.regular = info.isFile();
                f.size = info.size();
                return f;
            },
    };
}

TextFile readTextFile(const QString &path, const FileAccess &files)
{
    TextFile t;
    const FileFacts facts = files.facts(path);
    if (!facts.exists)
        t.refusal = Refusal::Missing;
    else if (facts.folder)
        t.refusal = Refusal::Folder;
    else if (!facts.regular)
        t.refusal = Refusal::NotRegular;
    else if (facts.size > kMaxTextFileBytes)
        t.refusal = Refusal::TooLarge;
    if (t.refusal != Refusal::None)
        return t;

    std::optional<std::string> raw = files.read(path);
    if (raw && looksLikeZip(*raw)) {
        ZipText zip = textFromZip(*raw);
        t.refusal = refusalOf(zip.refusal);
        if (t.refusal != Refusal::None)
            return t;
        *raw = std::move(zip.bytes);
    }
    if (!raw)
        t.refusal = Refusal::Unreadable;
    else if (qint64(raw->size()) > kMaxTextFileBytes) // it grew since it was looked at
        t.refusal = Refusal::TooLarge;
    else if (std::string_view(*raw).substr(0, kBinaryProbeBytes).find('\0')
             != std::string_view::npos)
        t.refusal = Refusal::Binary;
    else
        t.bytes = decodeTextFile(*raw, &t.fromUtf8);
    return t;
}

QString refusalReason(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::Missing:
        return QStringLiteral("it does not exist");
    case Refusal::Folder:
        return QStringLiteral("it is a folder, not a file");
    case Refusal::NotRegular:
        return QStringLiteral("it is a device or a pipe, not a file");
    case Refusal::TooLarge:
        return QStringLiteral("it is larger than %1 MiB").arg(kMaxTextFileBytes >> 20);
    case Refusal::Unreadable:
        return QStringLiteral("it cannot be read (no permission, or a read error)");
    case Refusal::Binary:
        return QStringLiteral("it holds NUL bytes in its first %1 KiB, so it is no plain text")
                .arg(kBinaryProbeBytes / 1024);
    case Refusal::ZipDamaged:
        return QStringLiteral("it is a damaged ZIP archive");
    case Refusal::ZipEncrypted:
        return QStringLiteral("the text in this ZIP archive is encrypted");
    case Refusal::ZipNoText:
        return QStringLiteral("this ZIP archive holds no .txt file");
    case Refusal::ZipTooLarge:
        return QStringLiteral("the text in this ZIP archive is larger than %1 MiB")
                .arg(kMaxZipTextBytes >> 20);
    case Refusal::ZipRatio:
        return QStringLiteral("the text in this ZIP archive is compressed more than %1 to 1, "
                              "which no book is")
                .arg(kMaxZipRatio);
    }
    return QString();
}

QString refusalMessage(const QString &path, Refusal refusal)
{
    return QStringLiteral("\u201C%1\u201D cannot be read as a text: %2.")
            .arg(path, refusalReason(refusal));
}

std::string passageBytes(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return utf8ToCp932(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

QString pathFromStored(const std::string &stored)
{
    return QFile::decodeName(QByteArray::fromStdString(stored));
}

std::string storedPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

SavedSourceCheck checkSavedSource(bool keep, bool fileIn, const QString &fileName, int page,
                                  const FileAccess &files)
{
    SavedSourceCheck c{fileIn, page, false};
    if (!keep || !fileIn)
        return c;
    if (fileName == QLatin1String("Clipboard") || fileName.isEmpty()
        || fileName == QLatin1String("Corvane")) {
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
    // Straight into the string: a QByteArray first would hold a large text
    // twice for a moment.
    std::string data;
    const qint64 size = f.size();
    if (size > 0)
        data.resize(std::size_t(size));
    qint64 got = 0;
    while (got < qint64(data.size())) {
        const qint64 n = f.read(data.data() + got, qint64(data.size()) - got);
        if (n <= 0)
            break;
        got += n;
    }
    data.resize(std::size_t(got));
    // A file that grew since its size was taken is read to its end.
    char block[65536];
    for (qint64 n; (n = f.read(block, sizeof block)) > 0;)
        data.append(block, std::size_t(n));
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

TextEncoding detectTextEncoding(std::string_view raw)
{
    if (raw.substr(0, 2) == "\xFF\xFE")
        return TextEncoding::Utf16Le;
    if (raw.substr(0, 2) == "\xFE\xFF")
        return TextEncoding::Utf16Be;
    if (const std::size_t end = raw.find(kEndOfText); end != std::string_view::npos)
        raw = raw.substr(0, end);
    // Real CP932 prose almost never passes as UTF-8, and UTF-8 Japanese
    // rarely decodes as CP932, so the two tests together seldom guess wrong.
    // Pure ASCII is the same in both and is left alone.
    if (raw.substr(0, kUtf8Bom.size()) == kUtf8Bom
        || (hasNonAscii(raw) && isValidUtf8(raw) && !isDecodableCp932(raw)))
        return TextEncoding::Utf8;
    return TextEncoding::Cp932;
}

std::string decodeTextFile(std::string_view raw, bool *fromUtf8)
{
    const TextEncoding encoding = detectTextEncoding(raw);
    if (fromUtf8)
        *fromUtf8 = encoding == TextEncoding::Utf8;
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        // In UTF-16 a 0x1A byte is half of many characters; only the
        // converted text can show the end-of-text character itself.
        std::string text = utf16ToCp932(raw, encoding == TextEncoding::Utf16Be);
        text.resize(cutAtEndOfText(text).size());
        return text;
    }
    case TextEncoding::Utf8:
        return utf8ToCp932(cutAtEndOfText(raw));
    case TextEncoding::Cp932:
        break;
    }
    return std::string(cutAtEndOfText(raw));
}

std::optional<std::string> loadTextFile(const QString &path, bool *fromUtf8,
                                        const FileAccess &files)
{
    std::optional<std::string> raw = files.read(path);
    if (!raw)
        return std::nullopt;
    if (detectTextEncoding(*raw) != TextEncoding::Cp932)
        return decodeTextFile(*raw, fromUtf8);
    // Nothing to convert: cut in place rather than copy a large text.
    if (fromUtf8)
        *fromUtf8 = false;
    raw->resize(cutAtEndOfText(*raw).size());
    return raw;
}

StartupText chooseStartupText(bool keep, bool fileIn, const QString &savedName,
                              const QString &directory, const FileAccess &files)
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
        const QString path = textFilePath(directory);
        if (files.isFile(path)) {
            if (std::optional<std::string> bytes = loadTextFile(path, &t.fromUtf8, files)) {
                t.origin = TextOrigin::File;
                t.bytes = std::move(*bytes);
                return t;
            }
            t.fromUtf8 = false;
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
