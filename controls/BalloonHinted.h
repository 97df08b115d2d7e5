// Whether a control shows its hint in a balloon. TAppHintN asks it of the
// control under the mouse; a widget that is not one of these (a label, the
// picture) shows a balloon whenever it has a hint. Either way the hint
// reaches the status line: switching the balloon off only keeps it quiet.
#pragma once

class BalloonHinted
{
public:
    virtual ~BalloonHinted() = default;

    void setBalloonHint(bool shown) { m_balloonHint = shown; }
    bool balloonHint() const { return m_balloonHint; }

private:
    bool m_balloonHint = true;
};
