// The window on a desktop the test makes: its clock, the outline and the drag,
// the settings path, the event pump; and errors raised inside handlers that
// are shown instead of crossing Qt's event delivery.
#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

#include "app/TForm1.h"
#include "controls/TLozengeCheckBox.h"
#include "controls/TRgn.h"
#include "settings/IniProfile.h"
#include "tests/support/TestWindow.h"

using corvane::OptionBox;

namespace {

struct Window : TestWindow
{
    void build()
    {
        platform->monotonic = 0; // no frame pacing: the fades run at once
        TestWindow::build();
    }
};

// Closes each message box the program opens and keeps its text. The boxes are
// modal: the timer runs inside their own event loop.
struct MessageBoxes
{
    QStringList texts;
    QTimer timer;
    MessageBoxes()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        timer.start();
    }
};

} // namespace

// The start-up walk and the random background take their seed from the
// platform's clock at the moment they run, not from the real clock and not
// from where the generator happened to be.
TEST(PlatformWindow, AFixedClockFixesTheStartAndTheRandomBackground)
{
    Window a;
    a.build();
    EXPECT_EQ(a.f().deepFx.FDeepWalk, 13787434) << "seed 20240601";

    Window b;
    b.platform->seed = 1;
    b.build();
    EXPECT_EQ(b.f().deepFx.FDeepWalk, 520906) << "seed 1";

    ASSERT_TRUE(a.f().checked(OptionBox::CoolColor)); // "Cool Color": bluish tones
    a.platform->seed = 4242;
    a.f().BGChangeClick();
    EXPECT_EQ(a.f().GColor, 5789533u);
    a.f().BGChangeClick(); // reseeded again: the same colour
    EXPECT_EQ(a.f().GColor, 5789533u);

    a.f().box(OptionBox::CoolColor)->setChecked(false);
    a.f().BGChangeClick();
    EXPECT_EQ(a.f().GColor, 7451u) << "without Cool Color: red and green only";
}

// The real desktop's clocks: UTC milliseconds of the day (not local time),
// the local time, and a monotonic clock that does not go back.
TEST(PlatformWindow, TheDesktopClocksAreUtcLocalAndMonotonic)
{
    corvane::DesktopPlatform desktop;
    constexpr int kDay = 24 * 60 * 60 * 1000;
    const int utc = QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
    const int seed = int(desktop.utcMsOfDay());
    EXPECT_LT(seed, kDay);
    const int apart = std::abs(seed - utc);
    EXPECT_LT(std::min(apart, kDay - apart), 2000) << "seed " << seed << ", UTC " << utc;

    const int local = QTime::currentTime().msecsSinceStartOfDay();
    const int shown = desktop.localTime().msecsSinceStartOfDay();
    const int localApart = std::abs(local - shown);
    EXPECT_LT(std::min(localApart, kDay - localApart), 2000);

    int64_t last = desktop.monotonicNs();
    for (int i = 0; i < 1000; ++i) {
        const int64_t now = desktop.monotonicNs();
        ASSERT_GE(now, last);
        last = now;
    }
}

// Each step of a fade is held for one display frame, counted on the
// platform's monotonic clock: a step that comes later than that is not held,
// and one that comes at once waits out the frame.
TEST(PlatformWindow, FramePacingFollowsThePlatformsMonotonicClock)
{
    Window w;
    w.build();
    TForm1 &f = w.f();
    constexpr int64_t kSecond = 1000000000;
    w.platform->monotonic = 5 * kSecond;
    f.present();
    QElapsedTimer held;
    held.start();
    f.present(); // the platform's clock has not moved: a whole frame to wait
    EXPECT_GE(held.elapsed(), 10);

    QElapsedTimer unheld;
    unheld.start();
    for (int i = 0; i < 20; ++i) {
        *w.platform->monotonic += kSecond; // each step a second after the last
        f.present();
    }
    EXPECT_LT(unheld.elapsed(), 200) << "twenty late steps, none held";
}

// The face's outline reaches the window through the platform, and a left
// press on the bare face hands the drag to it; where it refuses, the window
// follows the mouse itself.
TEST(PlatformWindow, TheOutlineAndTheDragGoThroughThePlatform)
{
    Window w;
    w.build();
    TForm1 &f = w.f();
    ASSERT_EQ(w.platform->masks.size(), 1u);
    const QRegion outline = w.platform->masks.front();
    EXPECT_EQ(outline.boundingRect(), QRect(0, 0, 680, 425));
    EXPECT_TRUE(outline.contains(QPoint(0, 422)));
    EXPECT_FALSE(outline.contains(QPoint(1, 424))) << "the notch at the lower left";
    EXPECT_TRUE(outline.contains(QPoint(2, 424)));
    EXPECT_EQ(f.mask(), outline);

    auto moveMouse = [&f](QPoint local, QPoint global) {
        QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&f, &move);
    };
    f.move(300, 200);
    f.Rgn1MouseDown(Qt::RightButton, QPoint(10, 10));
    EXPECT_EQ(w.platform->systemMoves, 0) << "only the left button drags";

    w.platform->systemMove = true;
    f.Rgn1MouseDown(Qt::LeftButton, QPoint(10, 10));
    EXPECT_EQ(w.platform->systemMoves, 1);
    moveMouse(QPoint(20, 20), QPoint(330, 230));
    EXPECT_EQ(f.pos(), QPoint(300, 200)) << "the window manager moves the window, not we";

    w.platform->systemMove = false;
    f.Rgn1MouseDown(Qt::LeftButton, QPoint(10, 10));
    EXPECT_EQ(w.platform->systemMoves, 2);
    moveMouse(QPoint(20, 20), QPoint(350, 260));
    EXPECT_EQ(f.pos(), QPoint(340, 250)) << "the point pressed stays under the mouse";
    QMouseEvent release(QEvent::MouseButtonRelease, QPoint(20, 20), QPoint(350, 260),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&f, &release);
    moveMouse(QPoint(30, 30), QPoint(400, 300));
    EXPECT_EQ(f.pos(), QPoint(340, 250)) << "released: the drag is over";
}

