// Every key of the window, typed on the window as the user types it: the
// state before, the key, the state after and the status text, for each step of
// the character keys and each virtual key; the order of the steps, the busy
// exit, the events let run at the end, the focus move to the page slider; the
// option boxes' clicks; the list of keys for the user.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/KeyTable.h"
#include "app/TForm1.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/TLozengeCheckBox.h"
#include "tests/support/HeldAnimation.h"
#include "tests/support/TestWindow.h"
#include "tests/support/PlainPicture.h"

using corvane::OptionBox;

namespace {

constexpr const char *kBefore = "before"; // the status line as a case finds it

// A window on a temporary settings file: no title screen, a black background
// so that the starts do not fade, and no blend steps when a page is written.
struct Window : TestWindow
{
    explicit Window(std::initializer_list<Setting> settings = {})
    {
        store({{"Form\\LCheckBox7", "Checked", "0"}, {"Form\\GColor", "Integer", "0"}});
        store(settings);
        build(); // no text is needed: an empty text pages as one empty page
        form->setStatus(QString::fromLatin1(kBefore));
    }
};

// The animations as the window starts them, their timers kept armed (the stop
// reads them) but too slow to tick while a case runs: a key ends by letting
// pending events run, and a tick would move what the case looks at.
constexpr int kHoldMs = 3600 * 1000;
void velocity(TForm1 &f)
{
    f.VelocityClick();
    f.Timer3->start(kHoldMs);
}
void deep(TForm1 &f)
{
    f.RectButtonClick();
    f.Timer5->start(kHoldMs);
}
void difference(TForm1 &f)
{
    f.Effect1Click();
    f.Timer1->start(kHoldMs);
}
void velocityClock(TForm1 &f)
{
    f.box(OptionBox::Clock)->setChecked(true);
    velocity(f);
}

// A passage of four pages, read as a drop reads it: its first page is written.
void fourPages(TForm1 &f)
{
    f.openPassage(QString(1500, QChar(0x3042)));
}

void type(TForm1 &f, char key)
{
    QTest::keyClick(&f, key);
}

quint32 pixel(TForm1 &f, int x, int y)
{
    const QColor c = f.picture().pixelColor(x, y);
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

bool rowZeroIs(TForm1 &f, quint32 colour)
{
    for (int x = 0; x < f.picture().width(); ++x)
        if (pixel(f, x, 0) != colour)
            return false;
    return true;
}

struct KeyCase
{
    const char *name;
    std::function<void(TForm1 &)> before;
    char key;
    std::function<void(TForm1 &)> after; // the expectations
    const char *status;                  // nullptr: the status line is left alone
};

// Each case on a window of its own; a character or a Qt::Key typed alike.
template<class Case>
void runCases(const std::vector<Case> &cases)
{
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        TForm1 &f = w.f();
        if (c.before)
            c.before(f);
        f.setStatus(QString::fromLatin1(kBefore));
        QTest::keyClick(&f, c.key);
        c.after(f);
        EXPECT_EQ(w.status(), QString::fromLatin1(c.status ? c.status : kBefore));
        if (f.PopupMenu1->isVisible())
            f.PopupMenu1->hide();
        f.EffectOut1Click();
    }
}

} // namespace

