// Where the settings file goes: beside the program while that can be written,
// in place when only the file can, else in the user's configuration folder;
// never into a program folder an installation shares, even where writable.
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/SettingsLocation.h"

using corvane::chooseSettingsPath;
using corvane::SettingsPlaces;

namespace {

// A program folder and a configuration folder in a temporary tree; which paths
// count as writable is the test's to say (the suite may run as root).
struct Places
{
    QTemporaryDir dir;
    QSet<QString> writable;
    QString program() const { return dir.filePath(QStringLiteral("corvane-1.0/corvane")); }
    QString beside() const { return dir.filePath(QStringLiteral("corvane-1.0/corvane.ini")); }
    QString config() const { return dir.filePath(QStringLiteral("home/.config/Corvane")); }
    SettingsPlaces places() const
    {
        QSet<QString> w = writable;
        return {program().toStdString(), config().toStdString(), [w](const std::string &p) {
                    return w.contains(QDir::cleanPath(QString::fromStdString(p)));
                }};
    }
    void makeBesideFile() const
    {
        QDir().mkpath(dir.filePath(QStringLiteral("corvane-1.0")));
        QFile f(beside());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

} // namespace

TEST(SettingsLocation, BesideTheProgramIsItsPathWithIni)
{
    EXPECT_EQ(corvane::settingsPathBesideProgram("/opt/x/build/corvane"),
              "/opt/x/build/corvane.ini");
    EXPECT_EQ(corvane::settingsPathBesideProgram("/opt/x/prog.exe"), "/opt/x/prog.ini");
    EXPECT_EQ(corvane::settingsPathBesideProgram("/opt/x.y/corvane"), "/opt/x.y/corvane.ini");
    // A program whose path the kernel does not give: no file named ".ini" anywhere.
    EXPECT_EQ(corvane::settingsPathBesideProgram(""), "");
    EXPECT_EQ(chooseSettingsPath(
                      {"", "/home/u/.config/Corvane", [](const std::string &) { return true; }}),
              "/home/u/.config/Corvane/corvane.ini");
}

TEST(SettingsLocation, WritableProgramFolderKeepsTheFileBesideIt)
{
    Places p;
    p.writable = {QDir::cleanPath(p.dir.filePath(QStringLiteral("corvane-1.0")))};
    EXPECT_EQ(QString::fromStdString(chooseSettingsPath(p.places())), p.beside());
    p.makeBesideFile(); // an existing file that is itself read-only is replaced, as before
    EXPECT_EQ(QString::fromStdString(chooseSettingsPath(p.places())), p.beside());
}

TEST(SettingsLocation, ReadOnlyFolderWithWritableFileIsWrittenInPlace)
{
    Places p;
    p.makeBesideFile();
    p.writable = {QDir::cleanPath(p.beside())};
    EXPECT_EQ(QString::fromStdString(chooseSettingsPath(p.places())), p.beside());
}

TEST(SettingsLocation, InstalledProgramUsesTheUserConfigurationFolder)
{
    Places p; // nothing beside the program is writable: /usr/bin for an ordinary user
    EXPECT_EQ(QString::fromStdString(chooseSettingsPath(p.places())),
              p.config() + QStringLiteral("/corvane.ini"));
    p.makeBesideFile(); // a read-only file there is not the user's to change either
    EXPECT_EQ(QString::fromStdString(chooseSettingsPath(p.places())),
              p.config() + QStringLiteral("/corvane.ini"));
}

TEST(SettingsLocation, SharedProgramFoldersAreNeverWrittenEvenWhenWritable)
{
    // As root, or after an install into ~/.local, the folder can be written;
    // still no file of Corvane's may appear there. A folder of its own may.
    const struct
    {
        const char *program;
        bool shared;
    } cases[] = {{"/usr/bin/corvane", true},
                 {"/usr/local/bin/corvane", true},
                 {"/home/a/.local/bin/corvane", true},
                 {"/usr/lib/corvane/corvane", true},
                 {"/home/a/build-release/corvane", false},
                 {"/opt/corvane/corvane", false}};
    const std::string config = "/home/a/.config/Corvane";
    for (const auto &c : cases) {
        const std::string path = c.program;
        EXPECT_EQ(chooseSettingsPath({path, config, [](const std::string &) { return true; }}),
                  c.shared ? config + "/corvane.ini" : corvane::settingsPathBesideProgram(path))
                << c.program;
    }
}
