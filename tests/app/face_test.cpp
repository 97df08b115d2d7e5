// The window's face: its outline, which presses move the window, and the
// controls it is made of, each bound to its field and its handler.
#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "tests/support/LoadNow.h"
#include "tests/support/TestWindow.h"
#include "core/Design.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "controls/TRgn.h"
#include "controls/TTriangleButton.h"

using corvane::OptionBox;

namespace {

struct Window
{
    QTemporaryDir dir;
    TForm1 form{dir.filePath(QStringLiteral("corvane.ini"))};
};

void send(QWidget *to, QEvent::Type type, QPoint local, Qt::MouseButton button,
          Qt::MouseButtons buttons)
{
    const QPointF global = to->mapToGlobal(QPointF(local));
    QMouseEvent e(type, QPointF(local), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(to, &e);
}

// Press on `target` at `at`, move the mouse by (40, 30) and release; returns
// how far the window went. Where the platform has no system move, the window
// follows the mouse by hand, so the offscreen test sees the move.
QPoint dragBy(TForm1 &form, QWidget *target, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint before = form.pos();
    send(target, QEvent::MouseButtonPress, at, button, button);
    send(target, QEvent::MouseMove, at + QPoint(40, 30), Qt::NoButton, button);
    send(target, QEvent::MouseButtonRelease, at + QPoint(40, 30), button, Qt::NoButton);
    return form.pos() - before;
}

} // namespace

// The window is frameless and cut to the stored outline: 680 x 425 less the
// 2 x 2 notch at its lower left, the same region the face control built.
TEST(Face, WindowIsCutToTheStoredOutline)
{
    Window w;
    EXPECT_TRUE(w.form.windowFlags() & Qt::FramelessWindowHint);
    const QRegion expected = QRegion(0, 0, 680, 423) + QRegion(2, 423, 678, 2);
    EXPECT_EQ(w.form.mask(), expected);
    EXPECT_EQ(w.form.Rgn1->region(), expected);
    EXPECT_EQ(w.form.Rgn1->geometry(), QRect(0, 0, 680, 425));
    EXPECT_FALSE(w.form.Rgn1->RgnBitmap().isNull());
}

// Only a left press on the bare face drags: not one on the picture, on a
// label or on a button, and not a right press.
TEST(Face, OnlyTheBareFaceDragsTheWindow)
{
    Window w;
    w.form.move(100, 100);
    w.form.show();
    EXPECT_EQ(dragBy(w.form, &w.form, QPoint(8, 200)), QPoint(40, 30));
    EXPECT_EQ(dragBy(w.form, w.form.Image1, QPoint(100, 100)), QPoint(0, 0));
    EXPECT_EQ(dragBy(w.form, w.form.Label1, QPoint(5, 5)), QPoint(0, 0));
    EXPECT_EQ(dragBy(w.form, w.form.HintLabel1, QPoint(5, 5)), QPoint(0, 0));
    EXPECT_EQ(dragBy(w.form, &w.form, QPoint(8, 200), Qt::RightButton), QPoint(0, 0));
}

namespace {

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
            + std::abs(qBlue(a) - qBlue(b));
}

} // namespace

// Captions are drawn in their own colours: the ink nearest a button's caption
// colour matches it, and no pixel of any button comes near black.
TEST(Face, CaptionsAreInTheirColoursNotBlack)
{
    Window w;
    w.form.show();
    const std::pair<QAbstractButton *, uint32_t> buttons[] = {
            {w.form.Effect1, 12482610}, {w.form.RectButton, 12482610}, {w.form.Velocity, 5468061},
            {w.form.finearts, 5468061}, {w.form.FontColor1, 12482610}, {w.form.Leaf1, 12482610},
            {w.form.Exit1, 7961548},    {w.form.Small1, 12482610},
    };
    for (const auto &[button, colour] : buttons) {
        if (button->text().isEmpty())
            button->setText(QStringLiteral("Wg"));
        const QImage shot = button->grab().toImage();
        const QRgb want = corvane::toQColor(colour).rgb();
        int nearest = 1000, darkest = 1000;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                nearest = std::min(nearest, distance(shot.pixel(x, y), want));
                darkest = std::min(darkest, distance(shot.pixel(x, y), qRgb(0, 0, 0)));
            }
        EXPECT_LT(nearest, 24) << qPrintable(button->objectName());
        EXPECT_GT(darkest, 120) << qPrintable(button->objectName());
    }
}

