#include "app/AozoraReading.h"

#include "text/Pages.h"

#include <algorithm>

namespace corvane {

uint32_t AozoraReading::passageOfPage(int page) const
{
    const std::vector<uint32_t> &places = active ? pages.rowPlaces : rawRowPlaces;
    if (places.empty())
        return 0;
    return places[std::min(size_t(std::max(page - 1, 0)) * kPageRows, places.size() - 1)];
}

int AozoraReading::pageOfPassage(uint32_t place) const
{
    // The last row starting at or before the place holds it: a place the
    // layout leaves out (the legend, a line of notes) goes to the text before.
    const std::vector<uint32_t> &places = active ? pages.rowPlaces : rawRowPlaces;
    const auto after = std::upper_bound(places.begin(), places.end(), place);
    const size_t row = after == places.begin() ? 0 : size_t(after - places.begin()) - 1;
    return int(row / kPageRows) + 1;
}

void AozoraReading::clear()
{
    active = false;
    pages = {};
    rawRowPlaces = {};
    source = {};
    shown = {};
}

} // namespace corvane
