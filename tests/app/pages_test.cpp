// The deferred load and the page commands of the window, with a temporary
// settings file and working folder.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "settings/IniProfile.h"
#include "text/PagedText.h"
#include "text/TextSource.h"

namespace {

// A working folder holding corvane.txt (or not) and the settings file, made
// current for the test's lifetime; "+Begin End" is off so no title screen runs.
struct Folder
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    Folder(const QByteArray *text, std::initializer_list<std::array<const char *, 3>> settings)
    {
        if (text) {
            QFile f(dir.filePath(QStringLiteral("corvane.txt")));
            f.open(QIODevice::WriteOnly);
            f.write(*text);
        }
        corvane::IniProfile ini(ini_path().toStdString());
        ini.write("Form\\LCheckBox12", "Checked", "0");
        for (const auto &s : settings)
            ini.write(s[0], s[1], s[2]);
        QDir::setCurrent(dir.path());
    }
    ~Folder() { QDir::setCurrent(previous); }
    QString ini_path() const { return dir.filePath(QStringLiteral("corvane.ini")); }
};

QByteArray corpus(const char *name)
{
    QFile f(QStringLiteral(CORVANE_CORPUS_DIR "/") + QString::fromLatin1(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

int pagesOf(const QByteArray &text, bool normalise)
{
    return int(corvane::pagedRows(std::string_view(text.constData(), size_t(text.size())), normalise).size() / 13);
}

} // namespace

TEST(PagesWindow, KeepWithATextFileShowsTheStoredPageAndItsPageCount)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\FPage", "Integer", "7"}});
    TForm1 f(folder.ini_path());
    f.Timer2Timer();
    const int pages = pagesOf(text, true);
    EXPECT_EQ(f.FPageCount, pages);
    EXPECT_EQ(f.Label2->text(), QString::number(pages));
    EXPECT_EQ(f.Label1->text(), QStringLiteral("7"));
    EXPECT_EQ(f.ExtTrackBar1->value(), 7);
    EXPECT_TRUE(f.FPagesBuilt);
    EXPECT_FALSE(f.Timer2->isActive());
}

TEST(PagesWindow, StoredPagesOutsideTheTextAreClamped)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    const int pages = pagesOf(text, true);
    {
        Folder folder(&text, {{"Form\\FPage", "Integer", "100000"}});
        TForm1 f(folder.ini_path());
        f.Timer2Timer();
        EXPECT_EQ(f.FPage, pages) << "beyond the count: the last page";
    }
    {
        Folder folder(&text, {{"Form\\FPage", "Integer", "-3"}});
        TForm1 f(folder.ini_path());
        f.Timer2Timer();
        EXPECT_EQ(f.FPage, 1) << "below 1: page 1";
        EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
    }
}

TEST(PagesWindow, KeepOffIgnoresTheTextFile)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\LCheckBox11", "Checked", "0"}, {"Form\\FPage", "Integer", "9"}});
    TForm1 f(folder.ini_path());
    f.Timer2Timer();
    const std::string builtin = corvane::builtinTextBytes();
    EXPECT_EQ(f.FPageCount, pagesOf(QByteArray::fromStdString(builtin), false));
    EXPECT_EQ(f.FPage, 1);
}

TEST(PagesWindow, ForwardBackResetAndTheSlider)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\LCheckBox7", "Checked", "0"}}); // no blend steps: faster
    TForm1 f(folder.ini_path());
    f.Timer2Timer();
    const int last = f.FPageCount;

    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 1) << "the first forward writes the stored page itself";
    EXPECT_TRUE(f.FPageShown);
    EXPECT_FALSE(f.FSamePage);
    f.TriButton2Click();
    EXPECT_EQ(f.FPage, last) << "back from page 1 writes the last page";
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 1) << "forward from the last page writes page 1";

    f.ExtTrackBar1->setValue(5);
    EXPECT_EQ(f.FPage, 5);
    EXPECT_TRUE(f.FSamePage);
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 5) << "after the slider, forward writes the chosen page";
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 6);

    f.Reset1Click();
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
}

TEST(PagesWindow, BookmarkBeyondThePagesIsRefused)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\FLeaf", "Integer", "100000"}, {"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    f.Timer2Timer();
    const QImage before = f.picture().copy();
    f.Leafgo1Click();
    EXPECT_EQ(f.HintLabel1->text(), QStringLiteral("over page, set leaf"));
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.picture(), before);

    f.ExtTrackBar1->setValue(3);
    f.Leaf1Click();
    EXPECT_EQ(f.FLeaf, 3);
    EXPECT_EQ(f.Leafgo1->toolTip(), QStringLiteral("3 page"));
    f.FVelocity = true; // an effect running: the bookmark is refused
    f.ExtTrackBar1->setValue(4);
    f.Leaf1Click();
    EXPECT_EQ(f.FLeaf, 3);
    f.FVelocity = false;
}

TEST(PagesWindow, AnEmptyTextGivesNoPagesAndAnEmptyPage)
{
    const QByteArray empty;
    Folder folder(&empty, {{"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    f.Timer2Timer();
    EXPECT_EQ(f.FPageCount, 0);
    EXPECT_EQ(f.Label2->text(), QStringLiteral("0"));
    f.TriButton1Click();
    f.TriButton2Click();
    for (const std::string &row : f.FRows)
        EXPECT_TRUE(row.empty());
}
