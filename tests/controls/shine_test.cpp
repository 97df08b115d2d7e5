// The shine button ("Exit", "Small"): its looks under the pointer and which
// releases click.
#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/THWaSpeedButton.h"

namespace {

struct Exit
{
    TShineSpeedButton button;
    QSignalSpy clicks{&button, &QAbstractButton::clicked};
    Exit()
    {
        QFont normal;
        normal.setPixelSize(15);
        normal.setBold(true);
        button.setFont(normal);
        QFont active;
        active.setPixelSize(17);
        button.setActiveFont(active, QColor(224, 114, 101));
        button.setText(QStringLiteral("Exit"));
        button.resize(42, 17);
        button.show();
    }
};

} // namespace

// A release on the left or top edge pixel is inside and clicks, although a
// move onto that edge during the press already shows the button released.
TEST(Shine, EdgePixelsCountAsInsideOnRelease)
{
    for (QPoint edge : {QPoint(0, 8), QPoint(20, 0)}) {
        Exit e;
        QTest::mousePress(&e.button, Qt::LeftButton, {}, {20, 8});
        EXPECT_EQ(e.button.state(), TShineSpeedButton::PressedHot);
        QTest::mouseMove(&e.button, edge);
        EXPECT_EQ(e.button.state(), TShineSpeedButton::Up);
        QTest::mouseRelease(&e.button, Qt::LeftButton, {}, edge);
        EXPECT_EQ(e.clicks.count(), 1);
    }
}

// Dragged off, the caption returns to its normal font at once, and a release
// outside (including one past the right or bottom edge) does not click.
TEST(Shine, ReleaseOutsideDoesNotClick)
{
    for (QPoint outside : {QPoint(42, 8), QPoint(20, 17), QPoint(-1, 8)}) {
        Exit e;
        QTest::mousePress(&e.button, Qt::LeftButton, {}, {20, 8});
        EXPECT_EQ(e.button.currentFont().pixelSize(), 17);
        QTest::mouseMove(&e.button, outside);
        EXPECT_EQ(e.button.currentFont().pixelSize(), 15);
        QTest::mouseRelease(&e.button, Qt::LeftButton, {}, outside);
        EXPECT_EQ(e.clicks.count(), 0);
    }
}

// Disabled while held, the button forgets the press and draws as disabled.
TEST(Shine, DisablingEndsThePress)
{
    Exit e;
    QTest::mousePress(&e.button, Qt::LeftButton, {}, {20, 8});
    e.button.setEnabled(false);
    EXPECT_EQ(e.button.state(), TShineSpeedButton::Disabled);
    e.button.setEnabled(true);
    QTest::mouseRelease(&e.button, Qt::LeftButton, {}, {20, 8});
    EXPECT_EQ(e.clicks.count(), 0);
}

// A flat button carries its caption and shows it only while captions are
// shown; a caption set meanwhile waits until they are.
TEST(FlatButton, CaptionShowsOnlyWhenAsked)
{
    THWaSpeedButton b;
    b.setCaption(QStringLiteral("Difference"));
    EXPECT_EQ(b.text(), QString());
    b.setCaptionShown(true);
    EXPECT_EQ(b.text(), QStringLiteral("Difference"));
    b.setCaptionShown(false);
    EXPECT_EQ(b.text(), QString());
    b.setCaption(QStringLiteral("Run along"));
    EXPECT_EQ(b.text(), QString());
    EXPECT_EQ(b.caption(), QStringLiteral("Run along"));
    b.setCaptionShown(true);
    EXPECT_EQ(b.text(), QStringLiteral("Run along"));
}

namespace {

// A flat button on a plain ground, as on the window face.
struct Flat
{
    QWidget window;
    THWaSpeedButton *button = new THWaSpeedButton(&window);
    static constexpr QRgb kGround = qRgb(157, 183, 171);
    Flat()
    {
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, QColor(kGround));
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        window.resize(120, 40);
        button->setGeometry(10, 10, 97, 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QImage shot() { return window.grab(button->geometry()).toImage(); }
    void enter()
    {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(button, &e);
    }
};

} // namespace

// At rest the button has no plate or edge: the ground shows. Under the
// pointer a raised edge rims it, white above and left, grey below and
// right; held, the edge is sunken; the pointer gone, the ground again.
TEST(FlatButton, EdgesOnlyUnderThePointerAndWhileHeld)
{
    Flat f;
    const QRgb white = qRgb(255, 255, 255), grey = qRgb(128, 128, 128);
    QImage rest = f.shot();
    for (QPoint at : {QPoint(0, 0), QPoint(50, 10), QPoint(96, 19)})
        EXPECT_EQ(rest.pixel(at), Flat::kGround) << at.x();

    f.enter();
    ASSERT_TRUE(f.button->isHot());
    QImage hot = f.shot();
    EXPECT_EQ(hot.pixel(50, 0), white);
    EXPECT_EQ(hot.pixel(0, 10), white);
    EXPECT_EQ(hot.pixel(50, 19), grey);
    EXPECT_EQ(hot.pixel(96, 10), grey);
    EXPECT_EQ(hot.pixel(50, 10), Flat::kGround) << "no plate";

    f.button->setDown(true);
    QImage down = f.shot();
    EXPECT_EQ(down.pixel(50, 0), grey);
    EXPECT_EQ(down.pixel(96, 10), white);
    f.button->setDown(false);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.button, &leave);
    EXPECT_FALSE(f.button->isHot());
    EXPECT_EQ(f.shot().pixel(50, 0), Flat::kGround);
}

// Held, the caption moves one pixel right and down.
TEST(FlatButton, HeldCaptionShiftsByAPixel)
{
    Flat f;
    f.button->setCaption(QStringLiteral("Difference"));
    f.button->setCaptionShown(true);
    const auto inkBox = [&] {
        const QImage img = f.shot();
        QRect box;
        for (int y = 1; y < img.height() - 1; ++y)
            for (int x = 1; x < img.width() - 1; ++x)
                if (img.pixel(x, y) != Flat::kGround)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect up = inkBox();
    ASSERT_FALSE(up.isEmpty());
    f.button->setDown(true);
    EXPECT_EQ(inkBox().topLeft(), up.topLeft() + QPoint(1, 1));
}
