// The GDI-style drawing operations of the animations, on 24-bit scan lines.
#include "effects/Canvas.h"

#include "core/Design.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace corvane {

namespace {

// Coordinates beyond this are not rasterised point by point: a hand-edited
// centre far off the picture must not turn one line into a billion steps.
constexpr int kFar = 1 << 15;

bool isFar(int v)
{
    return v > kFar || v < -kFar;
}

// GDI's pattern blit takes a negative extent as reaching back from the start:
// the box x..x+w (w < 0) covers x+w+1 .. x.
void patBltRange(int from, int to, int &lo, int &hi)
{
    if (to >= from) {
        lo = from;
        hi = to;
    } else {
        lo = to + 1;
        hi = from + 1;
    }
}

// Liang-Barsky clip of a segment to [x0, x1] x [y0, y1]; false when it misses.
bool clipSegment(double &ax, double &ay, double &bx, double &by, double x0, double y0, double x1,
                 double y1)
{
    double t0 = 0, t1 = 1;
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - x0, x1 - ax, ay - y0, y1 - ay};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double sx = ax, sy = ay;
    ax = sx + t0 * dx;
    ay = sy + t0 * dy;
    bx = sx + t1 * dx;
    by = sy + t1 * dy;
    return true;
}

} // namespace

void Canvas::begin()
{
    m_bits = m_image->bits(); // detaches a shared image once, here
    m_stride = m_image->bytesPerLine();
    m_width = m_image->width();
    m_height = m_image->height();
}

void Canvas::put(int x, int y, quint32 colour) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    uchar *p = at(x, y);
    p[0] = uchar(colour >> 16);
    p[1] = uchar(colour >> 8);
    p[2] = uchar(colour);
}

void Canvas::setPixel(int x, int y, quint32 colour)
{
    begin();
    put(x, y, colour);
}

quint32 Canvas::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width() || y >= height())
        return 0;
    const uchar *p = m_image->constScanLine(y) + 3 * x;
    return quint32(p[2]) | quint32(p[1]) << 8 | quint32(p[0]) << 16;
}

void Canvas::span(int x0, int x1, int y, quint32 colour)
{
    if (y < 0 || y >= m_height)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_width - 1);
    if (x0 > x1)
        return;
    uchar *p = at(x0, y);
    const uchar b = uchar(colour >> 16), g = uchar(colour >> 8), r = uchar(colour);
    for (int x = x0; x <= x1; ++x, p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
}

// A pen of width n covers an n x n square around the point (1: the point,
// 2: the point and the pixels right and below, 3: the point and its eight
// neighbours).
void Canvas::stamp(int x, int y)
{
    if (m_penWidth == 1) {
        put(x, y, m_penColor);
        return;
    }
    const int from = -(m_penWidth - 1) / 2;
    for (int dy = from; dy < from + m_penWidth; ++dy)
        span(x + from, x + from + m_penWidth - 1, y + dy, m_penColor);
}

void Canvas::fillAll(quint32 colour)
{
    begin();
    for (int y = 0; y < height(); ++y)
        span(0, width() - 1, y, colour);
}

void Canvas::fillRect(const Ltrb &box)
{
    if (m_brushClear)
        return;
    begin();
    int x0, x1, y0, y1;
    patBltRange(box.left, box.right, x0, x1);
    patBltRange(box.top, box.bottom, y0, y1);
    y0 = std::max(y0, 0);
    y1 = std::min(y1, height());
    for (int y = y0; y < y1; ++y)
        span(x0, x1 - 1, y, m_brushColor);
}

void Canvas::frameRect(const Ltrb &box)
{
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    begin();
    const int r = box.right - 1, b = box.bottom - 1;
    span(box.left, r, box.top, m_brushColor);
    span(box.left, r, b, m_brushColor);
    const int y0 = std::max(box.top, 0), y1 = std::min(b, height() - 1);
    for (int y = y0; y <= y1; ++y) {
        span(box.left, box.left, y, m_brushColor);
        span(r, r, y, m_brushColor);
    }
}

