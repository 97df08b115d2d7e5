// Profile file codec and its atomic file replacement.
// Lines end at CR LF, a lone CR or a lone LF; ";" starts a comment; a line
// starting with "[" names a section up to its first "]"; any other line with
// "=" is a key. Blanks around names and values are not part of them.
#include "settings/IniProfile.h"

#include "core/Fd.h"
#include "text/Cp932.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineBreak = "\r\n";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

unsigned char foldAscii(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

std::string_view trim(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// One pair of matching outer quotes, "..." or '...', is not part of a value.
std::string_view unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// At most kMaxValueBytes, never ending on the first half of a double-byte
// character: a lone lead byte would turn whatever follows it into garbage.
std::string_view cutValue(std::string_view v)
{
    return cp932Prefix(v, IniProfile::kMaxValueBytes);
}

enum class LineKind { Other, Section, Key };

struct Line
{
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // one past its last byte, before the line break
    std::size_t next = 0;  // first byte of the next line
    LineKind kind = LineKind::Other;
    std::string_view name;     // section or key name, trimmed
    std::size_t nameBegin = 0; // offset of the key name in the contents
    std::string_view value;    // key value, trimmed and unquoted
};

// Walks the lines of file contents; a UTF-8 byte-order mark is skipped so the
// first section is still found in files saved by editors that add one.
class LineReader
{
public:
    explicit LineReader(std::string_view content)
        : m_content(content)
    {
        if (m_content.substr(0, kUtf8Bom.size()) == kUtf8Bom)
            m_pos = kUtf8Bom.size();
    }
    // From a line inside the contents, where no byte-order mark can stand.
    LineReader(std::string_view content, std::size_t from)
        : m_content(content)
        , m_pos(from)
    {
    }

    bool next(Line &line)
    {
        if (m_pos >= m_content.size())
            return false;
        line = Line{};
        line.begin = m_pos;
        std::size_t e = m_pos;
        const char *data = m_content.data();
        const std::size_t size = m_content.size();
        while (e < size && data[e] != '\r' && data[e] != '\n')
            ++e;
        line.end = e;
        if (e < size && data[e] == '\r' && e + 1 < size && data[e + 1] == '\n')
            line.next = e + 2;
        else
            line.next = e < size ? e + 1 : e;
        m_pos = line.next;
        classify(line);
        return true;
    }

private:
    void classify(Line &line) const
    {
        const std::string_view raw = m_content.substr(line.begin, line.end - line.begin);
        const std::string_view text = trim(raw);
        if (text.empty() || text.front() == ';')
            return;
        if (text.front() == '[') {
            std::string_view inner = text.substr(1);
            const std::size_t close = inner.find(']');
            if (close != std::string_view::npos)
                inner = inner.substr(0, close);
            line.kind = LineKind::Section;
            line.name = trim(inner);
            return;
        }
        const std::size_t eq = text.find('=');
        if (eq == std::string_view::npos)
            return;
        line.kind = LineKind::Key;
        line.name = trim(text.substr(0, eq));
        line.nameBegin = static_cast<std::size_t>(line.name.data() - m_content.data());
        line.value = unquote(trim(text.substr(eq + 1)));
    }

    std::string_view m_content;
    std::size_t m_pos = 0;
};

bool usableSection(std::string_view s)
{
    return !s.empty() && s.find_first_of("]\r\n") == std::string_view::npos;
}

bool usableKey(std::string_view k)
{
    return !k.empty() && k.front() != '[' && k.front() != ';'
            && k.find_first_of("=\r\n") == std::string_view::npos;
}

// The new file contents are built from three pieces: everything before the
// edit, the edit, everything after it.
std::string splice(std::string_view content, std::size_t from, std::size_t to,
                   std::string_view insert)
{
    std::string out;
    out.reserve(content.size() - (to - from) + insert.size());
    out.append(content.substr(0, from));
    out.append(insert);
    out.append(content.substr(to));
    return out;
}

mode_t newFileMode()
{
    // Read the umask without changing it: umask() would set it process-wide
    // for a moment, under any thread that creates a file meanwhile.
    mode_t mask = 022;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, status)) {
            if (std::strncmp(buf, "Umask:", 6) == 0) {
                mask = static_cast<mode_t>(std::strtoul(buf + 6, nullptr, 8));
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

std::string resolveLink(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path; // a dangling link is replaced by the new file
    return resolved;
}

bool writeAll(int fd, std::string_view content)
{
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void setWhy(std::string *why, std::string text)
{
    if (why)
        *why = std::move(text);
}

// An English account of errno for a message the user reads.
std::string describeErrno(int err, const char *doing)
{
    std::string text = doing;
    text += ": ";
    switch (err) {
    case EACCES:
    case EPERM:
        text += "permission denied";
        break;
    case EROFS:
        text += "the file system is read-only";
        break;
    case ENOSPC:
    case EDQUOT:
        text += "the disk is full";
        break;
    default:
        text += std::strerror(err);
        break;
    }
    return text;
}

// The fallback for a folder that refuses new files: the file is overwritten
// from its start and cut to the new length. Claiming the extra room first
// keeps a full disk from stopping the write half-way; the bytes already
// there need no new room.
bool writeInPlace(const std::string &target, std::string_view content, std::string *whyNot)
{
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st;
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        setWhy(whyNot, describeErrno(fd.get() < 0 ? errno : EINVAL, "the file cannot be opened"));
        return false;
    }
    const auto oldSize = static_cast<std::size_t>(st.st_size);
    if (content.size() > oldSize) {
        const int rc = ::posix_fallocate(fd.get(), static_cast<off_t>(oldSize),
                                         static_cast<off_t>(content.size() - oldSize));
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL) {
            setWhy(whyNot, describeErrno(rc, "no room for the new file"));
            return false;
        }
    }
    if (::lseek(fd.get(), 0, SEEK_SET) != 0 || !writeAll(fd.get(), content)
        || ::ftruncate(fd.get(), static_cast<off_t>(content.size())) != 0 || ::fsync(fd.get()) != 0
        || !fd.close()) {
        setWhy(whyNot, describeErrno(errno, "the file could not be written"));
        return false;
    }
    return true;
}

constexpr std::size_t kTempSuffixLength = 6; // mkostemp's XXXXXX

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

bool isTempChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

} // namespace

void (*temporaryCreatedHook)(const std::string &temp) = nullptr;

bool IniProfile::namesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const std::size_t n = a.size();
    for (std::size_t i = 0; i < n;) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (cp932CharLength(a, i) == 2) {
            if (x != y || a[i + 1] != b[i + 1])
                return false;
            i += 2;
            continue;
        }
        if (foldAscii(x) != foldAscii(y))
            return false;
        ++i;
    }
    return true;
}

