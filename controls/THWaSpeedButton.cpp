// Flat, shine and triangle buttons of the window face.
#include "controls/THWaSpeedButton.h"

#include <QPainter>

THWaSpeedButton::THWaSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

TShineSpeedButton::TShineSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

TTriangleButton::TTriangleButton(Direction direction, QWidget *parent)
    : QToolButton(parent), m_direction(direction)
{
    setFocusPolicy(Qt::NoFocus);
}

void TTriangleButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = width(), h = height();
    QPolygon tri;
    if (m_direction == Direction::Right)
        tri << QPoint(1, 1) << QPoint(w - 2, h / 2) << QPoint(1, h - 2);
    else
        tri << QPoint(w - 2, 1) << QPoint(1, h / 2) << QPoint(w - 2, h - 2);
    QColor face = palette().color(QPalette::Button);
    if (isDown())
        face = face.darker(130);
    p.setPen(QPen(face.darker(160), 1));
    p.setBrush(face);
    p.drawPolygon(tri);
}
