// What the window asks of the desktop beyond drawing: the clocks, letting
// pending events run in the middle of a handler, moving and shaping the
// window, whether a notification area exists, and where the settings live.
// The window is given one Platform when it is built; a test gives it one
// whose clock stands still, whose tray it switches, or that fails on purpose.
#pragma once

#include <QString>
#include <QTime>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QRegion;
class QWidget;

namespace corvane {

class Platform
{
public:
    virtual ~Platform() = default;

    // --- time ---------------------------------------------------------------
    // Milliseconds since midnight, UTC: every reseed of the random generator
    // takes this (start-up, BgRandom, the animations).
    virtual uint32_t utcMsOfDay() = 0;
    // The local time of day: Velocity's Clock mode draws and writes it.
    virtual QTime localTime() = 0;
    // Nanoseconds on a clock that never goes back, whatever the wall clock
    // does: the fades hold each step for one display frame by it.
    virtual int64_t monotonicNs() = 0;

    // --- events ---------------------------------------------------------------
    // Runs the events already waiting, then returns: timer ticks, repaints and
    // input may run inside the caller. Reached only through
    // TForm1::processPendingEvents, and only by the handlers that are known to
    // let events run: the page commands (at their start and end), the key
    // handler (at its end), the tray handler (before the tray menu opens) and
    // the plasma build of plan de arts (every few milliseconds).
    virtual void processPendingEvents() = 0;

    // --- the window on the desktop ------------------------------------------
    // Hands a drag of the window to the window manager, as if its caption were
    // dragged. False where it refuses (some X11 window managers, offscreen):
    // the window then follows the mouse itself.
    virtual bool startSystemMove(QWidget &window) = 0;
    // Cuts the window to its outline: outside the region it is neither drawn
    // nor hit by the mouse.
    virtual void setWindowMask(QWidget &window, const QRegion &region) = 0;
    // True when the desktop shows a notification area now.
    virtual bool trayAvailable() = 0;
    // Calls `changed` whenever other windows come to cover the whole window
    // (true) or it comes back into sight (false). Called again for a window
    // already watched, it renews the watch (a new native window). Only X11
    // tells; elsewhere it is never called and the window counts as seen.
    virtual void watchCover(QWidget &window, std::function<void(bool covered)> changed) = 0;

    // --- files ----------------------------------------------------------------
    // The settings file of this program (app/SettingsLocation.h). May throw
    // when no place for it can be had; the window is then not built.
    virtual std::string settingsPath() = 0;
};

// The desktop this process runs on, through Qt and the C++ clocks.
class DesktopPlatform : public Platform
{
public:
    uint32_t utcMsOfDay() override;
    QTime localTime() override;
    int64_t monotonicNs() override;
    void processPendingEvents() override;
    bool startSystemMove(QWidget &window) override;
    void setWindowMask(QWidget &window, const QRegion &region) override;
    // A StatusNotifierItem watcher on the session bus, or an XEmbed tray on
    // the X screen. Wayland without a tray, GNOME without its extension and a
    // bare X server have none.
    bool trayAvailable() override;
    void watchCover(QWidget &window, std::function<void(bool covered)> changed) override;
    std::string settingsPath() override;
};

// One DesktopPlatform for the whole process.
std::shared_ptr<Platform> desktopPlatform();

} // namespace corvane
