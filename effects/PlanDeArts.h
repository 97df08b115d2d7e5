// plan de arts: plasma pictures. A height field is made by midpoint
// subdivision of the whole picture on one kept grid, shown in blue or green
// with a brightness fold, and faded in over the picture; "Repetition" and
// "Devenir" repeat it on Timer4, Devenir swinging the brightness and turning
// blue to green and back. The window owns FArts, FArtsShown, Timer4, Label3
// and the four boxes; this holds the grid, the brightness and the build guard.
#pragma once
#include "effects/EffectCommon.h"

#include <QImage>
#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace corvane {

class RandomGenerator;

// Bytes addressed by column, then row: column x is rows() bytes from x * rows().
// 0 means "not set"; every computed value is 1..255.
class ByteGrid
{
public:
    ByteGrid(int columns = kPictureWidth, int rows = kPictureHeight) { resize(columns, rows); }

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    void resize(int columns, int rows);

    quint8 at(int x, int y) const { return m_data[size_t(x) * size_t(m_rows) + size_t(y)]; }
    quint8 &at(int x, int y) { return m_data[size_t(x) * size_t(m_rows) + size_t(y)]; }
    const quint8 *column(int x) const { return m_data.data() + size_t(x) * size_t(m_rows); }
    // Columns 0..w-1, rows 0..h-1 back to "not set".
    void clear(int w, int h);

private:
    int m_columns = 0, m_rows = 0;
    std::vector<quint8> m_data;
};

// The subdivision over one grid. Given the events pump, it hands control to
// the window at most once per interval of its own running time (the pump's
// own time not counted), checked every few dozen calls, so that the window
// stays responsive without paying for a pump on each of the several hundred
// thousand calls.
class PlasmaBuilder
{
public:
    PlasmaBuilder(ByteGrid &grid, RandomGenerator &random, std::function<void()> pumpEvents = {},
                  std::chrono::microseconds pumpInterval = std::chrono::milliseconds(4));

    // Fills the grid inside the rectangle of points whose corners are set.
    void subdivide(int X1, int Y1, int X2, int Y2);
    // Sets T, between A and B, if not yet set: the mean of A and B plus an
    // offset that grows with the distance from A to B.
    void setMidpoint(int XA, int YA, int XT, int YT, int XB, int YB);

    long calls() const { return m_calls; }
    int pumps() const { return m_pumps; }

private:
    void maybePump();

    ByteGrid &m_grid;
    RandomGenerator &m_random;
    std::function<void()> m_pump;
    std::chrono::steady_clock::duration m_interval;
    std::chrono::steady_clock::time_point m_since;
    long m_calls = 0;
    int m_pumps = 0;
};

struct ArtsOptions
{
    bool green = false;      // LCheckBox20 "Green"
    bool devenir = false;    // LCheckBox22 "plan de arts": Devenir mode
    bool repetition = false; // LCheckBox23 "Repetition"
};

enum class ArtsMode { Single, Repetition, Devenir };

// The start's decision: refused, or stop/fade first, then the mode. A
// repeating mode sets FArts and arms Timer4; Single hides Label3 again after
// the picture. FArtsShown is set in every case that is not refused.
struct ArtsBegin
{
    StartPlan plan;
    ArtsMode mode = ArtsMode::Single;
    bool uncheckGreen = false; // without running its click handler
};

// What a picture needs of the window. pumpEvents lets pending events run (see
// PlasmaBuilder); options reads the boxes, after the build, since they may
// have changed meanwhile; repaint shows the picture now.
struct PlasmaHooks
{
    std::function<void()> pumpEvents;
    std::function<void()> repaint;
    std::function<ArtsOptions()> options;
};

struct PlasmaResult
{
    bool done = false;         // false: refused, a build was already under way
    std::optional<bool> green; // the new state of "Green" (set without its handler)
    QString status;            // "bright " + the base
};

// A box click's status text, and whether it ends a running repetition.
struct ArtsBoxClick
{
    QString status;
    bool clearArts = false;
};

// A tick: whether the window disarms Timer4 and hides Label3.
struct ArtsTick
{
    bool refused = false; // a build was under way: nothing happened
    PlasmaResult picture; // done when a picture was made
    bool stopTimer = false;
};

class PlanDeArts
{
public:
    static constexpr int kLowLevel = 80, kHighLevel = 125, kLevelStep = 5;
    static constexpr int kFadeSteps = 17, kFadeAlphaStep = 6;

    int Fconm = kLowLevel;      // fixed brightness base 80..125, stored
    int FArtsLevel = kLowLevel; // Devenir brightness base 80..125
    bool FArtsRise = true;      // Devenir level rising
    ByteGrid PlasmaMap;         // kept for the life of the program
    std::chrono::microseconds pumpInterval{4000};

    // True from the start of a build until its picture is on screen. While it
    // is set the command and Timer4 ticks are refused, because the events run
    // during the build could otherwise start a second build on PlasmaMap.
    bool building() const { return m_building; }

    // Decides before any state changes; refused while a repetition runs or a
    // build is under way.
    ArtsBegin plan(bool FArts, const Busy &running, quint32 GColor, bool FArtsShown,
                   const ArtsOptions &opts) const;

    // After the stop and the fade: a Devenir run starts again at the low
    // level, rising. The window then draws the first picture and, for a
    // repeating mode, arms Timer4.
    StartResult start(ArtsMode mode, PictureState &state);

    // One picture: build, paint, fade in over the picture, then move the
    // Devenir level. Refused (done false) while another build is under way.
    // Only the window's event pump may re-enter this object during the call.
    PlasmaResult drawPicture(QImage &picture, RandomGenerator &random, const EffectClock &clock,
                             const PlasmaHooks &hooks);

    // One repetition. FArts is the window's flag, read again after the picture
    // because a stop handled during the build clears it; the run then ends now.
    ArtsTick tick(const bool &FArts, QImage &picture, RandomGenerator &random,
                  const EffectClock &clock, const PlasmaHooks &hooks);

    // The steps of drawPicture, for tests and benchmarks. build returns the
    // number of subdivide calls it made.
    long build(int w, int h, RandomGenerator &random, const std::function<void()> &pumpEvents = {});
    QImage paint(int w, int h, int base, bool green) const;
    // After each picture: the next Devenir level, the "Green" toggle at the
    // low turn, and the status.
    PlasmaResult advance(const ArtsOptions &opts);

    // The fold at the base: a value under it is raised by it, modulo 256.
    static int fold(int v, int base) { return v < base ? (v + base) % 256 : v; }

    ArtsBoxClick greenClicked(bool checked) const;      // "Green"
    ArtsBoxClick brightClicked(bool checked);           // "Bright": sets Fconm
    ArtsBoxClick devenirClicked(bool checked) const;    // "plan de arts" (Devenir)
    ArtsBoxClick repetitionClicked(bool checked) const; // "Repetition"

private:
    bool m_building = false;
};

} // namespace corvane
