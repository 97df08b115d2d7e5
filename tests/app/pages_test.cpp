// The deferred load and the page commands of the window, with a temporary
// settings file and working folder.
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "tests/support/HeldAnimation.h"
#include "tests/support/LoadNow.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "settings/IniProfile.h"
#include "text/PagedText.h"
#include "text/TextSource.h"

using corvane::OptionBox;

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
        ini.write("Form1\\Aozora", "Boolean", "0"); // the corpus text read raw, as pinned
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
    return int(
            corvane::pagedRows(std::string_view(text.constData(), size_t(text.size())), normalise)
                    .size()
            / 13);
}

} // namespace

TEST(PagesWindow, KeepWithATextFileShowsTheStoredPageAndItsPageCount)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\FPage", "Integer", "7"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
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
        loadNow(f);
        EXPECT_EQ(f.FPage, pages) << "beyond the count: the last page";
    }
    {
        Folder folder(&text, {{"Form\\FPage", "Integer", "-3"}});
        TForm1 f(folder.ini_path());
        loadNow(f);
        EXPECT_EQ(f.FPage, 1) << "below 1: page 1";
        EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
    }
}

TEST(PagesWindow, KeepOffIgnoresTheTextFile)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\LCheckBox11", "Checked", "0"}, {"Form\\FPage", "Integer", "9"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
    const std::string builtin = corvane::builtinTextBytes();
    EXPECT_EQ(f.FPageCount, pagesOf(QByteArray::fromStdString(builtin), false));
    EXPECT_EQ(f.FPage, 1);
}

TEST(PagesWindow, ForwardBackResetAndTheSlider)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\LCheckBox7", "Checked", "0"}}); // no blend steps: faster
    TForm1 f(folder.ini_path());
    loadNow(f);
    const int last = f.FPageCount;

    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 1) << "the first forward writes the stored page itself";
    EXPECT_TRUE(f.pictureState.FPageShown);
    EXPECT_FALSE(f.pictureState.FSamePage);
    f.TriButton2Click();
    EXPECT_EQ(f.FPage, last) << "back from page 1 writes the last page";
    EXPECT_EQ(f.ExtTrackBar1->value(), last) << "the slider follows the page";
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 1) << "forward from the last page writes page 1";
    EXPECT_EQ(f.ExtTrackBar1->value(), 1);

    f.ExtTrackBar1->setValue(5);
    EXPECT_EQ(f.FPage, 5);
    EXPECT_TRUE(f.pictureState.FSamePage);
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 5) << "after the slider, forward writes the chosen page";
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 6);
    EXPECT_EQ(f.ExtTrackBar1->value(), 6);

    f.Reset1Click();
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
}

TEST(PagesWindow, BookmarkBeyondThePagesIsRefused)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text,
                  {{"Form\\FLeaf", "Integer", "100000"}, {"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
    const QImage before = f.picture().copy();
    f.Leafgo1Click();
    EXPECT_EQ(f.HintLabel1->text(), QStringLiteral("over page, set leaf"));
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.picture(), before);

    f.ExtTrackBar1->setValue(3);
    f.Leaf1Click();
    EXPECT_EQ(f.FLeaf, 3);
    EXPECT_EQ(f.Leafgo1->toolTip(), QStringLiteral("3 page"));
    startHeld(f, Animation::Velocity); // an effect running: the bookmark is refused
    f.ExtTrackBar1->setValue(4);
    f.Leaf1Click();
    EXPECT_EQ(f.FLeaf, 3);
    f.EffectOut1Click();
}

