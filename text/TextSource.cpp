#include "text/TextSource.h"

#include "text/Cp932Bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char kEndOfText = 0x1A;

QString textFilePath(const QString &directory)
{
    const QString name = QString::fromLatin1(kTextFileName);
    return directory.isEmpty() ? name : QDir(directory).filePath(name);
}

} // namespace

FileAccess realFileAccess()
{
    return FileAccess{
        [](const QString &path) { return QFileInfo(path).isFile(); },
        [](const QString &path) { return readFileBytes(path); },
    };
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
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return data.toStdString();
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
    const auto cutAtEnd = [](std::string_view s) {
        return s.substr(0, s.find(kEndOfText));
    };
    switch (encoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        // In UTF-16 a 0x1A byte is half of many characters; only the
        // converted text can show the end-of-text character itself.
        std::string text = utf16ToCp932(raw, encoding == TextEncoding::Utf16Be);
        text.resize(cutAtEnd(text).size());
        return text;
    }
    case TextEncoding::Utf8:
        return utf8ToCp932(cutAtEnd(raw));
    case TextEncoding::Cp932:
        break;
    }
    return std::string(cutAtEnd(raw));
}

std::optional<std::string> loadTextFile(const QString &path, bool *fromUtf8,
                                        const FileAccess &files)
{
    const std::optional<std::string> raw = files.read(path);
    if (!raw)
        return std::nullopt;
    return decodeTextFile(*raw, fromUtf8);
}

StartupText chooseStartupText(bool keep, bool fileIn, const QString &directory,
                              const FileAccess &files)
{
    StartupText t;
    if (keep && fileIn)
        return t; // a saved source is still in use; nothing defines how to load it

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
