// Image1's drawing.
#include "app/TPictureBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

TPictureBox::TPictureBox(int width, int height, QWidget *parent)
    : QWidget(parent)
    , m_picture(width, height, QImage::Format_BGR888)
{
    m_picture.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

namespace {

// Whether what the widget paints can reach the screen now. A window hidden in
// the tray, minimised or wholly covered is not exposed.
bool reachesScreen(const QWidget *w)
{
    if (!w->isVisible())
        return false;
    const QWindow *handle = w->window()->windowHandle();
    return handle && handle->isExposed() && !w->window()->isMinimized();
}

} // namespace

void TPictureBox::repaintNow()
{
    QWidget *shown = m_shownOn ? m_shownOn : this;
    // Where nothing can be seen nothing is painted: the picture goes on
    // changing, and the region stays marked, to be painted when it is seen again.
    if (!reachesScreen(shown)) {
        shown->update();
        return;
    }
    shown->repaint();
}

void TPictureBox::repaintSoon()
{
    (m_shownOn ? m_shownOn : this)->update();
}

void TPictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

void TPictureBox::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove) {
        const QPoint at = event->position().toPoint();
        onMouseMove(at.x(), at.y());
    }
    QWidget::mouseMoveEvent(event); // the window still sees it, for dragging by the body
}
