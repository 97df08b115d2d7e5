// The tray as the window runs it (the desktop's tray replaced by a switch),
// the fallback where there is none, and the About screen.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/AboutScreen.h"
#include "app/TForm1.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "effects/TABitmap.h"
#include "settings/IniProfile.h"
#include "tests/support/TestWindow.h"
#include "tests/support/HeldAnimation.h"
#include "writing/PageComposer.h"

using corvane::OptionBox;

namespace {

struct Window : TestWindow
{
    explicit Window(std::initializer_list<Setting> settings = {}, bool tray = true)
    {
        if (QApplication::windowIcon().isNull()) { // the program's Application sets its own
            QPixmap icon(16, 16);
            icon.fill(Qt::darkGreen);
            QApplication::setWindowIcon(icon);
        }
        store(settings);
        platform->tray = tray;
        build();
        form->show();
    }
    std::optional<std::string> stored(const char *section, const char *key) const
    {
        return corvane::IniProfile(ini().toStdString()).read(section, key);
    }
};

} // namespace

// With a tray: Small hides the window and shows the icon; a left press shows
// the window and removes the icon; other presses leave both as they are.
TEST(TrayWindow, SmallHidesBehindTheIconAndALeftPressBringsItBack)
{
    Window w;
    TForm1 &f = *w.form;
    EXPECT_EQ(f.tray()->toolTip(), "Corvane");
    EXPECT_FALSE(f.tray()->icon().isNull());
    ASSERT_EQ(f.tray()->contextMenu(), f.PopupMenu2);
    const QList<QAction *> items = f.PopupMenu2->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Show");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), "Close");

    f.Small2->trigger(); // the menu item and Ctrl+L run the same command
    EXPECT_TRUE(f.isHidden());
    EXPECT_TRUE(f.tray()->isVisible());

    f.TrayMessage(QSystemTrayIcon::Context);
    f.TrayMessage(QSystemTrayIcon::MiddleClick);
    EXPECT_TRUE(f.isHidden()) << "only a left press shows the window";
    EXPECT_TRUE(f.tray()->isVisible());

    f.TrayMessage(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(f.isHidden());
    EXPECT_FALSE(f.tray()->isVisible());

    f.Small1Click();
    f.Show1->trigger();
    EXPECT_FALSE(f.isHidden());
    EXPECT_FALSE(f.tray()->isVisible());
}

// The tray menu's Close removes the icon, writes the settings and, the window
// being hidden, writes no end screen ("+Begin End" is on).
TEST(TrayWindow, CloseFromTheTrayWritesTheSettingsWithoutTheEndScreen)
{
    Window w({{"Form\\LCheckBox12", "Checked", "1"}}); // "+Begin End" on
    TForm1 &f = *w.form;
    ASSERT_TRUE(f.checked(OptionBox::BeginEnd));
    f.FLeaf = 9;
    f.Small1Click();
    const QImage before = f.picture().copy();
    f.Close1->trigger();
    EXPECT_FALSE(f.tray()->isVisible());
    EXPECT_FALSE(f.FEnding);
    EXPECT_EQ(f.picture(), before) << "no end screen on the picture";
    EXPECT_EQ(w.stored("Form\\FLeaf", "Integer"), "9");
}

// Without a notification area the window is minimised, not hidden, so it can
// be reached again; the status line says why, once.
TEST(TrayWindow, WithoutATrayTheWindowIsMinimisedAndSaysSoOnce)
{
    Window w({}, false);
    TForm1 &f = *w.form;
    f.Small1Click();
    EXPECT_FALSE(f.isHidden());
    EXPECT_TRUE(f.isMinimized());
    EXPECT_FALSE(f.tray()->isVisible());
    EXPECT_EQ(f.HintLabel1->text(), "No tray: minimised");

    f.showNormal();
    f.setStatus(QStringLiteral("Slow on"));
    f.Small1Click();
    EXPECT_TRUE(f.isMinimized());
    EXPECT_EQ(f.HintLabel1->text(), "Slow on");
}

namespace {

// Pixels of `pic` that differ from colour by more than the grain could.
int inkIn(const QImage &pic, const QRect &r, QColor background)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = pic.pixelColor(x, y);
            if (std::abs(c.red() - background.red()) + std::abs(c.green() - background.green())
                        + std::abs(c.blue() - background.blue())
                > 60)
                ++n;
        }
    return n;
}

} // namespace

// The credits: each line at its point, nothing above the first or in the
// blank line's band; with "+Fade In" off one plain copy, with it on 17 blends
// of a quarter each, never quite the screen itself. The next Ecriture writes
// the page again (FSamePage).
TEST(AboutWindow, WritesTheLinesAtTheirPointsInOneCopyOrSeventeenBlends)
{
    Window w({{"Form\\LCheckBox7", "Checked", "0"}, {"Form\\LCheckBox12", "Checked", "0"}});
    TForm1 &f = *w.form;
    f.TriButton1Click(); // a page stands, and Space would go on from it
    f.About();
    EXPECT_FALSE(f.pictureState.FPageShown);
    EXPECT_TRUE(f.pictureState.FSamePage);

    corvane::TABitmap screen(481, 351);
    corvane::RandomGenerator random;
    corvane::composeAbout(screen, f.composer->faces(), false, f.FoColor, f.GColor, true, random);
    EXPECT_EQ(f.picture(), screen.image()) << "one plain copy of the screen";

    const QColor bg(0x4D, 0x5C, 0x50);
    const QImage &pic = f.picture();
    EXPECT_EQ(inkIn(pic, QRect(0, 0, 481, 38), bg), 0) << "nothing above the first line";
    EXPECT_GT(inkIn(pic, QRect(75, 40, 120, 17), bg), 50) << "Corvane ver 1.04";
    EXPECT_EQ(inkIn(pic, QRect(0, 40, 73, 90), bg), 0) << "the first four lines start at x = 75";
    EXPECT_EQ(inkIn(pic, QRect(0, 138, 481, 25), bg), 0) << "the line of spaces";
    for (int y = 165; y <= 315; y += 25)
        EXPECT_GT(inkIn(pic, QRect(50, y, 200, 17), bg), 50) << "line at y = " << y;
    EXPECT_EQ(inkIn(pic, QRect(0, 165, 48, 170), bg), 0) << "the concept lines start at x = 50";

    // "+Fade In": 17 blends of Alpha 64 from the picture as it was.
    f.box(OptionBox::FadeIn)->setChecked(true);
    f.FOBlack1Click();
    f.About();
    QImage expected(481, 351, QImage::Format_BGR888);
    expected.fill(Qt::black);
    for (int i = 0; i < 17; ++i)
        screen.BlendOnto(0, 0, 481, 351, expected, 64);
    EXPECT_EQ(f.picture(), expected);
    EXPECT_NE(f.picture(), screen.image());
}

// While an effect runs, About does nothing.
TEST(AboutWindow, RefusedWhileAnEffectRuns)
{
    Window w({{"Form\\LCheckBox12", "Checked", "0"}});
    TForm1 &f = *w.form;
    f.TriButton1Click(); // Deep leaves the written page's flags as they are
    startHeld(f, Animation::Deep);
    const QImage before = f.picture().copy();
    f.Scroll2->click();
    f.AboutT1->trigger();
    EXPECT_EQ(f.picture(), before);
    EXPECT_FALSE(f.pictureState.FSamePage);
    f.EffectOut1Click();
}
