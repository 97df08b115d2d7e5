// An Aozora text cut into the rows and pages the window reads: lines indented
// or set to the foot as their notes say, page breaks kept, ruby bases, kunoji
// and tate-chu-yoko never split, and every annotation carried to the row it
// falls in. The rows go into the window's editor as the raw rows do; the
// annotations stay here for the page writer.
#pragma once
#include "text/Aozora.h"
#include "text/Pages.h"
#include "text/TEditor.h"

#include <span>

namespace corvane {

// An annotation on bytes [mark.from, mark.to) of one paged row.
struct RowMark
{
    uint32_t row = 0; // 0-based over all rows of the text
    Mark mark;
};

struct AozoraPages
{
    std::vector<RowMark> marks; // sorted by row, then by from
    std::string strings;        // the marks' texts (UTF-8)
    // The file's place (FileAnchor::file) of each row's first character; a
    // padding row has its page's last text row's.
    std::vector<uint32_t> rowPlaces;

    std::string_view markText(const Mark &m) const
    {
        return std::string_view(strings).substr(m.text, m.textLength);
    }
    // The marks of page (1-based), their rows counted from the page's first.
    std::vector<RowMark> pageMarks(int page) const;
    std::size_t bytes() const;
};

// The rows padded to whole pages (for the editor) and their annotations.
struct AozoraLayout
{
    RowStore rows;
    AozoraPages pages;
};

// Lays text out with the wrapping of editor (set up as the window's).
// The rows point into text's base text, which they keep.
AozoraLayout layOutAozora(AozoraText text, const TEditor &editor);

// The file's place of each raw row's first character, for rows as the
// editor wrapped them (before paging).
std::vector<uint32_t> rawRowPlaces(const TEditor &editor);

} // namespace corvane

namespace corvane {

// Empties editor (set up as the window's) and loads text as an Aozora text:
// its rows, padded to pages, one per line as paging leaves them. Returns the
// annotations.
AozoraPages loadAozora(TEditor &editor, std::string_view text);

// Sets editor up like the window's and pages text as the reader reads it:
// an Aozora text with its markup when aozora is set (the annotations go to
// marks), any other as loadPaged does. Returns the page count.
int loadReading(TEditor &editor, std::string text, bool normalise, bool aozora, AozoraPages &marks);

} // namespace corvane
