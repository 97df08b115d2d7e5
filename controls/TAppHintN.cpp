// Balloon hints and the application hint.
#include "controls/TAppHintN.h"

#include "core/Design.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include "controls/BalloonHinted.h"

namespace {

constexpr int kTail = 9;          // the tail's height above the body
constexpr int kCursorMargin = 20; // the balloon's top below the mouse, clear of the pointer

// The hint a control shows: its own, else that of the nearest enclosing control
// that has one, up to the watched window.
QString hintOf(const QWidget *w, const QWidget *root)
{
    for (; w; w = w->parentWidget()) {
        if (!w->toolTip().isEmpty())
            return w->toolTip();
        if (w == root)
            break;
    }
    return {};
}

QColor colour(quint32 bbggrr)
{
    return corvane::toQColor(bbggrr);
}

bool showsBalloon(const QWidget *w)
{
    if (!w || w->toolTip().isEmpty())
        return false;
    const auto *control = dynamic_cast<const BalloonHinted *>(w);
    return !control || control->balloonHint();
}

} // namespace

HintLook::HintLook()
    : font(QStringLiteral("IPAPGothic"))
{
    font.setPixelSize(15);
}

THintEx::THintEx(const HintLook &look)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_look(look)
{
    setObjectName(QStringLiteral("THintEx"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // A balloon left on the screen must not keep the program running once
    // its window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(look.font);
}

QRect THintEx::CalcHintRect(int maxWidth, const QString &text) const
{
    const QFontMetrics fm(m_look.font);
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, maxWidth), 0), Qt::TextWordWrap, text);
    return {0, 0, r.width() + 6, r.height() + 2};
}

void THintEx::ActivateHint(const QRect &rect, const QString &text)
{
    m_text = text;
    const int w = rect.width(), h = rect.height() + kTail;
    setGeometry(rect.left(), rect.top(), w, h);
    setMask(QRegion(QPolygon({QPoint(14, 0), QPoint(8, kTail), QPoint(0, kTail), QPoint(0, h),
                              QPoint(w, h), QPoint(w, kTail), QPoint(14, kTail)}),
                    Qt::WindingFill));
    show();
    raise();
    update();
}

QRegion THintEx::deviceRegion(const QRegion &logical, qreal scale)
{
    // As the window system receives the mask: each rectangle's corner and
    // size rounded on their own.
    QRegion device;
    for (const QRect &r : logical)
        device += QRect(qRound(r.x() * scale), qRound(r.y() * scale), qRound(r.width() * scale),
                        qRound(r.height() * scale));
    return device;
}

void THintEx::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), colour(m_look.brush));
    p.setFont(m_look.font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    if (m_look.shadowVisible) {
        p.setPen(colour(m_look.shadow));
        p.drawText(rect().translated(4, 10), flags, m_text);
    }
    p.setPen(colour(m_look.fontColour));
    p.drawText(rect().translated(3, 9), flags, m_text);

    // The outline is the innermost band of the pixels the window shows, so it
    // follows the tail's steps unbroken and leaves no sliver of the face
    // outside it; it is as thick as one pixel of the rest of the face.
    const qreal scale = p.deviceTransform().m11();
    const QRegion shown = deviceRegion(mask().isEmpty() ? QRegion(rect()) : mask(), scale);
    const int t = std::max(1, qRound(scale));
    const QRegion inner = shown & shown.translated(t, 0) & shown.translated(-t, 0)
            & shown.translated(0, t) & shown.translated(0, -t);
    p.setWorldTransform(QTransform::fromScale(1 / scale, 1 / scale));
    for (const QRect &r : shown - inner)
        p.fillRect(r, colour(m_look.pen));
}

TAppHintN::TAppHintN(QWidget *root)
    : QObject(root)
    , m_root(root)
{
    m_evaluate.setSingleShot(true);
    m_evaluate.setInterval(0);
    connect(&m_evaluate, &QTimer::timeout, this, [this] { evaluate(); });
    // Precise: a coarse timer may fire 5 % early, a visible 25 ms on the pause.
    m_show.setSingleShot(true);
    m_show.setTimerType(Qt::PreciseTimer);
    connect(&m_show, &QTimer::timeout, this, [this] { showBalloon(); });
    m_hide.setSingleShot(true);
    m_hide.setTimerType(Qt::PreciseTimer);
    connect(&m_hide, &QTimer::timeout, this, [this] {
        hideBalloon();
        m_followOn = false;
    });
    qApp->installEventFilter(this);
}

