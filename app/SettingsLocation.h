// Where the settings file lives. A copy of Corvane in a folder of its own keeps
// corvane.ini beside the program, so that it can be carried around with its
// settings; an installed copy, whose folder an ordinary user cannot write,
// keeps it in the user's configuration folder instead. Paths are the file
// system's bytes: a folder named in Shift-JIS is still the program's folder.
#pragma once
#include <functional>
#include <string>

namespace corvane {

struct SettingsPlaces
{
    std::string programPath;      // the running program's file; empty when unknown
    std::string userConfigFolder; // for example ~/.config/Corvane
    // Whether this process may write the file or folder at a path; the real
    // check asks the kernel (access(2)), tests pass their own.
    std::function<bool(const std::string &)> writable;
};

// The settings file beside the program (the program file's path with ".ini");
// empty when the program's path is unknown.
std::string settingsPathBesideProgram(const std::string &programPath);

// Whether folder is a program folder that an installation shares with other
// programs: a prefix's bin/ (/usr/bin, /usr/local/bin, ~/.local/bin, ...) or
// anything under /usr. Corvane is not the owner of such a folder, whoever
// runs it (root may write /usr/bin, but no package owns a file put there).
bool isSharedProgramFolder(const std::string &folder);

// Beside the program while its folder is the program's own (a build folder, a
// folder it was copied or unpacked into) and can be written, or while the file
// there exists and can be written in place; otherwise corvane.ini in the
// user's configuration folder, also when the program's own path cannot be had
// (a folder path longer than the kernel reports), never a file elsewhere.
std::string chooseSettingsPath(const SettingsPlaces &places);

// The places of this process: its own file, the XDG configuration folder.
SettingsPlaces settingsPlacesOfThisProgram();

// chooseSettingsPath for this process; creates the configuration folder when
// that is the choice, so that the first close can write there.
std::string settingsPathOfThisProgram();

} // namespace corvane
