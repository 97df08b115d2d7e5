// The annotations of an Aozora page on the picture: where each glyph of a
// page falls (base characters on the half-em grid, ruby and emphasis marks at
// half size in the band beside the column, or above the line when
// horizontal), which characters a gaiji or kunoji puts in place of the
// text's, and which ranges a heading sets heavier. The page composer draws
// from these cells, and corvane-render --dump-layout prints them.
#pragma once
#include "text/AozoraLayout.h"
#include "writing/Cp932Decoder.h"

#include <QRect>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct PageMarks
{
    std::span<const RowMark> marks; // rows counted from the page's first
    std::string_view strings;       // AozoraPages::strings
    std::string_view text(const Mark &m) const { return strings.substr(m.text, m.textLength); }
    bool empty() const { return marks.empty(); }
};

// Upright: one letter or digit of a run set upright in one cell (縦中横),
// listed as base text.
// Bold: a run a type-style note (太字, ゴシック体) sets heavier.
enum class GlyphRole : uint8_t { Base, Ruby, Emphasis, Gaiji, Heading, Upright, Bold };
const char *roleName(GlyphRole role);

struct LaidGlyph
{
    char32_t code;
    GlyphRole role;
    QRect cell; // picture pixels
    int row;    // 0..12
    // Ruby and emphasis marks: the span of their base along the line, in
    // picture pixels, which they are centred on.
    int baseFrom = 0;
    int baseTo = 0;
};

inline constexpr int kRubyPixels = 8; // half the base size

// Every glyph of the page's rows with its cell, row by row in the order
// drawn: the row's characters (blank ones left out), then its ruby, then its
// emphasis marks. Gaiji and kunoji cells carry the character drawn there.
std::vector<LaidGlyph> laidGlyphs(const Cp932Decoder &decoder, std::span<const std::string> rows,
                                  const PageMarks &marks, bool horizontal);

// The characters a row's gaiji and kunoji put in place of its own, by
// character index in the row as Cp932Decoder::decodeRow gives them.
std::vector<std::pair<size_t, char32_t>>
substitutes(std::string_view row, std::span<const RowMark> rowMarks, std::string_view strings);

// The characters of a row outside its heading and bold ranges, each with
// the blank of its width by character index: laid out with these in place,
// the row holds only what a heavier face overstrikes.
std::vector<std::pair<size_t, char32_t>> outsideHeavy(std::string_view row,
                                                      std::span<const RowMark> rowMarks);

// The share of cell that character i of an upright run of n takes.
QRect uprightCell(const QRect &cell, size_t i, size_t n);

// UTF-8 to code points (malformed bytes skipped).
std::u32string codePoints(std::string_view utf8);

} // namespace corvane
