// Page slider.
#include "controls/TExtTrackBar.h"

#include <QEvent>

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