// Every caption, label and the "Arts run" lamp stands out at 3:1 at least, in
// its own colour, against the face pixels within two of its ink (the contrast
// of relative luminances, as WCAG defines them). The lamp is lit in its
// colour, not a text colour on nothing.
TEST(Face, CaptionsStandOutFromTheFaceAroundThem)
{
    const auto light = [](QRgb c) {
        const auto linear = [](int v) {
            return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c))
                + 0.05;
    };
    Window w;
    TForm1 &f = w.form;
    if (f.Effect1->text().isEmpty())
        f.box(OptionBox::NameOn)->click();
    f.Label3->show(); // lit as while plan de arts runs
    EXPECT_EQ(f.Label3->grab().toImage().pixel(5, 5), qRgb(0xC7, 0xED, 0xCF));
    EXPECT_EQ(corvane::toQColor(13626823).rgb(), qRgb(0xC7, 0xED, 0xCF));
    const QImage shot = f.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage face = f.Rgn1->RgnBitmap().convertToFormat(QImage::Format_RGB32);
    int captions = 0;
    for (QWidget *c : f.findChildren<QWidget *>()) {
        const auto *button = qobject_cast<QAbstractButton *>(c);
        const auto *label = qobject_cast<QLabel *>(c);
        const bool lamp = c == f.Label3;
        if (!lamp && !(button && !button->text().isEmpty()) && !(label && !label->text().isEmpty()))
            continue;
        const auto role = lamp ? QPalette::Window
                : button       ? QPalette::ButtonText
                               : QPalette::WindowText;
        const double ink = light(c->palette().color(role).rgb());
        const QRect r = c->geometry();
        const auto isInk = [&](int x, int y) {
            return r.contains(x, y) && distance(shot.pixel(x, y), face.pixel(x, y)) > 36;
        };
        double worst = 99;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                for (int d = 0; isInk(x, y) && d < 25; ++d) {
                    const int gx = x + d % 5 - 2, gy = y + d / 5 - 2;
                    const double ground = isInk(gx, gy) ? 0 : light(face.pixel(gx, gy));
                    if (ground > 0)
                        worst = std::min(worst, std::max(ink, ground) / std::min(ink, ground));
                }
        EXPECT_GE(worst, 3.0) << qPrintable(c->objectName());
        captions += worst < 99;
    }
    EXPECT_EQ(captions, 21);
}

// Reset shows its green block; the white around it is clear, so the face shows.
TEST(Face, ResetShowsItsGlyph)
{
    Window w;
    w.form.show();
    const QImage shot = w.form.grab(w.form.Reset1->geometry()).toImage();
    int green = 0, white = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            green += shot.pixel(x, y) == qRgb(160, 192, 128);
            white += shot.pixel(x, y) == qRgb(255, 255, 255);
        }
    EXPECT_GT(green, 100);
    EXPECT_EQ(white, 0);
}

namespace {

// The window with the built-in text loaded (whatever the folder holds) and
// no title screen, "Name on" as stored.
struct Loaded : TestWindow
{
    explicit Loaded(const char *nameOn = "1")
    {
        store({{"Form\\LCheckBox11", "Checked", "0"}, {"Form\\LCheckBox13", "Checked", nameOn}});
        build();
        loadNow(*form);
    }
};

// Every field of the face, by the name its control must carry.
std::vector<std::pair<QWidget *, QString>> faceFields(TForm1 &f)
{
#define FIELD(name) {f.name, QStringLiteral(#name)}
    std::vector<std::pair<QWidget *, QString>> fields = {
            FIELD(HintLabel1), FIELD(Label1),     FIELD(Label2),       FIELD(Label3),
            FIELD(FLabel),     FIELD(GLabel),     FIELD(Effect1),      FIELD(RectButton),
            FIELD(EffectOut1), FIELD(Bitsave),    FIELD(JpegButton),   FIELD(Velocity),
            FIELD(finearts),   FIELD(Scroll2),    FIELD(FontColor1),   FIELD(BgColor1),
            FIELD(BGChange),   FIELD(FOBlack1),   FIELD(FadeOut1),     FIELD(Leaf1),
            FIELD(Leafgo1),    FIELD(Reset1),     FIELD(Small1),       FIELD(Exit1),
            FIELD(TriButton1), FIELD(TriButton2), FIELD(ExtTrackBar1), FIELD(SepaCheckBox),
    };
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23})
        fields.emplace_back(f.box(OptionBox(n)), QStringLiteral("LCheckBox%1").arg(n));
    return fields;
