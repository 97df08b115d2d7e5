// The four animations as the window runs them: one at a time, the flags and
// hints a start leaves, the locks while they run, plan de arts with its event
// pump, and the context menu. Offscreen, a temporary settings file, a fixed clock.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "tests/support/TestWindow.h"
#include "tests/support/HeldAnimation.h"

using corvane::OptionBox;

namespace {

// A window on a temporary settings file with "+Begin End" off (no title
// screen) and, unless asked, a black background so that starts do not fade.
struct Window : TestWindow
{
    explicit Window(std::initializer_list<Setting> settings = {}, bool blackBackground = true)
    {
        if (blackBackground)
            store({{"Form\\GColor", "Integer", "0"}});
        store(settings);
        build(); // no text is needed here
    }
    QImage shot() { return form->picture().copy(); }
};

void click(TLozengeCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() / 2, box->height() / 2));
}

} // namespace

// Each start stops the others first; only the running one's timer is armed,
// and the stop puts back what the starts locked.
TEST(EffectsWindow, OneAnimationRunsAtATime)
{
    Window w;
    TForm1 &f = w.f();

    f.RectButtonClick();
    EXPECT_TRUE(f.FDeep);
    EXPECT_TRUE(f.Timer5->isActive());
    EXPECT_EQ(w.status(), "Deep (Mu-gen)");

    f.VelocityClick();
    EXPECT_FALSE(f.FDeep);
    EXPECT_FALSE(f.Timer5->isActive());
    EXPECT_TRUE(f.FVelocity);
    EXPECT_TRUE(f.Timer3->isActive());
    EXPECT_FALSE(f.ExtTrackBar1->isEnabled()) << "the slider is locked while Velocity runs";

    f.Effect1Click();
    EXPECT_FALSE(f.FVelocity);
    EXPECT_FALSE(f.Timer3->isActive());
    EXPECT_TRUE(f.ExtTrackBar1->isEnabled());
    EXPECT_TRUE(f.FDifference);
    EXPECT_TRUE(f.Timer1->isActive());
    for (int n : {1, 2, 3})
        EXPECT_FALSE(f.box(OptionBox(n))->isEnabled()) << "LCheckBox" << n;

    // A second Difference start sets it up afresh without the stop.
    f.Effect1Click();
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_FALSE(f.box(OptionBox::Form)->isEnabled());

    f.EffectOut1Click();
    EXPECT_FALSE(f.busy());
    for (QTimer *t : {f.Timer1, f.Timer3, f.Timer4, f.Timer5})
        EXPECT_FALSE(t->isActive());
    for (int n : {1, 2, 3})
        EXPECT_TRUE(f.box(OptionBox(n))->isEnabled()) << "LCheckBox" << n;
    EXPECT_EQ(w.status(), "Difference") << "stopping Difference leaves the status line";
}

// The stop reports Velocity's lock count, or empties the status line.
TEST(EffectsWindow, StoppingVelocityReportsTheLockCount)
{
    Window w;
    TForm1 &f = w.f();
    f.VelocityClick();
    f.velocityFx.FLockCount = 3;
    f.EffectOut1Click();
    EXPECT_EQ(w.status(), "lock 3");

    f.VelocityClick();
    EXPECT_EQ(f.velocityFx.FLockCount, 0) << "a start counts afresh";
    f.EffectOut1Click();
    EXPECT_EQ(w.status(), "");
}

// Starts leave the picture flags and hints of their effect; Deep leaves the
// page flags alone.
TEST(EffectsWindow, StartsSetThePictureFlags)
{
    Window w({}, false);
    TForm1 &f = w.f();
    f.TriButton1Click(); // a page stands, and Space would go on from it
    f.fineartsClick();   // a plan de arts picture over it
    ASSERT_TRUE(f.pictureState.FArtsShown && f.pictureState.FPageShown);

    f.VelocityClick();
    EXPECT_TRUE(f.pictureState.FBColor) << "faded to black from the background colour";
    EXPECT_FALSE(f.pictureState.FArtsShown);
    EXPECT_FALSE(f.pictureState.FPageShown);
    EXPECT_TRUE(f.pictureState.FSamePage);
    EXPECT_FALSE(f.pictureState.FFreshStart);
    EXPECT_EQ(f.Image1->toolTip(), "Velocity");

    f.TriButton1Click(); // stops Velocity and writes the page
    f.RectButtonClick();
    EXPECT_FALSE(f.pictureState.FSamePage);
    EXPECT_TRUE(f.pictureState.FPageShown);
    EXPECT_EQ(f.Image1->toolTip(), "Deep (Mu-gen)");

    f.Effect1Click();
    EXPECT_TRUE(f.pictureState.FSamePage);
    EXPECT_FALSE(f.pictureState.FPageShown);
    EXPECT_EQ(f.Image1->toolTip(), "difference");
    f.EffectOut1Click();
}

