// What the four animations share: the box type their drawing uses, the clock
// seam (time of day and reseeding), and the small records through which a
// start tells the window what to do around it (stop others, fade, flags, hints).
// Everything here is plain data; the window applies it.
//
// How an animation is written. Difference, Velocity, Deep and plan de arts
// each come in two halves: a record (DifferenceState, VelocityState,
// DeepState, PlanDeArts) that holds the animation's own state and draws, and
// the window's side (effects/form_<name>.cpp) that owns its busy flag
// (FDifference, FVelocity, FDeep, FArts), its timer and the boxes it locks.
// The record never sees a timer, a control or the event loop; the window
// never draws an animation's frame itself.
//
//   plan    Decides, changing nothing: whether the start is refused, whether
//           the common stop must run first (never for the animation itself:
//           starting a running one sets it up afresh), the status text, and
//           the fade. It may read the record and the window's flags it is
//           given, nothing else.
//
//   start   Runs after the window has done what the plan asked (prepareStart:
//           stop, status, fade). Sets the record up and lays the ground (plan
//           de arts lays none: its first picture follows at once); it may
//           reseed the generator, but only through the EffectClock it is
//           given. Difference, Velocity and plan de arts set the picture
//           flags in the PictureState they are given (Deep is given none: it
//           leaves them alone). Each returns the picture's hint as a
//           StartResult, which the window shows (applyStart). The window sets the busy flag (the
//           start never reads it) and arms the timer last: only the window
//           arms or disarms a timer.
//
//   tick    Draws one frame and moves the record on, then returns: what the
//           window must show besides the picture (a status text, a repaint)
//           it returns rather than shows. A frame is drawn straight onto the
//           picture, without a fade, except the tick of plan de arts, which
//           is a whole new picture faded in. A tick may find its animation
//           stopped meanwhile (plan de arts reads FArts again after its
//           picture) and then does nothing more.
//
//   stop    There is one stop for all four, the window's EffectOut1Click,
//           planned by planStop below: it disarms the timers and clears the
//           flags of whatever runs; plan de arts only loses FArts, and its
//           timer disarms itself at its next tick. The picture is left as it
//           stands and the records keep their state, so a new start may go on
//           where the last run left off (Deep does).
//
// Pending events. Starts, ticks and fades never let events run themselves.
// Within the effects only the plasma build of plan de arts does, through the
// pump its hooks give it (the window's processPendingEvents); outside them the
// page commands, the key handler and the tray handler do too (the list is at
// Platform::processPendingEvents). A command or a tick can therefore run in
// the middle of any of these: a plasma build refuses a second one and a close
// waits for it to end, and a drop waits while a page is written.
//
// Start-up values are the records' member initialisers; only Deep's colour
// walk, which needs the clock, is set at start-up (DeepState::init).
#pragma once
#include <QString>
#include <QTime>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/Design.h"
#include "effects/PictureState.h"

namespace corvane {

class RandomGenerator;

// The effects read the real size of the image they are given and use the
// picture's design size (kPictureWidth, kPictureHeight) only for defaults.

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

struct StartResult
{
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
