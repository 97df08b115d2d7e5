// Page composition: CP932 rows to shaped runs to glyphs on a 24-bit bitmap.
#include "writing/PageComposer.h"

#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/Cp932.h"

#include <cmath>
#include <fontconfig/fontconfig.h>
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

std::vector<PlacedRun>
PageComposer::layoutRow(std::string_view row, int k, bool horizontal, bool gothic,
                        std::span<const std::pair<size_t, char32_t>> subs) const
{
    std::vector<PlacedRun> runs;
    const Face *face = m_faces.face(pageFace(horizontal, gothic));
    if (!face)
        return runs;
    std::vector<Cp932Char> chars = m_decoder.decodeRow(cp932Prefix(row, kRowByteLimit));
    for (const auto &[index, code] : subs)
        if (index < chars.size())
            chars[index].code = code;
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
                           const PageStyle &style, RandomGenerator &random,
                           const PageMarks &marks) const
{
    if (page.isEmpty())
        page.setSize(kPictureWidth, kPictureHeight);
    page.fill(style.background);

    if (const Face *face = m_faces.face(pageFace(style.horizontal, style.gothic))) {
        const QRawFont &raw
                = face->rawFont(face->metrics(pageFontHeight(style.horizontal)).pixelSize);
        GlyphPainter glyphs(page.image().size());
        const int count = std::min<int>(int(rows.size()), kPageRows);
        if (marks.empty()) {
            for (int k = 0; k < count; ++k)
                for (const PlacedRun &run :
                     layoutRow(rows[size_t(k)], k, style.horizontal, style.gothic))
                    glyphs.add(raw, run);
        } else {
            drawMarks(glyphs, rows.first(size_t(count)), style, marks);
        }
        glyphs.paintOnto(page.image(), style.textColour);
    }

    if (style.tenderly)
        TABitmap::AddNoise(page, kGrainAmount, random);
}

namespace {

bool hasGlyph(const Face &face, char32_t code)
{
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(face.hbFont(), code, &glyph) && glyph != 0;
}

// One glyph of face at pixelSize in cell: upright and centred across the
// column when vertical, on the cell's baseline when horizontal.
PlacedRun placeInCell(const Face &face, int pixelSize, char32_t code, const QRect &cell,
                      bool vertical)
{
    PlacedRun run;
    const std::u32string text(1, code);
    const std::vector<ShapedGlyph> shaped = shapeRun(face, text, vertical);
    const int upem = face.unitsPerEm();
    const FaceMetrics m = face.metrics(pixelSize);
    for (const ShapedGlyph &g : shaped) {
        run.glyphs.push_back(g.glyph);
        if (vertical)
            run.positions.emplace_back(std::round(cell.left() + cell.width() / 2.0
                                                  + double(g.xOffset) * pixelSize / upem),
                                       cell.top() + toPixels(-g.yOffset, pixelSize, upem));
        else
            run.positions.emplace_back(cell.left() + toPixels(g.xOffset, pixelSize, upem),
                                       cell.top() + m.ascent
                                               - toPixels(g.yOffset, pixelSize, upem));
    }
    return run;
}

// A mark in the band above a horizontal line, moved across the line by whole
// pixels to keep its ink off the lines: the band is exactly as high as the
// cell, and a reading's tall kana (ず is nine rows at half size) would reach
// a pixel into its base; the free row between the line above and the band
// takes it instead. below: pixels the mark is struck lower still.
PlacedRun keptInBand(const QRawFont &font, PlacedRun run, const QRect &cell, int below = 0)
{
    const int roof = cell.top() - 1;
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
        const QRectF ink = font.boundingRect(run.glyphs[i]).translated(run.positions[i]);
        const double top = std::floor(ink.top()), bottom = std::ceil(ink.bottom()) + below;
        if (top < roof)
            run.positions[i].ry() += roof - top;
        else if (bottom > cell.bottom() + 1)
            run.positions[i].ry() -= std::min(bottom - cell.bottom() - 1, top - roof);
    }
    return run;
}

// A letter or digit standing upright in its share of a cell: at the page's
// size, pressed across to the share's width where it is wider, centred.
PlacedRun placeUpright(const Face &face, const FaceMetrics &m, char32_t code, const QRect &share)
{
    PlacedRun run;
    const std::vector<ShapedGlyph> shaped = shapeRun(face, std::u32string(1, code), false);
    if (shaped.empty())
        return run;
    const double advance = double(shaped[0].xAdvance) * m.pixelSize / face.unitsPerEm();
    run.squeeze = advance > share.width() ? share.width() / advance : 1.0;
    run.pivot = QPointF(std::round(share.left() + (share.width() - advance * run.squeeze) / 2),
                        share.top() + m.ascent);
    run.glyphs.push_back(shaped[0].glyph);
    run.positions.emplace_back(0, 0);
    return run;
}

} // namespace