#undef FIELD
}

// The controls have no meta-object of their own, so qobject_cast cannot tell them apart.
template<class Control>
int childrenOf(TForm1 &f)
{
    int n = 0;
    for (QObject *child : f.children())
        n += dynamic_cast<Control *>(child) != nullptr;
    return n;
}

} // namespace

// Each field holds a control of its own, made once, named as the field (the
// boxes' stored states go by that name) and lying on the face; nothing else
// of its class was made beside them.
TEST(Face, EveryFieldHoldsOneControlOfItsOwn)
{
    Window w;
    TForm1 &f = w.form;
    const auto fields = faceFields(f);
    std::set<QWidget *> distinct;
    for (const auto &[control, name] : fields) {
        ASSERT_NE(control, nullptr) << qPrintable(name);
        EXPECT_EQ(control->objectName(), name);
        EXPECT_EQ(control->parentWidget(), &f) << qPrintable(name);
        EXPECT_TRUE(f.rect().contains(control->geometry())) << qPrintable(name);
        distinct.insert(control);
    }
    EXPECT_EQ(distinct.size(), fields.size());
    for (int n : {0, 9, 10})
        EXPECT_EQ(f.box(OptionBox(n)), nullptr) << n;
    EXPECT_EQ(childrenOf<TLozengeCheckBox>(f), 22);
    EXPECT_EQ(childrenOf<THWaSpeedButton>(f), 16);
    EXPECT_EQ(childrenOf<TShineSpeedButton>(f), 2);
    EXPECT_EQ(childrenOf<TTriangleButton>(f), 2);
    EXPECT_EQ(childrenOf<TExtTrackBar>(f), 1);
    EXPECT_EQ(childrenOf<QLabel>(f), 6);
}

namespace {

// What the handlers of the face change, read whole before and after a click.
std::map<std::string, QString> observe(TForm1 &f)
{
    const QImage &pic = f.picture();
    const QByteArray bytes(reinterpret_cast<const char *>(pic.constBits()), int(pic.sizeInBytes()));
    return {
            {"status", f.HintLabel1->text()},
            {"page", QString::number(f.FPage)},
            {"leaf", QString::number(f.FLeaf)},
            {"page shown", QString::number(f.pictureState.FPageShown)},
            {"plain colour", QString::number(f.pictureState.FBColor)},
            {"running",
             QStringLiteral("%1%2%3%4")
                     .arg(f.FDifference)
                     .arg(f.FVelocity)
                     .arg(f.FArts)
                     .arg(f.FDeep)},
            {"colours", QStringLiteral("%1 %2").arg(f.FoColor).arg(f.GColor)},
            {"picture", QString::number(qHash(bytes))},
            {"intervals",
             QStringLiteral("%1 %2 %3 %4")
                     .arg(f.Timer1->interval())
                     .arg(f.Timer3->interval())
                     .arg(f.Timer4->interval())
                     .arg(f.Timer5->interval())},
            {"captions", f.Effect1->text()},
            {"centre", QStringLiteral("%1 %2").arg(f.velocityFx.Pcx).arg(f.velocityFx.Pcy)},
            {"window", QStringLiteral("%1 %2").arg(f.isVisible()).arg(f.isMinimized())},
    };
}

QString changes(const std::map<std::string, QString> &before,
                const std::map<std::string, QString> &after)
{
    QString out;
    for (const auto &[what, value] : before)
        if (after.at(what) != value)
            out += QString::fromStdString(what) + QLatin1Char(' ');
    return out;
}

// Answers the dialogs a click opens: a colour dialog with another colour, a
// file dialog by cancelling. Counts them.
struct DialogAnswerer
{
    QTimer timer;
    int seen = 0;
    DialogAnswerer()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            ++seen;
            if (auto *colour = qobject_cast<QColorDialog *>(modal)) {
                colour->setCurrentColor(QColor(200, 30, 60));
                colour->accept();
            } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                dialog->reject();
            }
        });
        timer.start();
    }
};

} // namespace

