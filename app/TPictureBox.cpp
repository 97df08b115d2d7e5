// Image1's drawing.
#include "app/TPictureBox.h"

#include <QMouseEvent>
#include <QPainter>

TPictureBox::TPictureBox(int width, int height, QWidget *parent)
    : QWidget(parent)
    , m_picture(width, height, QImage::Format_BGR888)
{
    m_picture.fill(Qt::black);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TPictureBox::repaintNow()
{
    repaint();
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