// Steps 1 to 8: the keys that run a command.
TEST(CharacterKeys, Commands)
{
    runCases<KeyCase>({
            {"y shows the context menu at (500, 10)", nullptr, 'y',
             [](TForm1 &f) {
                 EXPECT_TRUE(f.PopupMenu1->isVisible());
                 EXPECT_EQ(f.PopupMenu1->pos(), QPoint(500, 10));
             },
             nullptr},
            {"d starts Difference", nullptr, 'd', [](TForm1 &f) { EXPECT_TRUE(f.FDifference); },
             "Difference"},
            {"r stops Deep", deep, 'r', [](TForm1 &f) { EXPECT_FALSE(f.FDeep); }, nullptr},
            {"g resets to page 1", [](TForm1 &f) { fourPages(f), f.ExtTrackBar1->setValue(3); },
             'g',
             [](TForm1 &f) {
                 EXPECT_EQ(f.FPage, 1);
                 EXPECT_TRUE(f.pictureState.FPageShown);
             },
             "Corvane"},
            {"e starts Velocity", nullptr, 'e', [](TForm1 &f) { EXPECT_TRUE(f.FVelocity); },
             "Velocity"},
            {"a makes a plan de arts picture", nullptr, 'a',
             [](TForm1 &f) { EXPECT_TRUE(f.pictureState.FArtsShown); }, "bright 80"},
            {", fades to black", [](TForm1 &f) { f.BGChangeClick(); }, ',',
             [](TForm1 &f) {
                 EXPECT_TRUE(f.pictureState.FBColor);
                 EXPECT_EQ(pixel(f, 240, 175), 0u);
             },
             nullptr},
            {". fades the page out, without grain",
             [](TForm1 &f) { fourPages(f), f.box(OptionBox::Tenderly)->setChecked(false); }, '.',
             [](TForm1 &f) {
                 EXPECT_TRUE(isPlain(f.picture(), Qt::black)) << "the white page is gone";
                 EXPECT_FALSE(f.pictureState.FPageShown);
             },
             nullptr},
    });
}

// Steps 9 to 24: the option toggles. A key sets the box without its click
// handler; the first text when the box was checked, the second when not.
TEST(CharacterKeys, OptionToggles)
{
    auto check = [](int n) { return [n](TForm1 &f) { f.box(OptionBox(n))->setChecked(true); }; };
    auto uncheck = [](int n) { return [n](TForm1 &f) { f.box(OptionBox(n))->setChecked(false); }; };
    auto is = [](int n, bool on) {
        return [n, on](TForm1 &f) { EXPECT_EQ(f.checked(OptionBox(n)), on) << "LCheckBox" << n; };
    };
    runCases<KeyCase>({
            {"/ clears Keep", check(11), '/', is(11, false), "Keep off"},
            {"/ sets Keep", uncheck(11), '/', is(11, true), "Keep on"},
            {"z clears Tenderly and writes the page again", check(6), 'z',
             [](TForm1 &f) {
                 EXPECT_FALSE(f.checked(OptionBox::Tenderly));
                 EXPECT_TRUE(f.pictureState.FPageShown);
                 EXPECT_FALSE(f.pictureState.FSamePage) << "the page was written";
             },
             "Tenderly off"},
            {"z sets Tenderly", uncheck(6), 'z', is(6, true), "Tenderly on"},
            {"x clears +Fade In", check(7), 'x', is(7, false), "Fade In off"},
            {"x sets +Fade In", uncheck(7), 'x', is(7, true), "+Fade In"},
            {"c clears +Fade Out", check(5), 'c', is(5, false), "Fade Out off"},
            {"c sets +Fade Out", uncheck(5), 'c', is(5, true), "+Fade Out"},
            {"v writes the page horizontally", uncheck(8), 'v',
             [](TForm1 &f) {
                 EXPECT_TRUE(f.checked(OptionBox::Horizontal));
                 EXPECT_TRUE(f.pictureState.FPageShown);
             },
             "Horizontal"},
            {"v back to vertical", check(8), 'v', is(8, false), "Vertical"},
            {"h clears Green", check(20), 'h', is(20, false), "Blue arts"},
            {"h sets Green", uncheck(20), 'h', is(20, true), "Green arts"},
            {"j sets Bright: 125", uncheck(21), 'j',
             [](TForm1 &f) {
                 EXPECT_TRUE(f.checked(OptionBox::Bright));
                 EXPECT_EQ(f.artsFx.Fconm, 125);
             },
             "bright 125"},
            {"j clears Bright: 80",
             [](TForm1 &f) { f.box(OptionBox::Bright)->setChecked(true), f.artsFx.Fconm = 125; },
             'j', [](TForm1 &f) { EXPECT_EQ(f.artsFx.Fconm, 80); }, "bright 80"},
            {"k ends a repetition", [](TForm1 &f) { startHeld(f, Animation::Arts); }, 'k',
             [](TForm1 &f) {
                 EXPECT_FALSE(f.checked(OptionBox::Repetition));
                 EXPECT_FALSE(f.FArts);
             },
             "Repetition off"},
            {"k sets Repetition with the brightness", [](TForm1 &f) { f.artsFx.Fconm = 95; }, 'k',
             is(23, true), "Repetition on 95"},
            {"l ends Devenir",
             [](TForm1 &f) {
                 f.box(OptionBox::Devenir)->setChecked(true);
                 startHeld(f, Animation::Arts);
             },
             'l', [](TForm1 &f) { EXPECT_FALSE(f.FArts); }, "Devenir off"},
            {"l sets Devenir", uncheck(22), 'l', is(22, true), "Devenir on"},
            {"; sets Slow but leaves Timer5", nullptr, ';',
             [](TForm1 &f) {
                 EXPECT_TRUE(f.checked(OptionBox::Slow));
                 EXPECT_EQ(f.Timer1->interval(), 110);
                 EXPECT_EQ(f.Timer3->interval(), 110);
                 EXPECT_EQ(f.Timer4->interval(), 12000);
                 EXPECT_EQ(f.Timer5->interval(), 55);
             },
             "Slow on"},
            {"; clears Slow",
             [](TForm1 &f) {
                 f.box(OptionBox::Slow)->click(); // the box: all four at their Slow intervals
             },
             ';',
             [](TForm1 &f) {
                 EXPECT_EQ(f.Timer1->interval(), 55);
                 EXPECT_EQ(f.Timer3->interval(), 55);
                 EXPECT_EQ(f.Timer4->interval(), 7000);
                 EXPECT_EQ(f.Timer5->interval(), 110);
             },
             "Slow off"},
            {"- sets Form", nullptr, '-', is(1, true), "Form on"},
            {"^ clears Color", check(2), '^', is(2, false), "Color off"},
            {"\\ sets Paint", nullptr, '\\', is(3, true), "Paint on"},
            {"- while Difference runs", difference, '-', is(1, false), nullptr},
            {"\\ while Difference runs", difference, '\\', is(3, false), nullptr},
            {": sets Deep Separation", nullptr, ':',
             [](TForm1 &f) { EXPECT_TRUE(f.SepaCheckBox->isChecked()); }, "DeepSeparation"},
            {": clears Deep Separation", [](TForm1 &f) { f.SepaCheckBox->setChecked(true); }, ':',
             [](TForm1 &f) { EXPECT_FALSE(f.SepaCheckBox->isChecked()); }, "Deep (Mu-gen)"},
            {"w: Deep starts from light grey", nullptr, 'w',
             [](TForm1 &f) { EXPECT_FALSE(f.deepFx.FBlackRect); }, "Deep White"},
            {"w: Deep starts from black", [](TForm1 &f) { f.deepFx.FBlackRect = false; }, 'w',
             [](TForm1 &f) { EXPECT_TRUE(f.deepFx.FBlackRect); }, "Deep Black"},
            {"w while Velocity runs chooses colour rule 8", velocity, 'w',
             [](TForm1 &f) {
                 EXPECT_TRUE(f.deepFx.FBlackRect);
                 EXPECT_EQ(f.velocityFx.Piro, 8);
             },
             nullptr},
    });
}

