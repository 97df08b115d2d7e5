// The reader's own books in the window: the saved source at start-up, files
// and passages dropped on the window, the file named on the command line,
// refusals that change nothing, and the page remembered for each book. Reads
// of a file named "*.slow-<ms>*" wait that long each (the corvane-slow-read
// library, preloaded by the suite), as from a slow file system.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/TForm1.h"
#include "tests/support/HeldAnimation.h"
#include "tests/support/LoadNow.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/TLozengeCheckBox.h"
#include "settings/IniProfile.h"
#include "text/BookPath.h"
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/Normalise.h"
#include "text/TextSource.h"

using corvane::OptionBox;

namespace {

QByteArray corpus(const char *name)
{
    QFile f(QStringLiteral(CORVANE_CORPUS_DIR "/") + QString::fromLatin1(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A working folder, made current, with corvane.txt (the akutagawa story), two
// books of the reader's and the settings file: "+Begin End" and "+Fade In"
// off, so no title screen and no blend steps slow the tests down.
struct Shelf
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    QStringList messages; // the message boxes the window asked for

    explicit Shelf(std::initializer_list<std::array<const char *, 3>> settings = {})
    {
        put(QStringLiteral("corvane.txt"), corpus("akutagawa-rashomon.txt"));
        put(QStringLiteral("olympos.txt"), corpus("tanaka-olympos.txt"));
        put(QStringLiteral("\u6587\u5316.txt"), corpus("miyamoto-bunka-mondai.txt"));
        corvane::IniProfile ini(ini_path().toStdString());
        ini.write("Form\\LCheckBox12", "Checked", "0");
        ini.write("Form\\LCheckBox7", "Checked", "0");
        ini.write("Form1\\Aozora", "Boolean", "0"); // these tests read the texts raw
        for (const auto &s : settings)
            ini.write(s[0], s[1], s[2]);
        QDir::setCurrent(dir.path());
    }
    ~Shelf() { QDir::setCurrent(previous); }

    QString path(const QString &name) const { return dir.filePath(name); }
    QString ini_path() const { return path(QStringLiteral("corvane.ini")); }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }

    // A window on this shelf after its deferred load, its messages caught.
    std::unique_ptr<TForm1> open(const std::string &argument = {})
    {
        auto f = std::make_unique<TForm1>(ini_path());
        f->messageBox = [this](const QString &m) { messages << m; };
        f->Timer2->stop();
        if (!argument.empty())
            f->setStartupFile(argument);
        loadNow(*f);
        return f;
    }
};

// The 13 rows of page (1-based) of a text as the window pages it.
std::vector<std::string> rowsOf(const QByteArray &text, int page)
{
    const std::vector<std::string> all
            = corvane::pagedRows(std::string_view(text.constData(), size_t(text.size())), true);
    const auto first = all.begin() + (page - 1) * 13;
    return {first, first + 13};
}

std::vector<std::string> written(const TForm1 &f)
{
    return {f.FRows.begin(), f.FRows.end()};
}

int pagesOf(const QByteArray &text)
{
    return int(
            corvane::pagedRows(std::string_view(text.constData(), size_t(text.size())), true).size()
            / 13);
}

// Drags data over the window and drops it, as the window system would; the
// window reads it once the drop has ended. Returns whether the drag was accepted.
bool drop(TForm1 &f, const QMimeData &data)
{
    const QPointF at(240, 200);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &dropped);
    return true;
}

std::unique_ptr<QMimeData> fileDrop(const QString &path)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(path)});
    data->setText(path); // file managers send the path as text as well
    return data;
}

bool waitFor(const std::function<bool()> &done, int ms = 3000)
{
    for (int waited = 0; !done() && waited < ms; waited += 10)
        QTest::qWait(10);
    return done();
}

