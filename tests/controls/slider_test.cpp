// The page slider: its look, its hint, its handling.
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "controls/TExtTrackBar.h"

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
// colour, no fill up to the thumb, and a thumb 20 pixels long; its ground is
// the parent's colour and follows it. A press beside the thumb steps a page, a
// drag of the thumb follows the pointer.
TEST(Slider, DrawnAndHandledAsTheFacesOwnControl)
{
    QWidget parent;
    const QColor face(157, 183, 171);
    parent.setPalette(QPalette(face));
    TExtTrackBar slider(&parent);
    slider.setGeometry(0, 0, 274, 25);
    slider.setRange(1, 16);
    QImage looks[3];
    for (int i = 0; i < 3; ++i) {
        slider.setStyle(QStyleFactory::create(i == 0 ? "fusion" : "windows"));
        slider.setValue(i < 2 ? 5 : 6);
        looks[i] = slider.grab().toImage();
    }
    EXPECT_EQ(looks[0], looks[1]) << "the look follows the Qt style";
    EXPECT_EQ(looks[0].pixel(20, 8), looks[0].pixel(250, 8)) << "filled up to the thumb";
    int top = 99, bottom = -1; // the rows the thumb leaves between pages 5 and 6
    for (int y = 0; y < looks[0].height(); ++y)
        for (int x = 0; x < looks[0].width(); ++x) {
            // 8-bit rounding of the darkest shade may add a step or two.
            ASSERT_LE(QColor(looks[0].pixel(x, y)).hsvSaturation(), face.hsvSaturation() + 3);
            if (looks[0].pixel(x, y) != looks[2].pixel(x, y))
                top = std::min(top, y), bottom = std::max(bottom, y);
        }
    EXPECT_EQ(bottom - top + 1, TExtTrackBar::kThumbLength);
    EXPECT_EQ(looks[0].pixel(1, 1), face.rgb());
    parent.setPalette(QPalette(QColor(200, 40, 60)));
    EXPECT_EQ(slider.grab().toImage().pixel(1, 1), qRgb(200, 40, 60))
            << "the ground follows the parent";

    QTest::mouseClick(&slider, Qt::LeftButton, {}, slider.thumbRect().center() + QPoint(40, 0));
    EXPECT_EQ(slider.value(), 7) << "a press right of the thumb steps one page";
    QTest::mousePress(&slider, Qt::LeftButton, {}, slider.thumbRect().center());
    QMouseEvent drag(QEvent::MouseMove, QPointF(270, 8), slider.mapToGlobal(QPointF(270, 8)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&slider, &drag);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(270, 8));
    EXPECT_EQ(slider.value(), 16) << "dragged to the right end";
}