// Step 25: while Deep runs, any key sets the pen and draws along row 0.
TEST(CharacterKeys, DeepPen)
{
    runCases<KeyCase>({
            {"p: the line colour", deep, 'p',
             [](TForm1 &f) {
                 EXPECT_EQ(f.canvas->penColor(), f.deepFx.FDeepColor);
                 EXPECT_TRUE(rowZeroIs(f, f.deepFx.FDeepColor));
             },
             "Line color"},
            {"another key on black: a black pen", deep, 'q',
             [](TForm1 &f) {
                 EXPECT_EQ(f.canvas->penColor(), 0u);
                 EXPECT_TRUE(rowZeroIs(f, 0));
             },
             "Deep Black"},
            {"another key on light grey: a light grey pen",
             [](TForm1 &f) {
                 f.deepFx.FBlackRect = false;
                 deep(f);
                 f.picture().fill(Qt::black);
             },
             'q',
             [](TForm1 &f) {
                 EXPECT_EQ(f.canvas->penColor(), 0xE7E7E7u);
                 EXPECT_TRUE(rowZeroIs(f, 0xE7E7E7));
                 EXPECT_EQ(pixel(f, 5, 1), 0u) << "row 0 only";
             },
             "Deep White"},
    });
}

// Steps 26 to 39: the Velocity parameters, with and without "Clock".
TEST(CharacterKeys, VelocityParameters)
{
    runCases<KeyCase>({
            {"p centres",
             [](TForm1 &f) { velocity(f), f.velocityFx.Pcx = 3, f.velocityFx.Pcy = 4; }, 'p',
             [](TForm1 &f) {
                 EXPECT_EQ(f.velocityFx.Pcx, 240);
                 EXPECT_EQ(f.velocityFx.Pcy, 175);
             },
             "Center"},
            {"clock: q is colour rule 7", velocityClock, 'q',
             [](TForm1 &f) {
                 EXPECT_EQ(f.velocityFx.Pirot, 7);
                 EXPECT_EQ(f.velocityFx.Piro, 1) << "the free lines' rule stays";
             },
             nullptr},
            {"clock: 4", velocityClock, '4', [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pirot, 4); },
             nullptr},
            {"clock: 9 is shape 3", velocityClock, '9',
             [](TForm1 &f) {
                 EXPECT_EQ(f.velocityFx.Pformt, 3);
                 EXPECT_EQ(f.velocityFx.Pform, 1);
             },
             nullptr},
            {"clock: 0",
             [](TForm1 &f) { velocityClock(f), f.velocityFx.Pirot = 5, f.velocityFx.Pformt = 3; },
             '0',
             [](TForm1 &f) {
                 EXPECT_EQ(f.velocityFx.Pirot, 2);
                 EXPECT_EQ(f.velocityFx.Pformt, 1);
             },
             nullptr},
            {"clock: o hides the time", velocityClock, 'o',
             [](TForm1 &f) { EXPECT_FALSE(f.velocityFx.Pdigit); }, "Digital off"},
            {"clock: i", velocityClock, 'i', [](TForm1 &f) { EXPECT_TRUE(f.velocityFx.Pbt); },
             "BoldClock"},
            {"clock: u is not a clock key", velocityClock, 'u',
             [](TForm1 &f) { EXPECT_FALSE(f.velocityFx.Pmix); }, nullptr},
            {"free: w is colour rule 8", velocity, 'w',
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Piro, 8); }, nullptr},
            {"free: 6", velocity, '6',
             [](TForm1 &f) {
                 EXPECT_EQ(f.velocityFx.Piro, 6);
                 EXPECT_EQ(f.artsFx.Fconm, 80) << "a digit is no brightness while Velocity runs";
             },
             nullptr},
            {"free: 8 is shape 2", velocity, '8',
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pform, 2); }, nullptr},
            {"free: 0",
             [](TForm1 &f) { velocity(f), f.velocityFx.Piro = 4, f.velocityFx.Pform = 3; }, '0',
             [](TForm1 &f) {
                 EXPECT_EQ(f.velocityFx.Piro, 1);
                 EXPECT_EQ(f.velocityFx.Pform, 1);
             },
             nullptr},
            {"free: o shows the scope", velocity, 'o',
             [](TForm1 &f) { EXPECT_TRUE(f.velocityFx.Pdigi); }, "Scope"},
            {"free: o hides it", [](TForm1 &f) { velocity(f), f.velocityFx.Pdigi = true; }, 'o',
             [](TForm1 &f) { EXPECT_FALSE(f.velocityFx.Pdigi); }, "NotScope"},
            {"free: i", velocity, 'i', [](TForm1 &f) { EXPECT_TRUE(f.velocityFx.Pb); }, "Bold"},
            {"free: u", [](TForm1 &f) { velocity(f), f.velocityFx.Pmix = true; }, 'u',
             [](TForm1 &f) { EXPECT_FALSE(f.velocityFx.Pmix); }, "NotMix"},
            {"free: m with Movement",
             [](TForm1 &f) { f.box(OptionBox::Movement)->setChecked(true), velocity(f); }, 'm',
             [](TForm1 &f) { EXPECT_TRUE(f.velocityFx.Pmouse); }, "MoveMouse"},
            {"free: m without Movement does nothing", velocity, 'm',
             [](TForm1 &f) { EXPECT_FALSE(f.velocityFx.Pmouse); }, nullptr},
            {"free: n", [](TForm1 &f) { velocity(f), f.velocityFx.FLockCount = 7; }, 'n',
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.FLockCount, 0); }, "lock 0"},
            {"n without Velocity", [](TForm1 &f) { f.velocityFx.FLockCount = 7; }, 'n',
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.FLockCount, 7); }, nullptr},
    });
}