// Times the picture's paints on the window's thread. On a shared machine the
// thread may wait for a processor that others hold; that wait (the kernel's
// run-queue delay of the thread) is the machine's, not the program's, and is
// taken out of each gap.
struct PaintClock : QObject
{
    QElapsedTimer clock;
    std::vector<std::pair<qint64, qint64>> paints; // ms on the clock, ms waited for a processor
    PaintClock() { clock.start(); }
    std::pair<qint64, qint64> now() const
    {
        QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
        stat.open(QIODevice::ReadOnly);
        const QList<QByteArray> fields = stat.readAll().split(' ');
        return {clock.elapsed(), fields.size() > 1 ? fields[1].toLongLong() / 1000000 : 0};
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints.push_back(now());
        return false;
    }
    qint64 longestGap(std::pair<qint64, qint64> from, std::pair<qint64, qint64> to,
                      bool lessWaits = true) const
    {
        const auto gap = [lessWaits](auto a, auto b) {
            return (b.first - a.first) - (lessWaits ? b.second - a.second : 0);
        };
        auto last = from;
        qint64 longest = 0;
        for (auto p : paints)
            if (p.first > from.first && p.first <= to.first) {
                longest = std::max(longest, gap(last, p));
                last = p;
            }
        return std::max(longest, gap(last, to));
    }
};

} // namespace

// The saved source names an existing file and "Keep" is on: that book is
// loaded, and the first Ecriture command writes its stored page.
TEST(Books, TheSavedSourceIsReadAtStartUp)
{
    Shelf shelf;
    const QByteArray book = corpus("tanaka-olympos.txt");
    const std::string path = shelf.path("olympos.txt").toStdString();
    corvane::IniProfile ini(shelf.ini_path().toStdString());
    ini.write("Form\\FFileName", "String", path);
    ini.write("Form1\\FFileIn", "Boolean", "1");
    ini.write("Form\\FPage", "Integer", "40");
    auto f = shelf.open();
    EXPECT_EQ(f->FPageCount, pagesOf(book));
    EXPECT_TRUE(f->FFileIn);
    EXPECT_TRUE(f->readingBook);
    EXPECT_EQ(f->FPage, 40);
    EXPECT_EQ(f->Label1->text(), QStringLiteral("40"));
    EXPECT_FALSE(f->pictureState.FPageShown) << "nothing is written by the load";
    f->TriButton1Click();
    EXPECT_EQ(f->FPage, 40);
    EXPECT_EQ(written(*f), rowsOf(book, 40));
    EXPECT_EQ(f->Image1->toolTip(), QStringLiteral("olympos.txt"));
    EXPECT_TRUE(shelf.messages.isEmpty());
}

// A saved name that is gone, or one of the reserved names: the default source.
TEST(Books, SavedSourcesThatAreNoBook)
{
    const QByteArray rashomon = corpus("akutagawa-rashomon.txt");
    {
        Shelf shelf({{"Form\\FFileName", "String", "/no/such/book.txt"},
                     {"Form1\\FFileIn", "Boolean", "1"},
                     {"Form\\FPage", "Integer", "9"}});
        auto f = shelf.open();
        EXPECT_FALSE(f->FFileIn);
        EXPECT_EQ(f->FPage, 1) << "a name that is gone starts the default text at page 1";
        EXPECT_EQ(f->FPageCount, pagesOf(rashomon));
        EXPECT_TRUE(shelf.messages.isEmpty()) << "without a message";
    }
    {
        Shelf shelf({{"Form\\FFileName", "String", "Clipboard"},
                     {"Form1\\FFileIn", "Boolean", "1"},
                     {"Form\\FPage", "Integer", "9"}});
        auto f = shelf.open();
        EXPECT_FALSE(f->FFileIn);
        EXPECT_EQ(f->FPage, 9) << "a passage is read for one run; the stored page is kept";
        f->TriButton1Click();
        EXPECT_EQ(written(*f), rowsOf(rashomon, 9));
    }
    {
        // A saved book that is no longer a text: said so, the default text from page 1.
        Shelf shelf({{"Form1\\FFileIn", "Boolean", "1"}, {"Form\\FPage", "Integer", "9"}});
        const QString blob = shelf.put(QStringLiteral("blob.txt"), QByteArray("ab\0cd", 5));
        corvane::IniProfile(shelf.ini_path().toStdString())
                .write("Form\\FFileName", "String", blob.toStdString());
        auto f = shelf.open();
        EXPECT_FALSE(f->FFileIn);
        EXPECT_EQ(f->FPage, 1);
        EXPECT_EQ(f->FPageCount, pagesOf(rashomon));
        ASSERT_EQ(shelf.messages.size(), 1);
        EXPECT_TRUE(shelf.messages[0].contains(blob));
        EXPECT_EQ(f->HintLabel1->text(), QStringLiteral("Not a text"));
    }
}

