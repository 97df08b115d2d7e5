// Triangle page button: region, raised and pressed drawing, and the watch
// that disarms a press dragged off the button.
#include "controls/TTriangleButton.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <vector>

namespace {

int half(int v) // rounded to the nearest integer, ties to even
{
    const int down = v / 2;
    return (v % 2 == 0 || down % 2 == 0) ? down : down + 1;
}

struct Line
{
    QPoint from, to;
};

} // namespace

TTriangleButton::TTriangleButton(TTaiangleStyle style, QWidget *parent)
    : QAbstractButton(parent)
    , m_style(style)
{
    setFocusPolicy(Qt::NoFocus);
    m_watch = new QTimer(this);
    m_watch->setInterval(kWatchMs);
    connect(m_watch, &QTimer::timeout, this, [this] { watch(); });
    resize(25, 25);
}

void TTriangleButton::setTriangleStyle(TTaiangleStyle style)
{
    m_style = style;
    setMask(shape(m_style, size()));
    update();
}

QRegion TTriangleButton::shape(TTaiangleStyle style, QSize size)
{
    // The triangle as it is drawn, outline included: a region of the bare
    // polygon keeps only the pixels whose centres lie inside, and would cut
    // every other pixel off the lit edges.
    QBitmap bits(size);
    bits.fill(Qt::color0);
    QPainter p(&bits);
    p.setPen(QPen(Qt::color1, 1));
    p.setBrush(Qt::color1);
    p.drawPolygon(triangle(style, size));
    p.end();
    return QRegion(bits);
}

void TTriangleButton::setFaceColour(const QColor &colour)
{
    if (colour == m_face)
        return;
    m_face = colour;
    repaint(); // a page button changes colour around a page written synchronously
}

QPolygon TTriangleButton::triangle(TTaiangleStyle style, QSize size)
{
    const int w = size.width(), h = size.height();
    switch (style) {
    case tsTop:
        return QPolygon({QPoint(half(w), 0), QPoint(0, h), QPoint(w, h)});
    case tsLeft:
        return QPolygon({QPoint(w, 0), QPoint(0, half(h)), QPoint(w, h)});
    case tsBottom:
        return QPolygon({QPoint(half(w), h), QPoint(0, 0), QPoint(w, 0)});
    case tsRight:
        break;
    }
    return QPolygon({QPoint(w, half(h)), QPoint(0, 0), QPoint(0, h)});
}

void TTriangleButton::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    setMask(shape(m_style, size()));
}

bool TTriangleButton::hitButton(const QPoint &pos) const
{
    return mask().contains(pos);
}

void TTriangleButton::paintEvent(QPaintEvent *)
{
    const int w = width(), h = height(), hw = half(w), hh = half(h);
    const QPolygon t = triangle(m_style, size());
    QPainter p(this);
    p.fillRect(rect(),
               parentWidget() ? parentWidget()->palette().color(QPalette::Window) : Qt::gray);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_pressed ? QColor(0x80, 0x80, 0x80) : m_face);
    p.drawPolygon(t);

    if (m_pressed) {
        // Sunk: only the back (or base) catches the light.
        Line back;
        switch (m_style) {
        case tsTop:
            back = {{0, h - 1}, {w, h - 1}};
            break;
        case tsLeft:
            back = {{w - 1, 0}, {w - 1, h}};
            break;
        case tsBottom:
            back = {{0, 0}, {w, 0}};
            break;
        case tsRight:
            back = {{0, 0}, {0, h}};
            break;
        }
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(back.from, back.to);
        return;
    }

    // Raised: light from the upper left, a doubled lit edge and a dark back.
    const QPoint p0 = t[0], p1 = t[1];
    std::vector<Line> white{{p0, p1}}, black;
    switch (m_style) {
    case tsTop:
        white.push_back({p0 + QPoint(1, -1), p1 + QPoint(1, -1)});
        black = {{{0, h - 1}, {w, h - 1}}, {p0, {w - 1, h}}};
        break;
    case tsLeft:
        white.push_back({{w - 1, 1}, {1, hh - 1}});
        black = {{{w - 1, 0}, {w - 1, h}}};
        break;
    case tsBottom:
        white.push_back({p0 + QPoint(1, 1), p1 + QPoint(1, 1)});
        black = {{{hw - 1, h + 1}, {w - 1, 0}}};
        break;
    case tsRight:
        white.push_back({{0, 0}, {w, hh + 1}});
        black = {{{0, -1}, {0, h - 1}}, {{0, -2}, {0, h - 2}}, {p0, {-1, h}}};
        break;
    }
    p.setPen(QPen(Qt::white, 1));
    for (const Line &l : white)
        p.drawLine(l.from, l.to);
    p.setPen(QPen(Qt::black, 1));
    for (const Line &l : black)
        p.drawLine(l.from, l.to);
}

void TTriangleButton::press(const QPoint &at)
{
    m_pressed = true;
    m_armed = true;
    m_pointer = at;
    setDown(true);
    repaint();
    m_watch->start();
}

void TTriangleButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore(); // the window's own right-button menu
        return;
    }
    press(event->position().toPoint());
}

// The second press of a double click is a press like any other, so a double
// click turns two pages.
void TTriangleButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TTriangleButton::mouseMoveEvent(QMouseEvent *event)
{
    m_pointer = event->position().toPoint();
}

void TTriangleButton::watch()
{
    const QPoint at = m_pointer;
    if (at.x() < 0 || at.y() < 0 || at.x() > width() || at.y() > height()) {
        m_pressed = false;
        m_armed = false;
        setDown(false);
        repaint();
        m_watch->stop();
    }
}

void TTriangleButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = false;
    setDown(false);
    repaint();
    m_watch->stop();
    if (m_armed) {
        m_armed = false;
        emit clicked(false);
    }
}
