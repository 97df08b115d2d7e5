// Cutting wrapped rows into pages of 13, taking one page's rows out, and the
// page arithmetic of the page commands (forward, back, Reset, slider, Leaf,
// Go). Pure: the window keeps FPage, FPageCount, FLeaf and FSamePage and
// calls these from its page commands (text/form_pages.cpp).
#pragma once
#include <QString>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Design.h"

namespace corvane {

inline constexpr std::string_view kPaddingRow = "\x81\x40"; // one ideographic space
inline constexpr int kTicksWithoutSpacing = 50;             // pages the slider ticks one by one
inline constexpr char kOverPageText[] = "over page, set leaf";

using PageRows = std::array<std::string, kPageRows>;

// Rows padded with kPaddingRow up to a multiple of 13 (no rows: no pages).
std::vector<std::string> padRows(std::vector<std::string> rows);

// Each row followed by CR LF, the form in which the editor takes them back.
// The break after the last row keeps a final empty row a line of its own.
std::string joinRows(const std::vector<std::string> &rows);

// Pages for lineCount lines: a partial last page still counts.
int pageTotal(std::size_t lineCount);

// The 13 rows of page (1-based), each cut to kRowByteLimit bytes at a
// character boundary. A page outside 1..pageTotal gives 13 empty rows, so
// an empty text writes an empty page.
PageRows pageRows(const std::vector<std::string> &lines, int page);
// The same over any line store (the editor's Lines): line(i) for
// 0 <= i < lineCount.
PageRows pageRows(int lineCount, const std::function<std::string(int)> &line, int page);

// Row cut to at most limit bytes, never between a lead and a trail byte.
std::string cutRow(std::string_view row, std::size_t limit = kRowByteLimit);

// Slider tick spacing for a page count, and its hint "scale : N".
int tickFrequency(int pageCount);
QString scaleHint(int frequency);

// The bookmark's hint "N page". A stored bookmark below 1 counts as 1.
int leafPage(int leaf);
QString leafHint(int leaf);

// The page slider keeps its position in 1..max; a maximum below 1 is
// refused, so with no pages the range stays 1..1.
int clampPage(int page, int pageCount);

// The page the forward command writes: the same page when samePage is
// set, else the next one, from the last page round to page 1.
int forwardPage(int page, int pageCount, bool samePage);
// The page the back command writes: from page 1 round to the last page.
int backPage(int page, int pageCount);
// The page Go writes, or nullopt when the bookmark lies beyond the text
// (the status line then shows kOverPageText and nothing else happens).
std::optional<int> goPage(int leaf, int pageCount);

} // namespace corvane