// "Keep" off with a book saved: the built-in text from page 1, and its rows
// are written (not the empty rows of a source that was never loaded).
TEST(Books, KeepOffReadsTheBuiltInTextEvenWithABookSaved)
{
    Shelf shelf({{"Form\\LCheckBox11", "Checked", "0"}, {"Form1\\FFileIn", "Boolean", "1"}});
    corvane::IniProfile ini(shelf.ini_path().toStdString());
    ini.write("Form\\FFileName", "String", shelf.path("olympos.txt").toStdString());
    ini.write("Corvane\\Books", "Book1", "17 " + shelf.path("olympos.txt").toStdString());
    auto f = shelf.open();
    f->TriButton1Click();
    EXPECT_EQ(f->FPage, 1);
    EXPECT_FALSE(f->readingBook);
    EXPECT_FALSE(f->FRows[0].empty());
    EXPECT_EQ(f->FRows[0], corvane::pagedRows(corvane::builtinTextBytes(), false)[0]);

    // Turned on again, "Keep" brings the book back at its own page, not at
    // the page of the built-in text.
    f->TriButton1Click();
    f->box(OptionBox::Keep)->setChecked(true);
    ASSERT_TRUE(f->FormCloseQuery());
    auto g = shelf.open();
    EXPECT_TRUE(g->readingBook);
    EXPECT_EQ(g->FPage, 17);
}

// A dropped file is read at once and its first page written; a dropped
// passage likewise, under the name "Clipboard".
TEST(Books, DroppedFilesAndPassagesAreReadAndWritten)
{
    Shelf shelf;
    auto f = shelf.open();
    const QByteArray book = corpus("tanaka-olympos.txt");
    const QString path = shelf.path("olympos.txt");
    startHeld(*f, Animation::Velocity); // a running effect is stopped by the drop
    ASSERT_TRUE(drop(*f, *fileDrop(path)));
    ASSERT_TRUE(waitFor([&] { return f->pictureState.FPageShown; }));
    EXPECT_FALSE(f->FVelocity);
    EXPECT_TRUE(f->FFileIn);
    EXPECT_EQ(f->FFileName, path.toStdString());
    EXPECT_EQ(f->FPage, 1);
    EXPECT_EQ(f->FPageCount, pagesOf(book));
    EXPECT_EQ(f->Label2->text(), QString::number(pagesOf(book)));
    EXPECT_EQ(written(*f), rowsOf(book, 1));
    EXPECT_FALSE(f->pictureState.FSamePage)
            << "written as by the forward command: Space goes on to page 2";

    QMimeData passage;
    passage.setText(QStringLiteral("\u5409\u91CE\u306E\u685C\n\u3042\u3044\u3046"));
    ASSERT_TRUE(drop(*f, passage));
    ASSERT_TRUE(waitFor([&] { return f->FFileName == "Clipboard"; }));
    EXPECT_EQ(f->FFileName, "Clipboard");
    EXPECT_FALSE(f->readingBook);
    EXPECT_EQ(f->FPageCount, 1);
    EXPECT_EQ(f->FRows[0], "\x8B\x67\x96\xEC\x82\xCC\x8D\xF7");
    EXPECT_EQ(f->FRows[1], "\x82\xA0\x82\xA2\x82\xA4");
    EXPECT_TRUE(shelf.messages.isEmpty());

    QMimeData nothing;
    EXPECT_FALSE(drop(*f, nothing)) << "a drag with nothing to read is not accepted";
}

