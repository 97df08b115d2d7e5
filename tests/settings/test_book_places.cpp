// The page last read in each recent book, kept in its own section of the
// settings file beside the window's items.
#include <gtest/gtest.h>

#include "settings/BookPlaces.h"
#include "settings/CorvaneSettings.h"
#include "settings/IniProfile.h"
#include "settings/TRegManager.h"
#include "tests/settings/TempFolder.h"

using namespace corvane;
using corvane::test::readBytes;
using corvane::test::TempFolder;
using corvane::test::writeBytes;

namespace {

class Books : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store.IniFileName = dir.file("corvane.ini");
        store.RegItems = corvaneRegItems();
        store.setErrorReporter([this](const std::string &m) { errors.push_back(m); });
    }

    std::optional<std::string> stored(const std::string &key) const
    {
        return IniProfile(store.IniFileName).read(kBooksSection, key);
    }

    TempFolder dir;
    TRegManager store;
    std::vector<std::string> errors;
};

std::string bookPath(int n)
{
    return "/home/reader/books/" + std::to_string(n) + ".txt";
}

} // namespace

// Reading a book again makes it the most recent; its page is the last one read.
TEST_F(Books, TheMostRecentComesFirstAndAReadBookMovesUp)
{
    BookPlaces books;
    books.remember("/a.txt", 3);
    books.remember("/b.txt", 9);
    books.remember("/a.txt", 4);
    ASSERT_EQ(books.places().size(), 2u);
    EXPECT_EQ(books.places()[0].path, "/a.txt");
    EXPECT_EQ(books.page("/a.txt"), 4);
    EXPECT_EQ(books.page("/b.txt"), 9);
    EXPECT_EQ(books.page("/c.txt"), std::nullopt);
    books.remember("/c.txt", 0);
    EXPECT_EQ(books.page("/c.txt"), 1) << "pages start at 1";
}

// Fifty books are kept; the one read longest ago is dropped for the next.
TEST_F(Books, FiftyBooksAndTheOldestDropsOut)
{
    BookPlaces books;
    for (int n = 1; n <= kRememberedBooks + 1; ++n)
        books.remember(bookPath(n), n);
    EXPECT_EQ(books.places().size(), std::size_t(kRememberedBooks));
    EXPECT_EQ(books.page(bookPath(1)), std::nullopt);
    EXPECT_EQ(books.page(bookPath(2)), 2);
    EXPECT_EQ(books.places().front().path, bookPath(kRememberedBooks + 1));

    books.write(store.Filer());
    EXPECT_EQ(stored("Book1"),
              std::to_string(kRememberedBooks + 1) + " " + bookPath(kRememberedBooks + 1));
    EXPECT_EQ(stored("Book50"), "2 " + bookPath(2));
    EXPECT_EQ(stored("Book51"), std::nullopt);
    BookPlaces again;
    again.read(store.Filer());
    EXPECT_EQ(again.places().size(), std::size_t(kRememberedBooks));
    EXPECT_EQ(again.page(bookPath(2)), 2);
    EXPECT_TRUE(errors.empty());
}

// Paths come back byte for byte: blanks inside, Japanese names (UTF-8), and
// an "=" or ";" are kept; a path the file cannot give back is not remembered.
TEST_F(Books, PathsComeBackExactly)
{
    const std::string odd[] = {"/home/r/My Books/a  b.txt", "/home/r/\xE6\x9C\xAC/\xE7\xBE\x85.txt",
                               "/x=y;z/\"q\".txt"};
    BookPlaces books;
    for (const std::string &p : odd)
        books.remember(p, 7);
    for (const char *bad : {"/a\nb.txt", "/a\rb.txt", "/trailing.txt ", ""})
        books.remember(bad, 5);
    books.remember(std::string(IniProfile::kMaxValueBytes, 'x'), 5);
    EXPECT_EQ(books.places().size(), 3u);
    books.write(store.Filer());
    BookPlaces again;
    again.read(store.Filer());
    for (const std::string &p : odd)
        EXPECT_EQ(again.page(p), 7) << p;
}

// A hand-edited section: keys that are no "page path" and repeats are skipped,
// and a shorter list empties the keys it no longer uses.
TEST_F(Books, HandEditedSectionsAreReadSafely)
{
    writeBytes(store.IniFileName,
               "[Corvane\\Books]\r\nBook1=12 /a.txt\r\nBook2=x /b.txt\r\nBook3=0 /c.txt\r\n"
               "Book4=/d.txt\r\nBook5=3 /a.txt\r\nBook6=99999999999 /e.txt\r\nBook7=8 /f.txt\r\n"
               "Book8=9:a:123 /g.txt\r\nBook9=9:x:1 /h.txt\r\nBook10=9:r: /i.txt\r\n");
    BookPlaces books;
    books.read(store.Filer());
    ASSERT_EQ(books.places().size(), 3u);
    EXPECT_EQ(books.place("/g.txt")->passage, (PagePassage{123, true}));
    EXPECT_EQ(books.page("/a.txt"), 12) << "the first of repeats wins";
    EXPECT_EQ(books.page("/f.txt"), 8) << "a gap does not end the list";
    books.write(store.Filer());
    EXPECT_EQ(stored("Book1"), "12 /a.txt");
    EXPECT_EQ(stored("Book2"), "8 /f.txt");
    EXPECT_EQ(stored("Book3"), "9:a:123 /g.txt");
    for (const char *k : {"Book4", "Book5", "Book6", "Book7", "Book8", "Book9", "Book10"})
        EXPECT_EQ(stored(k), "") << k;
}

// The window's items and their order are untouched: the books follow in a
// section of their own, and an empty list writes nothing at all.
TEST_F(Books, TheWindowsItemsStayAsTheyAre)
{
    store.FindFiler("FPage").WriteInteger(4);
    const std::string before = readBytes(store.IniFileName);
    BookPlaces().write(store.Filer());
    EXPECT_EQ(readBytes(store.IniFileName), before);

    BookPlaces books;
    books.remember("/a.txt", 2);
    books.write(store.Filer());
    store.FindFiler("FPage").WriteInteger(5);
    EXPECT_EQ(readBytes(store.IniFileName),
              "[Form\\FPage]\r\nInteger=5\r\n[Corvane\\Books]\r\nBook1=2 /a.txt\r\n");
    EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 5);
}
