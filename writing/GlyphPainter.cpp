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

namespace {

// Most of a glyph's area is empty: eight bytes are passed over at once when
// none of them is set.
bool blank8(const uchar *p)
{
    quint64 word;
    std::memcpy(&word, p, sizeof word);
    return word == 0;
}

void mergeMaximum(uchar *to, const uchar *from, int n)
{
    int x = 0;
    for (; x + 8 <= n; x += 8)
        if (!blank8(from + x))
            for (int i = x; i < x + 8; ++i)
                to[i] = std::max(to[i], from[i]);
    for (; x < n; ++x)
        to[x] = std::max(to[x], from[x]);
}

} // namespace

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
    // Rows are reached through the bits once: scanLine() checks the image
    // for sharing on every call, which cost more than the merge itself.
    uchar *scratch = m_scratch.bits();
    const qsizetype scratchStride = m_scratch.bytesPerLine();
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        std::memset(scratch + y * scratchStride + rows.left(), 0, size_t(rows.width()));

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
    uchar *mask = m_mask.bits();
    const qsizetype maskStride = m_mask.bytesPerLine();
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        mergeMaximum(mask + y * maskStride + rows.left(), scratch + y * scratchStride + rows.left(),
                     rows.width());
}

void GlyphPainter::addApart(const QRawFont &font, std::span<const PlacedRun> runs,
                            std::span<const QPointF> shifts)
{
    // Where no two glyphs of a pass reach the same pixel, drawing them
    // together blends nothing, so the pass leaves what the maximum of the
    // runs drawn alone leaves. Each glyph's ink box is widened by two pixels
    // for the antialiased edge.
    struct Pass
    {
        PlacedRun run;
        std::vector<QRect> ink;
    };
    std::vector<Pass> passes;
    std::vector<QRect> ink;
    for (const PlacedRun &run : runs) {
        if (run.sideways || run.squeeze != 1) {
            for (const QPointF &shift : shifts)
                add(font, run, shift);
            continue;
        }
        ink.clear();
        for (size_t i = 0; i < run.glyphs.size(); ++i)
            ink.push_back(font.boundingRect(run.glyphs[i])
                                  .translated(run.pivot + run.positions[i])
                                  .toAlignedRect()
                                  .adjusted(-2, -2, 2, 2));
        auto free = std::find_if(passes.begin(), passes.end(), [&](const Pass &pass) {
            return std::none_of(pass.ink.begin(), pass.ink.end(), [&](const QRect &taken) {
                return std::any_of(ink.begin(), ink.end(),
                                   [&](const QRect &box) { return box.intersects(taken); });
            });
        });
        if (free == passes.end())
            free = passes.insert(passes.end(), Pass{});
        free->run.glyphs.insert(free->run.glyphs.end(), run.glyphs.begin(), run.glyphs.end());
        for (const QPointF &p : run.positions)
            free->run.positions.push_back(run.pivot + p);
        free->ink.insert(free->ink.end(), ink.begin(), ink.end());
    }
    for (const Pass &pass : passes)
        for (const QPointF &shift : shifts)
            add(font, pass.run, shift);
}

void GlyphPainter::paintOnto(QImage &target, quint32 colour) const
{
    if (target.size() != m_mask.size() || target.format() != QImage::Format_BGR888)
        return;
    static const std::array<uchar, 256> tone = toneCurve();
    const int ink[3] = {int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF),
                        int(colour & 0xFF)}; // B, G, R
    const int width = m_mask.width(), height = m_mask.height();
    const uchar *mask = m_mask.constBits();
    const qsizetype maskStride = m_mask.bytesPerLine();
    uchar *picture = target.bits();
    const qsizetype pictureStride = target.bytesPerLine();
    for (int y = 0; y < height; ++y) {
        const uchar *cover = mask + y * maskStride;
        uchar *row = picture + y * pictureStride;
        for (int x = 0; x < width; ++x) {
            if ((x & 7) == 0 && x + 8 <= width && blank8(cover + x)) {
                x += 7;
                continue;
            }
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
