#include "text/BookReader.h"

#include "core/Fd.h"
#include "text/Cp932Convert.h"
#include "text/ZipText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr char kEndOfText = 0x1A;
constexpr std::size_t kBlockBytes = std::size_t(1) << 20;

// The text before the first end-of-text character.
std::string_view cutAtEndOfText(std::string_view s)
{
    return s.substr(0, s.find(kEndOfText));
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

TextEncoding detectTextEncoding(std::string_view raw)
{
    if (raw.substr(0, 2) == "\xFF\xFE")
        return TextEncoding::Utf16Le;
    if (raw.substr(0, 2) == "\xFE\xFF")
        return TextEncoding::Utf16Be;
    raw = cutAtEndOfText(raw);
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

BookBytes readBookBytes(const std::string &path, const ReadProgress &progress)
{
    BookBytes book;
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer. The type
    // is checked on the open descriptor, so nothing can be swapped in between.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st;
    if (fd.get() < 0) {
        book.refusal = (errno == ENOENT || errno == ENOTDIR) ? Refusal::Missing
                : errno == EISDIR                            ? Refusal::Folder
                                                             : Refusal::Unreadable;
        return book;
    }
    if (::fstat(fd.get(), &st) != 0) {
        book.refusal = Refusal::Unreadable;
        return book;
    }
    if (S_ISDIR(st.st_mode) || !S_ISREG(st.st_mode)) {
        book.refusal = S_ISDIR(st.st_mode) ? Refusal::Folder : Refusal::NotRegular;
        return book;
    }
    const auto size = std::size_t(st.st_size);
    if (size > kMaxTextFileBytes) {
        book.refusal = Refusal::TooLarge;
        return book;
    }
    // One byte past the limit tells a file that grew while it was read.
    std::string &data = book.bytes;
    data.resize(std::min(size, kMaxTextFileBytes) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got > kMaxTextFileBytes)
                break;
            data.resize(std::min(data.size() + kBlockBytes, kMaxTextFileBytes + 1));
        }
        const ssize_t n
                = ::read(fd.get(), data.data() + got, std::min(data.size() - got, kBlockBytes));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            book = BookBytes{Refusal::Unreadable, {}};
            return book;
        }
        got += std::size_t(n);
        if (progress && !progress(got, size)) {
            book = BookBytes{Refusal::Cancelled, {}};
            return book;
        }
    }
    if (got > kMaxTextFileBytes) {
        book = BookBytes{Refusal::TooLarge, {}};
        return book;
    }
    data.resize(got);
    return book;
}

TextFile textFromBytes(std::string raw)
{
    TextFile t;
    // Aozora Bunko hands out every book as a ZIP: its text is read in memory.
    if (looksLikeZip(raw)) {
        ZipText zip = textFromZip(raw);
        if ((t.refusal = refusalOf(zip.refusal)) != Refusal::None)
            return t;
        raw = std::move(zip.bytes);
    }
    if (raw.size() > kMaxTextFileBytes) {
        t.refusal = Refusal::TooLarge;
        return t;
    }
    if (detectTextEncoding(raw) == TextEncoding::Cp932) {
        // Nothing to convert: cut in place rather than copy a large text.
        raw.resize(cutAtEndOfText(raw).size());
        t.bytes = std::move(raw);
    } else {
        t.bytes = decodeTextFile(raw, &t.fromUtf8);
    }
    // Checked on the decoded text: UTF-16 holds NUL bytes in every ASCII
    // character, and only a NUL character marks a binary file.
    if (std::string_view(t.bytes).substr(0, kBinaryProbeBytes).find('\0')
        != std::string_view::npos) {
        t = TextFile{Refusal::Binary, false, {}};
    } else if (t.bytes.size() > kMaxTextFileBytes) {
        t = TextFile{Refusal::TooLarge, false, {}};
    }
    return t;
}

TextFile readTextFile(const std::string &path, const ReadProgress &progress)
{
    BookBytes book = readBookBytes(path, progress);
    if (book.refusal != Refusal::None)
        return TextFile{book.refusal, false, {}};
    // A book packed in another form is unpacked here, before its text is taken.
    return textFromBytes(std::move(book.bytes));
}

} // namespace corvane
