#include "text/BookPath.h"

#include "text/Cp932Convert.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <unistd.h>

namespace corvane {

namespace {

std::string currentFolder()
{
    // Grows past PATH_MAX: a deep folder is still a folder.
    for (std::size_t room = PATH_MAX;; room *= 2) {
        std::string buf(room, '\0');
        if (::getcwd(buf.data(), buf.size())) {
            buf.resize(std::char_traits<char>::length(buf.c_str()));
            return buf;
        }
        if (errno != ERANGE || room > (std::size_t(1) << 20))
            return "/";
    }
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecoded(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        int hi, lo;
        if (s[i] == '%' && i + 2 < s.size() && (hi = hexValue(s[i + 1])) >= 0
            && (lo = hexValue(s[i + 2])) >= 0) {
            out += char(hi * 16 + lo);
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// "file:///p" or "file://localhost/p" gives "/p" undecoded; other URLs nothing.
std::optional<std::string_view> localPart(std::string_view url)
{
    constexpr std::string_view scheme = "file://";
    if (url.size() < scheme.size())
        return std::nullopt;
    for (std::size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i])
            return std::nullopt;
    url.remove_prefix(scheme.size());
    const std::size_t slash = url.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view host = url.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return std::nullopt;
    return url.substr(slash);
}

} // namespace

std::string absoluteBookPath(std::string_view path)
{
    const std::string whole = !path.empty() && path.front() == '/'
            ? std::string(path)
            : currentFolder() + '/' + std::string(path);
    std::vector<std::string_view> parts;
    std::string_view rest = whole;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const std::string_view part : parts)
        out.append("/").append(part);
    return out.empty() ? "/" : out;
}

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

QString displayPath(std::string_view path)
{
    QString out;
    std::size_t i = 0;
    while (i < path.size()) {
        const auto c = static_cast<unsigned char>(path[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::string_view one = path.substr(i, n);
        if (one.size() == n && isValidUtf8(one)) {
            out += QString::fromUtf8(one.data(), qsizetype(n));
            i += n;
        } else {
            out += QStringLiteral("\\x%1").arg(unsigned(c), 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return out;
}

std::vector<std::optional<std::string>> localFilesOfUriList(std::string_view uriList)
{
    std::vector<std::optional<std::string>> files;
    while (!uriList.empty()) {
        const std::size_t eol = uriList.find_first_of("\r\n");
        std::string_view line = uriList.substr(0, eol);
        uriList = eol == std::string_view::npos ? std::string_view() : uriList.substr(eol + 1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::optional<std::string_view> local = localPart(line);
        files.push_back(local ? std::optional(percentDecoded(*local)) : std::nullopt);
    }
    return files;
}

} // namespace corvane
