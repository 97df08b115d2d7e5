// Application-wide error handler: any std::exception that escapes an event
// handler is shown in a message box, and the program goes on.
#include "app/Application.h"

#include <QMessageBox>
#include <exception>

namespace corvane {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Corvane"));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showError(QString::fromUtf8(e.what()));
    }
    return false;
}

void showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Corvane"), text, QMessageBox::Ok);
    box.exec();
}

} // namespace corvane
