// The window's face: its outline and which presses move the window.
#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "core/Design.h"
#include "app/TPictureBox.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TRgn.h"

namespace {

struct Window
{
    QTemporaryDir dir;
    TForm1 form{dir.filePath(QStringLiteral("corvane.ini"))};
};

void send(QWidget *to, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons)
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
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
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

// The "Arts run" lamp is lit in its colour, not a text colour on nothing.
TEST(Face, ArtsLampLightsInItsColour)
{
    Window w;
    const QImage lamp = w.form.Label3->grab().toImage();
    EXPECT_EQ(lamp.pixel(5, 5), qRgb(0xC7, 0xED, 0xCF));
    EXPECT_EQ(corvane::toQColor(13626823).rgb(), qRgb(0xC7, 0xED, 0xCF));
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
