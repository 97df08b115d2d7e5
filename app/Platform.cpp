// The desktop services of app/Platform.h, through Qt.
#include "app/Platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QRegion>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

#include <chrono>

#include "app/SettingsLocation.h"

namespace corvane {

uint32_t DesktopPlatform::utcMsOfDay()
{
    using namespace std::chrono;
    // The epoch is a UTC midnight and days have no leap seconds here, so the
    // remainder is the time of day in UTC.
    const auto now = system_clock::now().time_since_epoch();
    return uint32_t(duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000));
}

QTime DesktopPlatform::localTime()
{
    return QTime::currentTime();
}

int64_t DesktopPlatform::monotonicNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

void DesktopPlatform::processPendingEvents()
{
    QCoreApplication::processEvents();
}

bool DesktopPlatform::startSystemMove(QWidget &window)
{
    QWindow *handle = window.windowHandle();
    return handle && handle->startSystemMove();
}

void DesktopPlatform::setWindowMask(QWidget &window, const QRegion &region)
{
    // A Wayland compositor takes the mask for input only and shows the whole
    // surface: there the window is drawn with an alpha channel, and the face
    // leaves what lies outside its outline transparent. An X server cuts the
    // window to the mask itself.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window.setAttribute(Qt::WA_TranslucentBackground);
    window.setMask(region);
}

bool DesktopPlatform::trayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

std::string DesktopPlatform::settingsPath()
{
    return settingsPathOfThisProgram();
}

std::shared_ptr<Platform> desktopPlatform()
{
    static const std::shared_ptr<Platform> desktop = std::make_shared<DesktopPlatform>();
    return desktop;
}

} // namespace corvane
