// Page slider.
#include "controls/TExtTrackBar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int kMargin = 4;    // the track's ends stay this far from the edges
constexpr int kGrooveTop = 6; // a 4-pixel groove through the thumb's body
constexpr int kGrooveHeight = 4;
constexpr int kBodyHeight = 15; // the thumb's square part; the point is the rest
constexpr int kTickTop = TExtTrackBar::kThumbLength + 2;
constexpr int kTickLength = 3;

// The face's shades, all taken from its colour, so that none is brighter in
// hue than the face itself.
struct Shades
{
    QColor face, light, shadow, dark;
    explicit Shades(const QColor &c)
        : face(c)
        , light(c.lighter(140))
        , shadow(c.darker(150))
        , dark(c.darker(300))
    {
    }
};

} // namespace

TExtTrackBar::TExtTrackBar(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    setRange(1, 5);
    setValue(1);
    setPageStep(1);
    // The window's colour reaches the slider through palette propagation, so
    // filling with the inherited Window role follows every change of it.
    setAutoFillBackground(true);
    setBalloonHint(false);
    // Paging while held stops once the thumb has come under the pointer.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] {
        const QRect t = thumbRect();
        if (repeatAction() != SliderNoAction && m_pressX >= t.left() && m_pressX <= t.right())
            setRepeatAction(SliderNoAction);
    });
}

bool TExtTrackBar::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        event->accept(); // the hint is for the status line only
        return true;
    }
    return QSlider::event(event);
}

bool TExtTrackBar::setMaxChecked(int max)
{
    if (max < minimum())
        return false;
    setMaximum(max);
    return true;
}

int TExtTrackBar::centreOf(int value) const
{
    const int span = std::max(0, width() - 2 * kMargin - kThumbWidth);
    return kMargin + kThumbWidth / 2
            + QStyle::sliderPositionFromValue(minimum(), maximum(), value, span);
}

int TExtTrackBar::valueAt(int x) const
{
    const int span = std::max(0, width() - 2 * kMargin - kThumbWidth);
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x - kMargin - kThumbWidth / 2,
                                           span);
}

QRect TExtTrackBar::thumbRect() const
{
    return {centreOf(sliderPosition()) - kThumbWidth / 2, 1, kThumbWidth, kThumbLength};
}

void TExtTrackBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const Shades s(palette().color(QPalette::Window));
    // Lines of whole face pixels, straight or at 45 degrees, so that at any
    // scale they stay as crisp as the face's other edges.
    auto line = [&p](const QColor &c, int x1, int y1, int x2, int y2) {
        const int n = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        for (int i = 0; i <= n; ++i)
            p.fillRect(
                    QRect(x1 + (n ? (x2 - x1) * i / n : 0), y1 + (n ? (y2 - y1) * i / n : 0), 1, 1),
                    c);
    };

    // The groove, sunk into the face: shadow above and left, light below and right.
    const QRect g(kMargin, kGrooveTop, width() - 2 * kMargin, kGrooveHeight);
    p.fillRect(g.adjusted(2, 2, -1, -1), s.face.darker(115));
    line(s.shadow, g.left(), g.top(), g.right() - 1, g.top());
    line(s.shadow, g.left(), g.top(), g.left(), g.bottom() - 1);
    line(s.dark, g.left() + 1, g.top() + 1, g.right() - 2, g.top() + 1);
    line(s.dark, g.left() + 1, g.top() + 1, g.left() + 1, g.bottom() - 2);
    line(s.light, g.left(), g.bottom(), g.right(), g.bottom());
    line(s.light, g.right(), g.top(), g.right(), g.bottom());

    // Ticks at every interval from the first page, and one at the last.
    const int step = std::max(1, tickInterval());
    for (int v = minimum(); v <= maximum(); v += step) {
        const int x = centreOf(v);
        line(s.shadow, x, kTickTop, x, kTickTop + kTickLength - 1);
    }
    const int last = centreOf(maximum());
    line(s.shadow, last, kTickTop, last, kTickTop + kTickLength - 1);

    // The thumb: a body and a point down to the ticks, lit from the upper left.
    const QRect t = thumbRect();
    const int l = t.left(), r = t.right(), top = t.top(), half = kThumbWidth / 2;
    const int bodyBottom = top + kBodyHeight - 1, tip = t.bottom();
    p.fillRect(QRect(l, top, kThumbWidth, kBodyHeight), s.face);
    for (int y = bodyBottom + 1; y <= tip; ++y) // the point narrows a pixel a side a row
        p.fillRect(QRect(l + (y - bodyBottom), y, kThumbWidth - 2 * (y - bodyBottom), 1), s.face);
    const bool on = isEnabled();
    const QColor light = on ? s.light : s.face, dark = on ? s.dark : s.shadow;
    line(light, l, top, r - 1, top);
    line(light, l, top, l, bodyBottom);
    line(light, l, bodyBottom, l + half, tip); // the lit side of the point
    line(dark, r, top, r, bodyBottom);
    line(dark, r, bodyBottom, l + half, tip);
    line(s.shadow, r - 1, top + 1, r - 1, bodyBottom);
    line(s.shadow, r - 1, bodyBottom, l + half, tip - 1);
}

void TExtTrackBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || maximum() == minimum()) {
        event->ignore();
        return;
    }
    event->accept();
    const int x = event->position().toPoint().x();
    const QRect t = thumbRect();
    if (x >= t.left() && x <= t.right()) {
        m_grabOffset = x - (t.left() + kThumbWidth / 2);
        setSliderDown(true);
        return;
    }
    // A press beside the thumb steps a page towards it, and again while held.
    const auto action = x > t.right() ? SliderPageStepAdd : SliderPageStepSub;
    m_pressX = x;
    setRepeatAction(action);
    triggerAction(action);
}

void TExtTrackBar::mouseMoveEvent(QMouseEvent *event)
{
    if (m_grabOffset < 0) {
        event->ignore();
        return;
    }
    event->accept();
    setSliderPosition(valueAt(event->position().toPoint().x() - m_grabOffset));
}

void TExtTrackBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    setRepeatAction(SliderNoAction);
    m_pressX = -1;
    if (m_grabOffset >= 0) {
        m_grabOffset = -1;
        setSliderDown(false);
    }
}
