// Lozenge option box: a diamond outline, filled when checked.
#include "controls/TLozengeCheckBox.h"

#include <QPainter>
#include <QPolygon>

TLozengeCheckBox::TLozengeCheckBox(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void TLozengeCheckBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = width(), h = height();
    const QPolygon outer({QPoint(w / 2, 2), QPoint(w - 3, h / 2), QPoint(w / 2, h - 3), QPoint(2, h / 2)});
    p.setPen(QPen(QColor(0x3d, 0x47, 0x3a), 1));
    p.setBrush(QColor(0xc9, 0xd2, 0xc0));
    p.drawPolygon(outer);
    if (isChecked()) {
        const QPolygon inner({QPoint(w / 2, 7), QPoint(w - 8, h / 2), QPoint(w / 2, h - 8), QPoint(7, h / 2)});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x4d, 0x5c, 0x50));
        p.drawPolygon(inner);
    }
}
