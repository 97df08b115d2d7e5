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
    AozoraPages pages;   // its annotations and the file line of every row
    // An Aozora text read raw: the file line of every row, so a switch finds
    // its passage.
    std::vector<uint32_t> rawRowLines;
    std::string source;         // the text as loaded, for reading it again the other way
    std::vector<RowMark> shown; // the annotations of the page in FRows

    bool switchable() const { return !source.empty(); }

    // Where a page starts in the file: its line and how far into the line's
    // rows (0 at the line's first row).
    struct Passage
    {
        uint32_t line = 0;
        double part = 0;
    };
    Passage passageOfPage(int page) const;
    // The page that holds the passage in the layout in use.
    int pageOfPassage(const Passage &passage) const;
    void clear();
};

} // namespace corvane
