// Page composition: CP932 rows to shaped runs to glyphs on a 24-bit bitmap.
#include "writing/PageComposer.h"

#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/Cp932Bytes.h"

#include <QColor>
#include <QGlyphRun>
#include <QPainter>

#include <cmath>
#include <hb.h>

namespace corvane {

namespace {

constexpr int kPageWidth = 481;
constexpr int kPageHeight = 351;
constexpr int kMaxRowBytes = 255; // a row never holds more; longer input is cut

QColor colourOf(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

int toPixels(int fontUnits, int pixelSize, int upem)
{
    return int(std::lround(double(fontUnits) * pixelSize / upem));
}

struct Segment
{
    bool upright;
    std::u32string text;
};

// Splits a row into runs of double-byte (upright) and single-byte (sideways)
// characters, in order.
std::vector<Segment> segmentsOf(const std::vector<Cp932Char> &chars)
{
    std::vector<Segment> out;
    for (const Cp932Char &c : chars) {
        if (out.empty() || out.back().upright != c.doubleByte)
            out.push_back({c.doubleByte, {}});
        out.back().text.push_back(c.code);
    }
    return out;
}

std::u32string codesOf(const std::vector<Cp932Char> &chars)
{
    std::u32string s;
    s.reserve(chars.size());
    for (const Cp932Char &c : chars)
        s.push_back(c.code);
    return s;
}

// A horizontal run of glyphs from the pen, baseline at baselineY; returns
// the pen after the run.
double placeHorizontal(const Face &face, int pixelSize, std::u32string_view text, double penX,
                       double baselineY, int extraAdvance, PlacedRun &run)
{
    const int upem = face.unitsPerEm();
    for (const ShapedGlyph &g : shapeRun(face, text, false)) {
        run.glyphs.push_back(g.glyph);
        run.positions.emplace_back(penX + toPixels(g.xOffset, pixelSize, upem),
                                   baselineY - toPixels(g.yOffset, pixelSize, upem));
        penX += toPixels(g.xAdvance, pixelSize, upem) + extraAdvance;
    }
    return penX;
}

} // namespace

QString pageFace(bool horizontal, bool gothic)
{
    const QString base = gothic ? QStringLiteral("ＭＳ ゴシック") : QStringLiteral("ＭＳ 明朝");
    return horizontal ? base : QLatin1Char('@') + base;
}

int pageFontHeight(bool horizontal)
{
    return horizontal ? 17 : 16;
}

QPoint rowOrigin(int k, bool horizontal)
{
    return horizontal ? QPoint(80, 15 + 25 * k) : QPoint(425 - 30 * k, 30);
}

std::vector<ShapedGlyph> shapeRun(const Face &face, std::u32string_view text, bool vertical)
{
    std::vector<ShapedGlyph> out;
    if (text.empty())
        return out;
    hb_buffer_t *buffer = hb_buffer_create();
    hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t *>(text.data()), int(text.size()), 0,
                        int(text.size()));
    hb_buffer_guess_segment_properties(buffer);
    // Guessing may pick RTL for a stray Hebrew or Arabic code point; the
    // picture only ever reads down or to the right.
    hb_buffer_set_direction(buffer, vertical ? HB_DIRECTION_TTB : HB_DIRECTION_LTR);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    hb_shape(face.hbFont(), buffer, nullptr, 0);

