// The window's face: its outline and which presses move the window.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/TForm1.h"
#include "app/TPictureBox.h"
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