// A click on a control runs its own handler: every control with one changes
// what that handler changes, and a box without one changes nothing but itself.
TEST(Face, EachControlRunsItsHandlerOnClick)
{
    Loaded w;
    TForm1 &f = *w.form;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    DialogAnswerer dialogs;

    struct Case
    {
        QAbstractButton *control;
        std::function<void()> before; // puts the window where the handler shows
        bool handled;
    };
    const auto none = [] {};
    const auto unwritten = [&] { f.FOBlack1Click(); };
    const auto secondPage = [&] {
        f.ExtTrackBar1->setValue(2);
        f.TriButton1Click();
    };
    const auto leafElsewhere = [&] { // the leaf on this page, then the next page chosen
        f.Leaf1Click();
        f.ExtTrackBar1->setValue(f.FPage + 1);
    };
    const auto stop = [&] { f.EffectOut1Click(); };
    const std::vector<Case> cases = {
            {f.Effect1, stop, true},
            {f.RectButton, stop, true},
            {f.EffectOut1, [&] { f.Effect1Click(); }, true},
            {f.Velocity, stop, true},
            {f.finearts, stop, true},
            {f.Scroll2, stop, true},
            {f.FontColor1, stop, true},
            {f.BgColor1, stop, true},
            {f.BGChange, stop, true},
            {f.FOBlack1, stop, true},
            {f.FadeOut1, [&] { f.TriButton1Click(); }, true},
            {f.Leaf1, leafElsewhere, true},
            {f.Leafgo1, leafElsewhere, true},
            {f.Reset1, secondPage, true},
            {f.TriButton1, secondPage, true},
            {f.TriButton2, secondPage, true},
            {f.box(OptionBox::Tenderly), unwritten, true},
            {f.box(OptionBox::Horizontal), unwritten, true},
            {f.box(OptionBox::Gothic), unwritten, true},
            {f.box(OptionBox::NameOn), none, true},
            {f.box(OptionBox::Slow), none, true},
            {f.box(OptionBox::Movement), none, true},
            {f.box(OptionBox::Clock), [&] { f.velocityFx.Pcx = 10; }, true},
            {f.box(OptionBox::Green), none, true},
            {f.box(OptionBox::Bright), none, true},
            {f.box(OptionBox::Devenir), none, true},
            {f.box(OptionBox::Repetition), none, true},
            {f.Small1, none, true},
            {f.box(OptionBox::Form), none, false},
            {f.box(OptionBox::Color), none, false},
            {f.box(OptionBox::Paint), none, false},
            {f.box(OptionBox::CoolColor), none, false},
            {f.box(OptionBox::FadeOut), none, false},
            {f.box(OptionBox::FadeIn), none, false},
            {f.box(OptionBox::Keep), none, false},
            {f.box(OptionBox::BeginEnd), none, false},
            {f.box(OptionBox::MiniBlackHole), none, false},
            {f.box(OptionBox::RoadMovie), none, false},
            {f.SepaCheckBox, none, false},
            {f.Exit1, none, true}, // last: it closes the window
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.control->objectName().toStdString());
        if (!f.isVisible() || f.isMinimized()) {
            f.showNormal();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        }
        c.before();
        f.setStatus(QStringLiteral("-"));
        const auto before = observe(f);
        const int dialogsBefore = dialogs.seen;
        const bool wasChecked = c.control->isChecked();
        c.control->click();
        const QString changed = changes(before, observe(f));
        if (c.handled) {
            EXPECT_TRUE(!changed.isEmpty() || dialogs.seen > dialogsBefore) << "nothing changed";
        } else {
            EXPECT_EQ(changed, QString()) << "changed";
        }
        if (c.control->isCheckable()) {
            EXPECT_NE(c.control->isChecked(), wasChecked) << "a box toggles itself";
        }
    }
    EXPECT_FALSE(f.isVisible()) << "Exit closes the window";
}

// The page slider's moves reach the page.
TEST(Face, SliderMovesThePage)
{
    Loaded w;
    TForm1 &f = *w.form;
    ASSERT_GT(f.FPageCount, 3);
    f.ExtTrackBar1->setValue(3);
    EXPECT_EQ(f.FPage, 3);
    EXPECT_EQ(f.Label1->text(), QStringLiteral("3"));
}

