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

    // Called in the event loop, never in the signal handler, when SIGTERM or
    // SIGHUP arrives: the desktop session is ending or someone ran kill.
    void onSessionEnd(std::function<void()> handler);

    // The arguments left after Qt took its own, as the bytes they came as:
    // a file name need not be valid in any encoding.
    const std::vector<std::string> &rawArguments() const { return m_rawArguments; }

private:
    void readSignal();

    std::vector<std::string> m_rawArguments;
    std::function<void()> m_sessionEnd;
    QSocketNotifier *m_signalNotifier = nullptr;
};

// Shows the text of an error raised by the program in a message box.
void showError(const QString &text);

} // namespace corvane
