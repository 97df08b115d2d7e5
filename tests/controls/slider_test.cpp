// The page slider's ground and its hint.
#include <QApplication>
#include <QHelpEvent>
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
