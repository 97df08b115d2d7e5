// corvane-saver: the reader's book as a screen saver for xscreensaver. Draws
// into the window xscreensaver gives it (XSCREENSAVER_WINDOW or -window-id),
// into the root window with -root, or into a window of its own; ends cleanly
// on SIGTERM, as xscreensaver stops its display modes.
#include <QFile>
#include <QPainter>
#include <QRasterWindow>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

#include "app/Application.h"
#include "app/FullScreenPicture.h"
#include "app/SettingsLocation.h"
#include "saver/SaverShow.h"

using namespace corvane;
using namespace corvane::saver;

namespace {

// Shows the show's picture whole-pixel enlarged, centred on black.
class SaverWindow : public QRasterWindow
{
public:
    explicit SaverWindow(const QImage &picture)
        : m_picture(picture)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const qreal dpr = devicePixelRatio();
        p.scale(1 / dpr, 1 / dpr);
        const QSize device(qRound(width() * dpr), qRound(height() * dpr));
        const WholePixelFit f = WholePixelFit::of(device, m_picture.size());
        p.fillRect(QRect(QPoint(), device), Qt::black);
        p.drawImage(
                QRect(f.left, f.top, m_picture.width() * f.factor, m_picture.height() * f.factor),
                m_picture);
    }

private:
    const QImage &m_picture;
};

// The X root window of the default screen.
WId rootWindow()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return 0;
    return xcb_setup_roots_iterator(xcb_get_setup(x11->connection())).data->root;
}

// The settings file the program itself reads: beside the program when it is
// carried in a folder of its own, else the user's configuration folder.
QString programSettingsPath()
{
    SettingsPlaces places = settingsPlacesOfThisProgram();
    places.programPath
            = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/corvane";
    // The saver only reads: where the program would write is where it reads.
    return QFile::decodeName(QByteArray::fromStdString(chooseSettingsPath(places)));
}

// The size of an X window, asked of the server: Qt knows no geometry of a
// window it did not create.
QSize windowSize(WId window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return {};
    xcb_connection_t *c = x11->connection();
    xcb_get_geometry_reply_t *g
            = xcb_get_geometry_reply(c, xcb_get_geometry(c, xcb_window_t(window)), nullptr);
    if (!g)
        return {};
    const QSize size(g->width, g->height);
    free(g);
    return size;
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    QString error;
    const std::optional<SaverOptions> options
            = parseSaverOptions(args, qEnvironmentVariable("XSCREENSAVER_WINDOW"), error);
    if (!options) {
        std::fprintf(stderr,
                     "corvane-saver: %s\nusage: corvane-saver [-root | -window | -window-id ID] "
                     "[-page-seconds N] [-animation-seconds N] [-ini FILE]\n",
                     qPrintable(error));
        return 2;
    }

    SaverShow show(
            *options,
            readBookLook(options->iniPath.isEmpty() ? programSettingsPath() : options->iniPath));
    SaverWindow window(show.picture());
    window.setTitle(QStringLiteral("corvane-saver"));
    WId host = options->target == SaverOptions::Target::WindowId ? WId(options->windowId)
            : options->target == SaverOptions::Target::Root      ? rootWindow()
                                                                 : 0;
    QWindow *foreign = host ? QWindow::fromWinId(host) : nullptr;
    if (host && !foreign) {
        std::fprintf(stderr, "corvane-saver: no window 0x%lx\n", static_cast<unsigned long>(host));
        return 1;
    }
    if (foreign) {
        // A child filling the given window, following its size.
        window.setParent(foreign);
        const QSize size = windowSize(host);
        if (size.isEmpty()) {
            std::fprintf(stderr, "corvane-saver: no window 0x%lx\n",
                         static_cast<unsigned long>(host));
            return 1;
        }
        // Device pixels from the server; Qt places windows in its own pixels.
        window.setGeometry(QRect(QPoint(), size / window.devicePixelRatio()));
        QObject::connect(foreign, &QWindow::widthChanged, &window,
                         [&] { window.resize(foreign->size()); });
        QObject::connect(foreign, &QWindow::heightChanged, &window,
                         [&] { window.resize(foreign->size()); });
        window.show();
        window.raise();
    } else {
        window.resize(800, 600);
        window.show();
    }
    show.present = [&window] {
        if (window.isExposed()) {
            window.update();
            QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
        }
    };
    app.onSessionEnd([&app] { app.quit(); });
    show.begin();
    return app.exec();
}
