#include "settings/BookPlaces.h"

#include <algorithm>
#include <charconv>

#include "settings/IniProfile.h"
#include "settings/TRegManager.h"

namespace corvane {

namespace {

std::string keyOf(int n)
{
    return "Book" + std::to_string(n);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// "page path": decimal digits, one space, then the path to the end.
std::optional<BookPlace> parsePlace(std::string_view value)
{
    const std::size_t space = value.find(' ');
    if (space == 0 || space == std::string_view::npos)
        return std::nullopt;
    int page = 0;
    const char *first = value.data(), *last = value.data() + space;
    const auto [end, error] = std::from_chars(first, last, page);
    if (error != std::errc() || end != last || page < 1)
        return std::nullopt;
    BookPlace place{std::string(value.substr(space + 1)), page};
    if (!isStorablePath(place.path))
        return std::nullopt;
    return place;
}

} // namespace

bool isStorablePath(std::string_view path)
{
    // The longest page number and its space come before the path in the value.
    constexpr std::size_t kRoom = IniProfile::kMaxValueBytes - 11;
    return !path.empty() && path.size() <= kRoom
            && path.find_first_of("\r\n") == std::string_view::npos && !isBlank(path.front())
            && !isBlank(path.back());
}

std::optional<int> BookPlaces::page(std::string_view path) const
{
    const auto it = std::find_if(m_places.begin(), m_places.end(),
                                 [&](const BookPlace &p) { return p.path == path; });
    if (it == m_places.end())
        return std::nullopt;
    return it->page;
}

void BookPlaces::remember(std::string_view path, int page)
{
    if (!isStorablePath(path))
        return;
    std::erase_if(m_places, [&](const BookPlace &p) { return p.path == path; });
    m_places.insert(m_places.begin(), BookPlace{std::string(path), std::max(page, 1)});
    if (m_places.size() > std::size_t(kRememberedBooks))
        m_places.resize(std::size_t(kRememberedBooks));
}

void BookPlaces::read(TRegFiler &store)
{
    m_places.clear();
    for (int n = 1; n <= kRememberedBooks; ++n) {
        const std::optional<BookPlace> place
                = parsePlace(store.ReadValue(kBooksSection, keyOf(n), ""));
        if (place && !page(place->path))
            m_places.push_back(*place);
    }
}

void BookPlaces::write(TRegFiler &store) const
{
    int n = 1;
    for (const BookPlace &p : m_places)
        store.WriteValue(kBooksSection, keyOf(n++), std::to_string(p.page) + ' ' + p.path);
    // A file edited by hand, or one with skipped keys, may hold more keys.
    for (; n <= kRememberedBooks; ++n) {
        if (!store.ReadValue(kBooksSection, keyOf(n), "").empty())
            store.WriteValue(kBooksSection, keyOf(n), "");
    }
}

} // namespace corvane
