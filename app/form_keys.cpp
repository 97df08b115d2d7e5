// Every key of the window: the key preview that shows each key to the window
// before the focused control, FormKeyDown and FormKeyPress, and the two key
// tables that drive them. Writes the option boxes, the Velocity parameters,
// Fconm, FArtsLevel, FArts, FBlackRect, the canvas pen, the timers' intervals,
// the keyboard focus and the status line; the rest through the commands.
#include "app/KeyTable.h"
#include "app/TForm1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "core/Design.h"
#include "app/Guarded.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/TLozengeCheckBox.h"

using namespace corvane;

namespace {

constexpr int kEdgeRoom = 10;     // the arrow keys leave the centre this far from an edge, pixels
constexpr int kMaxMoveLevel = 10; // Page Up and Page Down keep Pmvc within 0..this
constexpr QPoint kKeyMenuAt(500, 10); // "y" shows the context menu here, screen pixels

template<void (TForm1::*handler)()>
void run(Press &p)
{
    (p.f.*handler)();
}

template<OptionBox option>
void toggle(Press &p)
{
    p.toggleBox(option);
}

// A box the written page depends on: the page is written again at once. The
// page command leaves the product name in the status line, so the box's text
// is shown after it.
template<OptionBox option>
void toggleAndRewrite(Press &p)
{
    const bool was = p.f.checked(option);
    p.f.box(option)->setChecked(!was);
    p.f.pictureState.FSamePage = true;
    p.f.TriButton1Click();
    p.status(was ? p.wasSet : p.wasNot);
}

// A Velocity parameter takes the key's place among the row's keys: "1" is 1.
template<int VelocityState::*field>
void setByKey(Press &p)
{
    p.f.velocityFx.*field = p.index + 1;
}

// Brightness by digit: "1" 80, "2" 85 ... "9" 120; "0" 125.
int brightnessOfKey(int index)
{
    return PlanDeArts::kLowLevel + PlanDeArts::kLevelStep * index;
}

// While Deep runs, any key sets the pen of the picture's canvas and draws
// along row 0, which every later tick smears down the picture.
void deepPen(Press &p)
{
    TForm1 &f = p.f;
    Canvas &c = *f.canvas;
    if (p.key == QLatin1Char('p')) {
        c.setPenColor(f.deepFx.FDeepColor);
        p.status("Line color");
    } else if (f.deepFx.FBlackRect) {
        DeepState::drawTopLine(c, 0);
        p.status(p.wasSet);
    } else {
        c.setPenColor(kLightGrey);
        p.status(p.wasNot);
    }
    DeepState::drawTopLine(c, c.penColor());
    f.Image1->repaintSoon();
}

void centre(TForm1 &f)
{
    f.velocityFx.Pcx = f.picture().width() / 2;
    f.velocityFx.Pcy = f.picture().height() / 2;
}

void slowKey(Press &p)
{
    // Timer5 keeps its interval; only a click on the box sets all four.
    const bool was = p.toggleBox(OptionBox::Slow);
    p.f.applyTimerIntervals(!was, TForm1::SlowSwitch::Key);
}

// Character keys, compared exactly, in this order; every matching row acts.
// clang-format off
constexpr KeyPressStep kKeyPress[] = {
    // step, keys, condition, action, status when the box or flag was set / was not, the action in words
    {1, "y", When::Always, [](Press &p) { p.f.PopupMenu1->popup(p.f.keyMenuPoint()); }, nullptr, nullptr, "the menu opens near the top left of the screen"},
    {2, "d", When::Always, run<&TForm1::Effect1Click>, nullptr, nullptr, "start Difference"},
    {3, "r", When::Always, run<&TForm1::EffectOut1Click>, nullptr, nullptr, "stop the running animation"},
    {4, "g", When::Always, run<&TForm1::Reset1Click>, nullptr, nullptr, "back to page 1, which is written again"},
    {5, "e", When::Always, run<&TForm1::VelocityClick>, nullptr, nullptr, "start Velocity"},
    {6, "a", When::Always, run<&TForm1::fineartsClick>, nullptr, nullptr, "start plan de arts"},
    {7, ",", When::Always, run<&TForm1::FOBlack1Click>, nullptr, nullptr, "the picture fades to black"},
    {8, ".", When::Always, run<&TForm1::Fadeout1Click>, nullptr, nullptr, "the picture fades to the background colour"},
    {9, "/", When::BusyLeave, toggle<OptionBox::Keep>, "Keep off", "Keep on", "toggle \"Keep\" (the place is kept between sessions)"},
    {10, "z", When::BusyLeave, toggleAndRewrite<OptionBox::Tenderly>, "Tenderly off", "Tenderly on", "toggle \"Tenderly\", write the page again"},
    {11, "x", When::BusyLeave, toggle<OptionBox::FadeIn>, "Fade In off", "+Fade In", "toggle \"+Fade In\" (new pages blend in)"},
    {12, "c", When::BusyLeave, toggle<OptionBox::FadeOut>, "Fade Out off", "+Fade Out", "toggle \"+Fade Out\" (the old page fades before the next)"},
    {13, "v", When::BusyLeave, toggleAndRewrite<OptionBox::Horizontal>, "Vertical", "Horizontal", "toggle \"Horizontal\", write the page again"},
    {14, "h", When::Always, toggle<OptionBox::Green>, "Blue arts", "Green arts", "toggle \"Green\": plan de arts paints in green or blue"},
    {15, "j", When::Always, [](Press &p) { p.f.artsFx.Fconm = p.flipBox(OptionBox::Bright) ? PlanDeArts::kLowLevel : PlanDeArts::kHighLevel; p.status(p.wasSet, p.f.artsFx.Fconm); }, "bright ", nullptr, "toggle \"Bright\": plan de arts paints brighter (125) or dimmer (80) (`Fconm`)"},
    {16, "k", When::Always, [](Press &p) { if (p.flipBox(OptionBox::Repetition)) { p.f.FArts = false; p.status(p.wasSet); } else { p.status(p.wasNot, p.f.artsFx.Fconm); } }, "Repetition off", "Repetition on ", "toggle \"Repetition\"; when it was checked, the repetition ends"},
    {17, "l", When::Always, [](Press &p) { if (p.toggleBox(OptionBox::Devenir)) p.f.FArts = false; }, "Devenir off", "Devenir on", "toggle \"plan de arts\" (Devenir); when it was checked, the repetition ends"},
    {18, ";", When::Always, slowKey, "Slow off", "Slow on", "toggle \"Slow\": the animations run at full or half speed, plan de arts repeats every 7 or 12 s (`Timer1`, `Timer3` 55 / 110 ms, `Timer4` 7000 / 12000 ms)"},
    {19, "-", When::NoDifference, toggle<OptionBox::Form>, "Form off", "Form on", "toggle \"Form\": Difference draws rectangles or ellipses"},
    {20, "^", When::NoDifference, toggle<OptionBox::Color>, "Color off", "Color on", "toggle \"Color\": Difference in warm grey or blue"},
    {21, "\\", When::NoDifference, toggle<OptionBox::Paint>, "Paint off", "Paint on", "toggle \"Paint\": Difference fills its shapes or outlines them"},
    {22, "]", When::Always, [](Press &p) { p.status(p.wasSet); p.f.RectButtonClick(); }, "Deep (Mu-gen)", nullptr, "start Deep"},
    {23, ":", When::Always, toggle<OptionBox::DeepSeparation>, "Deep (Mu-gen)", "DeepSeparation", "toggle \"Deep Separation\": Deep draws pairs of lines or closing frames"},
    {24, "w", When::NoVelocity, [](Press &p) { p.toggle(p.f.deepFx.FBlackRect); }, "Deep White", "Deep Black", "Deep starts from black or from light grey, switched (`FBlackRect`)"},
    {25, nullptr, When::DeepNoVelocity, deepPen, "Deep Black", "Deep White", "`p`: Deep's lines take their own colour (\"Line color\"); any other key: they turn black or light grey again; either way a line is drawn along the top (`FDeepColor`, `FBlackRect`)"},
    {26, "p", When::Velocity, [](Press &p) { centre(p.f); p.status(p.wasSet); }, "Center", nullptr, "Velocity's centre goes back to the middle of the picture"},
    {27, "123456qw", When::VelocityClock, setByKey<&VelocityState::Pirot>, nullptr, nullptr, "the clock's lines take colour scheme 1 to 8 (`Pirot`)"},
    {28, "789", When::VelocityClock, setByKey<&VelocityState::Pformt>, nullptr, nullptr, "the clock's lines are drawn as lines, ellipses or rectangles (`Pformt`)"},
    {29, "0", When::VelocityClock, [](Press &p) { p.f.velocityFx.Pirot = 2; p.f.velocityFx.Pformt = 1; }, nullptr, nullptr, "the clock's lines back to colour scheme 2, drawn as lines (`Pirot`, `Pformt`)"},
    {30, "o", When::VelocityClock, [](Press &p) { p.toggle(p.f.velocityFx.Pdigit); }, "Digital off", "Digital on", "the time written at the centre, on or off (`Pdigit`)"},
    {31, "i", When::VelocityClock, [](Press &p) { p.toggle(p.f.velocityFx.Pbt); }, "NotBoldClock", "BoldClock", "bold clock lines, on or off (`Pbt`)"},
    {32, "123456qw", When::VelocityNoClock, setByKey<&VelocityState::Piro>, nullptr, nullptr, "the lines take colour scheme 1 to 8 (`Piro`)"},
    {33, "789", When::VelocityNoClock, setByKey<&VelocityState::Pform>, nullptr, nullptr, "the lines are drawn as lines, ellipses or rectangles (`Pform`)"},
    {34, "0", When::VelocityNoClock, [](Press &p) { p.f.velocityFx.Piro = 1; p.f.velocityFx.Pform = 1; }, nullptr, nullptr, "the lines back to colour scheme 1, drawn as lines (`Piro`, `Pform`)"},
    {35, "o", When::VelocityNoClock, [](Press &p) { p.toggle(p.f.velocityFx.Pdigi); }, "NotScope", "Scope", "a crosshair at the centre counting the lines that hit it, on or off (`Pdigi`)"},
    {36, "i", When::VelocityNoClock, [](Press &p) { p.toggle(p.f.velocityFx.Pb); }, "NotBold", "Bold", "bold lines, on or off (`Pb`)"},
    {37, "u", When::VelocityNoClock, [](Press &p) { p.toggle(p.f.velocityFx.Pmix); }, "NotMix", "Mix", "ellipses and rectangles still dim are drawn as plain lines, on or off (`Pmix`)"},
    {38, "m", When::VelocityNoClockMovement, [](Press &p) { p.toggle(p.f.velocityFx.Pmouse); }, "MoveRandom", "MoveMouse", "the centre follows the mouse or wanders on its own (`Pmouse`)"},
    {39, "n", When::VelocityNoClock, [](Press &p) { p.f.velocityFx.FLockCount = 0; p.status(p.wasSet, p.f.velocityFx.FLockCount); }, "lock ", nullptr, "the crosshair's count of hits starts again from 0 (`FLockCount`)"},
    {40, "123456789", When::NoVelocityArtsBox, [](Press &p) { p.f.artsFx.FArtsLevel = brightnessOfKey(p.index); p.status(p.wasSet, p.f.artsFx.FArtsLevel); }, "bright ", nullptr, "the swinging brightness jumps to 80, 85, ..., 120 (`FArtsLevel`)"},
    {41, "0", When::NoVelocityArtsBox, [](Press &p) { p.f.artsFx.FArtsLevel = PlanDeArts::kHighLevel; p.status(p.wasSet, p.f.artsFx.FArtsLevel); }, "bright ", nullptr, "the swinging brightness jumps to 125 (`FArtsLevel`)"},
    {42, "123456789", When::NoVelocityNoArtsBox, [](Press &p) { p.f.artsFx.Fconm = brightnessOfKey(p.index); p.status(p.wasSet, p.f.artsFx.Fconm); }, "bright ", nullptr, "plan de arts paints at brightness 80, 85, ..., 120 (`Fconm`)"},
    {43, "0", When::NoVelocityNoArtsBox, [](Press &p) { p.f.artsFx.Fconm = PlanDeArts::kHighLevel; p.status(p.wasSet, p.f.artsFx.Fconm); }, "bright ", nullptr, "plan de arts paints at brightness 125 (`Fconm`)"},
    {44, "t", When::Always, run<&TForm1::toggleAuto>, kAutoOff, kAutoOn, "toggle Auto: the next page is written every interval (30, 60, 120 or 300 s, doubled in Slow)"},
    {45, "b", When::BusyLeave, run<&TForm1::switchAozora>, nullptr, nullptr, "switch the Aozora reading mode (shows \"Aozora on\" / \"Aozora off\")"},
};
// clang-format on

void moveLevel(Press &p, int step)
{
    int &level = p.f.velocityFx.Pmvc;
    if (level == (step > 0 ? kMaxMoveLevel : 0)) {
        p.status(p.wasSet, level);
    } else if (step > 0 ? level < kMaxMoveLevel : level > 0) {
        level += step;
        p.status(p.wasSet, level);
    }
}

// Virtual keys, in this order; every matching row acts.
// clang-format off
constexpr KeyDownStep kKeyDown[] = {
    // key, Qt keys, condition, action, status texts, the action in words
    {"Space (32), Enter (13)", {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}, When::Always, run<&TForm1::TriButton1Click>, nullptr, nullptr, "the next page is written"},
    {"Backspace (8)", {Qt::Key_Backspace}, When::Always, run<&TForm1::TriButton2Click>, nullptr, nullptr, "the previous page is written"},
    {"Delete (46)", {Qt::Key_Delete}, When::Always, [](Press &p) { if (!p.flipBox(OptionBox::Clock)) centre(p.f); }, nullptr, nullptr, "toggle \"Clock\": Velocity's lines spring from a clock's hands, centred in the picture"},
    {"Insert (45)", {Qt::Key_Insert}, When::Always, toggle<OptionBox::RoadMovie>, nullptr, nullptr, "toggle \"RoadMovie\": Velocity's lines are reborn around the centre"},
    {"Home (36)", {Qt::Key_Home}, When::Velocity, [](Press &p) { if (!p.flipBox(OptionBox::Movement)) p.status(p.wasNot, p.f.velocityFx.Pmvc); }, nullptr, "MoveLevel ", "toggle \"Movement\": Velocity's centre wanders"},
    {"End (35)", {Qt::Key_End}, When::Velocity, toggle<OptionBox::MiniBlackHole>, nullptr, nullptr, "toggle \"MiniBlackHole\": Velocity's lines slow almost to a halt near the centre"},
    {"Right (39)", {Qt::Key_Right}, When::RoomRight, [](Press &p) { p.f.velocityFx.Pcx += p.f.velocityFx.Pmvc; }, nullptr, nullptr, "Velocity's centre moves right by the move level (`Pcx`, `Pmvc`)"},
    {"Left (37)", {Qt::Key_Left}, When::RoomLeft, [](Press &p) { p.f.velocityFx.Pcx -= p.f.velocityFx.Pmvc; }, nullptr, nullptr, "Velocity's centre moves left by the move level (`Pcx`, `Pmvc`)"},
    {"Up (38)", {Qt::Key_Up}, When::RoomUp, [](Press &p) { p.f.velocityFx.Pcy -= p.f.velocityFx.Pmvc; }, nullptr, nullptr, "Velocity's centre moves up by the move level (`Pcy`, `Pmvc`)"},
    {"Down (40)", {Qt::Key_Down}, When::RoomDown, [](Press &p) { p.f.velocityFx.Pcy += p.f.velocityFx.Pmvc; }, nullptr, nullptr, "Velocity's centre moves down by the move level (`Pcy`, `Pmvc`)"},
    {"Page Up (33)", {Qt::Key_PageUp}, When::Velocity, [](Press &p) { moveLevel(p, +1); }, "MoveLevel ", nullptr, "the move level rises by 1, up to 10 (`Pmvc`)"},
    {"Page Down (34)", {Qt::Key_PageDown}, When::Velocity, [](Press &p) { moveLevel(p, -1); }, "MoveLevel ", nullptr, "the move level falls by 1, down to 0 (`Pmvc`)"},
    {"F11 (122)", {Qt::Key_F11}, When::Always, run<&TForm1::toggleFullScreen>, nullptr, nullptr, "the picture alone on the whole screen, or back to the window"},
    {"Esc (27)", {Qt::Key_Escape}, When::Always, run<&TForm1::leaveFullScreen>, nullptr, nullptr, "back from the whole screen to the window as it was"},
    {"any key", {}, When::NoVelocity, [](Press &p) { p.f.ExtTrackBar1->setFocus(Qt::OtherFocusReason); }, nullptr, nullptr, "the page slider takes the key: the arrows, Page Up, Page Down, Home and End move through the pages"},
};
// clang-format on

int indexOf(const char *keys, QChar key)
{
    for (int i = 0; keys[i]; ++i)
        if (QLatin1Char(keys[i]) == key)
            return i;
    return -1;
}

int indexOf(const int (&keys)[3], int key)
{
    if (std::all_of(std::begin(keys), std::end(keys), [](int k) { return k == 0; }))
        return 0;
    for (int i = 0; i < 3; ++i)
        if (keys[i] != 0 && keys[i] == key)
            return i;
    return -1;
}

// Sees every key pressed on the window, whichever control has the focus, runs
// the window's handlers, then hands the key to the control that has the focus
// now, so that the focus move of FormKeyDown brings it to the slider.
class KeyPreview : public QObject
{
public:
    explicit KeyPreview(TForm1 &form)
        : QObject(&form)
        , m_form(form)
    {
        qApp->installEventFilter(this);
    }
    ~KeyPreview() override
    {
        if (qApp)
            qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The key as it goes on to the control and up to its parents.
        if (event->type() != QEvent::KeyPress || event == m_delivering || !watched->isWidgetType())
            return false;
        if (static_cast<QWidget *>(watched)->window() != &m_form)
            return false; // the menus and dialogs take their own keys
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        // With Alt or the logo key held a key is a system key and types no character.
        const bool typesText = !(key->modifiers() & (Qt::AltModifier | Qt::MetaModifier));
        // The handlers run inside Qt's event delivery, which an exception must
        // not cross: what one throws is shown, and the key goes on its way.
        QPointer<KeyPreview> alive(this); // a handler may close and destroy the window
        guarded([this, key] { m_form.FormKeyDown(key->key()); })();
        if (!alive)
            return true;
        QWidget *target = m_form.focusWidget();
        if (!target || !target->isEnabled())
            target = &m_form;
        QEvent *const outer = std::exchange(m_delivering, event);
        QCoreApplication::sendEvent(target, event);
        event->accept(); // taken: a control that ignored it must not pass it up to us again
        if (!alive)
            return true;
        m_delivering = outer;
        for (QChar c : text) {
            // Delete is a virtual key only, though X11 gives it the character DEL.
            if (!typesText || !alive || c == QChar(0x7F))
                break;
            guarded([this, c] { m_form.FormKeyPress(c); })();
        }
        return true;
    }

private:
    TForm1 &m_form;
    QEvent *m_delivering = nullptr;
};

} // namespace

