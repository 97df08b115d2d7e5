// The triangle page button: its outline, what reaches it, and the watch that
// disarms a press dragged away.
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "controls/TTriangleButton.h"

namespace {

// A right-pointing button at (10, 10) of a plain window, as TriButton1 is.
struct Page
{
    QWidget window;
    TTriangleButton *button = new TTriangleButton(tsRight, &window);
    QSignalSpy clicks{button, &QAbstractButton::clicked};
    Page()
    {
        window.resize(60, 40);
        button->setGeometry(10, 10, 30, 20);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // Through the window, as the platform delivers it, so the mask decides.
    void click(QPoint inButton)
    {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, inButton + QPoint(10, 10));
    }
};

} // namespace

TEST(Triangle, VerticesPerStyle)
{
    const QSize s(30, 20);
    EXPECT_EQ(TTriangleButton::triangle(tsRight, s), QPolygon({{30, 10}, {0, 0}, {0, 20}}));
    EXPECT_EQ(TTriangleButton::triangle(tsLeft, s), QPolygon({{30, 0}, {0, 10}, {30, 20}}));
    EXPECT_EQ(TTriangleButton::triangle(tsTop, QSize(25, 25)),
              QPolygon({{12, 0}, {0, 25}, {25, 25}}));
    EXPECT_EQ(TTriangleButton::triangle(tsBottom, QSize(27, 9)),
              QPolygon({{14, 9}, {0, 0}, {27, 0}}));
}

// The middle of the triangle clicks; its corners outside the triangle do not.
TEST(Triangle, OnlyTheTriangleIsHit)
{
    Page page;
    page.click({27, 2});
    page.click({27, 18});
    EXPECT_EQ(page.clicks.count(), 0);
    page.click({10, 10});
    EXPECT_EQ(page.clicks.count(), 1);
}

// The shape that shows and takes presses holds the whole outline: every
// pixel of the lit upper edge and of the back, none of the corners beyond.
TEST(Triangle, ShapeHoldsItsOutline)
{
    const QRegion right = TTriangleButton::shape(tsRight, QSize(30, 20));
    for (int x = 0; x < 30; ++x) {
        const int edge = (x + 1) / 3; // the upper edge from (0, 0) to (30, 10)
        EXPECT_TRUE(right.contains(QPoint(x, edge))) << x;
        EXPECT_FALSE(right.contains(QPoint(x, edge - 2))) << x;
    }
    for (int y = 0; y < 20; ++y)
        EXPECT_TRUE(right.contains(QPoint(0, y))) << y;
    const QRegion left = TTriangleButton::shape(tsLeft, QSize(30, 20));
    EXPECT_TRUE(left.contains(QPoint(29, 0)));
    EXPECT_TRUE(left.contains(QPoint(0, 10)));
    EXPECT_FALSE(left.contains(QPoint(2, 2)));
}

// Dragged off for a watch tick, a press no longer clicks, even released back
// over the button; a quick press and release does.
TEST(Triangle, WatchDisarmsAPressDraggedAway)
{
    Page page;
    TTriangleButton *b = page.button;
    QTest::mousePress(b, Qt::LeftButton, {}, {8, 10});
    QTest::mouseMove(b, {-20, 30});
    QTest::qWait(TTriangleButton::kWatchMs * 2);
    EXPECT_FALSE(b->isDown());
    QTest::mouseMove(b, {8, 10});
    QTest::mouseRelease(b, Qt::LeftButton, {}, {8, 10});
    EXPECT_EQ(page.clicks.count(), 0);

    QTest::mousePress(b, Qt::LeftButton, {}, {8, 10});
    EXPECT_TRUE(b->isDown());
    QTest::mouseRelease(b, Qt::LeftButton, {}, {8, 10});
    EXPECT_EQ(page.clicks.count(), 1);
}

// A double click is two clicks: the second press comes as a double click.
TEST(Triangle, DoubleClickClicksTwice)
{
    Page page;
    TTriangleButton *b = page.button;
    QTest::mouseClick(b, Qt::LeftButton, {}, {8, 10});
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(8, 10), b->mapToGlobal(QPointF(8, 10)),
                       Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b, &second);
    QTest::mouseRelease(b, Qt::LeftButton, {}, {8, 10});
    EXPECT_EQ(page.clicks.count(), 2);
}

// Raised, the upper edge is lit and the back dark; pressed, the face turns grey.
TEST(Triangle, RaisedAndPressedDrawing)
{
    Page page;
    EXPECT_EQ(page.button->faceColour(), QColor(0xC0, 0xC0, 0xC0));
    page.button->setFaceColour(QColor(157, 188, 251));
    QImage up = page.button->grab().toImage();
    EXPECT_EQ(up.pixel(10, 10), qRgb(157, 188, 251));
    EXPECT_EQ(up.pixel(15, 5), qRgb(255, 255, 255));
    EXPECT_EQ(up.pixel(0, 10), qRgb(0, 0, 0));
    QTest::mousePress(page.button, Qt::LeftButton, {}, {8, 10});
    QImage down = page.button->grab().toImage();
    EXPECT_EQ(down.pixel(10, 10), qRgb(128, 128, 128));
    EXPECT_EQ(down.pixel(0, 10), qRgb(255, 255, 255));
    QTest::mouseRelease(page.button, Qt::LeftButton, {}, {8, 10});
}
