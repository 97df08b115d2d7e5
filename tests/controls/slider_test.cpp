// The page slider's ground and its hint.
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "controls/TExtTrackBar.h"

// The ground is the parent's colour, and follows it when it changes.
TEST(Slider, GroundFollowsTheParentsColour)
{
    QWidget parent;
    TExtTrackBar slider(&parent);
    slider.setGeometry(0, 0, 274, 25);
    for (QColor c : {QColor(157, 183, 171), QColor(200, 40, 60)}) {
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, c);
        parent.setPalette(pal);
        EXPECT_EQ(slider.grab().toImage().pixel(1, 1), c.rgb());
    }
}

// The hint is kept but a tooltip request shows nothing.
TEST(Slider, HintIsNeverShown)
{
    TExtTrackBar slider;
    slider.resize(274, 25);
    slider.setToolTip(QStringLiteral("scale : 3"));
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));
    QHelpEvent help(QEvent::ToolTip, QPoint(10, 10), slider.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&slider, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(slider.toolTip(), QStringLiteral("scale : 3"));
}

// The slider is the face's own control under any style: on page 5 of 16 the
// same pixels under Fusion and Windows, none more saturated than the face's
// colour, no fill up to the thumb, and a thumb 20 pixels long. A press beside
// the thumb steps a page, a drag of the thumb follows the pointer.
TEST(Slider, DrawnAndHandledAsTheFacesOwnControl)
{
    const QColor face(157, 183, 171);
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, face);
    parent.setPalette(pal);
    TExtTrackBar slider(&parent);
    slider.setGeometry(0, 0, 274, 25);
    slider.setRange(1, 16);
    QImage looks[2];
    const char *styles[2] = {"fusion", "windows"};
    for (int i = 0; i < 2; ++i) {
        slider.setStyle(QStyleFactory::create(QString::fromLatin1(styles[i])));
        slider.setValue(5);
        looks[i] = slider.grab().toImage();
    }
    EXPECT_EQ(looks[0], looks[1]) << "the look follows the Qt style";
    for (int y = 0; y < looks[0].height(); ++y)
        for (int x = 0; x < looks[0].width(); ++x)
            // 8-bit rounding of the darkest shade may add a step or two.
            ASSERT_LE(QColor(looks[0].pixel(x, y)).hsvSaturation(), face.hsvSaturation() + 3)
                    << x << "," << y;
    const QImage &at5 = looks[0];
    EXPECT_EQ(at5.pixel(20, 8), looks[0].pixel(250, 8)) << "the groove is filled up to the thumb";
    slider.setValue(6);
    const QImage at6 = slider.grab().toImage();
    int top = at5.height(), bottom = -1;
    for (int y = 0; y < at5.height(); ++y)
        for (int x = 0; x < at5.width(); ++x)
            if (at5.pixel(x, y) != at6.pixel(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(bottom - top + 1, TExtTrackBar::kThumbLength);

    const QPoint thumb = slider.thumbRect().center();
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(thumb.x() + 40, 8));
    EXPECT_EQ(slider.value(), 7) << "a press right of the thumb steps one page";
    QTest::mousePress(&slider, Qt::LeftButton, {}, slider.thumbRect().center());
    QMouseEvent drag(QEvent::MouseMove, QPointF(270, 8), slider.mapToGlobal(QPointF(270, 8)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&slider, &drag);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(270, 8));
    EXPECT_EQ(slider.value(), 16) << "dragged to the right end";
}
