// Flat and shine buttons of the window face.
#include "controls/THWaSpeedButton.h"

#include <QMouseEvent>
#include <QPainter>

THWaSpeedButton::THWaSpeedButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

void THWaSpeedButton::setCaption(const QString &caption)
{
    m_caption = caption;
    setText(m_captionShown ? m_caption : QString());
}

void THWaSpeedButton::setCaptionShown(bool shown)
{
    m_captionShown = shown;
    setText(m_captionShown ? m_caption : QString());
}

void THWaSpeedButton::setGlyph(const QImage &glyph)
{
    if (glyph.isNull()) {
        m_glyph = QImage();
        update();
        return;
    }
    QImage g = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb clear = g.pixel(0, g.height() - 1);
    for (int y = 0; y < g.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(g.scanLine(y));
        for (int x = 0; x < g.width(); ++x)
            if (row[x] == clear)
                row[x] = qRgba(0, 0, 0, 0);
    }
    m_glyph = g;
    update();
}

void THWaSpeedButton::enterEvent(QEnterEvent *event)
{
    QToolButton::enterEvent(event);
    if (!m_hot && isEnabled()) {
        m_hot = true;
        repaint();
    }
}

void THWaSpeedButton::leaveEvent(QEvent *event)
{
    QToolButton::leaveEvent(event);
    if (m_hot && isEnabled()) {
        m_hot = false;
        update();
    }
}

void THWaSpeedButton::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_hot = false;
}

void THWaSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The button colours of the classic desktop, on which the face was drawn;
    // one-pixel edges in whole logical pixels, so they stay hard when scaled.
    const QColor light(255, 255, 255), shadow(128, 128, 128);
    const bool down = isDown() || isChecked();
    if (down || m_hot) {
        const QColor topLeft = down ? shadow : light, bottomRight = down ? light : shadow;
        const int w = width(), h = height();
        p.fillRect(0, 0, w, 1, topLeft);
        p.fillRect(0, 0, 1, h, topLeft);
        p.fillRect(0, h - 1, w, 1, bottomRight);
        p.fillRect(w - 1, 0, 1, h, bottomRight);
    }

    // Caption and glyph as one block centred on the button, the glyph below,
    // 4 pixels apart.
    const QFontMetrics fm(font());
    const bool caption = !text().isEmpty();
    const int textH = caption ? fm.height() : 0;
    const int gap = caption && !m_glyph.isNull() ? 4 : 0;
    const int blockH = textH + gap + m_glyph.height();
    const QPoint shift = down ? QPoint(1, 1) : QPoint();
    const int top = (height() - blockH) / 2;
    if (caption) {
        const QRect r = QRect(0, top, width(), textH).translated(shift);
        if (!isEnabled()) { // embossed: the highlight a pixel down and right, the shadow in place
            p.setPen(light);
            p.drawText(r.translated(1, 1), Qt::AlignCenter, text());
            p.setPen(shadow);
        } else {
            p.setPen(palette().color(QPalette::ButtonText));
        }
        p.drawText(r, Qt::AlignCenter, text());
    }
    if (!m_glyph.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false); // hard pixels when scaled
        p.drawImage(QPoint((width() - m_glyph.width()) / 2, top + textH + gap) + shift, m_glyph);
    }
}

TShineSpeedButton::TShineSpeedButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TShineSpeedButton::setActiveFont(const QFont &font, const QColor &colour)
{
    m_activeFont = font;
    m_activeColour = colour;
    update();
}

TShineSpeedButton::State TShineSpeedButton::state() const
{
    if (!isEnabled())
        return Disabled;
    if (m_pressing)
        return m_heldIn ? PressedHot : Up;
    return m_hot ? Hot : Up;
}

QFont TShineSpeedButton::currentFont() const
{
    const State s = state();
    return (s == PressedHot || s == Hot) ? m_activeFont : font();
}

void TShineSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const State s = state();
    const bool active = s == PressedHot || s == Hot;
    p.setFont(currentFont());
    const QRect r = rect().translated(s == PressedHot || s == Down ? QPoint(1, 1) : QPoint());
    if (s == Disabled) {
        p.setPen(palette().color(QPalette::Light));
        p.drawText(r.translated(1, 1), Qt::AlignCenter, text());
        p.setPen(palette().color(QPalette::Dark));
    } else {
        p.setPen(active ? m_activeColour : palette().color(QPalette::ButtonText));
    }
    p.drawText(r, Qt::AlignCenter, text());
}

void TShineSpeedButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (!m_pressing && !m_hot) {
        m_hot = true;
        update();
    }
}

void TShineSpeedButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    if (!m_pressing && m_hot) {
        m_hot = false;
        update();
    }
}

void TShineSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    m_pressing = true;
    m_heldIn = true;
    repaint();
}

void TShineSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void TShineSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressing)
        return;
    // While held, the edge pixels already count as off the button.
    const QPoint at = event->position().toPoint();
    const bool in = at.x() > 0 && at.x() < width() && at.y() > 0 && at.y() < height();
    if (in != m_heldIn) {
        m_heldIn = in;
        repaint();
    }
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressing) {
        event->ignore();
        return;
    }
    const QPoint at = event->position().toPoint();
    const bool inside = at.x() >= 0 && at.x() < width() && at.y() >= 0 && at.y() < height();
    m_pressing = false;
    m_heldIn = false;
    m_hot = inside; // the pointer test after the press: over it, it is hot again
    update();
    if (inside)
        emit clicked(false);
}

void TShineSpeedButton::changeEvent(QEvent *event)
{
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        m_pressing = false;
        m_heldIn = false;
        update();
    }
}
