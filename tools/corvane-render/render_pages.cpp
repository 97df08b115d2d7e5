// --page and --all: pages of a text composed as the window writes them (the
// finished page, without the fades), saved as PNG, JPEG or BMP.
#include "commands.h"

#include "effects/EffectCommon.h"
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "export/PictureExport.h"
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"
#include "writing/PageComposer.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace corvane::render {

namespace {

struct RenderOptions
{
    std::optional<int> page; // --page N; unset with --all
    std::string out;
    std::optional<std::string> textFile;
    PageStyle style;
    bool raw = false;       // --raw: an Aozora text's markup as it stands
    std::vector<int> pages; // --pages N,M,...: with --all, these alone
    bool bmp = false;       // --bmp: with --all, BMP files (quick to read back) instead of PNG
};

std::optional<quint32> parseColour(const std::string &s)
{
    if (s.empty())
        return std::nullopt;
    errno = 0;
    char *end = nullptr;
    const unsigned long long v = std::strtoull(s.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || v > 0xFFFFFFull || s[0] == '-')
        return std::nullopt;
    return quint32(v);
}

std::optional<int> parsePage(const std::string &s)
{
    errno = 0;
    char *end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || errno != 0 || *end != '\0' || v < -1000000000L || v > 1000000000L)
        return std::nullopt;
    return int(v);
}

// Parses what follows --page N or --all; nullopt after printing the reason.
std::optional<RenderOptions> parseOptions(const Args &args, size_t first, RenderOptions o,
                                          const Streams &io)
{
    for (size_t i = first; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&](const char *what) -> const std::string * {
            if (i + 1 >= args.size()) {
                std::fprintf(io.err, "corvane-render: %s needs %s\n", a.c_str(), what);
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--out") {
            const std::string *v = value("a file name");
            if (!v)
                return std::nullopt;
            o.out = *v;
        } else if (a == "--horizontal") {
            o.style.horizontal = true;
        } else if (a == "--gothic") {
            o.style.gothic = true;
        } else if (a == "--raw") {
            o.raw = true;
        } else if (a == "--bmp") {
            o.bmp = true;
        } else if (a == "--pages") {
            const std::string *v = value("page numbers N,M,...");
            if (!v)
                return std::nullopt;
            for (size_t from = 0; from <= v->size();) {
                const size_t comma = std::min(v->find(',', from), v->size());
                const std::optional<int> n = parsePage(v->substr(from, comma - from));
                if (!n) {
                    std::fprintf(io.err, "corvane-render: bad page list '%s'\n", v->c_str());
                    return std::nullopt;
                }
                o.pages.push_back(*n);
                from = comma + 1;
            }
        } else if (a == "--no-tenderly") {
            o.style.tenderly = false;
        } else if (a == "--fg" || a == "--bg") {
            const std::string *v = value("a colour 0xBBGGRR");
            if (!v)
                return std::nullopt;
            const std::optional<quint32> c = parseColour(*v);
            if (!c) {
                std::fprintf(io.err, "corvane-render: bad colour '%s' (0xBBGGRR)\n", v->c_str());
                return std::nullopt;
            }
            (a == "--fg" ? o.style.textColour : o.style.background) = *c;
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(io.err, "corvane-render: unknown option '%s'\n", a.c_str());
            return std::nullopt;
        } else if (!o.textFile) {
            o.textFile = a;
        } else {
            std::fputs("corvane-render: only one TEXT may be given\n", io.err);
            return std::nullopt;
        }
    }
    if (o.out.empty()) {
        std::fputs("corvane-render: --out is required\n", io.err);
        return std::nullopt;
    }
    return o;
}

// Saves by the file name's extension; empty on success, else the message.
std::optional<QString> savePicture(const QImage &picture, const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return saveBitmap(picture, fileName);
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return saveJpeg(picture, fileName);
    if (ext == QLatin1String("png")) {
        if (!picture.save(fileName, "PNG"))
            return QStringLiteral("cannot write %1").arg(fileName);
        return std::nullopt;
    }
    return QStringLiteral("%1: the name must end in .png, .jpg, .jpeg or .bmp").arg(fileName);
}

// Qt's own warnings (a missing runtime directory and the like) would break
// the one-line errors of this tool; only critical messages get through.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int renderPages(const RenderOptions &o, const Streams &io)
{
    // The paged text stays in the editor, as in the window: one page's rows
    // are taken out at a time.
    TEditor editor;
    AozoraPages marks;
    const std::optional<int> paged = loadPages(editor, o.textFile, o.raw, &marks);
    if (!paged) {
        std::fprintf(io.err, "corvane-render: cannot read %s\n", o.textFile->c_str());
        return 1;
    }
    const int pages = *paged;
    if (o.page && (*o.page < 1 || *o.page > pages)) {
        std::fprintf(io.err, "corvane-render: page %d is outside the text (pages 1 to %d)\n",
                     *o.page, pages);
        return 1;
    }

    // Fonts and painting need a GUI application; no display is needed.
    qInstallMessageHandler(quietQtMessages);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "corvane-render";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    PageComposer composer;
    if (!composer.isReady()) {
        std::fprintf(io.err, "corvane-render: fonts not installed for %s\n",
                     qPrintable(composer.missingFaces()));
        return 1;
    }
    RandomGenerator random;
    auto writeOne = [&](int page, const QString &fileName) {
        const PageRows rows = pageRows(editor, page);
        TABitmap picture(kPictureWidth, kPictureHeight);
        const std::vector<RowMark> pageMarks = marks.pageMarks(page);
        composer.compose(picture, rows, o.style, random, PageMarks{pageMarks, marks.strings});
        if (const std::optional<QString> error = savePicture(picture.image(), fileName)) {
            std::fprintf(io.err, "corvane-render: %s\n", error->toLocal8Bit().constData());
            return false;
        }
        return true;
    };

    if (o.page)
        return writeOne(*o.page, QString::fromLocal8Bit(o.out.c_str())) ? 0 : 1;

    const QString dir = QString::fromLocal8Bit(o.out.c_str());
    if (!QDir().mkpath(dir)) {
        std::fprintf(io.err, "corvane-render: cannot create directory %s\n", o.out.c_str());
        return 1;
    }
    std::vector<int> chosen = o.pages;
    if (chosen.empty())
        for (int page = 1; page <= pages; ++page)
            chosen.push_back(page);
    for (const int page : chosen) {
        if (page < 1 || page > pages)
            continue; // a list may name pages of a longer text
        const QString fileName = QDir(dir).filePath(QStringLiteral("page-%1.%2")
                                                            .arg(page, 4, 10, QLatin1Char('0'))
                                                            .arg(o.bmp ? "bmp" : "png"));
        if (!writeOne(page, fileName))
            return 1;
    }
    return 0;
}

} // namespace

int renderPage(const Args &args, const Streams &io)
{
    if (args.empty()) {
        std::fputs("corvane-render: --page needs a page number\n", io.err);
        return 2;
    }
    const std::optional<int> page = parsePage(args[0]);
    if (!page) {
        std::fprintf(io.err, "corvane-render: bad page number '%s'\n", args[0].c_str());
        return 2;
    }
    RenderOptions o;
    o.page = *page;
    const std::optional<RenderOptions> parsed = parseOptions(args, 1, o, io);
    return parsed ? renderPages(*parsed, io) : 2;
}

int renderAllPages(const Args &args, const Streams &io)
{
    const std::optional<RenderOptions> parsed = parseOptions(args, 0, RenderOptions{}, io);
    return parsed ? renderPages(*parsed, io) : 2;
}

} // namespace corvane::render
