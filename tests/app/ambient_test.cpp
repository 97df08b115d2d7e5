// Running all day: pages that turn themselves, the picture alone on a whole
// screen, and a window that paints nothing while it cannot be seen.
// Offscreen, a temporary settings file, a fixed clock.
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/FullScreenPicture.h"
#include "app/TForm1.h"
#include "app/TPictureBox.h"
#include "controls/TLozengeCheckBox.h"
#include "settings/IniProfile.h"
#include "tests/support/TestWindow.h"
#include "tests/support/LoadNow.h"

namespace {

struct Window : TestWindow
{
    explicit Window(std::initializer_list<Setting> settings = {})
    {
        store({{"Form\\LCheckBox11", "Checked", "0"}}); // the built-in text
        store(settings);
        build();
        loadNow(*form);
    }
};

} // namespace

// "t" switches Auto; the interval is the one chosen, doubled in Slow, begun
// again by any key; each interval runs the forward command, which stops a
// running animation as a forward page does. The choices survive the run, and
// a hand-edited interval is read as the nearest one offered.
TEST(AmbientWindow, AutoTurnsThePages)
{
    Window w({{"Form1\\autoSeconds", "Integer", "100"}});
    TForm1 &f = w.f();
    EXPECT_EQ(f.autoPages.seconds, 120);
    EXPECT_FALSE(f.autoTimer->isActive());

    f.FormKeyPress(QChar('t'));
    EXPECT_EQ(f.HintLabel1->text(), "Auto on");
    EXPECT_TRUE(f.autoTimer->isActive());
    EXPECT_EQ(f.autoTimer->interval(), 120000);

    f.setAutoSeconds(30);
    f.box(corvane::OptionBox::Slow)->setChecked(true);
    f.autoTimer->start(5);
    QTest::keyClick(&f, Qt::Key_Shift);
    EXPECT_EQ(f.autoTimer->interval(), 60000) << "a key begins the interval again, doubled in Slow";

    f.TriButton1Click(); // page 1
    f.RectButtonClick();
    ASSERT_TRUE(f.FDeep);
    f.autoTick();
    EXPECT_FALSE(f.FDeep);
    EXPECT_FALSE(f.Timer5->isActive());
    EXPECT_EQ(f.FPage, 2);

    f.setAutoAnimation(int(corvane::AutoAnimation::Deep));
    EXPECT_TRUE(f.autoHalfTimer->isActive());
    EXPECT_EQ(f.autoHalfTimer->interval(), 30000);
    f.autoHalfTick();
    EXPECT_TRUE(f.FDeep);

    f.FormKeyPress(QChar('t'));
    EXPECT_EQ(f.HintLabel1->text(), "Auto off");
    EXPECT_FALSE(f.autoTimer->isActive());
    EXPECT_FALSE(f.autoHalfTimer->isActive());
    f.FormKeyPress(QChar('t'));
    ASSERT_TRUE(f.FormCloseQuery());
    const corvane::IniProfile stored(w.ini().toStdString());
    EXPECT_EQ(stored.read("Form1\\autoPages", "Boolean"), "1");
    EXPECT_EQ(stored.read("Form1\\autoSeconds", "Integer"), "30");
    EXPECT_EQ(stored.read("Form1\\autoAnimation", "Integer"), "3");
}

// The largest whole factor that fits, at least 1, centred.
TEST(AmbientWindow, WholePixelFit)
{
    using corvane::WholePixelFit;
    const QSize picture(481, 351);
    const WholePixelFit a = WholePixelFit::of({1280, 1024}, picture);
    EXPECT_EQ(std::tuple(a.factor, a.left, a.top), std::tuple(2, 159, 161));
    const WholePixelFit b = WholePixelFit::of({1920, 1080}, picture);
    EXPECT_EQ(std::tuple(b.factor, b.left, b.top), std::tuple(3, 238, 13));
    const WholePixelFit c = WholePixelFit::of({400, 300}, picture);
    EXPECT_EQ(c.factor, 1);
}

// F11 shows the picture alone; every key still reaches the window's
// handlers; Esc gives back the window exactly as it was, place, size,
// outline and focus.
TEST(AmbientWindow, FullScreenAndBack)
{
    Window w;
    TForm1 &f = w.f();
    f.show();
    f.move(120, 80);
    const QRegion outline = f.mask();
    QWidget *focus = f.focusWidget();

    f.FormKeyDown(Qt::Key_F11);
    ASSERT_TRUE(f.isFullScreenShown());
    EXPECT_TRUE(f.fullScreenView->isVisible());
    EXPECT_TRUE(f.mask().isEmpty());
    f.FormKeyPress(QChar('d'));
    EXPECT_TRUE(f.FDifference) << "keys work as in the window";
    const QImage shown = f.fullScreenView->grab().toImage();
    const corvane::WholePixelFit fit = f.fullScreenView->fit();
    EXPECT_EQ(shown.pixel(fit.left + 7, fit.top + 7),
              f.picture().pixel(7 / fit.factor, 7 / fit.factor));

    f.FormKeyDown(Qt::Key_Escape);
    EXPECT_FALSE(f.isFullScreenShown());
    EXPECT_FALSE(f.fullScreenView->isVisible());
    EXPECT_EQ(f.pos(), QPoint(120, 80));
    EXPECT_EQ(f.size(), QSize(680, 425));
    EXPECT_EQ(f.mask(), outline);
    EXPECT_EQ(f.focusWidget(), focus);
}

// A minimised window, or one wholly covered by others, paints nothing, yet its
// picture moves on exactly as a shown one's; seen again, the screen shows that
// same picture.
TEST(AmbientWindow, UnseenPaintsNothingButKeepsTime)
{
    struct Counter : QObject
    {
        int n = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            n += e->type() == QEvent::Paint;
            return false;
        }
    };
    for (const bool minimise : {true, false}) {
        SCOPED_TRACE(minimise ? "minimised" : "covered");
        Window seen, hidden;
        seen.f().show();
        hidden.f().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&seen.f()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&hidden.f()));
        Counter paints;
        hidden.f().Image1->installEventFilter(&paints);
        if (minimise)
            hidden.f().showMinimized();
        else
            hidden.platform->cover(true);
        QTest::qWait(50);
        paints.n = 0;

        for (Window *w : {&seen, &hidden}) {
            w->f().RectButtonClick();
            for (int i = 0; i < 60; ++i)
                w->f().Timer5Timer();
        }
        EXPECT_EQ(paints.n, 0);
        EXPECT_EQ(seen.f().picture(), hidden.f().picture());
        for (Window *w : {&seen, &hidden})
            w->f().EffectOut1Click(); // no more ticks while the window comes up

        if (minimise)
            hidden.f().showNormal();
        else
            hidden.platform->cover(false);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&hidden.f()));
        QTest::qWait(50);
        // What the window's pixels hold, not a fresh rendering of the widget.
        const QPoint at = hidden.f().Image1->mapTo(&hidden.f(), QPoint(0, 0));
        const QImage painted
                = hidden.f()
                          .screen()
                          ->grabWindow(hidden.f().winId(), at.x(), at.y(),
                                       seen.f().picture().width(), seen.f().picture().height())
                          .toImage()
                          .convertToFormat(QImage::Format_RGB32);
        const QImage expected = seen.f().picture().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(painted.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                differing += painted.pixel(x, y) != expected.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}