// A passage is read for one run: the next start reads the default text at
// the page it was left at, not at the passage's page.
TEST(Books, APassageLeavesTheDefaultTextsPlace)
{
    Shelf shelf({{"Form\\FPage", "Integer", "9"}});
    {
        auto f = shelf.open();
        f->TriButton1Click();
        f->TriButton1Click();
        QMimeData passage;
        passage.setText(QString(400, QChar(0x3042)));
        drop(*f, passage);
        ASSERT_TRUE(waitFor([&] { return f->FFileIn; }));
        f->TriButton1Click();
        EXPECT_EQ(f->FPage, 2);
        EXPECT_TRUE(f->FormCloseQuery());
    }
    corvane::IniProfile ini(shelf.ini_path().toStdString());
    EXPECT_EQ(ini.read("Form\\FFileName", "String"), "Clipboard");
    EXPECT_EQ(ini.read("Form\\FPage", "Integer"), "10");
    auto f = shelf.open();
    EXPECT_FALSE(f->FFileIn);
    EXPECT_EQ(f->FPage, 10);
    EXPECT_EQ(f->FPageCount, pagesOf(corpus("akutagawa-rashomon.txt")));
}

// What is no readable text is refused with a message naming it, and nothing
// of the text, the page or the picture changes.
TEST(Books, RefusedDropsChangeNothing)
{
    Shelf shelf;
    auto f = shelf.open();
    f->ExtTrackBar1->setValue(5);
    f->TriButton1Click();
    const QImage picture = f->picture().copy();
    const std::string rows = f->Editor2->Lines().Text();
    const QString binary
            = shelf.put(QStringLiteral("cover.jpg"), QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
    const QString folder = shelf.path(QStringLiteral("sub"));
    QDir().mkdir(folder);
    for (const QString &path : {folder, binary}) {
        const int before = int(shelf.messages.size());
        ASSERT_TRUE(drop(*f, *fileDrop(path)));
        ASSERT_TRUE(waitFor([&] { return shelf.messages.size() > before; })) << path.toStdString();
        EXPECT_TRUE(shelf.messages.back().contains(path));
        EXPECT_EQ(f->HintLabel1->text(), QStringLiteral("Not a text"));
        EXPECT_EQ(f->FPage, 5);
        EXPECT_FALSE(f->FFileIn);
        EXPECT_TRUE(f->FFileName.empty());
        EXPECT_EQ(f->Editor2->Lines().Text(), rows);
        EXPECT_EQ(f->picture(), picture);
    }
    EXPECT_TRUE(shelf.messages[0].contains(QStringLiteral("folder")));
    EXPECT_TRUE(shelf.messages[1].contains(QStringLiteral("NUL")));

    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(binary), QUrl::fromLocalFile(shelf.path("olympos.txt"))});
    ASSERT_TRUE(drop(*f, two));
    EXPECT_TRUE(waitFor([&] { return shelf.messages.size() == 3; }))
            << "several files at once are refused";
    EXPECT_EQ(f->FPage, 5);
}

// Each book continues where it was left: when another is opened, and in the
// next run, through the section the settings file keeps for the books.
TEST(Books, EachBookContinuesAtItsPage)
{
    Shelf shelf;
    const QString olympos = shelf.path("olympos.txt");
    const QString bunka = shelf.path(QStringLiteral("\u6587\u5316.txt"));
    {
        auto f = shelf.open();
        drop(*f, *fileDrop(olympos));
        ASSERT_TRUE(waitFor([&] { return f->readingBook; }));
        f->ExtTrackBar1->setValue(30);
        f->TriButton1Click();
        drop(*f, *fileDrop(bunka));
        ASSERT_TRUE(waitFor([&] { return f->FFileName == bunka.toStdString(); }));
        EXPECT_EQ(f->FPage, 1) << "a book never read starts at page 1";
        f->TriButton1Click();
        f->TriButton1Click();
        drop(*f, *fileDrop(olympos));
        ASSERT_TRUE(waitFor([&] { return f->FFileName == olympos.toStdString(); }));
        EXPECT_EQ(f->FPage, 30);
        EXPECT_EQ(written(*f), rowsOf(corpus("tanaka-olympos.txt"), 30));
        f->TriButton1Click();
        EXPECT_TRUE(f->FormCloseQuery());
    }
    corvane::IniProfile ini(shelf.ini_path().toStdString());
    // Both are Aozora texts read raw: each page with where it starts in the file.
    EXPECT_THAT(ini.read("Corvane\\Books", "Book1").value_or(""),
                testing::MatchesRegex("31:r:[0-9]+ " + olympos.toStdString()));
    EXPECT_THAT(ini.read("Corvane\\Books", "Book2").value_or(""),
                testing::MatchesRegex("3:r:[0-9]+ " + bunka.toStdString()));
    EXPECT_EQ(ini.read("Form\\FPage", "Integer"), "31");

    // The next run opens the saved book at its page; a drop of the other one
    // continues at its own.
    auto f = shelf.open();
    EXPECT_EQ(f->FFileName, olympos.toStdString());
    EXPECT_EQ(f->FPage, 31);
    drop(*f, *fileDrop(bunka));
    ASSERT_TRUE(waitFor([&] { return f->FFileName == bunka.toStdString(); }));
    EXPECT_EQ(f->FPage, 3);
    EXPECT_EQ(written(*f), rowsOf(corpus("miyamoto-bunka-mondai.txt"), 3));
}

