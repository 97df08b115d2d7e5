// What the four animations share: the box type their drawing uses, the clock
// seam (time of day and reseeding), and the small records through which a
// start tells the window what to do around it (stop others, fade, flags, hints).
// Everything here is plain data; the window applies it.
#pragma once
#include <QString>
#include <QTime>
#include <cstdint>
#include <functional>
#include <optional>

namespace corvane {

class RandomGenerator;

// The picture's design size; the effects read the real size of the image they
// are given and use these only for defaults.
inline constexpr int kPictureWidth = 481;
inline constexpr int kPictureHeight = 351;

// A box as GDI takes it: right and bottom are one past the last pixel, and a
// box may be inside out (left > right) because the animations move its corners
// independently.
struct Ltrb
{
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Ltrb &, const Ltrb &) = default;
};

// Time seam. The effects never read a clock themselves: the window passes
// the clock of its platform (app/Platform.h), tests pass a fixed one. Both
// functions must be set.
struct EffectClock
{
    std::function<uint32_t()> utcMsOfDay; // reseed value: ms since UTC midnight
    std::function<QTime()> localTime;     // Velocity's Clock mode
    void reseed(RandomGenerator &random) const;
};
EffectClock fixedClock(QTime local, uint32_t seed);

// Which animations run (the window's FDifference, FVelocity, FArts, FDeep).
struct Busy
{
    bool difference = false, velocity = false, arts = false, deep = false;
    bool any() const { return difference || velocity || arts || deep; }
};

enum class Fade { None, Black, White }; // PFadeOutB, PFadeOutW

// Asked of the window before a start: run the common stop, show the status
// text, fade. A refused start does nothing at all.
struct StartPlan
{
    bool refused = false;
    bool stopFirst = false;
    QString status;
    Fade fade = Fade::None;
};

// Shared picture flags a start sets; an empty entry leaves the flag alone.
struct FlagChanges
{
    std::optional<bool> FSamePage, FBColor, FPageShown, FFreshStart, FArtsShown;
};

struct StartResult
{
    FlagChanges flags;
    QString imageHint; // Image1's hint while the effect runs
};

// The common stop: what to switch off and what the status line becomes.
struct StopPlan
{
    bool stopDifference = false; // Timer1, FDifference, re-enable its three boxes
    bool stopVelocity = false;   // Timer3, FVelocity, re-enable the slider
    bool stopDeep = false;       // Timer5, FDeep
    bool clearArts = false;      // FArts; Timer4 notices at its next tick
    std::optional<QString> status;
};
StopPlan planStop(const Busy &running, int lockCount);

} // namespace corvane