TAppHintN::~TAppHintN()
{
    qApp->removeEventFilter(this);
    delete m_balloon;
}

bool TAppHintN::inWindow(const QWidget *w) const
{
    return w && m_root && (w == m_root || m_root->isAncestorOf(w));
}

bool TAppHintN::ownsMenu(const QObject *o) const
{
    const auto *menu = qobject_cast<const QMenu *>(o);
    return menu && inWindow(menu->parentWidget());
}

void TAppHintN::setHint(const QString &hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    emit hintChanged(m_hint);
}

void TAppHintN::underMouseChanged(QWidget *w)
{
    m_under = w;
    // A leave is followed at once by the enter of the next control: let both
    // land before the hint is read, so the status line changes once.
    m_evaluate.start();
}

void TAppHintN::evaluate()
{
    if (m_under)
        setHint(hintOf(m_under, m_root));
    QWidget *w = m_under;
    if (w == m_pending && (m_show.isActive() || (m_balloon && m_balloon->isVisible())))
        return;
    if (w != m_dismissed)
        m_dismissed = nullptr;
    else if (w)
        return; // dismissed: it shows again only once the mouse has been elsewhere
    m_show.stop();
    hideBalloon();
    m_pending = nullptr;
    if (showsBalloon(w)) {
        m_pending = w;
        m_show.start(m_followOn ? look.hintShortPause : look.hintPause);
    } else if (w != m_root) {
        m_followOn = false; // the bare face between controls keeps the quick follow-on
    }
}

void TAppHintN::showBalloon()
{
    if (!m_pending || m_pending != m_under || !showsBalloon(m_pending))
        return;
    if (!m_balloon)
        m_balloon = new THintEx(look);
    const QString text = m_pending->toolTip();
    const QScreen *screen = m_pending->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // As wide as a plain tip may be, less 8 pixels.
    QRect r = m_balloon->CalcHintRect(area.width() - 8, text);
    QPoint at = m_mouse + QPoint(0, kCursorMargin);
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - r.width())));
    at.setY(std::clamp(at.y(), area.top(),
                       std::max(area.top(), area.bottom() + 1 - r.height() - kTail)));
    r.moveTopLeft(at);
    m_balloon->ActivateHint(r, text);
    m_followOn = true;
    m_hide.start(look.hintHidePause);
}

void TAppHintN::hideBalloon()
{
    m_hide.stop();
    if (m_balloon)
        m_balloon->hide();
}

bool TAppHintN::eventFilter(QObject *watched, QEvent *event)
{
    auto *w = watched->isWidgetType() ? static_cast<QWidget *>(watched) : nullptr;
    switch (event->type()) {
    case QEvent::Enter:
        if (inWindow(w)) {
            m_mouse = static_cast<QEnterEvent *>(event)->globalPosition().toPoint();
            underMouseChanged(w);
        }
        break;
    case QEvent::Leave:
        // Out of the window the hint stays as it was: nothing there has one to give.
        if (inWindow(w) && w == m_under)
            underMouseChanged(w == m_root ? nullptr : w->parentWidget());
        break;
    case QEvent::MouseMove:
        if (inWindow(w))
            m_mouse = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        break;
    case QEvent::Hide:
    case QEvent::Close:
        if (w && w == m_root) { // the window goes: so do its balloon and the waits
            m_show.stop();
            hideBalloon();
            m_under = nullptr;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        if (inWindow(w)) {
            m_show.stop();
            hideBalloon();
            // The user dismissed it: it stays away while the mouse stays, and
            // the next balloon waits its full pause again.
            m_dismissed = m_under;
            m_followOn = false;
        }
        break;
    case QEvent::ToolTip:
        // Qt's plain tip never shows over the window: the balloon replaces it.
        if (inWindow(w) || ownsMenu(watched))
            return true;
        break;
    case QEvent::ToolTipChange:
        if (inWindow(w) && m_under && (w == m_under || w->isAncestorOf(m_under)))
            m_evaluate.start();
        break;
    case QEvent::StatusTip:
        // The highlighted menu item's hint; empty when no item is highlighted.
        if (ownsMenu(watched) || inWindow(w))
            setHint(static_cast<QStatusTipEvent *>(event)->tip());
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
