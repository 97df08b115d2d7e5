// Whether a picture is one colour all over, as a fade or a start leaves it.
#pragma once
#include <QColor>
#include <QImage>

inline bool isPlain(const QImage &picture, const QColor &colour)
{
    QImage plain(picture.size(), picture.format());
    plain.fill(colour);
    return picture == plain;
}
