#include "app/AozoraReading.h"

#include "text/Pages.h"

#include <algorithm>

namespace corvane {

AozoraReading::Passage AozoraReading::passageOfPage(int page) const
{
    const std::vector<uint32_t> &lines = active ? pages.rowLines : rawRowLines;
    if (lines.empty())
        return {};
    const size_t row = std::min(size_t(std::max(page - 1, 0)) * kPageRows, lines.size() - 1);
    const auto [first, last] = std::equal_range(lines.begin(), lines.end(), lines[row]);
    return {lines[row], double(row - size_t(first - lines.begin())) / double(last - first)};
}

int AozoraReading::pageOfPassage(const Passage &passage) const
{
    const std::vector<uint32_t> &lines = active ? pages.rowLines : rawRowLines;
    const auto [first, last] = std::equal_range(lines.begin(), lines.end(), passage.line);
    size_t row = size_t(first - lines.begin());
    if (first == lines.end()) // past the end: the last page
        row = lines.empty() ? 0 : lines.size() - 1;
    else if (first != last) // a line this layout leaves out (the legend) goes to what follows it
        row += std::min(size_t(passage.part * double(last - first)), size_t(last - first) - 1);
    return int(row / kPageRows) + 1;
}

void AozoraReading::clear()
{
    active = false;
    pages = {};
    rawRowLines = {};
    source = {};
    shown = {};
}

} // namespace corvane
