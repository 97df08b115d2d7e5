#include "app/CommandLine.h"

#include <cstdio>

namespace corvane {

namespace {

// clang-format off
// QApplication's own options, which it takes out of the arguments itself.
const char *const kQtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowtitle", "qwindowicon", "display", "geometry", "title", "name", "style",
    "stylesheet", "session", "visual", "fn", "font", "bg", "background", "fg",
    "foreground", "btn", "button", "im", "inputstyle",
};
const char *const kQtFlags[] = {
    "reverse", "nograb", "dograb", "sync", "widgetcount", "qmljsdebugger",
};
// clang-format on

// The option's name without its one or two leading dashes.
QString optionName(const QString &argument)
{
    return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
}

template<size_t N>
bool among(const QString &name, const char *const (&names)[N])
{
    for (const char *n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    QStringList files;
    qsizetype firstFileAt = -1;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (optionsEnded || a == QLatin1String("-") || !a.startsWith(u'-')) {
            if (files.isEmpty())
                firstFileAt = i;
            files.append(a);
        } else if (a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            return {CommandLine::Action::Help, {}, {}, -1};
        } else if (a == QLatin1String("--version")) {
            return {CommandLine::Action::Version, {}, {}, -1};
        } else if (const QString name = optionName(a); among(name, kQtOptionsWithValue)) {
            ++i; // its value
        } else if (!among(name, kQtFlags)) {
            return {CommandLine::Action::Error,
                    {},
                    QStringLiteral("corvane: unknown option '%1' (try --help)").arg(a),
                    -1};
        }
    }
    if (files.size() > 1)
        return {CommandLine::Action::Error,
                {},
                QStringLiteral("corvane: one text at a time: '%1' and '%2' were given (try --help)")
                        .arg(files.at(0), files.at(1)),
                -1};
    if (!files.isEmpty()) {
        result.file = files.constFirst();
        result.fileAt = firstFileAt;
    }
    return result;
}

QString commandLineHelp()
{
    return QStringLiteral("Usage: corvane [FILE]\n"
                          "Writes a Japanese text page by page onto a slowly moving picture.\n"
                          "\n"
                          "  FILE        the text to read, in Shift-JIS or UTF-8; without it,\n"
                          "              corvane.txt in the current folder or the built-in text\n"
                          "  --help      show this help and exit\n"
                          "  --version   show the version and exit\n"
                          "\n"
                          "Keys, the menu and where the settings are kept: man corvane\n");
}

QString commandLineVersion()
{
    return QStringLiteral("corvane " CORVANE_VERSION "\n");
}

std::optional<int> answerCommandLine(const CommandLine &commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Help:
        std::fputs(commandLineHelp().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(commandLineVersion().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "%s\n", commandLine.message.toLocal8Bit().constData());
        return 2;
    }
    return 2;
}

} // namespace corvane