// Steps 40 to 43: the digits set a brightness when Velocity does not run.
TEST(CharacterKeys, BrightnessDigits)
{
    auto devenir = [](TForm1 &f) { f.box(OptionBox::Devenir)->setChecked(true); };
    runCases<KeyCase>({
            {"3 sets Fconm to 90", nullptr, '3',
             [](TForm1 &f) {
                 EXPECT_EQ(f.artsFx.Fconm, 90);
                 EXPECT_EQ(f.artsFx.FArtsLevel, 80);
             },
             "bright 90"},
            {"9", nullptr, '9', [](TForm1 &f) { EXPECT_EQ(f.artsFx.Fconm, 120); }, "bright 120"},
            {"0", nullptr, '0', [](TForm1 &f) { EXPECT_EQ(f.artsFx.Fconm, 125); }, "bright 125"},
            {"Devenir: 1 sets its level", devenir, '1',
             [](TForm1 &f) {
                 EXPECT_EQ(f.artsFx.FArtsLevel, 80);
                 EXPECT_EQ(f.artsFx.Fconm, 80);
             },
             "bright 80"},
            {"Devenir: 7", devenir, '7', [](TForm1 &f) { EXPECT_EQ(f.artsFx.FArtsLevel, 110); },
             "bright 110"},
            {"Devenir: 0", devenir, '0', [](TForm1 &f) { EXPECT_EQ(f.artsFx.FArtsLevel, 125); },
             "bright 125"},
    });
}

