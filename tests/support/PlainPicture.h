// Whether a picture is one colour all over, as a fade or a start leaves it;
// grain: how far above the colour the "Tenderly" grain may lift a channel.
#pragma once
#include <QColor>
#include <QImage>

inline bool isPlain(const QImage &picture, const QColor &colour, int grain = 0)
{
    if (grain == 0) {
        QImage plain(picture.size(), picture.format());
        plain.fill(colour);
        return picture == plain;
    }
    const auto near
            = [grain](int value, int want) { return value >= want && value - want < grain + 1; };
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (!near(c.red(), colour.red()) || !near(c.green(), colour.green())
                || !near(c.blue(), colour.blue()))
                return false;
        }
    return true;
}