namespace corvane {

bool holds(When when, const TForm1 &f)
{
    const bool clock = f.checked(OptionBox::Clock);
    const int w = f.Image1->picture().width(), h = f.Image1->picture().height();
    switch (when) {
    case When::Always:
        return true;
    case When::BusyLeave:
        return !f.busy();
    case When::NoDifference:
        return !f.FDifference;
    case When::NoVelocity:
        return !f.FVelocity;
    case When::DeepNoVelocity:
        return f.FDeep && !f.FVelocity;
    case When::Velocity:
        return f.FVelocity;
    case When::VelocityClock:
        return f.FVelocity && clock;
    case When::VelocityNoClock:
        return f.FVelocity && !clock;
    case When::VelocityNoClockMovement:
        return f.FVelocity && !clock && f.checked(OptionBox::Movement);
    case When::NoVelocityArtsBox:
        return !f.FVelocity && f.checked(OptionBox::Devenir);
    case When::NoVelocityNoArtsBox:
        return !f.FVelocity && !f.checked(OptionBox::Devenir);
    case When::RoomRight:
        return f.FVelocity && f.velocityFx.Pcx < w - kEdgeRoom;
    case When::RoomLeft:
        return f.FVelocity && f.velocityFx.Pcx > kEdgeRoom;
    case When::RoomUp:
        return f.FVelocity && f.velocityFx.Pcy > kEdgeRoom;
    case When::RoomDown:
        return f.FVelocity && f.velocityFx.Pcy < h - kEdgeRoom;
    }
    return false;
}

const char *describe(When when)
{
    switch (when) {
    case When::Always:
        return "always";
    case When::BusyLeave:
        return "no animation runs (otherwise the key does nothing at all)";
    case When::NoDifference:
        return "Difference is not running";
    case When::NoVelocity:
        return "Velocity is not running";
    case When::DeepNoVelocity:
        return "Deep runs, Velocity does not";
    case When::Velocity:
        return "Velocity runs";
    case When::VelocityClock:
        return "Velocity runs, \"Clock\" checked";
    case When::VelocityNoClock:
        return "Velocity runs, \"Clock\" not checked";
    case When::VelocityNoClockMovement:
        return "Velocity runs, \"Clock\" not checked, \"Movement\" checked";
    case When::NoVelocityArtsBox:
        return "Velocity is not running, \"plan de arts\" checked";
    case When::NoVelocityNoArtsBox:
        return "Velocity is not running, \"plan de arts\" not checked";
    case When::RoomRight:
        return "Velocity runs, its centre short of the right edge";
    case When::RoomLeft:
        return "Velocity runs, its centre short of the left edge";
    case When::RoomUp:
        return "Velocity runs, its centre short of the top edge";
    case When::RoomDown:
        return "Velocity runs, its centre short of the bottom edge";
    }
    return "";
}

void Press::status(const char *text)
{
    if (text)
        f.setStatus(QString::fromLatin1(text));
}

void Press::status(const char *text, int number)
{
    f.setStatus(QString::fromLatin1(text) + QString::number(number));
}

bool Press::toggle(bool &flag)
{
    const bool was = flag;
    flag = !was;
    status(was ? wasSet : wasNot);
    return was;
}

bool Press::flipBox(OptionBox option)
{
    // setChecked repaints the box and runs none of its click handlers.
    TLozengeCheckBox *b = f.box(option);
    const bool was = b->isChecked();
    b->setChecked(!was);
    return was;
}

bool Press::toggleBox(OptionBox option)
{
    const bool was = flipBox(option);
    status(was ? wasSet : wasNot);
    return was;
}

std::span<const KeyPressStep> keyPressSteps()
{
    return kKeyPress;
}

std::span<const KeyDownStep> keyDownSteps()
{
    return kKeyDown;
}

} // namespace corvane