// Keys are compared exactly: an upper-case letter is another key, and with
// Alt held a key types no character.
TEST(CharacterKeys, UpperCaseLettersAndAltKeysDoNothing)
{
    Window w;
    TForm1 &f = w.f();
    QTest::keyClick(&f, 'Z', Qt::ShiftModifier);
    QTest::keyClick(&f, 'D', Qt::ShiftModifier);
    QTest::keyClick(&f, 'd', Qt::AltModifier);
    EXPECT_TRUE(f.checked(OptionBox::Tenderly));
    EXPECT_FALSE(f.FDifference);
    EXPECT_EQ(w.status(), kBefore);
}

// A busy-leave key while an animation runs ends the handler at once: the box
// keeps its state, the status stays, no later step runs and no events are let
// run; any other key ends by letting the pending events run.
TEST(CharacterKeys, BusyLeaveEndsAtOnceOtherwisePendingEventsRun)
{
    Window w;
    TForm1 &f = w.f();
    difference(f);
    f.setStatus(QString::fromLatin1(kBefore));
    bool ran = false;
    QMetaObject::invokeMethod(
            &f, [&] { ran = true; }, Qt::QueuedConnection);
    type(f, 'z');
    EXPECT_TRUE(f.checked(OptionBox::Tenderly));
    EXPECT_TRUE(f.FDifference) << "the page command would have stopped it";
    EXPECT_EQ(w.status(), kBefore);
    EXPECT_FALSE(ran) << "events were let run after the leave";

    type(f, 'k'); // not a busy-leave key
    EXPECT_TRUE(ran) << "the handler did not end by letting the pending events run";
    f.EffectOut1Click();
}

