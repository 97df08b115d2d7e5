// Page slider.
#include "controls/TExtTrackBar.h"

TExtTrackBar::TExtTrackBar(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
    setRange(1, 5);
    setValue(1);
    setPageStep(1);
}

bool TExtTrackBar::setMaxChecked(int max)
{
    if (max < minimum())
        return false;
    setMaximum(max);
    return true;
}