void TForm1::createKeyPreview()
{
    new KeyPreview(*this);
}

void TForm1::FormKeyDown(int key)
{
    for (const KeyDownStep &s : kKeyDown) {
        const int index = indexOf(s.keys, key);
        if (index < 0 || !holds(s.when, *this))
            continue;
        Press p{*this, QChar(), index, s.wasSet, s.wasNot};
        s.act(p);
    }
}

void TForm1::FormKeyPress(QChar key)
{
    for (const KeyPressStep &s : kKeyPress) {
        const int index = s.keys ? indexOf(s.keys, key) : 0;
        if (index < 0)
            continue;
        if (s.when == When::BusyLeave && busy())
            return; // at once: no later step, no events
        if (!holds(s.when, *this))
            continue;
        Press p{*this, key, index, s.wasSet, s.wasNot};
        s.act(p);
    }
    processPendingEvents();
}

QPoint TForm1::keyMenuPoint() const
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return kKeyMenuAt;
    // Wayland places a menu only relative to its own window, and only over it:
    // take the point of the window that stands over (500, 10) when the window
    // is at its stored position, kept on the window.
    const QPoint local = kKeyMenuAt - QPoint(Form1Left, Form1Top);
    return mapToGlobal(
            QPoint(std::clamp(local.x(), 0, width() - 1), std::clamp(local.y(), 0, height() - 1)));
}
