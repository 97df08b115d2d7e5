// Pages that turn themselves ("Auto"): the stored choices and the rules that
// turn them into timer intervals. The window's side (app/form_auto.cpp) owns
// the timers and runs the forward command; everything here is plain data.
#pragma once
#include <array>

#include "core/Design.h"

namespace corvane {

// The intervals the menu offers, seconds. A stored value that is none of
// them (a hand-edited file) is read as the nearest one.
inline constexpr std::array<int, 4> kAutoSeconds{30, 60, 120, 300};

inline constexpr const char *kAutoOn = "Auto on";
inline constexpr const char *kAutoOff = "Auto off";

// What runs between two pages, for the second half of the interval.
enum class AutoAnimation { None, Difference, Velocity, Deep, Arts };
inline constexpr int kAutoAnimationCount = 5;

struct AutoPages
{
    bool on = false;
    int seconds = kAutoDefaultSeconds; // one of kAutoSeconds once read
    int animation = 0;                 // an AutoAnimation, 0..4 once read

    // Brings values read from a file into range.
    void normalise();
    AutoAnimation between() const { return AutoAnimation(animation); }
    // The interval in milliseconds; "Slow" doubles it as it doubles the animations'.
    int intervalMs(bool slow) const { return seconds * 1000 * (slow ? 2 : 1); }
};

int nearestAutoSeconds(int seconds);

} // namespace corvane