// A drop while a page is being written (or before the deferred load) waits
// until the write has ended.
TEST(Books, ADropWaitsForThePageWriteUnderWay)
{
    Shelf shelf;
    auto f = std::make_unique<TForm1>(shelf.ini_path());
    f->messageBox = [&](const QString &m) { shelf.messages << m; };
    f->Timer2->stop();
    ASSERT_TRUE(drop(*f, *fileDrop(shelf.path("olympos.txt"))));
    QTest::qWait(120);
    EXPECT_FALSE(f->FFileIn) << "the deferred load has not run yet";
    loadNow(*f);
    ASSERT_TRUE(waitFor([&] { return f->readingBook; }));
    EXPECT_EQ(f->FPageCount, pagesOf(corpus("tanaka-olympos.txt")));

    ++f->pageWrites; // as inside the forward command's event pump
    ASSERT_TRUE(drop(*f, *fileDrop(shelf.path(QStringLiteral("\u6587\u5316.txt")))));
    QTest::qWait(120);
    EXPECT_EQ(f->FFileName, shelf.path("olympos.txt").toStdString());
    --f->pageWrites;
    EXPECT_TRUE(waitFor([&] { return f->FFileName != shelf.path("olympos.txt").toStdString(); }));
}

// A book read while a page is written waits for the page; a newer choice
// made meanwhile stands, and the waiting book never lands over it.
TEST(Books, AReadBookWaitingForThePageNeverLandsOverANewerChoice)
{
    Shelf shelf;
    auto f = shelf.open();
    ++f->pageWrites;
    f->openBook(shelf.path("olympos.txt").toStdString());
    QTest::qWait(300);
    EXPECT_FALSE(f->readingBook) << "read, and waiting for the page";
    --f->pageWrites;
    f->openPassage(QStringLiteral("\u3042"));
    QTest::qWait(300);
    EXPECT_EQ(f->FFileName, "Clipboard");
}

// Two reads of 3 s each: the Difference animation goes on painting, the
// status line shows the progress once a second has passed, and the book
// stands once read.
TEST(Books, TheAnimationPaintsWhileABookIsReadSlowly)
{
    Shelf shelf;
    const QString slow = shelf.put("olympos.slow-3000.txt", corpus("tanaka-olympos.txt"));
    auto f = shelf.open();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    f->Effect1Click();
    PaintClock paints;
    f->Image1->installEventFilter(&paints);
    QTest::qWait(300);

    const auto from = paints.now();
    drop(*f, *fileDrop(slow));
    QString progress;
    auto to = from; // the last look before the book stood: its paging is no read
    ASSERT_TRUE(waitFor(
            [&] {
                if (f->HintLabel1->text().startsWith(QStringLiteral("Reading ")))
                    progress = f->HintLabel1->text();
                if (!f->readingBook)
                    to = paints.now();
                return f->readingBook;
            },
            15000));
    EXPECT_GE(to.first - from.first, 5900) << "each of the two reads waits 3 s";
    const qint64 gap = paints.longestGap(from, to);
    std::printf("longest gap between two paints while the book was read: %lld ms, %lld ms less "
                "the waits for a processor (%lld ms of %lld ms)\n",
                static_cast<long long>(paints.longestGap(from, to, false)),
                static_cast<long long>(gap), static_cast<long long>(to.second - from.second),
                static_cast<long long>(to.first - from.first));
    EXPECT_LT(gap, 200);
    EXPECT_TRUE(progress.endsWith(QStringLiteral(" %"))) << progress.toStdString();
    EXPECT_EQ(f->HintLabel1->text(), QStringLiteral("Corvane"))
            << "the progress ends with the read";
}

