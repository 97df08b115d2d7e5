// Composing a page off screen: the background, the 13 rows in vertical
// columns or horizontal lines, in Mincho or Gothic, in the text colour, and
// the grain over it all. Everything the writing does except its fades.
//
// Vertical rows hang from their reference point (425 - 30k, 30) with their
// cell to the left of it. Double-byte characters stand upright: each run of
// them is shaped top to bottom (HarfBuzz, direction TTB, language ja) so the
// font's vertical forms apply. Single-byte characters lie on their side,
// turned 90 degrees clockwise, as a vertical face draws them. Horizontal rows
// have the top-left of their cell at (80, 15 + 25k).
//
// Glyph positions are whole pixels on the character grid: the pen is kept in
// font units and only each position is rounded, so every full-width
// character takes one em down a column and two half-width characters
// together take exactly one em too, however the em divides.
//
// A run of "―" (U+2015) is one unbroken rule: the font's dash stops short
// of its cell, so a second copy is laid over each joint.
#pragma once
#include "core/Design.h"
#include "writing/Cp932Decoder.h"
#include "writing/Faces.h"
#include "writing/GlyphPainter.h"
#include "writing/PageMarks.h"

#include <QPoint>
#include <QPointF>
#include <QString>
#include <QtGlobal>

#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct hb_buffer_t;

namespace corvane {

class RandomGenerator;
class TABitmap;

struct PageStyle
{
    bool horizontal = false; // "Horizontal"
    bool gothic = false;     // "Gothic"
    bool tenderly = true;    // "Tenderly": the fixed grain over the page
    Colour textColour = kDefaultTextColour;
    Colour background = kDefaultBackground;
};

// The program face and logical height a page is written in.
QString pageFace(bool horizontal, bool gothic);
int pageFontHeight(bool horizontal); // 16 vertical, 17 horizontal

// Reference point of row k (0..12): top-right of the column when vertical,
// top-left of the line when horizontal.
QPoint rowOrigin(int k, bool horizontal);

// A glyph as HarfBuzz shaped it, in font units (y up, as HarfBuzz gives it).
struct ShapedGlyph
{
    quint32 glyph;
    int xAdvance, yAdvance, xOffset, yOffset;
    quint32 cluster; // index of the first code point it stands for
};

// Shapes code points with the face's HarfBuzz font; vertical means top to
// bottom. Exposed for tests of the vertical metrics.
std::vector<ShapedGlyph> shapeRun(const Face &face, std::u32string_view text, bool vertical);

// Adds one horizontal string, its cell's top-left at topLeft, to glyphs. bold
// overstrikes each glyph one pixel to the right and widens every advance by
// one pixel, the way a face without a bold weight is made bold.
void drawHorizontalText(GlyphPainter &glyphs, const Face &face, int logicalHeight, QPointF topLeft,
                        std::u32string_view text, bool bold = false);

class PageComposer
{
public:
    PageComposer();
    ~PageComposer();
    PageComposer(const PageComposer &) = delete;
    PageComposer &operator=(const PageComposer &) = delete;

    // False when a page face (Mincho or Gothic) is not installed and no
    // stand-in was found; compose() then still paints the background and
    // grain, with no text.
    bool isReady() const;
    QString missingFaces() const;
    // True once, the first time it is asked while a page face is missing:
    // the window tells the user then, and not at every page.
    bool takeMissingFontsNotice() const;

    const FaceLibrary &faces() const { return m_faces; }
    const Cp932Decoder &decoder() const { return m_decoder; }

    // Lays out one row (CP932 bytes) as it would be drawn at row k. A run
    // holding joints of "―" is followed by a run of their bridging copies.
    // substitutes replace characters (by index) before shaping.
    std::vector<PlacedRun> layoutRow(std::string_view row, int k, bool horizontal, bool gothic,
                                     std::span<const std::pair<size_t, char32_t>> substitutes
                                     = {}) const;

    // Composes the page onto `page`, whose size is kept (the picture's size;
    // an empty bitmap becomes 481 x 351). Rows past the 13th are ignored,
    // missing ones are blank. The grain draws from `random` and leaves it where
    // the grain leaves the program's generator.
    // marks: the page's annotations (an Aozora page), drawn with the rows.
    void compose(TABitmap &page, std::span<const std::string> rows, const PageStyle &style,
                 RandomGenerator &random, const PageMarks &marks = {}) const;

    // A face that has code, for a gaiji the page face lacks; nullptr when
    // no installed face has it.
    const Face *faceWith(char32_t code) const;

private:
    void drawMarks(GlyphPainter &glyphs, std::span<const std::string> rows, const PageStyle &style,
                   const PageMarks &marks) const;
    mutable std::map<char32_t, const Face *> m_faceByCode;
    mutable std::map<QString, std::unique_ptr<Face>> m_fallbackFaces;

    FaceLibrary m_faces;
    Cp932Decoder m_decoder;
    mutable bool m_missingNoticeGiven = false;
};

} // namespace corvane
