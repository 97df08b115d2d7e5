// The page slider: a horizontal track with ticks below.
#pragma once
#include <QSlider>

class TExtTrackBar : public QSlider
{
public:
    explicit TExtTrackBar(QWidget *parent = nullptr);

    // The slider keeps a range of at least one position: a maximum below the
    // minimum is refused and the range stays as it was.
    bool setMaxChecked(int max);
};