// A second open while a book is read cancels it: the second book stands and
// nothing of the first lands later. A read that is refused, or cancelled by
// the close, loses nothing of the text, its page or the settings.
TEST(Books, ASecondOpenCancelsTheFirstAndFailedReadsLoseNothing)
{
    Shelf shelf;
    const QString slow = shelf.put("olympos.slow-1000.txt", corpus("tanaka-olympos.txt"));
    const QString olympos = shelf.path("olympos.txt");
    auto f = shelf.open();
    drop(*f, *fileDrop(slow));
    QTest::qWait(300);
    drop(*f, *fileDrop(olympos));
    ASSERT_TRUE(waitFor([&] { return f->readingBook; }));
    f->ExtTrackBar1->setValue(7);
    f->TriButton1Click();
    const std::string rows = f->Editor2->Lines().Text();
    const std::vector<std::string> page = written(*f);
    QTest::qWait(2500); // the first read would have ended
    EXPECT_EQ(f->FFileName, olympos.toStdString());
    EXPECT_EQ(f->FPage, 7);
    EXPECT_EQ(f->bookPlaces.places().size(), 1u);

    drop(*f, *fileDrop(shelf.put("cover.slow-1000.txt", QByteArray(64, '\0'))));
    ASSERT_TRUE(waitFor([&] { return !shelf.messages.isEmpty(); }, 5000));
    EXPECT_TRUE(shelf.messages.back().contains(QStringLiteral("NUL")));
    drop(*f, *fileDrop(slow));
    QTest::qWait(300);
    EXPECT_TRUE(f->FormCloseQuery());
    QTest::qWait(2500);
    EXPECT_EQ(f->FFileName, olympos.toStdString());
    EXPECT_EQ(f->FPage, 7);
    f = shelf.open();
    EXPECT_EQ(f->FFileName, olympos.toStdString());
    EXPECT_EQ(f->FPage, 7);
    f->TriButton1Click();
    EXPECT_EQ(f->Editor2->Lines().Text(), rows);
    EXPECT_EQ(written(*f), page);
}

// "Open With": the file named on the command line is read by the deferred
// load instead of the saved source, at its remembered page, and nothing is
// written until the first Ecriture command. A refused one leaves the saved
// source to load.
TEST(Books, TheCommandLineFileReplacesTheSavedSource)
{
    Shelf shelf(
            {{"Form\\FPage", "Integer", "4"}, {"Corvane\\Books", "Book1", "12 /elsewhere/x.txt"}});
    const QString bunka = shelf.path(QStringLiteral("\u6587\u5316.txt"));
    corvane::IniProfile(shelf.ini_path().toStdString())
            .write("Corvane\\Books", "Book2", "7 " + bunka.toStdString());
    {
        auto f = shelf.open("\xE6\x96\x87\xE5\x8C\x96.txt"); // relative to the current folder
        EXPECT_EQ(f->FFileName, bunka.toStdString());
        EXPECT_EQ(f->FPage, 7);
        EXPECT_FALSE(f->pictureState.FPageShown);
        EXPECT_TRUE(f->pictureState.FSamePage);
        f->TriButton1Click();
        EXPECT_EQ(written(*f), rowsOf(corpus("miyamoto-bunka-mondai.txt"), 7));
        EXPECT_EQ(f->bookPlaces.places().front().path, bunka.toStdString());
    }
    auto g = shelf.open(shelf.path("missing.txt").toStdString());
    ASSERT_EQ(shelf.messages.size(), 1);
    EXPECT_TRUE(shelf.messages[0].contains(QStringLiteral("does not exist")));
    EXPECT_FALSE(g->FFileIn);
    EXPECT_EQ(g->FPage, 4) << "the saved source and its page";
    EXPECT_EQ(g->HintLabel1->text(), QStringLiteral("Not a text")) << "said after the load";
    EXPECT_EQ(g->FPageCount, pagesOf(corpus("akutagawa-rashomon.txt")));
}