std::optional<std::string> IniProfile::lookup(std::string_view content, std::string_view section,
                                              std::string_view key)
{
    section = trim(section);
    key = trim(key);
    LineReader reader(content);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            // Only the first section of a name is searched.
            if (inSection)
                return std::nullopt;
            inSection = namesEqual(line.name, section);
        } else if (inSection && line.kind == LineKind::Key && namesEqual(line.name, key)) {
            return std::string(cutValue(line.value));
        }
    }
    return std::nullopt;
}

namespace {

// What two names that namesEqual matches always share, cheaper than their
// hash: the length, and the first byte as compared (a lead byte exactly,
// an ASCII letter without case).
std::size_t nameShape(std::string_view name)
{
    return name.empty() ? 0 : (name.size() << 8) | foldAscii(static_cast<unsigned char>(name[0]));
}

// FNV-1a over a name as namesEqual sees it.
std::size_t nameHash(std::string_view name)
{
    std::size_t h = 1469598103934665603ull;
    const auto mix = [&h](unsigned char c) { h = (h ^ c) * 1099511628211ull; };
    for (std::size_t i = 0; i < name.size();) {
        if (cp932CharLength(name, i) == 2) {
            mix(static_cast<unsigned char>(name[i]));
            mix(static_cast<unsigned char>(name[i + 1]));
            i += 2;
            continue;
        }
        mix(foldAscii(static_cast<unsigned char>(name[i])));
        ++i;
    }
    return h;
}

} // namespace

