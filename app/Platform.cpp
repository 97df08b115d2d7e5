// The desktop services of app/Platform.h, through Qt.
#include "app/Platform.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

namespace corvane {

bool trayAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void processPendingEvents()
{
    QCoreApplication::processEvents();
}

} // namespace corvane
