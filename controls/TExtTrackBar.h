// The page slider: a horizontal track with ticks below, on a ground of its
// parent's colour (following a change of it). It keeps a hint, "scale : n",
// for the status line, but never shows it as a tooltip.
#pragma once
#include <QSlider>

#include "controls/BalloonHinted.h"

class TExtTrackBar : public QSlider, public BalloonHinted
{
public:
    explicit TExtTrackBar(QWidget *parent = nullptr);

    // The slider keeps a range of at least one position: a maximum below the
    // minimum is refused and the range stays as it was.
    bool setMaxChecked(int max);

protected:
    bool event(QEvent *event) override;
};
