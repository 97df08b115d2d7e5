// Reading corvane-saver's command line.
#include "saver/SaverOptions.h"

namespace corvane::saver {

namespace {

// xscreensaver writes window ids in hex ("0x2a00007"); a hand may use decimal.
std::optional<unsigned long> parseWindowId(const QString &text)
{
    bool ok = false;
    const unsigned long id = text.trimmed().toULong(&ok, 0);
    if (!ok || id == 0)
        return std::nullopt;
    return id;
}

} // namespace

std::optional<SaverOptions> parseSaverOptions(const QStringList &args, const QString &environment,
                                              QString &error)
{
    SaverOptions o;
    if (!environment.isEmpty()) {
        const std::optional<unsigned long> id = parseWindowId(environment);
        if (!id) {
            error = QStringLiteral("XSCREENSAVER_WINDOW is no window id: %1").arg(environment);
            return std::nullopt;
        }
        o.target = SaverOptions::Target::WindowId;
        o.windowId = *id;
    }
    for (qsizetype i = 0; i < args.size(); ++i) {
        // xscreensaver's hacks take both -name and --name.
        QString a = args[i];
        if (a.startsWith(QLatin1String("--")))
            a.remove(0, 1);
        auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(args[i]);
                return std::nullopt;
            }
            return args[++i];
        };
        auto seconds = [&](int &field) {
            const std::optional<QString> v = value();
            if (!v)
                return false;
            bool ok = false;
            const int n = v->toInt(&ok);
            if (!ok || n < 0 || n > 24 * 3600) {
                error = QStringLiteral("%1 takes seconds, 0 to 86400: %2").arg(args[i - 1], *v);
                return false;
            }
            field = n;
            return true;
        };
        if (a == QLatin1String("-root")) {
            // xscreensaver passes -root together with the window it means
            // (its virtual root) in XSCREENSAVER_WINDOW; that window wins.
            if (environment.isEmpty())
                o.target = SaverOptions::Target::Root;
        } else if (a == QLatin1String("-window")) {
            o.target = SaverOptions::Target::OwnWindow;
        } else if (a == QLatin1String("-window-id")) {
            const std::optional<QString> v = value();
            if (!v)
                return std::nullopt;
            const std::optional<unsigned long> id = parseWindowId(*v);
            if (!id) {
                error = QStringLiteral("-window-id: no window id: %1").arg(*v);
                return std::nullopt;
            }
            o.target = SaverOptions::Target::WindowId;
            o.windowId = *id;
        } else if (a == QLatin1String("-page-seconds")) {
            if (!seconds(o.pageSeconds))
                return std::nullopt;
        } else if (a == QLatin1String("-animation-seconds")) {
            if (!seconds(o.animationSeconds))
                return std::nullopt;
        } else if (a == QLatin1String("-ini")) {
            const std::optional<QString> v = value();
            if (!v)
                return std::nullopt;
            o.iniPath = *v;
        } else if (a == QLatin1String("-fps") || a == QLatin1String("-install")) {
            // xscreensaver's common options that mean nothing here.
        } else {
            error = QStringLiteral("unknown option %1").arg(args[i]);
            return std::nullopt;
        }
    }
    if (o.pageSeconds == 0)
        o.pageSeconds = 1;
    return o;
}

} // namespace corvane::saver
