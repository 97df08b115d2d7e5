// Application-wide error handler: an error that escapes an event handler is
// shown in a message box, and the program goes on. The closing signals
// reach the event loop through a pipe: the handler itself only writes
// one byte, the one thing that is safe to do there.
#include "app/Application.h"
#include "app/Guarded.h"

#include <QIcon>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <exception>
#include <fcntl.h>
#include <unistd.h>

namespace corvane {

namespace {

int g_signalPipe[2] = {-1, -1};

// Each ends the program as a close request does, the settings saved: the
// session ending, kill, Ctrl+C and Ctrl+\ in a terminal, and SIGUSR1.
constexpr int kClosingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGUSR1};
constexpr int kInterruptedStatus = 128 + SIGINT; // what a shell expects after Ctrl+C

void onSignal(int signo)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

bool installSignalPipe()
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int signo : kClosingSignals)
        if (::sigaction(signo, &sa, nullptr) != 0)
            return false;
    return true;
}

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
    , m_rawArguments(argv, argv + argc)
{
    setApplicationName(QStringLiteral("Corvane"));
    setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    // The window's app id: it names the desktop entry, so docks find its icon.
    setDesktopFileName(QStringLiteral(CORVANE_APP_ID));

    if (installSignalPipe()) {
        m_signalNotifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
        connect(m_signalNotifier, &QSocketNotifier::activated, this, [this] { readSignal(); });
    }
}

Application::~Application()
{
    for (const int signo : kClosingSignals)
        std::signal(signo, SIG_DFL);
}

void Application::setProgramIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/corvane-48.png"));
    icon.addFile(QStringLiteral(":/icons/corvane-256.png"));
    setWindowIcon(icon);
}

void Application::onSessionEnd(std::function<void()> handler)
{
    // Run from the signal pipe's notifier, inside the event loop.
    m_sessionEnd = guarded(std::move(handler));
}

void Application::readSignal()
{
    unsigned char bytes[16];
    bool any = false;
    for (ssize_t n; (n = ::read(g_signalPipe[0], bytes, sizeof bytes)) > 0; any = true)
        if (bytes[n - 1] == SIGINT)
            m_exitStatus = kInterruptedStatus;
    if (!any)
        return;
    // A message box waiting for OK would hold the close up (and a logout
    // with it): close the boxes, then the window.
    for (int guard = 0; guard < 16; ++guard) {
        QWidget *box = activeModalWidget();
        if (!box)
            break;
        box->close();
    }
    if (m_sessionEnd)
        m_sessionEnd();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    // The last resort. Connected handlers report their own errors (guarded);
    // this catches what the window's event overrides throw (close, drop,
    // mouse, paint), which are called by Qt rather than connected.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportEscapedError(std::current_exception());
    }
    return false;
}

void reportEscapedError(std::exception_ptr error) noexcept
{
    try {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception &e) {
            showError(QString::fromUtf8(e.what()));
        } catch (...) {
            showError(QStringLiteral("An unexpected error occurred."));
        }
    } catch (...) {
        // Showing the message failed too; there is nothing left to tell.
    }
}

void showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Corvane"), text, QMessageBox::Ok);
    box.exec();
}

} // namespace corvane