// Every running animation moves the picture on its timer; after the stop it
// stands still.
TEST(EffectsWindow, TimersDriveThePictureUntilTheStop)
{
    Window w;
    TForm1 &f = w.f();
    for (auto start : {&TForm1::Effect1Click, &TForm1::VelocityClick, &TForm1::RectButtonClick}) {
        (f.*start)();
        QTest::qWait(200);
        const QImage a = w.shot();
        QTest::qWait(200);
        EXPECT_NE(a, w.shot()) << "no motion while " << w.status().toStdString() << " runs";
        f.EffectOut1Click();
        const QImage b = w.shot();
        QTest::qWait(200);
        EXPECT_EQ(b, w.shot()) << "motion after the stop";
    }
}

// The colour and fade commands are refused while an animation runs.
TEST(EffectsWindow, FadesAreRefusedWhileBusy)
{
    Window w;
    TForm1 &f = w.f();
    f.TriButton1Click(); // Deep leaves the page's flags: a fade out would clear them
    startHeld(f, Animation::Deep);
    f.Timer5Timer();
    const QImage before = w.shot();
    f.FOBlack1Click();
    f.Fadeout1Click();
    f.BGChangeClick();
    EXPECT_EQ(before, w.shot());
    EXPECT_FALSE(f.pictureState.FBColor);
    EXPECT_TRUE(f.pictureState.FPageShown);
    EXPECT_EQ(f.GColor, 0u);
}

// The option boxes reach the running Velocity: Clock centres it, Movement
// reports the move level, and with Pmouse the centre follows the mouse over
// the picture.
TEST(EffectsWindow, VelocityBoxesAndTheMouse)
{
    Window w({{"Form1\\Pcx", "Integer", "30"}, {"Form1\\Pcy", "Integer", "40"}});
    TForm1 &f = w.f();
    EXPECT_EQ(f.velocityFx.Pcx, 30) << "the stored centre reaches the effect's state";
    f.VelocityClick();
    f.Timer3->stop();

    click(f.box(OptionBox::Clock));
    EXPECT_EQ(f.velocityFx.Pcx, 240);
    EXPECT_EQ(f.velocityFx.Pcy, 175);
    click(f.box(OptionBox::Clock)); // unchecking moves nothing
    f.velocityFx.Pcx = 10;
    click(f.box(OptionBox::Movement));
    EXPECT_EQ(w.status(), "MoveLevel 2");

    f.velocityFx.Pmouse = true;
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 50), f.Image1->mapToGlobal(QPointF(100, 50)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.Image1, &move);
    f.Timer3Timer();
    EXPECT_EQ(f.velocityFx.Pcx, 100);
    EXPECT_EQ(f.velocityFx.Pcy, 50);
    f.EffectOut1Click();
}

// A stored centre, step or brightness is used as stored, except where a
// hand-edited value would overflow the arithmetic of every tick.
TEST(EffectsWindow, StoredParametersAreBoundedOnlyAgainstOverflow)
{
    Window w({{"Form1\\Pcx", "Integer", "-2147483648"},
              {"Form1\\Pcy", "Integer", "700"},
              {"Form1\\Pmvc", "Integer", "2147483647"},
              {"Form1\\Fconm", "Integer", "90"}});
    TForm1 &f = w.f();
    EXPECT_EQ(f.velocityFx.Pcx, -(1 << 20));
    EXPECT_EQ(f.velocityFx.Pcy, 700) << "a centre off the picture, as the mouse can leave it";
    EXPECT_EQ(f.velocityFx.Pmvc, 1 << 20);
    EXPECT_EQ(f.artsFx.Fconm, 90);
    click(f.box(OptionBox::Movement)); // Movement
    f.VelocityClick();
    for (int i = 0; i < 40; ++i)
        f.Timer3Timer();
    EXPECT_GE(f.velocityFx.Pcx, 0);
    EXPECT_LT(f.velocityFx.Pcx, 481);
    f.EffectOut1Click();
}

