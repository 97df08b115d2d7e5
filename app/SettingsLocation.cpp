#include "app/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace corvane {

QString settingsPathBesideProgram(const QString &programPath)
{
    const QFileInfo info(programPath);
    const QString suffix = info.suffix();
    QString base = programPath;
    if (!suffix.isEmpty() && !info.completeBaseName().isEmpty())
        base.chop(suffix.size() + 1);
    return base + QStringLiteral(".ini");
}

bool isSharedProgramFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(folder);
    const QString name = QFileInfo(clean).fileName();
    for (const char *shared : {"bin", "sbin", "games", "libexec"})
        if (name == QLatin1String(shared))
            return true;
    return clean == QLatin1String("/usr") || clean.startsWith(QLatin1String("/usr/"));
}

QString chooseSettingsPath(const SettingsPlaces &places)
{
    const QString beside = settingsPathBesideProgram(places.programPath);
    const QString folder = QFileInfo(beside).absolutePath();
    if (!isSharedProgramFolder(folder)
        && (places.writable(folder) || (QFileInfo::exists(beside) && places.writable(beside))))
        return beside;
    return QDir(places.userConfigFolder).filePath(QStringLiteral("corvane.ini"));
}

SettingsPlaces settingsPlacesOfThisProgram()
{
    return {QCoreApplication::applicationFilePath(),
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
            [](const QString &path) {
                return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
            }};
}

QString settingsPathOfThisProgram()
{
    const SettingsPlaces places = settingsPlacesOfThisProgram();
    const QString path = chooseSettingsPath(places);
    if (path != settingsPathBesideProgram(places.programPath))
        QDir().mkpath(places.userConfigFolder); // a failure shows when the close writes
    return path;
}

} // namespace corvane
