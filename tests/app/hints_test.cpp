// The application hint in the status line and the balloons' timing, with the
// mouse moved by QTest over the offscreen window.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "app/TPictureBox.h"
#include "controls/TAppHintN.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "tests/support/TestWindow.h"

using corvane::OptionBox;

namespace {

struct Window : TestWindow
{
    Window()
    {
        build();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    // Moves the mouse to the middle of w (or to `at` in the window) and lets
    // the enter and leave events settle.
    void point(QWidget *w)
    {
        QTest::mouseMove(w, w->rect().center());
        QTest::qWait(20);
    }
    void pointWindow(QPoint at)
    {
        QTest::mouseMove(form.get(), at);
        QTest::qWait(20);
    }
    THintEx *balloon() const { return form->AppHintN1->balloon(); }
    bool balloonShown() const { return balloon() && balloon()->isVisible(); }
    // Comes to w from the bare face, as the first control pointed at, and
    // says whether its balloon shows after a rest of `rest` ms.
    bool balloonAfter(QWidget *w, int rest = 600)
    {
        pointWindow(QPoint(10, 200));
        point(w);
        QTest::qWait(rest);
        return balloonShown();
    }
};

} // namespace

// The status line shows the hint under the mouse: a button's own, the
// picture's (which effects change while the mouse rests on it), none on the
// bare face; over the status line itself "Corvane ver 1.04" once a hint has
// changed. Commands still write it between moves.
TEST(AppHint, TheStatusLineFollowsTheMouse)
{
    Window w;
    TForm1 &f = w.f();
    w.point(f.Velocity);
    EXPECT_EQ(w.status(), "Velocity");
    EXPECT_EQ(f.HintLabel1->toolTip(), "Corvane ver 1.04");
    w.point(f.box(OptionBox::Tenderly));
    EXPECT_EQ(w.status(), "Tenderly");
    w.pointWindow(QPoint(10, 200)); // the face left of the picture
    EXPECT_EQ(w.status(), "");
    w.point(f.HintLabel1);
    EXPECT_EQ(w.status(), "Corvane ver 1.04");
    w.point(f.Image1);
    EXPECT_EQ(w.status(), "Corvane");
    f.Image1->setToolTip(QStringLiteral("Velocity"));
    QTest::qWait(20);
    EXPECT_EQ(w.status(), "Velocity") << "the picture's new hint, the mouse resting on it";

    f.setStatus(QStringLiteral("Slow on"));
    w.point(f.Leaf1);
    EXPECT_EQ(w.status(), "Leaf save") << "Leaf save's hint reaches the status line";
    w.point(f.ExtTrackBar1);
    EXPECT_EQ(w.status(), "scale : 1");
}

// A control without a hint of its own shows the nearest enclosing one's.
TEST(AppHint, AControlWithoutAHintShowsItsParents)
{
    Window w;
    TForm1 &f = w.f();
    f.Panel1->setToolTip(QStringLiteral("panel"));
    f.Image1->setToolTip(QString());
    w.point(f.Image1);
    EXPECT_EQ(w.status(), "panel");
}

// The highlighted menu item's hint: "Ctrl+E" over "Velocity(E)", empty over
// an item without one.
TEST(AppHint, TheHighlightedMenuItemsHint)
{
    Window w;
    TForm1 &f = w.f();
    f.PopupMenu1->popup(f.mapToGlobal(QPoint(100, 100)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.PopupMenu1));
    const std::pair<QAction *, const char *> items[]
            = {{f.Velocity1, "Ctrl+E"}, {f.Ecriture1, "Front Ctrl+F"}, {f.Deep1, ""}};
    for (const auto &[item, hint] : items) {
        QTest::mouseMove(f.PopupMenu1, f.PopupMenu1->actionGeometry(item).center());
        QTest::qWait(20);
        EXPECT_EQ(w.status(), hint) << qPrintable(item->text());
    }
    f.PopupMenu1->close();
}

// A balloon shows after 500 ms and hides after 2.5 s; moving on from a shown
// balloon to the next control shows its balloon at once. The slider and
// Leaf save never show one; "Name on" switches those of "Cool Color" and
// "+Begin End".
TEST(Balloon, PausesAndWhichControlsShowOne)
{
    Window w;
    TForm1 &f = w.f();
    // Timed by polling, so that a loaded machine cannot make it fail early.
    QElapsedTimer clock;
    clock.start();
    w.point(f.box(OptionBox::Tenderly));
    while (!w.balloonShown() && clock.elapsed() < 3000)
        QTest::qWait(5);
    ASSERT_TRUE(w.balloonShown());
    EXPECT_GE(clock.elapsed(), 495) << "shown before the half second";
    EXPECT_EQ(w.balloon()->text(), "Tenderly");
    const QRect text = w.balloon()->CalcHintRect(10000, QStringLiteral("Tenderly"));
    EXPECT_EQ(w.balloon()->size(), QSize(text.width(), text.height() + 9))
            << "the text's size plus the tail";
    EXPECT_TRUE(w.balloon()->mask().contains(QPoint(13, 3))) << "the tail";
    EXPECT_FALSE(w.balloon()->mask().contains(QPoint(3, 3))) << "beside the tail";

    w.point(f.box(OptionBox::FadeIn));
    EXPECT_TRUE(w.balloonShown()) << "the next control follows at once";
    EXPECT_EQ(w.balloon()->text(), "+Fade In");
    clock.restart();
    while (w.balloonShown() && clock.elapsed() < 6000)
        QTest::qWait(5);
    EXPECT_FALSE(w.balloonShown()) << "still shown after 6 s";
    EXPECT_GE(clock.elapsed(), 2450)
            << "hidden before 2.5 s"; // counted from a moment after it showed

    EXPECT_FALSE(w.balloonAfter(f.ExtTrackBar1)) << "the slider";
    EXPECT_FALSE(w.balloonAfter(f.Leaf1)) << "Leaf save";
    ASSERT_TRUE(f.checked(OptionBox::NameOn)); // "Name on", the default
    EXPECT_TRUE(w.balloonAfter(f.box(OptionBox::CoolColor))) << "Cool Color with Name on";
    f.box(OptionBox::NameOn)->click();
    EXPECT_FALSE(w.balloonAfter(f.box(OptionBox::BeginEnd))) << "+Begin End with Name off";
}

// A click or a key that hides a balloon ends the quick follow-on: the next
// control's balloon waits the full half second again.
TEST(Balloon, DismissedBalloonDoesNotHurryTheNext)
{
    Window w;
    TForm1 &f = w.f();
    for (bool byKey : {false, true}) {
        ASSERT_TRUE(w.balloonAfter(f.box(OptionBox::FadeIn)));
        if (byKey)
            QTest::keyClick(f.box(OptionBox::FadeIn), Qt::Key_Shift);
        else
            QTest::mouseClick(f.box(OptionBox::FadeIn), Qt::LeftButton);
        QTest::qWait(1000);
        ASSERT_FALSE(w.balloonShown()) << "shown again over the same control";
        w.point(f.box(OptionBox::Tenderly));
        QTest::qWait(250);
        EXPECT_FALSE(w.balloonShown()) << "shown at once after a " << (byKey ? "key" : "click");
        QTest::qWait(400);
        EXPECT_TRUE(w.balloonShown()) << byKey;
    }
}