// A single picture lights Label3 only while it is made; a repetition keeps
// Timer4 and the lamp until its box is unchecked, which ends it at the next tick.
TEST(EffectsWindow, PlanDeArtsSingleAndRepetition)
{
    Window w;
    TForm1 &f = w.f();
    f.fineartsClick();
    EXPECT_TRUE(f.pictureState.FArtsShown);
    EXPECT_FALSE(f.FArts);
    EXPECT_FALSE(f.Timer4->isActive());
    EXPECT_TRUE(f.Label3->isHidden());
    EXPECT_EQ(w.status(), "bright 80");
    EXPECT_NE(w.shot(), QImage(w.shot().size(), w.shot().format())) << "no plasma painted";

    click(f.box(OptionBox::Bright)); // "Bright"
    EXPECT_EQ(f.artsFx.Fconm, 125);
    EXPECT_EQ(w.status(), "bright 125");
    click(f.box(OptionBox::Repetition)); // "Repetition"
    EXPECT_EQ(w.status(), "Repetition on 125");
    f.fineartsClick();
    EXPECT_TRUE(f.FArts);
    EXPECT_TRUE(f.Timer4->isActive());
    EXPECT_FALSE(f.Label3->isHidden());

    const QImage first = w.shot();
    f.fineartsClick(); // refused while the repetition runs
    EXPECT_EQ(first, w.shot());

    w.platform->local = QTime(15, 0, 7);
    w.platform->seed = 777u;
    f.Timer4Timer();
    EXPECT_NE(first, w.shot()) << "a repetition makes a new picture";
    EXPECT_TRUE(f.Timer4->isActive());

    click(f.box(OptionBox::Repetition));
    EXPECT_EQ(w.status(), "Repetition off");
    EXPECT_FALSE(f.FArts);
    const QImage last = w.shot();
    f.Timer4Timer();
    EXPECT_EQ(last, w.shot());
    EXPECT_FALSE(f.Timer4->isActive());
    EXPECT_TRUE(f.Label3->isHidden());
}

// Devenir restarts blue at 80 and steps the level picture by picture; the
// "Green" box follows without its click handler (the status stays "bright").
TEST(EffectsWindow, DevenirStepsTheLevelAndUnchecksGreen)
{
    Window w;
    TForm1 &f = w.f();
    click(f.box(OptionBox::Green));
    EXPECT_EQ(w.status(), "Green arts");
    click(f.box(OptionBox::Devenir));
    EXPECT_EQ(w.status(), "Devenir on");
    f.fineartsClick();
    EXPECT_FALSE(f.checked(OptionBox::Green));
    EXPECT_EQ(w.status(), "bright 85");
    f.Timer4Timer();
    EXPECT_EQ(w.status(), "bright 90");
    click(f.box(OptionBox::Devenir));
    EXPECT_EQ(w.status(), "Devenir off");
    EXPECT_FALSE(f.FArts);
}

// Events handled during a build (the pump runs them) cannot start a second
// build, and a close asked for then waits until the picture is done.
TEST(EffectsWindow, DuringABuildASecondBuildIsRefusedAndTheCloseWaits)
{
    Window w;
    TForm1 &f = w.f();
    f.show();
    f.artsFx.pumpInterval = std::chrono::microseconds(0); // pump at every check
    bool sawBuild = false, stillBuilding = false, visibleDuringBuild = false;
    QString statusDuringBuild;
    QTimer::singleShot(0, &f, [&] {
        sawBuild = f.artsFx.building();
        f.fineartsClick();
        f.Timer4Timer();
        statusDuringBuild = w.status();
        f.close();
        visibleDuringBuild = f.isVisible();
        stillBuilding = f.artsFx.building();
    });
    f.fineartsClick();
    ASSERT_TRUE(sawBuild) << "the build never let events run";
    EXPECT_TRUE(stillBuilding);
    EXPECT_EQ(statusDuringBuild, "bright 80");
    EXPECT_TRUE(visibleDuringBuild) << "the window closed under the build";
    EXPECT_TRUE(f.isVisible());
    QTest::qWait(50);
    EXPECT_FALSE(f.isVisible()) << "the deferred close was lost";
}

// A stop handled during a build ends the repetition as soon as it is done.
TEST(EffectsWindow, AStopDuringABuildEndsTheRepetitionAtOnce)
{
    Window w;
    TForm1 &f = w.f();
    click(f.box(OptionBox::Repetition));
    f.fineartsClick();
    ASSERT_TRUE(f.FArts);
    f.artsFx.pumpInterval = std::chrono::microseconds(0);
    QTimer::singleShot(0, &f, [&] { f.EffectOut1Click(); });
    f.Timer4Timer();
    EXPECT_FALSE(f.Timer4->isActive());
    EXPECT_TRUE(f.Label3->isHidden());
}