// A book in UTF-16 whose name is Shift-JIS bytes (as unpacked from a Japanese
// ZIP archive) opens by drop (the URL's bytes) and by argument, and the next
// start brings it back at its page; the message for a refused one shows the
// name's undecodable bytes escaped.
TEST(Books, UnicodeBooksWithShiftJisNamesOpenOnEveryRoute)
{
    Shelf shelf;
    const QByteArray book = corpus("tanaka-olympos.txt");
    QByteArray utf16("\xFF\xFE", 2);
    const std::string folder = QFile::encodeName(shelf.dir.path()).toStdString();
    const std::string name = folder + "/\x95\xB6\x89\xBB.txt"; // 文化 in Shift-JIS
    {
        QProcess iconv;
        iconv.start("iconv", {"-f", "CP932", "-t", "UTF-16LE"});
        iconv.write(book);
        iconv.closeWriteChannel();
        ASSERT_TRUE(iconv.waitForFinished());
        utf16 += iconv.readAllStandardOutput();
        std::FILE *out = std::fopen(name.c_str(), "wb");
        ASSERT_TRUE(out);
        std::fwrite(utf16.constData(), 1, size_t(utf16.size()), out);
        std::fclose(out);
    }
    {
        auto f = shelf.open();
        QMimeData data;
        data.setData("text/uri-list",
                     "file://" + QByteArray::fromStdString(folder) + "/%95%B6%89%BB.txt\r\n");
        ASSERT_TRUE(drop(*f, data));
        ASSERT_TRUE(waitFor([&] { return f->pictureState.FPageShown; }));
        EXPECT_EQ(f->FFileName, name);
        EXPECT_EQ(f->FPageCount, pagesOf(book));
        EXPECT_EQ(written(*f), rowsOf(book, 1));
        f->TriButton1Click();
        ASSERT_TRUE(f->FormCloseQuery());
    }
    EXPECT_EQ(shelf.open()->FPage, 2) << "the saved source came back at its page";
    auto g = shelf.open(name);
    EXPECT_EQ(g->FFileName, name) << "by argument";
    EXPECT_TRUE(shelf.messages.isEmpty());
    std::remove(name.c_str()); // QDir cannot name it to clean up
    EXPECT_EQ(corvane::displayPath("/a/\x95\xB6\xE6\x96\x87.txt"),
              QStringLiteral("/a/\\x95\\xb6\u6587.txt"));
}

// An empty text has no pages: whatever the stored page or the route it came
// by, page 1 is what the next start reads it at.
TEST(Books, AnEmptyTextStoresPageOne)
{
    Shelf shelf({{"Form\\FPage", "Integer", "5"}});
    shelf.put(QStringLiteral("corvane.txt"), QByteArray());
    const QString empty = shelf.put(QStringLiteral("empty.txt"), QByteArray());
    for (const bool dropped : {false, true}) {
        auto f = shelf.open();
        if (dropped) {
            ASSERT_TRUE(drop(*f, *fileDrop(empty)));
            ASSERT_TRUE(waitFor([&] { return f->FFileIn; }));
        }
        f->ExtTrackBar1->setValue(5); // the slider keeps its design range 1..5
        f->TriButton1Click();
        f->TriButton2Click();
        ASSERT_TRUE(f->FormCloseQuery());
        EXPECT_EQ(
                corvane::IniProfile(shelf.ini_path().toStdString()).read("Form\\FPage", "Integer"),
                "1")
                << (dropped ? "dropped" : "corvane.txt");
    }
}