// A key that matches several steps runs each of them in order: "]" starts
// Deep (step 22), and Deep now running, the pen step 25 acts on the same key;
// "w" toggles the start colour (step 24), which step 25 then reads.
TEST(CharacterKeys, AKeyRunsEveryStepItMatchesInOrder)
{
    Window w;
    TForm1 &f = w.f();
    type(f, ']');
    f.Timer5->start(kHoldMs);
    EXPECT_TRUE(f.FDeep);
    EXPECT_EQ(w.status(), "Deep Black") << "step 25 did not follow step 22";
    EXPECT_TRUE(rowZeroIs(f, 0));

    type(f, 'w');
    EXPECT_FALSE(f.deepFx.FBlackRect);
    EXPECT_EQ(w.status(), "Deep White");
    EXPECT_EQ(f.canvas->penColor(), 0xE7E7E7u)
            << "step 25 read FBlackRect before step 24 changed it";
    EXPECT_TRUE(rowZeroIs(f, 0xE7E7E7));

    type(f, '5'); // the pen, then the brightness
    EXPECT_EQ(f.canvas->penColor(), 0xE7E7E7u);
    EXPECT_EQ(f.artsFx.Fconm, 100);
    EXPECT_EQ(w.status(), "bright 100");
    f.EffectOut1Click();
}

namespace {

struct VirtualKeyCase
{
    const char *name;
    std::function<void(TForm1 &)> before;
    Qt::Key key;
    std::function<void(TForm1 &)> after;
    const char *status;
};

} // namespace

// The virtual keys, each in the state where it acts and where it does not.
TEST(VirtualKeys, EachKey)
{
    auto at = [](int x, int y, int level) {
        return [=](TForm1 &f) {
            velocity(f);
            f.velocityFx.Pcx = x, f.velocityFx.Pcy = y, f.velocityFx.Pmvc = level;
        };
    };
    auto centreIs = [](int x, int y) {
        return [=](TForm1 &f) {
            EXPECT_EQ(f.velocityFx.Pcx, x);
            EXPECT_EQ(f.velocityFx.Pcy, y);
        };
    };
    const std::vector<VirtualKeyCase> cases = {
            {"Space writes the page", nullptr, Qt::Key_Space,
             [](TForm1 &f) {
                 EXPECT_TRUE(f.pictureState.FPageShown);
                 EXPECT_FALSE(f.pictureState.FSamePage);
             },
             "Corvane"},
            {"Enter writes the page and stops Deep", deep, Qt::Key_Return,
             [](TForm1 &f) {
                 EXPECT_FALSE(f.FDeep);
                 EXPECT_TRUE(f.pictureState.FPageShown);
             },
             "Corvane"},
            {"keypad Enter", nullptr, Qt::Key_Enter,
             [](TForm1 &f) { EXPECT_TRUE(f.pictureState.FPageShown); }, "Corvane"},
            {"Backspace writes the previous page", nullptr, Qt::Key_Backspace,
             [](TForm1 &f) { EXPECT_TRUE(f.pictureState.FPageShown); }, "Corvane"},
            {"Delete checks Clock and centres",
             [](TForm1 &f) { f.velocityFx.Pcx = 1, f.velocityFx.Pcy = 2; }, Qt::Key_Delete,
             [](TForm1 &f) {
                 EXPECT_TRUE(f.checked(OptionBox::Clock));
                 EXPECT_EQ(f.velocityFx.Pcx, 240);
                 EXPECT_EQ(f.velocityFx.Pcy, 175);
             },
             nullptr},
            {"Delete unchecks Clock",
             [](TForm1 &f) { f.box(OptionBox::Clock)->setChecked(true), f.velocityFx.Pcx = 1; },
             Qt::Key_Delete,
             [](TForm1 &f) {
                 EXPECT_FALSE(f.checked(OptionBox::Clock));
                 EXPECT_EQ(f.velocityFx.Pcx, 1);
             },
             nullptr},
            {"Insert toggles RoadMovie", nullptr, Qt::Key_Insert,
             [](TForm1 &f) { EXPECT_TRUE(f.checked(OptionBox::RoadMovie)); }, nullptr},
            {"Home checks Movement", velocity, Qt::Key_Home,
             [](TForm1 &f) { EXPECT_TRUE(f.checked(OptionBox::Movement)); }, "MoveLevel 2"},
            {"Home unchecks Movement",
             [](TForm1 &f) { f.box(OptionBox::Movement)->setChecked(true), velocity(f); },
             Qt::Key_Home, [](TForm1 &f) { EXPECT_FALSE(f.checked(OptionBox::Movement)); },
             nullptr},
            {"Home without Velocity", nullptr, Qt::Key_Home,
             [](TForm1 &f) { EXPECT_FALSE(f.checked(OptionBox::Movement)); }, nullptr},
            {"End toggles MiniBlackHole", velocity, Qt::Key_End,
             [](TForm1 &f) { EXPECT_TRUE(f.checked(OptionBox::MiniBlackHole)); }, nullptr},
            {"End without Velocity", nullptr, Qt::Key_End,
             [](TForm1 &f) { EXPECT_FALSE(f.checked(OptionBox::MiniBlackHole)); }, nullptr},
            {"Right", at(100, 100, 3), Qt::Key_Right, centreIs(103, 100), nullptr},
            {"Right at the edge", at(471, 100, 3), Qt::Key_Right, centreIs(471, 100), nullptr},
            {"Right close to the edge goes past it", at(470, 100, 3), Qt::Key_Right,
             centreIs(473, 100), nullptr},
            {"Left", at(100, 100, 3), Qt::Key_Left, centreIs(97, 100), nullptr},
            {"Left at the edge", at(10, 100, 3), Qt::Key_Left, centreIs(10, 100), nullptr},
            {"Up", at(100, 100, 3), Qt::Key_Up, centreIs(100, 97), nullptr},
            {"Up at the edge", at(100, 10, 3), Qt::Key_Up, centreIs(100, 10), nullptr},
            {"Down", at(100, 100, 3), Qt::Key_Down, centreIs(100, 103), nullptr},
            {"Down at the edge", at(100, 341, 3), Qt::Key_Down, centreIs(100, 341), nullptr},
            {"Right without Velocity", [](TForm1 &f) { f.velocityFx.Pcx = 100; }, Qt::Key_Right,
             centreIs(100, 175), nullptr},
            {"Page Up", at(100, 100, 3), Qt::Key_PageUp,
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pmvc, 4); }, "MoveLevel 4"},
            {"Page Up at 10", at(100, 100, 10), Qt::Key_PageUp,
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pmvc, 10); }, "MoveLevel 10"},
            {"Page Down", at(100, 100, 3), Qt::Key_PageDown,
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pmvc, 2); }, "MoveLevel 2"},
            {"Page Down at 0", at(100, 100, 0), Qt::Key_PageDown,
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pmvc, 0); }, "MoveLevel 0"},
            {"Page Up without Velocity", nullptr, Qt::Key_PageUp,
             [](TForm1 &f) { EXPECT_EQ(f.velocityFx.Pmvc, 2); }, nullptr},
    };
    runCases(cases);
}

