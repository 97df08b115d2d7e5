// corvane-saver's command line, after xscreensaver's conventions for a
// display mode: where to draw (the window xscreensaver hands over, the root
// window, or a window of its own) and how long each part lasts.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace corvane::saver {

struct SaverOptions
{
    enum class Target { OwnWindow, Root, WindowId } target = Target::OwnWindow;
    unsigned long windowId = 0; // with WindowId
    int pageSeconds = 20;       // a page stands this long
    int animationSeconds = 20;  // then an animation runs this long; 0: none
    QString iniPath;            // empty: the program's own settings file
};

// args without the program name; environment: XSCREENSAVER_WINDOW's value
// (empty when unset), which takes the place of -window-id. nullopt with the
// reason in error for a bad command line.
std::optional<SaverOptions> parseSaverOptions(const QStringList &args, const QString &environment,
                                              QString &error);

} // namespace corvane::saver