IniIndex::IniIndex(std::string path, const std::vector<std::string> &sections)
    : m_path(std::move(path))
{
    for (const std::string &s : sections) {
        const std::string_view name = trim(s);
        m_named.push_back(nameHash(name));
        m_namedShapes.push_back(nameShape(name));
    }
    std::sort(m_named.begin(), m_named.end());
    std::sort(m_namedShapes.begin(), m_namedShapes.end());

    // Whole lines are taken at a time; the piece of a line that a read cut
    // waits for the rest. A byte-order mark can only stand before the first.
    std::string pending;
    bool first = true;
    const auto takePending = [&](std::size_t upTo) {
        const std::size_t from
                = first && std::string_view(pending).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
        first = false;
        takeLines(std::string_view(pending).substr(0, upTo), from);
        pending.erase(0, upTo);
    };
    const auto take = [&](std::string_view piece) {
        pending.append(piece);
        const std::size_t lastBreak = pending.find_last_of("\r\n");
        if (lastBreak != std::string::npos)
            takePending(lastBreak + 1);
    };
    // Room for the whole file is only an address range until lines are kept.
    struct stat st;
    if (::stat(m_path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        m_kept.reserve(std::min(static_cast<std::size_t>(st.st_size), IniProfile::kMaxFileBytes));
    m_readable = readFileInPieces(m_path, take) == FileReadResult::Ok;
    if (m_readable) {
        takePending(pending.size());
    } else {
        m_kept.clear();
        m_sections.clear();
    }
}

bool IniIndex::named(std::size_t hash) const
{
    return std::binary_search(m_named.begin(), m_named.end(), hash);
}

bool IniIndex::namedShape(std::size_t shape) const
{
    return std::binary_search(m_namedShapes.begin(), m_namedShapes.end(), shape);
}

namespace {

// Where the line holding From ends. Header lines are short, and a plain
// look at each byte beats a search for either of two bytes.
std::size_t lineEnd(std::string_view lines, std::size_t from)
{
    const char *p = lines.data() + from;
    const char *const end = lines.data() + lines.size();
    while (p != end && *p != '\r' && *p != '\n')
        ++p;
    return static_cast<std::size_t>(p - lines.data());
}

} // namespace

// Lines from a line's start to the end of a line: the headers are found by
// their '[' alone, and the lines between two headers are kept or passed over
// whole.
void IniIndex::takeLines(std::string_view lines, std::size_t lineStart)
{
    const char *data = lines.data();
    const std::size_t size = lines.size();
    std::size_t from = lineStart; // the lines not yet kept or passed over
    for (std::size_t pos = lineStart; pos < size;) {
        const void *hit = std::memchr(data + pos, '[', size - pos);
        if (!hit)
            break;
        const auto open = static_cast<std::size_t>(static_cast<const char *>(hit) - data);
        // A header is a line whose first byte that is not blank is '['.
        std::size_t start = open;
        while (start > lineStart && isBlank(data[start - 1]))
            --start;
        if (start != lineStart && data[start - 1] != '\r' && data[start - 1] != '\n') {
            pos = open + 1;
            continue;
        }
        const std::size_t end = lineEnd(lines, open);
        std::string_view name = lines.substr(open + 1, end - open - 1);
        name = trim(name.substr(0, name.find(']')));
        if (m_keeping)
            m_kept.append(lines.substr(from, start - from));
        from = start;
        // Most foreign headers differ from every named one in their shape
        // and are passed over without being hashed.
        const bool candidate = namedShape(nameShape(name));
        const std::size_t hash = candidate ? nameHash(name) : 0;
        // Only the first section of a name counts.
        m_keeping = candidate && named(hash)
                && std::none_of(m_sections.begin(), m_sections.end(), [&](const auto &s) {
                        if (s.first != hash)
                            return false;
                        Line line;
                        LineReader(m_kept, s.second).next(line);
                        return IniProfile::namesEqual(line.name, name);
                    });
        if (m_keeping)
            m_sections.emplace_back(hash, m_kept.size());
        pos = end;
    }
    if (m_keeping)
        m_kept.append(lines.substr(from));
}

std::optional<std::string> IniIndex::find(std::string_view section, std::string_view key) const
{
    section = trim(section);
    key = trim(key);
    const std::size_t hash = nameHash(section);
    if (!named(hash))
        return m_readable ? IniProfile(m_path).read(section, key) : std::nullopt;
    for (const auto &[h, begin] : m_sections) {
        if (h != hash)
            continue;
        LineReader reader(m_kept, begin);
        Line line;
        reader.next(line);
        if (!IniProfile::namesEqual(line.name, section))
            continue;
        // In the first section of a name, the first key of a name.
        while (reader.next(line) && line.kind != LineKind::Section)
            if (line.kind == LineKind::Key && IniProfile::namesEqual(line.name, key))
                return std::string(cutValue(line.value));
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::string> IniProfile::assign(std::string_view content, std::string_view section,
                                              std::string_view key, std::string_view value)
{
    section = trim(section);
    key = trim(key);
    if (!usableSection(section) || !usableKey(key))
        return std::nullopt;
    value = value.substr(0, value.find_first_of("\r\n"));

    LineReader reader(content);
    Line line;
    bool inSection = false;
    bool found = false;
    Line anchor; // the section header, then the last key line of the section
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = namesEqual(line.name, section);
            if (inSection) {
                found = true;
                anchor = line;
            }
        } else if (inSection && line.kind == LineKind::Key) {
            if (namesEqual(line.name, key)) {
                std::string rewritten(line.name);
                rewritten += '=';
                rewritten += value;
                return splice(content, line.nameBegin, line.end, rewritten);
            }
            anchor = line;
        }
    }

    std::string added;
    if (found) {
        // anchor.next == anchor.end only for a last line without a line break.
        if (anchor.next == anchor.end)
            added += kLineBreak;
        added.append(key).append("=").append(value).append(kLineBreak);
        return splice(content, anchor.next, anchor.next, added);
    }
    if (!content.empty() && content.back() != '\r' && content.back() != '\n')
        added += kLineBreak;
    added.append("[").append(section).append("]").append(kLineBreak);
    added.append(key).append("=").append(value).append(kLineBreak);
    return splice(content, content.size(), content.size(), added);
}

std::optional<std::string> IniProfile::read(std::string_view section, std::string_view key) const
{
    std::string content;
    if (readWholeFile(m_path, content) != FileReadResult::Ok)
        return std::nullopt;
    return lookup(content, section, key);
}

std::string IniProfile::readString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const
{
    if (auto v = read(section, key))
        return std::move(*v);
    return std::string(defaultValue);
}

bool IniProfile::write(std::string_view section, std::string_view key, std::string_view value,
                       std::string *whyNot) const
{
    if (m_path.empty()) {
        setWhy(whyNot, "no settings file is named");
        return false;
    }
    const std::string target = resolveLink(m_path);
    std::string content;
    // A file that exists but cannot be read must not be replaced by one
    // holding only this key.
    if (readWholeFile(target, content, whyNot) == FileReadResult::Failed)
        return false;
    const std::optional<std::string> updated = assign(content, section, key, value);
    if (!updated) {
        setWhy(whyNot, "the section or key name cannot be stored");
        return false;
    }
    return writeFileAtomically(target, *updated, whyNot);
}

FileReadResult readFileInPieces(const std::string &path,
                                const std::function<void(std::string_view)> &take, std::string *why)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer that never comes. The type is checked on the open descriptor,
    // so the file cannot be swapped between the check and the read.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return FileReadResult::Missing;
        setWhy(why, describeErrno(errno, "the file cannot be read"));
        return FileReadResult::Failed;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        setWhy(why, "it is not a regular file");
        return FileReadResult::Failed;
    }
    const auto tooLarge = [&] {
        setWhy(why, "the file is larger than 16 MiB");
        return FileReadResult::Failed;
    };
    if (static_cast<uint64_t>(st.st_size) > IniProfile::kMaxFileBytes)
        return tooLarge();
    char buf[65536];
    std::size_t total = 0;
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            setWhy(why, describeErrno(errno, "the file cannot be read"));
            return FileReadResult::Failed;
        }
        // The file may grow while it is read (or be a special file that
        // claims size 0); the limit holds for what is actually read.
        total += static_cast<std::size_t>(n);
        if (total > IniProfile::kMaxFileBytes)
            return tooLarge();
        take(std::string_view(buf, static_cast<std::size_t>(n)));
    }
    return FileReadResult::Ok;
}

