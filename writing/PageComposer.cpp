// Page composition: CP932 rows to shaped runs to glyphs on a 24-bit bitmap.
#include "writing/PageComposer.h"

#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/Cp932.h"

#include <cmath>
#include <hb.h>

namespace corvane {

namespace {

// Font units to whole picture pixels. Positions, not advances, are rounded,
// so rounding errors never add up along a row.
double toPixels(double fontUnits, int pixelSize, int upem)
{
    return std::round(fontUnits * pixelSize / upem);
}

constexpr char32_t kHorizontalBar = U'\u2015'; // "―", CP932 0x81 0x5C

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

// The font's "―" stops short of both ends of its cell; between two of them
// a copy half an advance on closes the gap. The copy lies exactly over the
// same stroke, and the mask keeps the larger coverage, so the rule's tone
// stays even.
PlacedRun bridgeBars(std::u32string_view text, const std::vector<ShapedGlyph> &shaped,
                     const PlacedRun &run, size_t firstPlaced)
{
    PlacedRun bridges;
    bridges.sideways = run.sideways;
    bridges.pivot = run.pivot;
    const size_t n = shaped.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        const ShapedGlyph &g = shaped[i], &next = shaped[i + 1];
        if (g.cluster >= text.size() || next.cluster >= text.size()
            || text[g.cluster] != kHorizontalBar || text[next.cluster] != kHorizontalBar)
            continue;
        const QPointF a = run.positions[firstPlaced + i], b = run.positions[firstPlaced + i + 1];
        bridges.glyphs.push_back(g.glyph);
        bridges.positions.emplace_back(std::round((a.x() + b.x()) / 2),
                                       std::round((a.y() + b.y()) / 2));
    }
    return bridges;
}

// A horizontal run of glyphs, the pen at penUnits font units from originX,
// baseline at baselineY; extraAdvance pixels more after each glyph; the
// copies that close the joints of "―" go to bridges. Returns the pen after
// the run, in font units.
double placeHorizontal(const Face &face, int pixelSize, std::u32string_view text, double originX,
                       double penUnits, double baselineY, int extraAdvance, PlacedRun &run,
                       PlacedRun &bridges)
{
    const int upem = face.unitsPerEm();
    const std::vector<ShapedGlyph> shaped = shapeRun(face, text, false);
    const size_t first = run.glyphs.size();
    int extra = 0;
    for (const ShapedGlyph &g : shaped) {
        run.glyphs.push_back(g.glyph);
        run.positions.emplace_back(originX + toPixels(penUnits + g.xOffset, pixelSize, upem)
                                           + extra,
                                   baselineY - toPixels(g.yOffset, pixelSize, upem));
        penUnits += g.xAdvance;
        extra += extraAdvance;
    }
    bridges = bridgeBars(text, shaped, run, first);
    return penUnits;
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
    hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t *>(text.data()), int(text.size()),
                        0, int(text.size()));
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
        out.push_back({info[i].codepoint, pos[i].x_advance, pos[i].y_advance, pos[i].x_offset,
                       pos[i].y_offset, info[i].cluster});
    hb_buffer_destroy(buffer);
    return out;
}

void drawHorizontalText(GlyphPainter &glyphs, const Face &face, int logicalHeight, QPointF topLeft,
                        std::u32string_view text, bool bold)
{
    const FaceMetrics m = face.metrics(logicalHeight);
    PlacedRun run, bridges;
    placeHorizontal(face, m.pixelSize, text, topLeft.x(), 0, topLeft.y() + m.ascent, bold ? 1 : 0,
                    run, bridges);
    for (const PlacedRun *r : {&run, &bridges}) {
        glyphs.add(face.rawFont(m.pixelSize), *r);
        if (bold)
            glyphs.add(face.rawFont(m.pixelSize), *r, QPointF(1, 0));
    }
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

bool PageComposer::takeMissingFontsNotice() const
{
    if (m_missingNoticeGiven || isReady())
        return false;
    m_missingNoticeGiven = true;
    return true;
}

std::vector<PlacedRun> PageComposer::layoutRow(std::string_view row, int k, bool horizontal,
                                               bool gothic) const
{
    std::vector<PlacedRun> runs;
    const Face *face = m_faces.face(pageFace(horizontal, gothic));
    if (!face)
        return runs;
    const std::vector<Cp932Char> chars = m_decoder.decodeRow(cp932Prefix(row, kRowByteLimit));
    if (chars.empty())
        return runs;
    const FaceMetrics m = face->metrics(pageFontHeight(horizontal));
    const int upem = face->unitsPerEm();
    const QPoint origin = rowOrigin(k, horizontal);

    if (horizontal) {
        PlacedRun run, bridges;
        placeHorizontal(*face, m.pixelSize, codesOf(chars), origin.x(), 0, origin.y() + m.ascent, 0,
                        run, bridges);
        runs.push_back(std::move(run));
        if (!bridges.glyphs.empty())
            runs.push_back(std::move(bridges));
        return runs;
    }

    // Upright glyphs are centred on the middle of the cell, which lies to the
    // left of the reference x; sideways runs keep the cell's top to the right.
    const double centreX = origin.x() - m.pixelSize / 2.0;
    double penUnits = 0; // down the column from the reference point
    for (const Segment &seg : segmentsOf(chars)) {
        PlacedRun run, bridges;
        if (seg.upright) {
            const std::vector<ShapedGlyph> shaped = shapeRun(*face, seg.text, true);
            for (const ShapedGlyph &g : shaped) {
                run.glyphs.push_back(g.glyph);
                run.positions.emplace_back(
                        std::round(centreX + double(g.xOffset) * m.pixelSize / upem),
                        origin.y() + toPixels(penUnits - g.yOffset, m.pixelSize, upem));
                penUnits -= g.yAdvance;
            }
            bridges = bridgeBars(seg.text, shaped, run, 0);
        } else {
            run.sideways = true;
            const double start = toPixels(penUnits, m.pixelSize, upem);
            run.pivot = QPointF(origin.x(), origin.y() + start);
            penUnits = placeHorizontal(*face, m.pixelSize, seg.text, -start, penUnits, m.ascent, 0,
                                       run, bridges);
        }
        runs.push_back(std::move(run));
        if (!bridges.glyphs.empty())
            runs.push_back(std::move(bridges));
    }
    return runs;
}

void PageComposer::compose(TABitmap &page, std::span<const std::string> rows,
                           const PageStyle &style, RandomGenerator &random) const
{
    if (page.isEmpty())
        page.setSize(kPictureWidth, kPictureHeight);
    page.fill(style.background);

    if (const Face *face = m_faces.face(pageFace(style.horizontal, style.gothic))) {
        const QRawFont &raw
                = face->rawFont(face->metrics(pageFontHeight(style.horizontal)).pixelSize);
        GlyphPainter glyphs(page.image().size());
        const int count = std::min<int>(int(rows.size()), kPageRows);
        for (int k = 0; k < count; ++k)
            for (const PlacedRun &run :
                 layoutRow(rows[size_t(k)], k, style.horizontal, style.gothic))
                glyphs.add(raw, run);
        glyphs.paintOnto(page.image(), style.textColour);
    }

    if (style.tenderly)
        TABitmap::AddNoise(page, kGrainAmount, random);
}

} // namespace corvane
