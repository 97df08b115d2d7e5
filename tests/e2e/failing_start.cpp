// Corvane on a desktop that cannot name a settings file: the window fails
// while it is being built. The program must say why in a message box and end
// with status 1, not abort. Run by test_start_failure.sh under an X server.
//
// So that the script can check what the box says, each message box's text is
// printed on standard output once it is shown; the box itself stays for the
// script to close with the keyboard.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <stdexcept>

#include "app/Application.h"
#include "app/Platform.h"
#include "app/Program.h"

namespace {

class NoSettingsPlace : public corvane::DesktopPlatform
{
public:
    std::string settingsPath() override
    {
        throw std::runtime_error("No folder for the settings file");
    }
};

} // namespace

int main(int argc, char **argv)
{
    corvane::Application app(argc, argv);
    QTimer reporter;
    QMessageBox *told = nullptr;
    QObject::connect(&reporter, &QTimer::timeout, [&told] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && box != told && box->isVisible()) {
            told = box;
            std::printf("message box: %s\n", qPrintable(box->text()));
            std::fflush(stdout);
        }
    });
    reporter.start(50);
    return corvane::runProgram(app, std::make_shared<NoSettingsPlace>());
}
