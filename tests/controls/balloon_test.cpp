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
    QRect r = balloon.CalcHintRect(400, text);
    r.moveTopLeft(QPoint(40, 40));
    balloon.ActivateHint(r, text);
    const QColor navy(0, 0, 0x80);
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
                if (!shown.contains(QPoint(x, y)))
                    continue;
                const bool onEdge = !shown.contains(QPoint(x + 1, y))
                        || !shown.contains(QPoint(x - 1, y)) || !shown.contains(QPoint(x, y + 1))
                        || !shown.contains(QPoint(x, y - 1));
                // Where render()'s own rounding of the mask at 1.5 left the
                // white ground, the window system would not have shown it.
                if (!onEdge || shot.pixel(x, y) == qRgb(255, 255, 255))
                    continue;
                ++edge;
                ASSERT_EQ(QColor(shot.pixel(x, y)), navy) << scale << " at " << x << "," << y;
            }
        const double perimeter = 2.0 * (balloon.width() + balloon.height()) * scale;
        EXPECT_GT(edge, perimeter * (scale == 1.5 ? 0.5 : 0.9)) << scale;
    }
}