FileReadResult readWholeFile(const std::string &path, std::string &content, std::string *why)
{
    content.clear();
    const FileReadResult result = readFileInPieces(
            path, [&content](std::string_view piece) { content.append(piece); }, why);
    if (result != FileReadResult::Ok)
        content.clear();
    return result;
}

bool writeFileAtomically(const std::string &path, std::string_view content, std::string *whyNot)
{
    if (path.empty()) {
        setWhy(whyNot, "no settings file is named");
        return false;
    }
    const std::string target = resolveLink(path);

    mode_t mode = newFileMode();
    bool exists = false;
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        // A file the user made read-only stays as it is, as it would under
        // an in-place write; replacing it through the folder would not.
        if (!S_ISREG(st.st_mode)) {
            setWhy(whyNot, "it is not a regular file");
            return false;
        }
        if (::access(target.c_str(), W_OK) != 0) {
            setWhy(whyNot, describeErrno(errno, "the file is read-only"));
            return false;
        }
        mode = st.st_mode & 07777;
        exists = true;
    }

    // The folder's shared lock is held from before the temporary exists until
    // it is locked itself: a start-up clearing stale temporaries takes the
    // folder's exclusive lock first, so it never sees one in between.
    Fd folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::flock(folder.get(), LOCK_SH);
    std::string temp = target + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        const int err = errno;
        if (exists && (err == EACCES || err == EPERM))
            return writeInPlace(target, content, whyNot);
        setWhy(whyNot, describeErrno(err, "no temporary file can be made beside it"));
        return false;
    }
    if (temporaryCreatedHook)
        temporaryCreatedHook(temp);
    // Held until the rename, so that a start-up clearing stale temporary
    // files leaves this one alone.
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    folder.close();
    // The data is on disk before the rename, so after a crash the name holds
    // either the old file or the whole new one. The folder itself is not
    // synced: losing the rename to a power cut only brings back the old file.
    const bool ok = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), content)
            && ::fsync(fd.get()) == 0;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        setWhy(whyNot, describeErrno(errno, "the new file could not be written"));
        ::unlink(temp.c_str());
        return false;
    }
    fd.close(); // the data is synced and in place; a late close error changes nothing
    return true;
}

bool isTemporaryNameFor(std::string_view fileName, std::string_view baseName)
{
    if (fileName.size() != baseName.size() + 1 + kTempSuffixLength
        || fileName.substr(0, baseName.size()) != baseName || fileName[baseName.size()] != '.')
        return false;
    for (const char c : fileName.substr(baseName.size() + 1))
        if (!isTempChar(c))
            return false;
    return true;
}

std::size_t removeStaleTemporaries(const std::string &path)
{
    if (path.empty())
        return 0;
    const std::string target = resolveLink(path);
    const std::size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.empty())
        return 0;

    DIR *dir = ::opendir(folderOf(target).c_str());
    if (!dir)
        return 0;
    std::size_t removed = 0;
    const int dirFd = ::dirfd(dir);
    // A save making its temporary right now holds the folder's shared lock;
    // its file is left for a later start rather than taken from under it.
    if (::flock(dirFd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::closedir(dir);
        return 0;
    }
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryNameFor(entry->d_name, base))
            continue;
        // O_NOFOLLOW and the type test: a link or a FIFO of that name is
        // someone else's, not a file this program made.
        Fd fd(::openat(dirFd, entry->d_name,
                       O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        struct stat st;
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A save in progress holds its lock until its rename.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace corvane
