// Where the settings file lives. A copy of Corvane in a folder of its own keeps
// corvane.ini beside the program, so that it can be carried around with its
// settings; an installed copy, whose folder an ordinary user cannot write,
// keeps it in the user's configuration folder instead.
#pragma once
#include <QString>
#include <functional>

namespace corvane {

struct SettingsPlaces
{
    QString programPath;      // the running program's file
    QString userConfigFolder; // for example ~/.config/Corvane
    // Whether this process may write the file or folder at a path; the real
    // check asks the kernel (access(2)), tests pass their own.
    std::function<bool(const QString &)> writable;
};

// The settings file beside the program (the program file's path with ".ini").
QString settingsPathBesideProgram(const QString &programPath);

// Beside the program while its folder can be written, or while the file there
// exists and can be written in place; otherwise corvane.ini in the user's
// configuration folder.
QString chooseSettingsPath(const SettingsPlaces &places);

// The places of this process: its own file, the XDG configuration folder.
SettingsPlaces settingsPlacesOfThisProgram();

// chooseSettingsPath for this process; creates the configuration folder when
// that is the choice, so that the first close can write there.
QString settingsPathOfThisProgram();

} // namespace corvane