// Without Velocity any key gives the focus to the page slider, and the arrow
// and page keys then move it; while Velocity runs they move its centre instead.
TEST(VirtualKeys, WithoutVelocityTheKeysGoToThePageSlider)
{
    Window w;
    TForm1 &f = w.f();
    f.setSliderPosition(3);
    ASSERT_EQ(f.FPage, 3);
    QTest::keyClick(&f, Qt::Key_Left);
    EXPECT_EQ(f.focusWidget(), f.ExtTrackBar1);
    EXPECT_EQ(f.ExtTrackBar1->value(), 2) << "the key did not reach the slider";
    EXPECT_EQ(f.FPage, 2);
    QTest::keyClick(f.ExtTrackBar1, Qt::Key_PageUp);
    EXPECT_EQ(f.FPage, 3);
    QTest::keyClick(f.ExtTrackBar1, 'q'); // a character key: the focus stays, the slider stays
    EXPECT_EQ(f.focusWidget(), f.ExtTrackBar1);
    EXPECT_EQ(f.FPage, 3);

    velocity(f);
    f.velocityFx.Pcx = 100;
    QTest::keyClick(f.focusWidget() ? f.focusWidget() : &f, Qt::Key_Right);
    EXPECT_EQ(f.velocityFx.Pcx, 102);
    EXPECT_EQ(f.FPage, 3) << "the locked slider moved";
    f.EffectOut1Click();
}

