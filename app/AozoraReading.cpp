#include "app/AozoraReading.h"

#include "text/Pages.h"

#include <algorithm>

namespace corvane {

uint32_t AozoraReading::lineOfPage(int page) const
{
    const std::vector<uint32_t> &lines = active ? pages.rowLines : rawRowLines;
    if (lines.empty())
        return 0;
    const size_t row = std::min(size_t(std::max(page - 1, 0)) * kPageRows, lines.size() - 1);
    return lines[row];
}

int AozoraReading::pageOfLine(uint32_t line) const
{
    const std::vector<uint32_t> &lines = active ? pages.rowLines : rawRowLines;
    const auto it = std::lower_bound(lines.begin(), lines.end(), line);
    if (it == lines.end())
        return std::max(int((lines.size() + kPageRows - 1) / kPageRows), 1);
    return int(size_t(it - lines.begin()) / kPageRows) + 1;
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
