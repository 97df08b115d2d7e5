// The balloon's outline at the scales a desktop may set.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "controls/TAppHintN.h"

// At scales 1, 1.5 and 2 every pixel on the edge of what the window shows is
// the pen's navy: the tail's sides unbroken, no pale sliver right or below.
TEST(Balloon, OutlineClosesAtEveryScale)
{
    HintLook look;
    THintEx balloon(look);
    const QString text = QStringLiteral("Tenderly");
    balloon.ActivateHint(balloon.CalcHintRect(400, text).translated(40, 40), text);
    for (qreal scale : {1.0, 1.5, 2.0}) {
        QImage shot((QSizeF(balloon.size()) * scale).toSize(), QImage::Format_RGB32);
        shot.setDevicePixelRatio(scale);
        shot.fill(Qt::white);
        // render() draws the mask's bounding box at the offset given.
        balloon.render(&shot, balloon.mask().boundingRect().topLeft());
        const QRegion shown = THintEx::deviceRegion(balloon.mask(), scale);
        int edge = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x) {
                const QPoint p(x, y);
                const QRegion around = QRegion(x - 1, y, 3, 1) + QRegion(x, y - 1, 1, 3);
                const bool onEdge = shown.contains(p) && (around - shown).rectCount() > 0;
                // Where render()'s own rounding of the mask at 1.5 left the
                // white ground, the window system would not have shown it.
                if (!onEdge || shot.pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                ++edge;
                ASSERT_EQ(shot.pixel(p), qRgb(0, 0, 0x80)) << scale << " at " << x << "," << y;
            }
        const double perimeter = 2.0 * (balloon.width() + balloon.height()) * scale;
        EXPECT_GT(edge, perimeter * (scale == 1.5 ? 0.5 : 0.9)) << scale;
    }
}
