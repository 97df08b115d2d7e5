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

template<class Number>
bool readNumber(std::string_view digits, Number &n)
{
    const char *last = digits.data() + digits.size();
    const auto [end, error] = std::from_chars(digits.data(), last, n);
    return error == std::errc() && end == last && !digits.empty();
}

// "page path", or "page:a:place path" (r for the raw mode): decimal digits,
// one space, then the path to the end.
std::optional<BookPlace> parsePlace(std::string_view value)
{
    const std::size_t space = value.find(' ');
    if (space == 0 || space == std::string_view::npos)
        return std::nullopt;
    const std::string_view head = value.substr(0, space);
    const std::size_t colon = head.find(':');
    int page = 0;
    if (!readNumber(head.substr(0, colon), page) || page < 1)
        return std::nullopt;
    BookPlace place{std::string(value.substr(space + 1)), page, std::nullopt};
    if (colon != std::string_view::npos) {
        const std::string_view mode = head.substr(colon + 1, 2);
        PagePassage passage;
        if ((mode != "a:" && mode != "r:") || !readNumber(head.substr(colon + 3), passage.place))
            return std::nullopt;
        passage.aozora = mode == "a:";
        place.passage = passage;
    }
    if (!isStorablePath(place.path))
        return std::nullopt;
    return place;
}

} // namespace

bool isStorablePath(std::string_view path)
{
    // The longest page number and its space come before the path in the
    // value (a passage, when there is room for it too).
    constexpr std::size_t kRoom = IniProfile::kMaxValueBytes - 11;
    return !path.empty() && path.size() <= kRoom
            && path.find_first_of("\r\n") == std::string_view::npos && !isBlank(path.front())
            && !isBlank(path.back());
}

const BookPlace *BookPlaces::place(std::string_view path) const
{
    const auto it = std::find_if(m_places.begin(), m_places.end(),
                                 [&](const BookPlace &p) { return p.path == path; });
    return it == m_places.end() ? nullptr : &*it;
}

std::optional<int> BookPlaces::page(std::string_view path) const
{
    if (const BookPlace *p = place(path))
        return p->page;
    return std::nullopt;
}

void BookPlaces::remember(std::string_view path, int page, std::optional<PagePassage> passage)
{
    if (!isStorablePath(path))
        return;
    std::erase_if(m_places, [&](const BookPlace &p) { return p.path == path; });
    m_places.insert(m_places.begin(), BookPlace{std::string(path), std::max(page, 1), passage});
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
    for (const BookPlace &p : m_places) {
        std::string head = std::to_string(p.page);
        if (p.passage)
            head += (p.passage->aozora ? ":a:" : ":r:") + std::to_string(p.passage->place);
        if (head.size() + 1 + p.path.size() > IniProfile::kMaxValueBytes)
            head = std::to_string(p.page); // a path that long keeps its page alone
        store.WriteValue(kBooksSection, keyOf(n++), head + ' ' + p.path);
    }
    // A file edited by hand, or one with skipped keys, may hold more keys.
    for (; n <= kRememberedBooks; ++n) {
        if (!store.ReadValue(kBooksSection, keyOf(n), "").empty())
            store.WriteValue(kBooksSection, keyOf(n), "");
    }
}

} // namespace corvane
