// Glyph coverage into a mask, and the mask through the tone curve onto the picture.
#include "writing/GlyphPainter.h"

#include <QGlyphRun>
#include <QPainter>

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace corvane {

std::array<uchar, 256> toneCurve()
{
    std::array<uchar, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[size_t(c)] = uchar(std::lround(255.0 * std::pow(c / 255.0, 1.0 / kInkGamma)));
    return t;
}

GlyphPainter::GlyphPainter(QSize size)
    : m_mask(size, QImage::Format_Alpha8)
    , m_scratch(size, QImage::Format_Alpha8)
{
    m_mask.fill(0);
}

void GlyphPainter::add(const QRawFont &font, const PlacedRun &run, QPointF shift)
{
    if (run.glyphs.empty() || m_mask.isNull())
        return;
    // The painter's composition modes all blend alpha as source-over, so the
    // run is drawn alone and merged by maximum, over the area it can reach.
    const double reach = 2 * font.pixelSize();
    QRectF area;
    for (const QPointF &p : run.positions)
        area |= QRectF(p.x() - reach, p.y() - reach, 2 * reach, 2 * reach);
    QTransform frame;
    if (run.sideways) {
        frame.translate(run.pivot.x() + shift.x(), run.pivot.y() + shift.y());
        frame.rotate(90); // clockwise on a y-down picture
    } else {
        frame.translate(run.pivot.x() + shift.x(), run.pivot.y() + shift.y());
        frame.scale(run.squeeze, 1);
    }
    const QRect rows = frame.mapRect(area).toAlignedRect() & m_mask.rect();
    if (rows.isEmpty())
        return;
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        std::memset(m_scratch.scanLine(y) + rows.left(), 0, size_t(rows.width()));

    QGlyphRun glyphs;
    glyphs.setRawFont(font);
    glyphs.setGlyphIndexes(QList<quint32>(run.glyphs.begin(), run.glyphs.end()));
    glyphs.setPositions(QList<QPointF>(run.positions.begin(), run.positions.end()));
    {
        QPainter painter(&m_scratch);
        painter.setClipRect(rows);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setPen(Qt::black); // only the alpha reaches an Alpha8 mask
        painter.setTransform(frame);
        painter.drawGlyphRun(QPointF(0, 0), glyphs);
    }
    for (int y = rows.top(); y <= rows.bottom(); ++y) {
        const uchar *from = m_scratch.constScanLine(y);
        uchar *to = m_mask.scanLine(y);
        for (int x = rows.left(); x <= rows.right(); ++x)
            to[x] = std::max(to[x], from[x]);
    }
}

void GlyphPainter::paintOnto(QImage &target, quint32 colour) const
{
    if (target.size() != m_mask.size() || target.format() != QImage::Format_BGR888)
        return;
    const std::array<uchar, 256> tone = toneCurve();
    const int ink[3] = {int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF),
                        int(colour & 0xFF)}; // B, G, R
    for (int y = 0; y < m_mask.height(); ++y) {
        const uchar *cover = m_mask.constScanLine(y);
        uchar *row = target.scanLine(y);
        for (int x = 0; x < m_mask.width(); ++x) {
            const int a = tone[cover[x]];
            if (a == 0)
                continue;
            uchar *p = row + 3 * x;
            for (int i = 0; i < 3; ++i)
                p[i] = uchar(p[i] + ((ink[i] - p[i]) * a + (ink[i] > p[i] ? 127 : -127)) / 255);
        }
    }
}

} // namespace corvane
