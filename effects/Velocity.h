// Velocity: a hundred short lines stream out of a centre point, accelerating,
// and are reborn when they leave the picture; variants for a night road
// (RoadMovie), the hands of an invisible clock (Clock), a centre that swallows
// (MiniBlackHole) and a wandering centre (Movement), with a scope that counts
// the ticks in which a bright line crosses the centre. The window owns
// FVelocity, Timer3 and the slider; the stored parameters live here so that
// the settings table can bind them.
#pragma once
#include "effects/Canvas.h"
#include "effects/EffectCommon.h"

#include <QLocale>
#include <QString>
#include <QTime>

#include <array>
#include <optional>

namespace corvane {

class RandomGenerator;

// The four option boxes; they may change at any tick.
struct VelocityOptions
{
    bool movement = false;      // LCheckBox16 "Movement"
    bool miniBlackHole = false; // LCheckBox17 "MiniBlackHole"
    bool roadMovie = false;     // LCheckBox18 "RoadMovie"
    bool clock = false;         // LCheckBox19 "Clock", wins over RoadMovie
};

struct VelocityLine
{
    int tx = 0, ty = 0, hx = 0, hy = 0; // tail and head, picture pixels
    friend bool operator==(const VelocityLine &, const VelocityLine &) = default;
};

struct VelocityTick
{
    std::optional<QString> status; // "lock " + count when the scope saw a hit
    bool repaint = false;          // repaint the picture now
    bool update = false;           // the picture changed: show it at the next ordinary paint
};

// The time of day as the Clock writes it: the locale's long time format with
// any time-zone name left out ("15:04:05", "3:04:05 PM"). The zone would
// widen the text past the (-23, -10) offset that centres it on the clock.
QString clockText(QTime time, const QLocale &locale);

struct VelocityState
{
    static constexpr int kLines = 100;
    static constexpr int kLockLimit = 2147483000;
    static constexpr int kClockRadius = 90;

    // Stored parameters (INI keys of the same names, defaults as in the INI).
    int Pcx = kPictureWidth / 2, Pcy = kPictureHeight / 2; // centre, picture pixels
    int Pmvc = 2;                                          // move level 0..10
    int Piro = 1;                                          // colour rule of free lines 1..8
    int Pirot = 2;                                         // colour rule of clock lines 1..8
    int Pform = 1;       // free line shape: 1 segment, 2 ellipse, 3 rectangle
    int Pformt = 1;      // clock line shape, as Pform
    bool Pdigi = false;  // scope (not in Clock mode)
    bool Pdigit = true;  // time text in Clock mode
    bool Pb = false;     // bold free lines; with MiniBlackHole the black centre square
    bool Pbt = false;    // bold clock lines
    bool Pmix = false;   // dim lines of shapes 2 and 3 drawn as segments
    bool Pmouse = false; // Movement follows the mouse

    // Run state.
    std::array<VelocityLine, kLines> FLines{};
    std::array<quint8, kLines> FLineBright{}; // 0..250
    int FVelWarm = 0;               // warm-up of RoadMovie and Clock: 0, then 1..31; 32 when none
    bool FLockHit = false;          // the scope saw a bright line this tick
    int FLockCount = 0;             // ticks with a hit since the start, <= kLockLimit
    int FTargetX = 0, FTargetY = 0; // where the moving centre walks
    int FVelDiv = 8;                // speed divisor, fixed
    int FMouseX = 0, FMouseY = 0;
    quint16 FClockHour = 0, FClockMin = 0, FClockSec = 0, FClockMSec = 0;

    // Stop the others first (not a running Velocity), fade when the
    // background is not black.
    static StartPlan plan(const Busy &running, quint32 GColor);

    // Picture black, lines scattered, the generator reseeded from the clock.
    // The window then disables the slider and arms Timer3.
    StartResult start(const VelocityOptions &opts, Canvas &canvas, RandomGenerator &random,
                      const EffectClock &clock, PictureState &state);

    // One frame: clear, 100 lines, overlays, then the centre moves.
    VelocityTick tick(const VelocityOptions &opts, Canvas &canvas, RandomGenerator &random,
                      const EffectClock &clock);

    // Image1MouseMove: the point the centre follows while Pmouse is on.
    void mouseMove(int x, int y);
    // LCheckBox19Click when checked: the clock stands in the middle.
    void clockChecked(int width, int height);
    // LCheckBox16Click when checked.
    QString moveLevelStatus() const;

    // Colour of line i under a rule (1..8); nullopt keeps the pen as it is.
    // Rule 7 draws from the generator.
    std::optional<quint32> lineColour(int rule, bool clockLine, int i,
                                      RandomGenerator &random) const;

    // Clock text font: the logical font of height 17, weight 500, Times New Roman.
    static QFont clockFont();

private:
    void rebirth(int i, const VelocityOptions &opts, int W, int H, RandomGenerator &random,
                 const EffectClock &clock);
    void moveHead(int i, bool miniBlackHole);
    void snapToAxis(int i);
    void drawFreeLine(int i, Canvas &canvas, RandomGenerator &random);
    void drawClockLine(int i, Canvas &canvas, RandomGenerator &random);
    void drawCrosshair(Canvas &canvas);
    void moveCentre(const VelocityOptions &opts, int W, int H, RandomGenerator &random);
};

} // namespace corvane
