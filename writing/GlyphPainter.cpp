// Glyph coverage into a mask, and the mask through the tone curve onto the picture.
#include "writing/GlyphPainter.h"

#include <QGlyphRun>
#include <QPainter>

#include <cmath>

namespace corvane {

std::array<uchar, 256> toneCurve()
{
    std::array<uchar, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[size_t(c)] = uchar(std::lround(255.0 * std::pow(c / 255.0, 1.0 / kInkGamma)));
    return t;
}

GlyphPainter::GlyphPainter(QSize size) : m_mask(size, QImage::Format_Alpha8)
{
    m_mask.fill(0);
}

void GlyphPainter::add(const QRawFont &font, const PlacedRun &run, QPointF shift)
{
    if (run.glyphs.empty() || m_mask.isNull())
        return;
    QGlyphRun glyphs;
    glyphs.setRawFont(font);
    glyphs.setGlyphIndexes(QList<quint32>(run.glyphs.begin(), run.glyphs.end()));
    glyphs.setPositions(QList<QPointF>(run.positions.begin(), run.positions.end()));
    QPainter painter(&m_mask);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setCompositionMode(QPainter::CompositionMode_Lighten);
    painter.setPen(Qt::black); // only the alpha reaches an Alpha8 mask
    if (run.sideways) {
        painter.translate(run.pivot + shift);
        painter.rotate(90); // clockwise on a y-down picture
        painter.drawGlyphRun(QPointF(0, 0), glyphs);
    } else {
        painter.drawGlyphRun(shift, glyphs);
    }
}

void GlyphPainter::paintOnto(QImage &target, quint32 colour) const
{
    if (target.size() != m_mask.size() || target.format() != QImage::Format_BGR888)
        return;
    const std::array<uchar, 256> tone = toneCurve();
    const int ink[3] = {int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF), int(colour & 0xFF)}; // B, G, R
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