// PopupMenu1: the items in order, their captions, hints and shortcuts; the
// commands not in this build are disabled.
TEST(EffectsWindow, ContextMenuItems)
{
    Window w;
    TForm1 &f = w.f();
    struct Item
    {
        const char *name, *caption, *hint;
        int key;
        bool enabled;
    };
    const Item items[] = {
            {"RunR1", "Difference(D)", "Ctrl+D", 16452, true},
            {"Deep1", "Deep (Mu-gen)", "", 16464, true},
            {"RunalongA1", "Run along(R)", "Ctrl+R", 16466, true},
            {"Velocity1", "Velocity(E)", "Ctrl+E", 16453, true},
            {"plandeartsA1", "plan de arts(A)", "Ctrl+A", 16449, true},
            {"N3", "", "", 0, true},
            {"Bitmapsave1", "Bitmapsave", "", 0, true},
            {"FColorF1", "FColor", "", 0, true},
            {"BgColorB1", "BgColor", "", 0, true},
            {"BgRandomM1", "BgRandom", "", 0, true},
            {"N4", "", "", 0, true},
            {"AboutT1", "About", "", 0, true},
            {"LeafL1", "Leaf", "", 0, true},
            {"GoG1", "Go", "", 0, true},
            {"N5", "", "", 0, true},
            {"Ecriture1", "Ecriture", "Front Ctrl+F", 16454, true},
            {"BackPage1", "BackPage", "Back Ctrl+B", 16450, true},
            {"Reset2", "Reset", "Again Ctrl+G", 16455, true},
            {"aozoraItem", "Aozora", "Ruby and notes of Aozora Bunko, or the text as it stands  b",
             0, true},
            {"N6", "", "", 0, true},
            {"Small2", "Small", "Ctrl+L", 16460, true},
            {"Exit2", "Exit", "Ctrl+T", 16468, true},
            {"N7", "", "", 0, true},
            {"autoAction", "Auto", "Pages turn themselves  t", 0, true},
            {"autoSecondsMenu", "Auto every", "Auto interval", 0, true},
            {"autoBetweenMenu", "Auto between", "Between pages", 0, true},
            {"fullScreenAction", "Full screen", "F11, Esc", 0, true},
    };
    const QList<QAction *> actions = f.PopupMenu1->actions();
    // The window draws the items at its own size, however long the shortcut texts.
    EXPECT_EQ(f.PopupMenu1->actionGeometry(actions[0]).size(), QSize(105, 25));
    EXPECT_EQ(f.PopupMenu1->actionGeometry(actions[5]).size(), QSize(105, 10));
    ASSERT_EQ(actions.size(), qsizetype(std::size(items)));
    for (size_t i = 0; i < std::size(items); ++i) {
        const Item &e = items[i];
        const QAction *a = actions[qsizetype(i)];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(a->objectName(), e.name);
        EXPECT_EQ(a->isSeparator(), e.name[0] == 'N');
        EXPECT_EQ(a->text(), e.caption);
        EXPECT_EQ(a->statusTip(), e.hint);
        EXPECT_EQ(a->isEnabled(), e.enabled);
        // 0x4000 (Ctrl) plus the letter's key code, as the shortcuts are stored.
        const int stored = a->shortcut().isEmpty() ? 0 : 0x4000 + (a->shortcut()[0].key());
        EXPECT_EQ(stored, e.key);
    }
}

// Each Ctrl shortcut exists once in the window, so that it fires (Qt fires
// none of two equal shortcuts), and it works with the menu closed.
TEST(EffectsWindow, CtrlShortcutsFireFromTheWindow)
{
    Window w;
    TForm1 &f = w.f();
    for (QShortcut *s : f.findChildren<QShortcut *>())
        EXPECT_FALSE(s->key()[0].keyboardModifiers() & Qt::ControlModifier)
                << s->key().toString().toStdString() << " is bound twice";
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));

    QTest::keyClick(&f, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(f.FDeep);
    QTest::keyClick(&f, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(f.FVelocity);
    QTest::keyClick(&f, Qt::Key_R, Qt::ControlModifier);
    EXPECT_FALSE(f.busy());
    QTest::keyClick(&f, Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(f.FDifference);
    f.EffectOut1Click();
}
