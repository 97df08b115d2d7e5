// The picture on a whole screen, whole-pixel enlarged.
#include "app/FullScreenPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace corvane {

WholePixelFit WholePixelFit::of(QSize screen, QSize picture)
{
    WholePixelFit f;
    if (picture.isEmpty())
        return f;
    f.factor = std::max(
            1, std::min(screen.width() / picture.width(), screen.height() / picture.height()));
    f.left = (screen.width() - picture.width() * f.factor) / 2;
    f.top = (screen.height() - picture.height() * f.factor) / 2;
    return f;
}

} // namespace corvane

using namespace corvane;

FullScreenPicture::FullScreenPicture(const QImage &picture, QWidget *parent)
    : QWidget(parent)
    , m_picture(picture)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_hidePointer.setSingleShot(true);
    m_hidePointer.setInterval(kPointerHideMs);
    connect(&m_hidePointer, &QTimer::timeout, this, [this] { setCursor(Qt::BlankCursor); });
    if (parent)
        parent->installEventFilter(this); // follows the window's size
    hide();
}

WholePixelFit FullScreenPicture::fit() const
{
    const qreal dpr = devicePixelRatioF();
    return WholePixelFit::of(QSize(qRound(width() * dpr), qRound(height() * dpr)),
                             m_picture.size());
}

bool FullScreenPicture::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    if (event->type() == QEvent::Show && watched == this)
        showPointer();
    return false;
}

void FullScreenPicture::showPointer()
{
    unsetCursor();
    m_hidePointer.start();
}

void FullScreenPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Work in device pixels: at a screen scale of 1.5 a logical pixel is no
    // whole number of screen pixels, and the grain and the 1-px lines would
    // come out uneven.
    const qreal dpr = devicePixelRatioF();
    p.scale(1 / dpr, 1 / dpr);
    const QRect device(0, 0, qRound(width() * dpr), qRound(height() * dpr));
    const WholePixelFit f = fit();
    const QRect target(f.left, f.top, m_picture.width() * f.factor, m_picture.height() * f.factor);
    p.fillRect(device, Qt::black);
    p.drawImage(target, m_picture); // nearest neighbour: no smooth transform is set
}

void FullScreenPicture::mouseMoveEvent(QMouseEvent *event)
{
    showPointer();
    if (onMouseMove) {
        const qreal dpr = devicePixelRatioF();
        const WholePixelFit f = fit();
        const QPointF at = event->position() * dpr;
        onMouseMove(int((at.x() - f.left) / f.factor), int((at.y() - f.top) / f.factor));
    }
    QWidget::mouseMoveEvent(event);
}
