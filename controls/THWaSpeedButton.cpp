// Flat and shine buttons of the window face.
#include "controls/THWaSpeedButton.h"

#include <QPainter>

THWaSpeedButton::THWaSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

TShineSpeedButton::TShineSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}
