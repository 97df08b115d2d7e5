// A desktop for window tests: a clock that stands still until the test moves
// it, a tray the test switches, a settings path it chooses (or that fails),
// and a record of what the window asked. What a test does not set behaves as
// the real desktop does.
#pragma once

#include <QRegion>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/Platform.h"

class FakePlatform : public corvane::DesktopPlatform
{
public:
    uint32_t seed = 20240601u;        // every reseed takes this
    QTime local = QTime(15, 0, 0);    // Velocity's clock
    std::optional<int64_t> monotonic; // unset: the real monotonic clock
    bool tray = true;
    std::function<void()> onTrayAsked;     // runs before the answer: a test may throw here
    bool systemMove = false;               // the window manager takes the drag
    std::function<std::string()> settings; // unset: the real settings path
    std::function<void()> onPendingEvents; // runs in place of the real event pump

    int pendingEventRuns = 0;
    int systemMoves = 0;
    std::vector<QRegion> masks;

    uint32_t utcMsOfDay() override { return seed; }
    QTime localTime() override { return local; }
    int64_t monotonicNs() override
    {
        return monotonic ? *monotonic : DesktopPlatform::monotonicNs();
    }
    void processPendingEvents() override
    {
        ++pendingEventRuns;
        if (onPendingEvents)
            onPendingEvents();
        else
            DesktopPlatform::processPendingEvents();
    }
    bool startSystemMove(QWidget &) override
    {
        ++systemMoves;
        return systemMove;
    }
    void setWindowMask(QWidget &window, const QRegion &region) override
    {
        masks.push_back(region);
        DesktopPlatform::setWindowMask(window, region);
    }
    bool trayAvailable() override
    {
        if (onTrayAsked)
            onTrayAsked();
        return tray;
    }
    // Stands for the X server's word that other windows cover the whole window.
    void cover(bool covered)
    {
        if (coverChanged)
            coverChanged(covered);
    }
    std::function<void(bool)> coverChanged;
    void watchCover(QWidget &, std::function<void(bool covered)> changed) override
    {
        coverChanged = std::move(changed);
    }
    std::string settingsPath() override
    {
        return settings ? settings() : DesktopPlatform::settingsPath();
    }
};
