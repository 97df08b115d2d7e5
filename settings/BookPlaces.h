// Where the reader was in each book: the page last read of each of the most
// recently read files, kept in a section of the settings file of its own so
// the window's items and their order stay as they are. Each book is one key,
// "Book1" (the most recent) to "Book50", holding "page path", or for a book
// that reads two ways "page:a:place path" (a for the Aozora mode, r for the
// raw one), so a change of mode still finds the passage.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class TRegFiler;

inline constexpr char kBooksSection[] = "Corvane\\Books";
inline constexpr int kRememberedBooks = 50; // the oldest is dropped first

// Where a page starts in a book that reads two ways: the file's place of its
// first character, and the mode its page was counted in.
struct PagePassage
{
    uint32_t place = 0;
    bool aozora = false;
    bool operator==(const PagePassage &) const = default;
};

struct BookPlace
{
    std::string path; // as the file system spells it
    int page = 1;     // 1-based; clamped to the book's pages when it is opened
    std::optional<PagePassage> passage;
};

// A path the settings file gives back byte for byte: no line break (a value
// ends there), no blank at either end (blanks around a value are dropped),
// and short enough to be read back whole.
bool isStorablePath(std::string_view path);

class BookPlaces
{
public:
    // The page last read in the book at path, if it is one of the recent ones.
    std::optional<int> page(std::string_view path) const;
    const BookPlace *place(std::string_view path) const;

    // The book at path becomes the most recent one, at page. A path that
    // cannot be stored is not remembered.
    void remember(std::string_view path, int page, std::optional<PagePassage> passage = {});

    // Most recent first, at most kRememberedBooks.
    const std::vector<BookPlace> &places() const { return m_places; }

    // Replaces the list with the stored one. Keys that do not hold
    // "page path", and repeats of a path, are skipped.
    void read(TRegFiler &store);

    // Writes the list, and empties keys of books no longer in it. Throws
    // TRegWriteError when the file cannot be written.
    void write(TRegFiler &store) const;

private:
    std::vector<BookPlace> m_places;
};

} // namespace corvane
