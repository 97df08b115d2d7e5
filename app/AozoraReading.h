// What the window keeps of the Aozora reading mode: whether it is wanted, how
// the text shown was read, its annotations, and what a switch of mode needs
// to find the same passage in the other layout.
#pragma once
#include "text/AozoraLayout.h"

#include <string>
#include <vector>

namespace corvane {

inline constexpr char kAozoraOnText[] = "Aozora on";
inline constexpr char kAozoraOffText[] = "Aozora off";

struct AozoraReading
{
    bool wanted = true;  // the mode is on (stored); a plain text is never read as Aozora
    bool active = false; // the text shown is read as an Aozora text
    AozoraPages pages;   // its annotations and the file's place of every row
    // An Aozora text read raw: the file's place of every row, so a switch
    // finds its passage.
    std::vector<uint32_t> rawRowPlaces;
    std::string source;         // the text as loaded, for reading it again the other way
    std::vector<RowMark> shown; // the annotations of the page in FRows

    bool switchable() const { return !source.empty(); }

    // Where a page's first character stands in the file (a FileAnchor place),
    // the same in both modes.
    uint32_t passageOfPage(int page) const;
    // The page that holds the character at that place in the layout in use.
    int pageOfPassage(uint32_t place) const;
    void clear();
};

} // namespace corvane