// Without a path of its own the window reads and writes the settings file
// the platform names.
TEST(PlatformWindow, TheSettingsLiveWhereThePlatformSays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chosen.ini"));
    corvane::IniProfile chosen(path.toStdString());
    chosen.write("Form\\LCheckBox12", "Checked", "0");
    chosen.write("Form\\LCheckBox14", "Checked", "1"); // "Slow"

    auto platform = std::make_shared<FakePlatform>();
    int asked = 0;
    platform->settings = [&] {
        ++asked;
        return path.toStdString();
    };
    TForm1 f(QString(), platform);
    f.Timer2->stop();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(f.Timer1->interval(), 110) << "read from the platform's file";
    f.move(123, 45);
    ASSERT_TRUE(f.close());
    EXPECT_EQ(corvane::IniProfile(path.toStdString()).read("Form\\Form1", "Left"), "123");
    EXPECT_EQ(asked, 1) << "asked once, at start-up";
}

// A settings place that cannot be had stops the window being built: the
// error leaves the constructor, and nothing of the window stays behind.
TEST(PlatformWindow, ABrokenSettingsPlaceStopsTheWindowBeingBuilt)
{
    auto platform = std::make_shared<FakePlatform>();
    platform->settings
            = []() -> std::string { throw std::runtime_error("no place for the settings"); };
    const auto before = QApplication::topLevelWidgets().size();
    try {
        TForm1 f(QString(), platform);
        FAIL() << "the window was built";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "no place for the settings");
    }
    QApplication::processEvents();
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
    EXPECT_EQ(platform.use_count(), 1) << "the half-built window let its platform go";
}

// Events run in the middle of a handler only where the window lets them,
// and always through the platform.
TEST(PlatformWindow, PendingEventsRunThroughThePlatform)
{
    Window w;
    w.build();
    TForm1 &f = w.f();
    int runs = w.platform->pendingEventRuns;
    f.FormKeyPress(QLatin1Char('x')); // "+Fade In": no page is written
    EXPECT_EQ(w.platform->pendingEventRuns, ++runs) << "the key handler, at its end";
    f.TrayMessage(QSystemTrayIcon::Context);
    EXPECT_EQ(w.platform->pendingEventRuns, ++runs) << "the tray handler";
    f.TrayMessage(QSystemTrayIcon::Trigger);
    EXPECT_EQ(w.platform->pendingEventRuns, runs) << "a left press only shows the window";
}

// What a handler throws is shown in a message box, whether the handler was
// reached from a menu item, the tray icon or a key; the window goes on.
TEST(GuardedBoundary, ErrorsInHandlersAreShownAndTheWindowGoesOn)
{
    Window w;
    w.build();
    TForm1 &f = w.f();
    f.show();
    MessageBoxes boxes;

    w.platform->onTrayAsked = [] { throw std::runtime_error("tray probe failed"); };
    EXPECT_NO_THROW(f.Small2->trigger()); // the menu item "Small"
    ASSERT_EQ(boxes.texts, QStringList{QStringLiteral("tray probe failed")});
    EXPECT_TRUE(f.isVisible());

    w.platform->onPendingEvents = [] { throw std::logic_error("pump failed"); };
    EXPECT_NO_THROW(emit f.FTrayData->activated(QSystemTrayIcon::Context));
    ASSERT_EQ(boxes.texts.size(), 2);
    EXPECT_EQ(boxes.texts.back(), "pump failed");

    EXPECT_NO_THROW(QTest::keyClick(&f, Qt::Key_X)); // the key handler ends by letting events run
    ASSERT_EQ(boxes.texts.size(), 3);
    EXPECT_EQ(boxes.texts.back(), "pump failed");

    w.platform->onPendingEvents = [] { throw 42; }; // not even a std::exception
    EXPECT_NO_THROW(QTest::keyClick(&f, Qt::Key_X));
    ASSERT_EQ(boxes.texts.size(), 4);
    EXPECT_EQ(boxes.texts.back(), "An unexpected error occurred.");

    w.platform->onPendingEvents = nullptr;
    w.platform->onTrayAsked = nullptr;
    f.FormKeyPress(QLatin1Char('x'));
    EXPECT_EQ(boxes.texts.size(), 4) << "once the fault is gone, the window works as before";
}
