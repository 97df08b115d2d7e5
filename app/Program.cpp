#include "app/Program.h"

#include <exception>

#include "app/Application.h"
#include "app/Guarded.h"
#include "app/Platform.h"
#include "app/TForm1.h"

namespace corvane {

int runProgram(Application &app, std::shared_ptr<Platform> platform)
{
    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>(QString(), std::move(platform));
        // One optional argument names a text file to read ("Open With").
        if (const std::vector<std::string> &args = app.rawArguments(); args.size() > 1)
            form->setStartupFile(args.at(1));
    } catch (...) {
        reportEscapedError(std::current_exception());
        return 1;
    }
    app.onSessionEnd([&form] { form->closeForSessionEnd(); });
    form->show();
    const int status = app.exec();
    return status != 0 ? status : app.signalExitStatus();
}

} // namespace corvane
