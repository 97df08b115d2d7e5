// Corvane: starts the one window on this desktop and runs its message loop.
// One optional argument names a text file to read ("Open With" in a file manager).
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Platform.h"
#include "app/Program.h"

int main(int argc, char **argv)
{
    // Answered before QApplication exists: it would need a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto status = corvane::answerCommandLine(corvane::parseCommandLine(arguments)))
        return *status;

    corvane::Application app(argc, argv);
    return corvane::runProgram(app, corvane::desktopPlatform());
}