    unsigned count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t *pos = hb_buffer_get_glyph_positions(buffer, &count);
    out.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        out.push_back({info[i].codepoint, pos[i].x_advance, pos[i].y_advance, pos[i].x_offset, pos[i].y_offset});
    hb_buffer_destroy(buffer);
    return out;
}

void drawHorizontalText(QPainter &painter, const Face &face, int logicalHeight, QPointF topLeft,
                        std::u32string_view text, bool bold)
{
    const FaceMetrics m = face.metrics(logicalHeight);
    PlacedRun run;
    placeHorizontal(face, m.pixelSize, text, topLeft.x(), topLeft.y() + m.ascent, bold ? 1 : 0, run);
    if (run.glyphs.empty())
        return;
    QGlyphRun glyphs;
    glyphs.setRawFont(face.rawFont(m.pixelSize));
    glyphs.setGlyphIndexes(QList<quint32>(run.glyphs.begin(), run.glyphs.end()));
    glyphs.setPositions(QList<QPointF>(run.positions.begin(), run.positions.end()));
    painter.drawGlyphRun(QPointF(0, 0), glyphs);
    if (bold)
        painter.drawGlyphRun(QPointF(1, 0), glyphs);
}

PageComposer::PageComposer() = default;
PageComposer::~PageComposer() = default;

bool PageComposer::isReady() const
{
    return missingFaces().isEmpty();
}

QString PageComposer::missingFaces() const
{
    QStringList missing;
    for (bool gothic : {false, true}) {
        const QString name = pageFace(false, gothic);
        if (!m_faces.face(name))
            missing << name;
    }
    return missing.join(QStringLiteral(", "));
}

std::vector<PlacedRun> PageComposer::layoutRow(std::string_view row, int k, bool horizontal, bool gothic) const
{
    std::vector<PlacedRun> runs;
    const Face *face = m_faces.face(pageFace(horizontal, gothic));
    if (!face)
        return runs;
    const std::vector<Cp932Char> chars = m_decoder.decodeRow(cp932Prefix(row, kMaxRowBytes));
    if (chars.empty())
        return runs;
    const FaceMetrics m = face->metrics(pageFontHeight(horizontal));
    const int upem = face->unitsPerEm();
    const QPoint origin = rowOrigin(k, horizontal);

    if (horizontal) {
        runs.emplace_back();
        placeHorizontal(*face, m.pixelSize, codesOf(chars), origin.x(), origin.y() + m.ascent, 0, runs.back());
        return runs;
    }

    // Upright glyphs are centred on the middle of the cell, which lies to the
    // left of the reference x; sideways runs keep the cell's top to the right.
    const double centreX = origin.x() - m.cellHeight() / 2.0;
    double penY = origin.y();
    for (const Segment &seg : segmentsOf(chars)) {
        PlacedRun run;
        if (seg.upright) {
            for (const ShapedGlyph &g : shapeRun(*face, seg.text, true)) {
                run.glyphs.push_back(g.glyph);
                run.positions.emplace_back(std::round(centreX + double(g.xOffset) * m.pixelSize / upem),
                                           penY - toPixels(g.yOffset, m.pixelSize, upem));
                penY -= toPixels(g.yAdvance, m.pixelSize, upem);
            }
        } else {
            run.sideways = true;
            run.pivot = QPointF(origin.x(), penY);
            const double end = placeHorizontal(*face, m.pixelSize, seg.text, 0, m.ascent, 0, run);
            penY += end;
        }
        runs.push_back(std::move(run));
    }
    return runs;
}

void PageComposer::drawRuns(QPainter &painter, const Face &face, int pixelSize,
                            const std::vector<PlacedRun> &runs) const
{
    const QRawFont &raw = face.rawFont(pixelSize);
    for (const PlacedRun &run : runs) {
        if (run.glyphs.empty())
            continue;
        QGlyphRun glyphs;
        glyphs.setRawFont(raw);
        glyphs.setGlyphIndexes(QList<quint32>(run.glyphs.begin(), run.glyphs.end()));
        glyphs.setPositions(QList<QPointF>(run.positions.begin(), run.positions.end()));
        if (run.sideways) {
            painter.save();
            painter.translate(run.pivot);
            painter.rotate(90); // clockwise on a y-down picture: the text reads downwards
            painter.drawGlyphRun(QPointF(0, 0), glyphs);
            painter.restore();
        } else {
            painter.drawGlyphRun(QPointF(0, 0), glyphs);
        }
    }
}

void PageComposer::compose(TABitmap &page, std::span<const std::string> rows, const PageStyle &style,
                           RandomGenerator &random) const
{
    if (page.isEmpty())
        page.setSize(kPageWidth, kPageHeight);
    page.fill(style.background);

    if (const Face *face = m_faces.face(pageFace(style.horizontal, style.gothic))) {
        const int pixelSize = face->metrics(pageFontHeight(style.horizontal)).pixelSize;
        QPainter painter(&page.image());
        painter.setPen(colourOf(style.textColour));
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        const int count = std::min<int>(int(rows.size()), kRowsPerPage);
        for (int k = 0; k < count; ++k)
            drawRuns(painter, *face, pixelSize, layoutRow(rows[size_t(k)], k, style.horizontal, style.gothic));
    }

    if (style.tenderly)
        TABitmap::AddNoise(page, kGrainAmount, random);
}

} // namespace corvane
