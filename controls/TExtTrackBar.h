// The page slider: a horizontal track with ticks below, on a ground of its
// parent's colour (following a change of it). It keeps a hint, "scale : n",
// for the status line, but never shows it as a tooltip.
//
// It is drawn as one of the face's own controls, in hard one-pixel lines and
// the face's colours, whatever Qt style or platform theme is in use: a sunken
// groove, a thumb that points down at the ticks, and no fill up to the thumb.
// QSlider underneath keeps the value, the keys and the signals.
#pragma once
#include <QSlider>

#include "controls/BalloonHinted.h"

class TExtTrackBar : public QSlider, public BalloonHinted
{
public:
    // The thumb across the track, the tip of its point included.
    static constexpr int kThumbLength = 20;
    static constexpr int kThumbWidth = 11;

    explicit TExtTrackBar(QWidget *parent = nullptr);

    // The slider keeps a range of at least one position: a maximum below the
    // minimum is refused and the range stays as it was.
    bool setMaxChecked(int max);

    // Where the thumb stands now, in the slider's own coordinates.
    QRect thumbRect() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int centreOf(int value) const; // x of the thumb's point for a value
    int valueAt(int x) const;      // the value whose point lies nearest x
    int m_grabOffset = -1;         // x of the press inside the thumb while it is dragged
    int m_pressX = -1;             // x of a press beside the thumb while it pages
};
