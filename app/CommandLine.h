// What the command line asks for. It is read before the window system is
// touched, so that --help and --version answer on a console without a display.
#pragma once
#include <QString>
#include <QStringList>

#include <optional>

namespace corvane {

struct CommandLine
{
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString file;    // Run: the text to read ("Open With"); empty for none
    QString message; // Error: what is wrong, for standard error
    // Run: the file's index among the arguments, so that the caller can take
    // the file system's own bytes of its name; -1 for none.
    qsizetype fileAt = -1;
};

// arguments without the program's own name. Qt's own options (-platform,
// -style, ...) are let through for QApplication; "--" ends the options.
CommandLine parseCommandLine(const QStringList &arguments);

QString commandLineHelp();
QString commandLineVersion();

// For --help, --version and a wrong command line: prints the answer and
// gives the exit status (0, or 2 for an error); nothing for Run.
std::optional<int> answerCommandLine(const CommandLine &commandLine);

} // namespace corvane
