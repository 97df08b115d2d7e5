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
        return {program(), config(),
                [w](const QString &p) { return w.contains(QDir::cleanPath(p)); }};
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
    EXPECT_EQ(corvane::settingsPathBesideProgram(QStringLiteral("/opt/x/build/corvane")),
              QStringLiteral("/opt/x/build/corvane.ini"));
    EXPECT_EQ(corvane::settingsPathBesideProgram(QStringLiteral("/opt/x/prog.exe")),
              QStringLiteral("/opt/x/prog.ini"));
    EXPECT_EQ(corvane::settingsPathBesideProgram(QStringLiteral("/opt/x.y/corvane")),
              QStringLiteral("/opt/x.y/corvane.ini"));
}

TEST(SettingsLocation, WritableProgramFolderKeepsTheFileBesideIt)
{
    Places p;
    p.writable = {QDir::cleanPath(p.dir.filePath(QStringLiteral("corvane-1.0")))};
    EXPECT_EQ(chooseSettingsPath(p.places()), p.beside());
    p.makeBesideFile(); // an existing file that is itself read-only is replaced, as before
    EXPECT_EQ(chooseSettingsPath(p.places()), p.beside());
}

TEST(SettingsLocation, ReadOnlyFolderWithWritableFileIsWrittenInPlace)
{
    Places p;
    p.makeBesideFile();
    p.writable = {QDir::cleanPath(p.beside())};
    EXPECT_EQ(chooseSettingsPath(p.places()), p.beside());
}

TEST(SettingsLocation, InstalledProgramUsesTheUserConfigurationFolder)
{
    Places p; // nothing beside the program is writable: /usr/bin for an ordinary user
    EXPECT_EQ(chooseSettingsPath(p.places()), p.config() + QStringLiteral("/corvane.ini"));
    p.makeBesideFile(); // a read-only file there is not the user's to change either
    EXPECT_EQ(chooseSettingsPath(p.places()), p.config() + QStringLiteral("/corvane.ini"));
}

TEST(SettingsLocation, SharedProgramFoldersAreNeverWrittenEvenWhenWritable)
{
    // As root, or after a user install into ~/.local: the folder can be
    // written, and still no file of Corvane's may appear there.
    const auto always = [](const QString &) { return true; };
    for (const char *program :
         {"/usr/bin/corvane", "/usr/local/bin/corvane", "/home/ann/.local/bin/corvane",
          "/opt/corvane/bin/corvane", "/usr/games/corvane", "/usr/lib/corvane/corvane"}) {
        const SettingsPlaces places{QString::fromLatin1(program),
                                    QStringLiteral("/home/ann/.config/Corvane"), always};
        EXPECT_EQ(chooseSettingsPath(places),
                  QStringLiteral("/home/ann/.config/Corvane/corvane.ini"))
                << program;
    }
    for (const char *program : {"/home/ann/src/corvane/build-release/corvane",
                                "/opt/corvane/corvane", "/home/ann/binaries/corvane"}) {
        const SettingsPlaces places{QString::fromLatin1(program),
                                    QStringLiteral("/home/ann/.config/Corvane"), always};
        EXPECT_EQ(chooseSettingsPath(places),
                  corvane::settingsPathBesideProgram(QString::fromLatin1(program)))
                << program;
    }
}