const Face *PageComposer::faceWith(char32_t code) const
{
    if (const auto it = m_faceByCode.find(code); it != m_faceByCode.end())
        return it->second;
    const Face *found = nullptr;
    FcPattern *pattern = FcPatternCreate();
    FcCharSet *set = FcCharSetCreate();
    FcCharSetAddChar(set, FcChar32(code));
    FcPatternAddCharSet(pattern, FC_CHARSET, set);
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8 *>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8 *file = nullptr;
        FcCharSet *has = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch
            && FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch
            && FcCharSetHasChar(has, FcChar32(code))) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char *>(file));
            std::unique_ptr<Face> &face = m_fallbackFaces[name];
            if (!face)
                face = Face::load(name);
            if (face && hasGlyph(*face, code))
                found = face.get();
        }
        FcPatternDestroy(match);
    }
    FcCharSetDestroy(set);
    FcPatternDestroy(pattern);
    m_faceByCode[code] = found;
    return found;
}

void PageComposer::drawMarks(GlyphPainter &glyphs, std::span<const std::string> rows,
                             const PageStyle &style, const PageMarks &marks) const
{
    const Face *face = m_faces.face(pageFace(style.horizontal, style.gothic));
    const FaceMetrics m = face->metrics(pageFontHeight(style.horizontal));
    const QRawFont &raw = face->rawFont(m.pixelSize);
    const bool vertical = !style.horizontal;

    // The base rows, with gaiji and kunoji in place; a gaiji the page face
    // lacks leaves its cell to the face that has it, or to the 〓 it holds.
    std::vector<std::pair<const Face *, size_t>> elsewhere; // face, index into laid
    const std::vector<LaidGlyph> laid = laidGlyphs(m_decoder, rows, marks, style.horizontal);
    auto rowBegin = marks.marks.begin();
    for (int k = 0; k < int(rows.size()); ++k) {
        auto rowEnd = rowBegin;
        while (rowEnd != marks.marks.end() && rowEnd->row == uint32_t(k))
            ++rowEnd;
        const std::span<const RowMark> rowMarks(rowBegin, rowEnd);
        rowBegin = rowEnd;
        std::vector<std::pair<size_t, char32_t>> subs
                = substitutes(rows[size_t(k)], rowMarks, marks.strings);
        std::erase_if(subs, [&](std::pair<size_t, char32_t> &s) {
            if (hasGlyph(*face, s.second))
                return false;
            if (faceWith(s.second)) {
                s.second = U'\u3000'; // drawn from the other face below
                return false;
            }
            return true; // no face has it: the 〓 stays
        });
        const bool heading = std::any_of(rowMarks.begin(), rowMarks.end(),
                                         [](const RowMark &r) { return isHeavy(r.mark.kind); });
        for (const PlacedRun &run :
             layoutRow(rows[size_t(k)], k, style.horizontal, style.gothic, subs))
            glyphs.add(raw, run);
        if (heading) {
            // A heavier face for the marked characters alone: overstruck a
            // pixel across the line, which thickens the strokes along it,
            // and a pixel along it for the strokes across (一 二 三 gained
            // too little from the first alone). The rest of the row is
            // blanked for the overstrike.
            std::map<size_t, char32_t> heavy(subs.begin(), subs.end());
            for (const auto &[index, blank] : outsideHeavy(rows[size_t(k)], rowMarks))
                heavy[index] = blank;
            const std::vector<std::pair<size_t, char32_t>> heavySubs(heavy.begin(), heavy.end());
            for (const PlacedRun &run :
                 layoutRow(rows[size_t(k)], k, style.horizontal, style.gothic, heavySubs))
                for (const QPointF by : {QPointF(1, 0), QPointF(0, 1)})
                    glyphs.add(raw, run, by);
        }
    }

    const QRawFont &small = face->rawFont(kRubyPixels);
    const auto placeMark = [&](const LaidGlyph &g, int below) {
        PlacedRun run = placeInCell(*face, kRubyPixels, g.code, g.cell, vertical);
        return vertical ? run : keptInBand(small, std::move(run), g.cell, below);
    };
    std::vector<PlacedRun> ruby, emphasis;
    for (const LaidGlyph &g : laid) {
        switch (g.role) {
        case GlyphRole::Ruby:
            ruby.push_back(placeMark(g, 0));
            break;
        case GlyphRole::Emphasis:
            emphasis.push_back(placeMark(g, 1));
            break;
        case GlyphRole::Upright:
            glyphs.add(raw, placeUpright(*face, m, g.code, g.cell));
            break;
        case GlyphRole::Gaiji:
            if (!hasGlyph(*face, g.code))
                if (const Face *other = faceWith(g.code))
                    glyphs.add(other->rawFont(m.pixelSize),
                               placeInCell(*other, m.pixelSize, g.code, g.cell, vertical));
            break;
        default:
            break;
        }
    }
    const QPointF once[] = {QPointF(0, 0)};
    glyphs.addApart(small, ruby, once);
    // At half size a sesame dot is two dark pixels; struck a pixel along and
    // across the line it reads as a mark, still centred.
    const QPointF struck[] = {QPointF(0, 0), QPointF(1, 0), QPointF(0, 1), QPointF(1, 1)};
    glyphs.addApart(small, emphasis, struck);
}

} // namespace corvane