// The first character drawn in a row (or text), blanks and indent passed over.
std::string firstInk(std::string_view s)
{
    while (s.starts_with(' ') || s.starts_with("\x81\x40"))
        s.remove_prefix(s[0] == ' ' ? 1 : 2);
    return std::string(s.substr(0, uint8_t(s.empty() ? 0 : s[0]) < 0x80 ? 1 : 2));
}

// The page read holds the character at the file's place: its first row
// starts at or before it, the next page after it.
void expectPageHolds(const TForm1 &f, uint32_t place, const char *what)
{
    EXPECT_LE(f.aozora.passageOfPage(f.FPage), place) << what;
    if (f.FPage < f.FPageCount) {
        EXPECT_GT(f.aozora.passageOfPage(f.FPage + 1), place) << what;
    }
}

// The Aozora mode on a corpus text: read with its markup, then switched off
// to the rows of the raw mode exactly, at the page holding the first
// character of the page read (the character at that place in the file is
// the one the page starts with), and on again likewise. The choice is stored.
TEST(Books, TheAozoraSwitchKeepsThePassage)
{
    Shelf shelf({{"Form1\\Aozora", "Boolean", "1"}});
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    const std::string file = corvane::normaliseText(text.toStdString());
    auto f = shelf.open();
    ASSERT_TRUE(f->aozora.active);
    EXPECT_LT(f->FPageCount, pagesOf(text)) << "the legend and the readings take no rows";
    for (int page = 2; page < f->FPageCount; page += 3) {
        f->ExtTrackBar1->setValue(page);
        f->TriButton1Click();
        const uint32_t passage = f->aozora.passageOfPage(page);
        EXPECT_EQ(firstInk(written(*f)[0]), firstInk(std::string_view(file).substr(passage)));
        f->switchAozora();
        EXPECT_EQ(f->HintLabel1->text(), QStringLiteral("Aozora off"));
        ASSERT_FALSE(f->aozora.active);
        EXPECT_EQ(written(*f), rowsOf(text, f->FPage)) << "the raw rows of today";
        expectPageHolds(*f, passage, "raw");
        const uint32_t raw = f->aozora.passageOfPage(f->FPage);
        EXPECT_EQ(file.substr(raw, written(*f)[0].size()), written(*f)[0]);
        f->switchAozora();
        EXPECT_EQ(f->HintLabel1->text(), QStringLiteral("Aozora on"));
        expectPageHolds(*f, raw, "Aozora");
    }
    ASSERT_TRUE(f->FormCloseQuery());
    EXPECT_EQ(corvane::IniProfile(shelf.ini_path().toStdString()).read("Form1\\Aozora", "Boolean"),
              "1");
}

// A book left in one mode and opened again in the other goes to its passage;
// a place stored before passages were (page alone) keeps its page.
TEST(Books, ABookLeftInOneModeOpensAtItsPassageInTheOther)
{
    Shelf shelf;
    const QString olympos = shelf.path("olympos.txt"),
                  bunka = shelf.path(QStringLiteral("\u6587\u5316.txt"));
    corvane::IniProfile(shelf.ini_path().toStdString())
            .write("Corvane\\Books", "Book1", "40 " + bunka.toStdString());
    auto f = shelf.open();
    drop(*f, *fileDrop(olympos));
    ASSERT_TRUE(waitFor([&] { return f->readingBook; }));
    f->ExtTrackBar1->setValue(60);
    const uint32_t passage = f->aozora.passageOfPage(60);
    drop(*f, *fileDrop(bunka));
    ASSERT_TRUE(waitFor([&] { return f->FFileName == bunka.toStdString(); }));
    EXPECT_EQ(f->FPage, 40);
    f->switchAozora();
    drop(*f, *fileDrop(olympos));
    ASSERT_TRUE(waitFor([&] { return f->FFileName == olympos.toStdString(); }));
    ASSERT_TRUE(f->aozora.active);
    EXPECT_LT(f->FPage, 60);
    expectPageHolds(*f, passage, "opened in the Aozora mode");
}