TEST(PagesWindow, AnEmptyTextGivesNoPagesAndAnEmptyPage)
{
    const QByteArray empty;
    Folder folder(&empty, {{"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
    EXPECT_EQ(f.FPageCount, 0);
    EXPECT_EQ(f.Label2->text(), QStringLiteral("0"));
    f.TriButton1Click();
    f.TriButton2Click();
    for (const std::string &row : f.FRows)
        EXPECT_TRUE(row.empty());
}

namespace {

// Row k of page p of a text, as the window pages it.
std::string rowOf(const QByteArray &text, int page, int k)
{
    const std::vector<std::string> rows
            = corvane::pagedRows(std::string_view(text.constData(), size_t(text.size())), true);
    return rows.at(size_t((page - 1) * 13 + k));
}

} // namespace

// Go writes the bookmarked page itself, and the page commands go on from it.
TEST(PagesWindow, GoWritesTheBookmarkedPageAndTheCommandsGoOnFromIt)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    loadNow(f);

    f.ExtTrackBar1->setValue(4);
    f.Leaf1Click();
    f.ExtTrackBar1->setValue(9);
    f.Leafgo1Click();
    EXPECT_EQ(f.FPage, 4);
    EXPECT_EQ(f.ExtTrackBar1->value(), 4);
    EXPECT_EQ(f.Label1->text(), QStringLiteral("4"));
    EXPECT_TRUE(f.pictureState.FPageShown);
    EXPECT_FALSE(f.pictureState.FSamePage);
    EXPECT_EQ(f.FRows[0], rowOf(text, 4, 0));
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 5);
    EXPECT_EQ(f.FRows[0], rowOf(text, 5, 0));
    f.TriButton2Click();
    f.TriButton2Click();
    EXPECT_EQ(f.FPage, 3) << "back always moves, whatever the slider or Go left";

    // Reset stops a running animation and writes page 1.
    f.VelocityClick();
    ASSERT_TRUE(f.FVelocity);
    f.Reset1Click();
    EXPECT_FALSE(f.FVelocity);
    EXPECT_FALSE(f.Timer3->isActive());
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.FRows[0], rowOf(text, 1, 0));
}

// A stored bookmark below 1 counts as page 1, in its hint from the start and for Go.
TEST(PagesWindow, ABookmarkBelowOneIsPageOne)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text,
                  {{"Form\\FLeaf", "Integer", "0"},
                   {"Form\\LCheckBox7", "Checked", "0"},
                   {"Form\\FPage", "Integer", "6"}});
    TForm1 f(folder.ini_path());
    EXPECT_EQ(f.Leafgo1->toolTip(), QStringLiteral("1 page"));
    loadNow(f);
    f.Leafgo1Click();
    EXPECT_EQ(f.FPage, 1);
    EXPECT_TRUE(f.pictureState.FPageShown);
}