// "Name on" shows the captions the flat buttons carry and gives "Cool Color"
// and "+Begin End" their balloons; off, it takes all of them away. Until the
// box is clicked, a window started with it off keeps the boxes' design
// balloons; Leaf save never has one.
TEST(Face, NameOnSwitchesCaptionsAndTwoBalloons)
{
    Loaded w("0");
    TForm1 &f = *w.form;
    const std::vector<std::pair<THWaSpeedButton *, QString>> captions = {
            {f.Effect1, "Difference"},
            {f.EffectOut1, "Run along"},
            {f.FontColor1, "FontColor"},
            {f.BgColor1, "BgColor"},
            {f.BGChange, "BgRandom"},
            {f.Scroll2, "About"},
            {f.FOBlack1, "FOB"},
            {f.FadeOut1, "FOut"},
            {f.Leaf1, "Leaf"},
            {f.Leafgo1, "Go"},
            {f.RectButton, "Deep"},
            {f.Velocity, "Velocity"},
            {f.finearts, "plan de arts"},
            {f.Bitsave, "B"},
            {f.JpegButton, "J"},
    };
    const auto shown = [&] {
        QString s;
        for (const auto &[button, caption] : captions)
            s += button->text() + QLatin1Char('|');
        return s;
    };
    QString all;
    for (const auto &[button, caption] : captions)
        all += caption + QLatin1Char('|');
    const QString blank = QString(QLatin1Char('|')).repeated(int(captions.size()));

    EXPECT_EQ(shown(), blank);
    EXPECT_TRUE(f.box(OptionBox::CoolColor)->balloonHint());
    EXPECT_TRUE(f.box(OptionBox::BeginEnd)->balloonHint());
    f.box(OptionBox::NameOn)->click();
    EXPECT_EQ(shown(), all);
    EXPECT_EQ(f.Reset1->text(), QString()) << "Reset shows only its glyph";
    f.box(OptionBox::NameOn)->click();
    EXPECT_EQ(shown(), blank);
    EXPECT_FALSE(f.box(OptionBox::CoolColor)->balloonHint());
    EXPECT_FALSE(f.box(OptionBox::BeginEnd)->balloonHint());
    EXPECT_TRUE(f.box(OptionBox::Tenderly)->balloonHint()) << "the other boxes keep theirs";
    f.box(OptionBox::NameOn)->click();
    EXPECT_TRUE(f.box(OptionBox::CoolColor)->balloonHint());
    EXPECT_TRUE(f.box(OptionBox::BeginEnd)->balloonHint());
    EXPECT_FALSE(f.Leaf1->balloonHint());
    EXPECT_FALSE(f.ExtTrackBar1->balloonHint());
}

// The window starts with the page slider focused. A click on a box gives it
// the focus and its focus rectangle, a dotted line right of the lozenge; a
// key it then receives (the slider takes no focus while Velocity runs) goes
// to the window and does not toggle the box.
TEST(Face, AClickedBoxTakesTheFocusButNoKeyTogglesIt)
{
    Loaded w;
    TForm1 &f = *w.form;
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    EXPECT_EQ(f.focusWidget(), f.ExtTrackBar1);

    TLozengeCheckBox *keep = f.box(OptionBox::Keep);
    const auto dotsRightOf = [&] {
        const QImage shot = f.grab(keep->geometry()).toImage();
        const QImage face
                = f.Rgn1->RgnBitmap().copy(keep->geometry()).convertToFormat(shot.format());
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            n += shot.pixel(21, y) != face.pixel(21, y);
        return n;
    };
    EXPECT_EQ(dotsRightOf(), 0);
    const bool was = keep->isChecked();
    QTest::mouseClick(keep, Qt::LeftButton, {}, QPoint(11, 12));
    EXPECT_NE(keep->isChecked(), was);
    EXPECT_TRUE(keep->hasFocus());
    EXPECT_GT(dotsRightOf(), 3);

    f.VelocityClick();
    ASSERT_TRUE(f.FVelocity);
    ASSERT_EQ(f.focusWidget(), keep);
    ASSERT_FALSE(f.pictureState.FPageShown) << "Velocity took the page away";
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        QTest::keyClick(keep, key);
        EXPECT_TRUE(f.pictureState.FPageShown) << "the key wrote the page";
        EXPECT_NE(keep->isChecked(), was) << "the key toggled the box";
    }
}