// A key typed on any control reaches the window's handlers first; the Ctrl
// shortcuts stay with their menu items and are not also read as keys.
TEST(VirtualKeys, KeysOnAnyControlAndTheCtrlShortcuts)
{
    Window w;
    TForm1 &f = w.f();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.ExtTrackBar1->setFocus();
    QTest::keyClick(f.ExtTrackBar1, 'h');
    EXPECT_TRUE(f.checked(OptionBox::Green));

    velocity(f);
    QTest::keyClick(f.focusWidget() ? f.focusWidget() : &f, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(f.FDeep) << "Ctrl+P starts Deep from anywhere";
    EXPECT_FALSE(f.FVelocity);
    EXPECT_EQ(w.status(), "Deep (Mu-gen)") << "the Ctrl key was also read as a character";
    f.EffectOut1Click();
}

// Check-box clicks (the box toggles first): Slow sets all four timers,
// Movement shows the move level, Clock centres, the page boxes rewrite the
// page unless an animation forbids it.
TEST(BoxClicks, StatusTextsAndWhatTheyRefuse)
{
    Window w;
    TForm1 &f = w.f();
    f.box(OptionBox::Slow)->click();
    EXPECT_EQ(w.status(), "Slow on");
    EXPECT_EQ(f.Timer5->interval(), 110);
    f.box(OptionBox::Slow)->click();
    EXPECT_EQ(w.status(), "Slow off");
    EXPECT_EQ(f.Timer1->interval(), 55);
    EXPECT_EQ(f.Timer3->interval(), 55);
    EXPECT_EQ(f.Timer4->interval(), 7000);
    EXPECT_EQ(f.Timer5->interval(), 55);

    f.velocityFx.Pmvc = 7;
    f.box(OptionBox::Movement)->click();
    EXPECT_EQ(w.status(), "MoveLevel 7");
    f.setStatus(QString::fromLatin1(kBefore));
    f.box(OptionBox::Movement)->click();
    EXPECT_EQ(w.status(), kBefore) << "unchecking Movement shows nothing";

    f.velocityFx.Pcx = 5;
    f.box(OptionBox::Clock)->click();
    EXPECT_EQ(f.velocityFx.Pcx, 240);

    struct Rewrite
    {
        int box;
        void (*start)(TForm1 &);
        bool rewrites;
    };
    const Rewrite rewrites[] = {
            {6, nullptr, true},      {6, deep, false},
            {6, difference, false},  {8, nullptr, true},
            {8, velocity, false},    {15, nullptr, true},
            {15, deep, false},       {15, velocity, false},
            {15, difference, false}, {15, [](TForm1 &g) { startHeld(g, Animation::Arts); }, true},
    };
    for (const Rewrite &r : rewrites) {
        SCOPED_TRACE(testing::Message() << "LCheckBox" << r.box << (r.start ? " while busy" : ""));
        Window v;
        TForm1 &g = v.f();
        if (r.start)
            r.start(g);
        const bool was = g.checked(OptionBox(r.box));
        g.box(OptionBox(r.box))->click();
        EXPECT_NE(g.checked(OptionBox(r.box)), was) << "the box changes whatever runs";
        EXPECT_EQ(g.pictureState.FPageShown, r.rewrites);
        g.EffectOut1Click();
    }
}

// The list of keys for the user is printed from the tables; it lists every
// step once, in order. CORVANE_WRITE_KEYS=1 writes it.
TEST(KeyList, MatchesTheTablesAndDocsKeysMd)
{
    int expected = 1;
    for (const corvane::KeyPressStep &s : corvane::keyPressSteps())
        EXPECT_EQ(s.step, expected++);
    EXPECT_EQ(expected, 46);

    Window w;
    const QString md = corvane::keysMarkdown(w.f());
    QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/docs/keys.md"));
    if (qEnvironmentVariableIsSet("CORVANE_WRITE_KEYS")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(md.toUtf8());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "docs/keys.md is missing";
    EXPECT_EQ(QString::fromUtf8(file.readAll()), md) << "docs/keys.md is out of date";
    EXPECT_TRUE(md.contains(QStringLiteral("| 21 | `\\` | Difference is not running |")));
    EXPECT_TRUE(md.contains(
            QStringLiteral("| \"Exit\" | close the program | `Ctrl+T` | \"Ctrl+T\" |")));
    EXPECT_FALSE(md.contains(QStringLiteral("(undescribed)")))
            << "a menu item the list does not explain";
}