// With no text every page command lands on page 1 and Go is refused.
TEST(PagesWindow, WithoutATextEveryCommandLandsOnPageOne)
{
    const QByteArray empty;
    Folder folder(&empty, {{"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
    f.TriButton2Click();
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
    f.TriButton1Click();
    EXPECT_EQ(f.FPage, 1);
    f.Reset1Click();
    EXPECT_EQ(f.FPage, 1);
    f.Leafgo1Click();
    EXPECT_EQ(f.HintLabel1->text(), QStringLiteral("over page, set leaf"));
    EXPECT_EQ(f.FPage, 1);
}

// "Tenderly", "Horizontal" and "Gothic" write the page being read again, and
// wait while an animation owns the picture; "Gothic" alone goes on over plan
// de arts, which the rewrite stops.
TEST(PagesWindow, OptionBoxesRewriteThePageUnlessAnAnimationRuns)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text, {{"Form\\LCheckBox7", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
    f.TriButton1Click();
    f.TriButton1Click();
    ASSERT_EQ(f.FPage, 2);

    using Handler = void (TForm1::*)();
    const std::pair<const char *, Handler> boxes[] = {{"Tenderly", &TForm1::LCheckBox6Click},
                                                      {"Horizontal", &TForm1::LCheckBox8Click},
                                                      {"Gothic", &TForm1::LCheckBox15Click}};
    for (const auto &[name, handler] : boxes) {
        f.FOBlack1Click(); // the page faded away
        (f.*handler)();
        EXPECT_TRUE(f.pictureState.FPageShown) << name;
        EXPECT_EQ(f.FPage, 2) << name << ": the same page, not the next";
        EXPECT_FALSE(f.pictureState.FSamePage) << name;
    }

    const std::pair<const char *, Animation> animations[] = {{"Difference", Animation::Difference},
                                                             {"Velocity", Animation::Velocity},
                                                             {"plan de arts", Animation::Arts},
                                                             {"Deep", Animation::Deep}};
    for (const auto &[name, handler] : boxes) {
        for (const auto &[animation, which] : animations) {
            const bool gothicOverArts
                    = handler == &TForm1::LCheckBox15Click && which == Animation::Arts;
            startHeld(f, which);
            const corvane::PictureState shown = f.pictureState;
            const QImage picture = f.picture().copy();
            (f.*handler)();
            if (gothicOverArts) {
                EXPECT_NE(f.picture(), picture) << name << " over " << animation;
                EXPECT_FALSE(f.pictureState.FArtsShown) << name << " over " << animation;
                EXPECT_FALSE(f.FArts) << "the rewrite stops plan de arts";
            } else {
                EXPECT_EQ(f.picture(), picture) << name << " while " << animation << " runs";
                EXPECT_EQ(f.pictureState.FPageShown, shown.FPageShown) << name << ", " << animation;
                EXPECT_EQ(f.pictureState.FSamePage, shown.FSamePage) << name << ", " << animation;
                EXPECT_TRUE(f.busy()) << name << " must not stop " << animation;
            }
            f.EffectOut1Click();
            EXPECT_EQ(f.FPage, 2);
        }
    }
}

namespace {

// Answers the window's colour dialog as soon as it shows; a dialog that never
// shows is left alone, and `shown` tells whether it did.
void answerColourDialog(TForm1 &f, const QColor &colour, bool accept, bool *shown = nullptr)
{
    if (!f.ColorDialog1)
        f.ColorDialog1 = new QColorDialog(&f);
    QColorDialog *dialog = f.ColorDialog1;
    QTimer::singleShot(0, dialog, [dialog, colour, accept, shown] {
        if (shown)
            *shown = dialog->isVisible();
        if (!dialog->isVisible())
            return;
        dialog->setCurrentColor(colour);
        accept ? dialog->accept() : dialog->reject();
    });
}

QColor swatch(const QLabel *label)
{
    return label->palette().color(QPalette::Window);
}

} // namespace

// The text and the background colour are chosen alike: the colour goes to
// its own field and swatch, and a shown page is written again, the same page.
TEST(PagesWindow, ColourChoicesWriteTheShownPageAgainInTheNewColours)
{
    const QByteArray text = corpus("akutagawa-rashomon.txt");
    Folder folder(&text,
                  {{"Form\\LCheckBox7", "Checked", "0"}, {"Form\\LCheckBox6", "Checked", "0"}});
    TForm1 f(folder.ini_path());
    loadNow(f);
    f.TriButton1Click();
    f.TriButton1Click();
    const uint32_t background = f.GColor;

    answerColourDialog(f, QColor(255, 0, 0), true);
    f.FontColor1Click();
    EXPECT_EQ(f.FoColor, 0x0000FFu) << "red, 0x00BBGGRR";
    EXPECT_EQ(f.GColor, background);
    EXPECT_EQ(swatch(f.FLabel), QColor(255, 0, 0));
    EXPECT_EQ(f.FPage, 2);
    EXPECT_TRUE(f.pictureState.FPageShown);
    EXPECT_FALSE(f.pictureState.FSamePage) << "written again: the next forward goes on";

    answerColourDialog(f, QColor(0, 0, 200), true);
    f.BgColor1Click();
    EXPECT_EQ(f.GColor, 0xC80000u);
    EXPECT_EQ(f.FoColor, 0x0000FFu);
    EXPECT_EQ(swatch(f.GLabel), QColor(0, 0, 200));
    EXPECT_EQ(f.FPage, 2);
    EXPECT_FALSE(f.pictureState.FBColor);
    EXPECT_EQ(f.picture().pixelColor(0, 0), QColor(0, 0, 200))
            << "the page stands on the new background";

    // Cancelled: nothing changes.
    answerColourDialog(f, QColor(0, 255, 0), false);
    f.FontColor1Click();
    EXPECT_EQ(f.FoColor, 0x0000FFu);

    // No page shown: the picture fades to the background and stays blank.
    f.FOBlack1Click();
    answerColourDialog(f, QColor(10, 20, 30), true);
    f.BgColor1Click();
    EXPECT_EQ(f.GColor, 0x1E140Au);
    EXPECT_FALSE(f.pictureState.FPageShown);
    EXPECT_TRUE(f.pictureState.FSamePage);
    EXPECT_EQ(f.picture().pixelColor(240, 175), QColor(10, 20, 30));

    // While an animation runs the dialog does not even open.
    f.RectButtonClick();
    ASSERT_TRUE(f.FDeep);
    bool shown = true;
    answerColourDialog(f, QColor(1, 2, 3), true, &shown);
    f.FontColor1Click();
    f.BgColor1Click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(f.FoColor, 0x0000FFu);
    EXPECT_EQ(f.GColor, 0x1E140Au);
    f.EffectOut1Click();
}
