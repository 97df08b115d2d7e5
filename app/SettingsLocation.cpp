#include "app/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// The program's own file as the kernel names it, in bytes. Qt's own answer
// is a QString, which loses a folder name that is no UTF-8.
std::string programFile()
{
    for (std::size_t room = 4096; room <= (std::size_t(1) << 20); room *= 2) {
        std::string buf(room, '\0');
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return {};
        if (std::size_t(n) < buf.size()) {
            buf.resize(std::size_t(n));
            return buf;
        }
    }
    return {};
}

} // namespace

std::string settingsPathBesideProgram(const std::string &programPath)
{
    if (programPath.empty())
        return {};
    const std::size_t slash = programPath.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = programPath.rfind('.');
    // "prog.exe" loses its extension; ".hidden" and "x.y/prog" keep their dots.
    const bool suffix = dot != std::string::npos && dot > name && dot + 1 < programPath.size();
    return (suffix ? programPath.substr(0, dot) : programPath) + ".ini";
}

bool isSharedProgramFolder(const std::string &folder)
{
    std::string clean = QDir::cleanPath(QString::fromLocal8Bit(folder)).toLocal8Bit().toStdString();
    const std::size_t slash = clean.rfind('/');
    const std::string name = slash == std::string::npos ? clean : clean.substr(slash + 1);
    for (const char *shared : {"bin", "sbin", "games", "libexec"})
        if (name == shared)
            return true;
    return clean == "/usr" || clean.rfind("/usr/", 0) == 0;
}

std::string chooseSettingsPath(const SettingsPlaces &places)
{
    const std::string beside = settingsPathBesideProgram(places.programPath);
    struct stat st;
    if (!beside.empty() && !isSharedProgramFolder(folderOf(beside))
        && (places.writable(folderOf(beside))
            || (::stat(beside.c_str(), &st) == 0 && places.writable(beside))))
        return beside;
    return places.userConfigFolder + "/corvane.ini";
}

SettingsPlaces settingsPlacesOfThisProgram()
{
    return {programFile(),
            QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                    .toStdString(),
            [](const std::string &path) { return ::access(path.c_str(), W_OK) == 0; }};
}

std::string settingsPathOfThisProgram()
{
    const SettingsPlaces places = settingsPlacesOfThisProgram();
    const std::string path = chooseSettingsPath(places);
    if (path != settingsPathBesideProgram(places.programPath))
        QDir().mkpath(QFile::decodeName(QByteArray::fromStdString(places.userConfigFolder)));
    return path;
}

} // namespace corvane
