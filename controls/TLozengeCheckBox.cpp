// Lozenge option box: a face-coloured diamond outlined in black with two white
// edges, and the caption (if any) to its right.
#include "controls/TLozengeCheckBox.h"

#include <QPainter>

namespace {

int halfTiesToEven(int h)
{
    const int down = h / 2;
    return (h % 2 == 0 || down % 2 == 0) ? down : down + 1;
}

} // namespace

TLozengeCheckBox::TLozengeCheckBox(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    // The window reads every key itself; a focused box would take Space.
    setFocusPolicy(Qt::NoFocus);
}

QPolygon TLozengeCheckBox::lozenge(int height)
{
    const int c = halfTiesToEven(height);
    return QPolygon({QPoint(11, c - 7), QPoint(4, c), QPoint(11, c + 7), QPoint(18, c)});
}

void TLozengeCheckBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The ground around the lozenge is left to the window: a square of the
    // face colour would sit as a patch on the bricks of the face.
    const QColor face = palette().color(QPalette::Window);

    // Hard pixels: the lit edges are one pixel wide and must not smear; a
    // pen of width 1 (not 0) grows with the window at scale 2.
    const QPolygon l = lozenge(height());
    const QPoint top = l[0], left = l[1], bottom = l[2], right = l[3];
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(face);
    p.drawPolygon(l);
    p.setPen(QPen(Qt::white, 1));
    if (isChecked()) {
        p.drawLine(right, bottom);
        p.drawLine(bottom, left);
    } else {
        p.drawLine(top, left);
        p.drawLine(top, right);
    }

    if (text().isEmpty())
        return;
    const int c = halfTiesToEven(height());
    const QFontMetrics fm(font());
    if (isEnabled()) {
        const QRect r(22, c - fm.height() / 2, fm.horizontalAdvance(text()), fm.height());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(r, Qt::TextSingleLine, text());
        if (hasFocus()) {
            p.setPen(QPen(Qt::black, 0, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(QPoint(21, r.top()), QPoint(std::min(r.right(), width() - 1), r.bottom())));
        }
    } else {
        // Embossed: the highlight one pixel down and right, the shadow in place.
        const int fh = fm.height();
        const QRect r(QPoint(23, c - fh / 2), QPoint(width() - 1, c + fh - fh / 2 - 1));
        p.setPen(palette().color(QPalette::Light));
        p.drawText(r.translated(1, 1), Qt::AlignVCenter | Qt::TextSingleLine, text());
        p.setPen(palette().color(QPalette::Dark));
        p.drawText(r, Qt::AlignVCenter | Qt::TextSingleLine, text());
    }
}
