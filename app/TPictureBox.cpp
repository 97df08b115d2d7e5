// Image1's drawing.
#include "app/TPictureBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>
#include <algorithm>
#include <cstring>

TPictureBox::TPictureBox(int width, int height, QWidget *parent)
    : QWidget(parent)
    , m_picture(width, height, QImage::Format_BGR888)
{
    // The copies shown are made by the first paint, once the window is up.
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

// The first and last byte in which two rows that differ somewhere differ,
// eight bytes at a time where they agree: an animation changes a few spans of
// a row, and this runs on every row of every frame.
uint64_t eightBytes(const uchar *p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

int firstDifference(const uchar *a, const uchar *b, int length)
{
    int i = 0;
    while (i + 8 <= length && eightBytes(a + i) == eightBytes(b + i))
        i += 8;
    while (a[i] == b[i])
        ++i;
    return i;
}

int lastDifference(const uchar *a, const uchar *b, int length)
{
    int i = length - 1;
    while (i >= 7 && eightBytes(a + i - 7) == eightBytes(b + i - 7))
        i -= 8;
    while (a[i] == b[i])
        --i;
    return i;
}

} // namespace

QRect TPictureBox::takeChanges()
{
    // The effects draw on the picture in place and say nothing of where; the
    // copy last shown tells. Comparing rows costs far less than converting
    // and sending the whole picture every frame.
    if (m_picture.size() != m_shown.size() || m_picture.format() != m_shown.format()) {
        m_shown = m_picture.copy();
        m_screen = m_picture.convertToFormat(QImage::Format_RGB32);
        return m_picture.rect();
    }
    const int rowBytes = m_picture.width() * 3;
    int top = -1, bottom = -1, left = m_picture.width(), right = -1;
    for (int y = 0; y < m_picture.height(); ++y) {
        const uchar *now = m_picture.constScanLine(y);
        const uchar *was = m_shown.constScanLine(y);
        if (std::memcmp(now, was, size_t(rowBytes)) == 0)
            continue;
        const int first = firstDifference(now, was, rowBytes);
        const int last = lastDifference(now, was, rowBytes);
        left = std::min(left, first / 3);
        right = std::max(right, last / 3);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return {};
    const QRect changed(QPoint(left, top), QPoint(right, bottom));
    // bits() checks for sharing once; scanLine() would on every row.
    uchar *const shown = m_shown.bits();
    uchar *const screen = m_screen.bits();
    for (int y = top; y <= bottom; ++y) {
        const uchar *src = m_picture.constScanLine(y) + left * 3;
        std::memcpy(shown + y * m_shown.bytesPerLine() + left * 3, src,
                    size_t(changed.width()) * 3);
        auto *dst = reinterpret_cast<QRgb *>(screen + y * m_screen.bytesPerLine()) + left;
        for (int x = 0; x < changed.width(); ++x, src += 3)
            dst[x] = qRgb(src[2], src[1], src[0]); // bytes B, G, R
    }
    return changed;
}

void TPictureBox::repaintNow()
{
    // Behind other windows (the full-screen one is never behind this), the
    // X server would only throw the pixels away; setCovered paints on return.
    if (m_covered && !m_shownOn)
        return;
    QWidget *shown = m_shownOn ? m_shownOn : this;
    // Where nothing can be seen nothing is painted: the picture goes on
    // changing, and the region stays marked, to be painted when it is seen again.
    if (!reachesScreen(shown)) {
        shown->update();
        return;
    }
    if (m_shownOn) {
        m_shownOn->repaint();
        return;
    }
    const QRect changed = takeChanges();
    if (!changed.isEmpty())
        repaint(changed);
}

void TPictureBox::setCovered(bool covered)
{
    const bool uncovered = m_covered && !covered;
    m_covered = covered;
    if (uncovered)
        update();
}

void TPictureBox::repaintSoon()
{
    (m_shownOn ? m_shownOn : this)->update();
}

void TPictureBox::paintEvent(QPaintEvent *event)
{
    // A change not announced by repaintNow (an expose, a plain update) is
    // taken here; what lies outside this paint's area follows at the next.
    const QRect changed = takeChanges();
    if (!event->rect().contains(changed))
        update(changed);
    QPainter p(this);
    // The same format as the window's own pixels: a straight copy, no conversion.
    p.drawImage(event->rect().topLeft(), m_screen, event->rect());
}

void TPictureBox::mouseMoveEvent(QMouseEvent *event)
{
    if (onMouseMove) {
        const QPoint at = event->position().toPoint();
        onMouseMove(at.x(), at.y());
    }
    QWidget::mouseMoveEvent(event); // the window still sees it, for dragging by the body
}