void Canvas::lineTo(int x, int y)
{
    int x0 = m_pos.x(), y0 = m_pos.y(), x1 = x, y1 = y;
    m_pos = QPoint(x, y);
    begin();
    if (isFar(x0) || isFar(y0) || isFar(x1) || isFar(y1)) {
        double ax = x0, ay = y0, bx = x1, by = y1;
        if (!clipSegment(ax, ay, bx, by, -8, -8, width() + 8, height() + 8))
            return;
        x0 = int(std::lround(ax));
        y0 = int(std::lround(ay));
        x1 = int(std::lround(bx));
        y1 = int(std::lround(by));
    }
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        stamp(x0, y0);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::polyline(std::span<const QPoint> points)
{
    // Like GDI's Polyline, this neither uses nor moves the current position.
    if (points.empty())
        return;
    const QPoint keep = m_pos;
    moveTo(points[0].x(), points[0].y());
    for (size_t i = 1; i < points.size(); ++i)
        lineTo(points[i].x(), points[i].y());
    m_pos = keep;
}

// Bresenham ellipse inscribed in the normalised box's pixels (after GDI's
// exclusion of the right and bottom edges), for odd and even sizes alike.
// plot(x, y) receives every outline pixel, row pairs from the middle outwards.
template<typename Plot>
void Canvas::ellipseOutline(const Ltrb &box, Plot &&plot) const
{
    if (isFar(box.left) || isFar(box.top) || isFar(box.right) || isFar(box.bottom))
        return;
    int64_t x0 = std::min(box.left, box.right), x1 = std::max(box.left, box.right) - 1;
    int64_t y0 = std::min(box.top, box.bottom), y1 = std::max(box.top, box.bottom) - 1;
    if (x1 < x0 || y1 < y0)
        return;
    int64_t a = x1 - x0, b = y1 - y0, b1 = b & 1;
    int64_t dx = 4 * (1 - a) * b * b, dy = 4 * (b1 + 1) * a * a;
    int64_t err = dx + dy + b1 * a * a, e2;
    y0 += (b + 1) / 2;
    y1 = y0 - b1;
    a *= 8 * a;
    b1 = 8 * b * b;
    do {
        plot(int(x1), int(y0));
        plot(int(x0), int(y0));
        plot(int(x0), int(y1));
        plot(int(x1), int(y1));
        e2 = 2 * err;
        if (e2 <= dy) {
            ++y0;
            --y1;
            err += dy += a;
        }
        if (e2 >= dx || 2 * err > dy) {
            ++x0;
            --x1;
            err += dx += b1;
        }
    } while (x0 <= x1);
    // Steep, narrow boxes run out of columns before the rows reach the top
    // and bottom of the box; the tips are finished here, up to and including
    // the outermost rows (y0 - y1 = b).
    while (y0 - y1 <= b) {
        plot(int(x0 - 1), int(y0));
        plot(int(x1 + 1), int(y0++));
        plot(int(x0 - 1), int(y1));
        plot(int(x1 + 1), int(y1--));
    }
}

void Canvas::arc(const Ltrb &box, QPoint start, QPoint end)
{
    begin();
    if (start == end) {
        ellipseOutline(box, [this](int x, int y) { stamp(x, y); });
        return;
    }
    // Angles as seen on the screen, counter-clockwise positive (y grows down).
    const double cx = (std::min(box.left, box.right) + std::max(box.left, box.right) - 1) / 2.0;
    const double cy = (std::min(box.top, box.bottom) + std::max(box.top, box.bottom) - 1) / 2.0;
    const double twoPi = 2 * std::numbers::pi;
    auto angle = [&](double x, double y) {
        const double a = std::atan2(cy - y, x - cx);
        return a < 0 ? a + twoPi : a;
    };
    const double from = angle(start.x(), start.y());
    double sweep = angle(end.x(), end.y()) - from;
    if (sweep <= 0)
        sweep += twoPi;
    ellipseOutline(box, [&](int x, int y) {
        double d = angle(x, y) - from;
        if (d < 0)
            d += twoPi;
        if (d <= sweep)
            stamp(x, y);
    });
}

void Canvas::ellipse(const Ltrb &box)
{
    begin();
    if (!m_brushClear) {
        const int top = std::min(box.top, box.bottom);
        const int rows = std::max(box.top, box.bottom) - top;
        if (rows > 0 && rows <= 2 * kFar) {
            std::vector<std::pair<int, int>> &spans = m_rowSpans;
            spans.assign(size_t(rows), {INT_MAX, INT_MIN});
            ellipseOutline(box, [&](int x, int y) {
                auto &s = spans[size_t(y - top)];
                s.first = std::min(s.first, x);
                s.second = std::max(s.second, x);
            });
            for (int i = 0; i < rows; ++i)
                if (spans[size_t(i)].first <= spans[size_t(i)].second)
                    span(spans[size_t(i)].first, spans[size_t(i)].second, top + i, m_brushColor);
        }
    }
    ellipseOutline(box, [this](int x, int y) { stamp(x, y); });
}

void Canvas::rectangle(const Ltrb &box)
{
    const int l = std::min(box.left, box.right), r = std::max(box.left, box.right) - 1;
    const int t = std::min(box.top, box.bottom), b = std::max(box.top, box.bottom) - 1;
    if (r < l || b < t)
        return;
    begin();
    if (!m_brushClear) {
        const int y0 = std::max(t + 1, 0), y1 = std::min(b - 1, height() - 1);
        for (int y = y0; y <= y1; ++y)
            span(l + 1, r - 1, y, m_brushColor);
    }
    // The outline is closed by hand: the last line stops short of its end,
    // which is the first corner, already drawn.
    const QPoint corners[5] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
    polyline(corners);
    if (l == r && t == b)
        stamp(l, t);
}

void Canvas::textOut(int x, int y, const QString &text, const QFont &font, quint32 colour)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    QPainter painter(m_image);
    painter.setFont(font);
    painter.setPen(toQColor(colour));
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

} // namespace corvane
