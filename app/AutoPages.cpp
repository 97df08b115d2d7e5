// The stored choices of Auto, brought into range.
#include "app/AutoPages.h"

#include <cstdlib>

namespace corvane {

int nearestAutoSeconds(int seconds)
{
    int best = kAutoSeconds.front();
    for (int s : kAutoSeconds)
        if (std::abs(long(s) - seconds) < std::abs(long(best) - seconds))
            best = s;
    return best;
}

void AutoPages::normalise()
{
    seconds = nearestAutoSeconds(seconds);
    if (animation < 0 || animation >= kAutoAnimationCount)
        animation = 0;
}

} // namespace corvane
