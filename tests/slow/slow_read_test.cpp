// The window while a book is read from a slow file system: every read of a
// file named "*.slow-<ms>*" waits that long (the corvane-slow-read library,
// preloaded by the suite).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "settings/IniProfile.h"
#include "tests/support/LoadNow.h"
#include "text/TEditor.h"

namespace {

struct Shelf
{
    QTemporaryDir dir;
    QStringList messages;

    Shelf()
    {
        for (const char *name :
             {"corvane.txt", "olympos.txt", "olympos.slow-3000.txt", "olympos.slow-1000.txt"})
            QFile::copy(QStringLiteral(CORVANE_CORPUS_DIR "/tanaka-olympos.txt"), path(name));
        QFile::remove(path("corvane.txt"));
        QFile::copy(QStringLiteral(CORVANE_CORPUS_DIR "/akutagawa-rashomon.txt"),
                    path("corvane.txt"));
        QFile cover(path("cover.slow-1000.txt"));
        cover.open(QIODevice::WriteOnly);
        cover.write(QByteArray(64, '\0'));
        corvane::IniProfile ini(path("corvane.ini").toStdString());
        ini.write("Form\\LCheckBox12", "Checked", "0");
        ini.write("Form\\LCheckBox7", "Checked", "0");
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<TForm1> open()
    {
        auto f = std::make_unique<TForm1>(path("corvane.ini"));
        f->messageBox = [this](const QString &m) { messages << m; };
        f->Timer2->stop();
        loadNow(*f);
        return f;
    }
};

void openFile(TForm1 &f, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    f.openDropped(data);
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    for (int waited = 0; !done() && waited < ms; waited += 5)
        QTest::qWait(5);
    return done();
}

// Times the picture's paints.
struct PaintClock : QObject
{
    QElapsedTimer clock;
    std::vector<qint64> paints;
    PaintClock() { clock.start(); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints.push_back(clock.elapsed());
        return false;
    }
    qint64 longestGap(qint64 from, qint64 to) const
    {
        qint64 last = from, longest = 0;
        for (qint64 t : paints)
            if (t > from && t <= to) {
                longest = std::max(longest, t - last);
                last = t;
            }
        return std::max(longest, to - last);
    }
};

} // namespace

// Two reads of 3 s each: the Difference animation goes on painting, the
// status line shows the progress once a second has passed, and the book
// stands once read.
TEST(SlowRead, TheAnimationPaintsWhileABookIsRead)
{
    Shelf shelf;
    auto f = shelf.open();
    f->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    f->Effect1Click();
    PaintClock paints;
    f->Image1->installEventFilter(&paints);
    QTest::qWait(300);

    const qint64 from = paints.clock.elapsed();
    openFile(*f, shelf.path("olympos.slow-3000.txt"));
    QString progress;
    ASSERT_TRUE(waitFor(
            [&] {
                if (f->HintLabel1->text().startsWith(QStringLiteral("Reading ")))
                    progress = f->HintLabel1->text();
                return f->FReadingBook;
            },
            15000));
    const qint64 to = paints.clock.elapsed();
    EXPECT_GE(to - from, 6000) << "each of the two reads waits 3 s";
    const qint64 gap = paints.longestGap(from, to);
    std::printf("longest gap between two paints while the book was read: %lld ms over %lld ms\n",
                static_cast<long long>(gap), static_cast<long long>(to - from));
    EXPECT_LT(gap, 200);
    EXPECT_TRUE(progress.endsWith(QStringLiteral(" %"))) << progress.toStdString();
    EXPECT_EQ(f->HintLabel1->text(), QStringLiteral("Corvane"))
            << "the progress ends with the read";
}

// A second open while a book is read cancels it: the second book stands and
// nothing of the first lands later. A read that is refused, or cancelled by
// the close, loses nothing of the text, its page or the settings.
TEST(SlowRead, ASecondOpenCancelsTheFirstAndFailedReadsLoseNothing)
{
    Shelf shelf;
    auto f = shelf.open();
    openFile(*f, shelf.path("olympos.slow-1000.txt"));
    QTest::qWait(300);
    openFile(*f, shelf.path("olympos.txt"));
    ASSERT_TRUE(waitFor([&] { return f->FReadingBook; }, 3000));
    f->ExtTrackBar1->setValue(7);
    f->TriButton1Click();
    const std::string rows = f->Editor2->Lines().Text();
    const std::vector<std::string> page(f->FRows.begin(), f->FRows.end());
    QTest::qWait(2500); // the first read would have ended
    EXPECT_EQ(f->FFileName, shelf.path("olympos.txt").toStdString());
    EXPECT_EQ(f->FPage, 7);
    EXPECT_EQ(f->FBooks.places().size(), 1u);

    openFile(*f, shelf.path("cover.slow-1000.txt"));
    ASSERT_TRUE(waitFor([&] { return !shelf.messages.isEmpty(); }, 5000));
    EXPECT_TRUE(shelf.messages.back().contains(QStringLiteral("NUL")));
    openFile(*f, shelf.path("olympos.slow-1000.txt"));
    QTest::qWait(300);
    EXPECT_TRUE(f->FormCloseQuery());
    QTest::qWait(2500);
    EXPECT_EQ(f->FFileName, shelf.path("olympos.txt").toStdString());
    EXPECT_EQ(f->FPage, 7);
    f = shelf.open();
    EXPECT_EQ(f->FFileName, shelf.path("olympos.txt").toStdString());
    EXPECT_EQ(f->FPage, 7);
    f->TriButton1Click();
    EXPECT_EQ(f->Editor2->Lines().Text(), rows);
    EXPECT_EQ(std::vector<std::string>(f->FRows.begin(), f->FRows.end()), page);
}
