// The desktop services of app/Platform.h, through Qt.
#include "app/Platform.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QRegion>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <xcb/xcb.h>

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

namespace {

// The X server says when a window becomes wholly covered or comes back into
// sight (VisibilityNotify), but only to a client that asks; Qt does not ask.
// Behind a compositing manager every window counts as unobscured, so there
// nothing changes.
class CoverWatch : public QAbstractNativeEventFilter
{
public:
    static CoverWatch &instance()
    {
        static CoverWatch watch;
        return watch;
    }

    void watch(xcb_connection_t *x, xcb_window_t window, std::function<void(bool)> changed)
    {
        if (!m_installed) {
            QCoreApplication::instance()->installNativeEventFilter(this);
            m_installed = true;
        }
        m_changed.insert(window, std::move(changed));
        // Qt's own event mask stays; visibility changes are added to it.
        const auto cookie = xcb_get_window_attributes(x, window);
        if (xcb_get_window_attributes_reply_t *reply
            = xcb_get_window_attributes_reply(x, cookie, nullptr)) {
            const uint32_t mask = reply->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
            free(reply);
            xcb_change_window_attributes(x, window, XCB_CW_EVENT_MASK, &mask);
            xcb_flush(x);
        }
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_VISIBILITY_NOTIFY)
            return false;
        const auto *seen = static_cast<const xcb_visibility_notify_event_t *>(message);
        const auto found = m_changed.constFind(seen->window);
        if (found != m_changed.constEnd())
            (*found)(seen->state == XCB_VISIBILITY_FULLY_OBSCURED);
        return false;
    }

private:
    bool m_installed = false;
    QHash<xcb_window_t, std::function<void(bool)>> m_changed;
};

} // namespace

void DesktopPlatform::watchCover(QWidget &window, std::function<void(bool covered)> changed)
{
    // The offscreen platform answers for X11 too, without a connection.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window.isWindow())
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    CoverWatch::instance().watch(x11->connection(), xcb_window_t(window.winId()),
                                 std::move(changed));
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
