// The application object: shows an error raised by a handler in a message box
// and lets the program go on, as the window's default error handler does.
#pragma once
#include <QApplication>

namespace corvane {

class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows the text of an error raised by the program in a message box.
void showError(const QString &text);

} // namespace corvane
