#include "app/Program.h"

#include <exception>

#include <QTimer>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Guarded.h"
#include "app/Platform.h"
#include "app/TForm1.h"

namespace corvane {

int runProgram(Application &app, std::shared_ptr<Platform> platform)
{
    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>(QString(), std::move(platform));
        // One optional argument names a text file to read ("Open With");
        // QApplication has taken its own options out by now. The name is
        // opened as the bytes it was given, which need not be UTF-8.
        const std::vector<std::string> &raw = app.rawArguments();
        if (const CommandLine line = parseCommandLine(app.arguments().mid(1));
            line.fileAt >= 0 && std::size_t(line.fileAt) + 1 < raw.size())
            form->setStartupFile(raw.at(std::size_t(line.fileAt) + 1));
    } catch (...) {
        reportEscapedError(std::current_exception());
        return 1;
    }
    app.onSessionEnd([&form] { form->closeForSessionEnd(); });
    form->show();
    // What the window does not need to appear follows it: the icons, and
    // the desktop's tray, which is asked for over the session bus.
    QTimer::singleShot(0, &app, [&app, &form] {
        app.setProgramIcon();
        form->tray();
    });
    const int status = app.exec();
    return status != 0 ? status : app.signalExitStatus();
}

} // namespace corvane
