// Lozenge option box: a face-coloured diamond outlined in black with two white
// edges, and the caption (if any) to its right.
#include "controls/TLozengeCheckBox.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

int halfTiesToEven(int h)
{
    const int down = h / 2;
    return (h % 2 == 0 || down % 2 == 0) ? down : down + 1;
}

// A focus rectangle as the platform has always drawn one: every other pixel
// of its outline inverted, so it shows on any ground and vanishes when drawn
// twice. Whole logical pixels, so it stays crisp when the window is scaled.
void drawFocusRect(QPainter &p, const QRect &r)
{
    p.save();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const auto dot = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            p.fillRect(x, y, 1, 1, Qt::white);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        dot(x, r.top());
        if (r.bottom() != r.top())
            dot(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        dot(r.left(), y);
        if (r.right() != r.left())
            dot(r.right(), y);
    }
    p.restore();
}

} // namespace

TLozengeCheckBox::TLozengeCheckBox(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    // A tab stop that a click focuses; the keys it then receives still go
    // to the window first, and none of them toggles the box.
    setFocusPolicy(Qt::StrongFocus);
}

QPolygon TLozengeCheckBox::lozenge(int height)
{
    const int c = halfTiesToEven(height);
    return QPolygon({QPoint(11, c - 7), QPoint(4, c), QPoint(11, c + 7), QPoint(18, c)});
}

QRect TLozengeCheckBox::focusRect() const
{
    const QFontMetrics fm(font());
    const int top = halfTiesToEven(height()) - fm.height() / 2;
    const int right = std::min(22 + fm.horizontalAdvance(text()), width()); // exclusive
    return QRect(QPoint(21, top), QPoint(std::max(21, right - 1), top + fm.height() - 1));
}

void TLozengeCheckBox::keyPressEvent(QKeyEvent *event)
{
    QWidget::keyPressEvent(event);
}

void TLozengeCheckBox::keyReleaseEvent(QKeyEvent *event)
{
    QWidget::keyReleaseEvent(event);
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

    const int c = halfTiesToEven(height());
    const QFontMetrics fm(font());
    if (isEnabled()) {
        if (!text().isEmpty()) {
            const QRect r(22, c - fm.height() / 2, fm.horizontalAdvance(text()), fm.height());
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(r, Qt::TextSingleLine, text());
        }
        if (hasFocus())
            drawFocusRect(p, focusRect());
    } else if (!text().isEmpty()) {
        // Embossed: the highlight one pixel down and right, the shadow in place.
        const int fh = fm.height();
        const QRect r(QPoint(23, c - fh / 2), QPoint(width() - 1, c + fh - fh / 2 - 1));
        p.setPen(palette().color(QPalette::Light));
        p.drawText(r.translated(1, 1), Qt::AlignVCenter | Qt::TextSingleLine, text());
        p.setPen(palette().color(QPalette::Dark));
        p.drawText(r, Qt::AlignVCenter | Qt::TextSingleLine, text());
    }
}
