// Test runner for window tests: they need a QApplication (offscreen platform).
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A modal dialog a test leaves open waits for a user who never comes, until
// ctest's timeout. One still open after a few seconds fails the running test
// and is closed, so that the test goes on and reports where it stood.
class ModalWatchdog : public QObject
{
public:
    explicit ModalWatchdog(int limitMs)
        : m_limitMs(limitMs)
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::check);
        m_timer.start(250);
    }

private:
    void check()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal != m_seen) {
            m_seen = modal;
            m_since.start();
            return;
        }
        if (!modal || m_since.elapsed() < m_limitMs)
            return;
        ADD_FAILURE() << "a modal " << modal->metaObject()->className() << " was left open";
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        m_seen = nullptr;
    }

    const int m_limitMs;
    QTimer m_timer;
    QPointer<QWidget> m_seen;
    QElapsedTimer m_since;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ModalWatchdog watchdog(5000);
    return RUN_ALL_TESTS();
}
