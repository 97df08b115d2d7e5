// The application object: shows an error raised by a handler in a message box
// and lets the program go on, as the window's default error handler does; and
// turns the signals by which a session ends into an ordinary close.
#pragma once
#include <QApplication>
#include <functional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace corvane {

class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    ~Application() override;
    bool notify(QObject *receiver, QEvent *event) override;

    // Called in the event loop, never in the signal handler, when SIGTERM,
    // SIGHUP, SIGINT, SIGQUIT or SIGUSR1 arrives (the desktop session is
    // ending, someone ran kill or pressed Ctrl+C), after any message box
    // open then has been closed.
    void onSessionEnd(std::function<void()> handler);
    // The program's exit status after such a close: 130 after SIGINT, as a
    // shell expects, otherwise 0.
    int signalExitStatus() const { return m_exitStatus; }

    // The arguments left after Qt took its own, as the bytes they came as:
    // a file name need not be valid in any encoding.
    const std::vector<std::string> &rawArguments() const { return m_rawArguments; }

    // Gives every window, and the tray, the program's icon. Called once the
    // window is up: decoding the large icon and sending it to the display
    // would only hold the window back.
    void setProgramIcon();

private:
    void readSignal();

    std::vector<std::string> m_rawArguments;
    std::function<void()> m_sessionEnd;
    int m_exitStatus = 0;
    QSocketNotifier *m_signalNotifier = nullptr;
};

// Shows the text of an error raised by the program in a message box.
void showError(const QString &text);

} // namespace corvane
