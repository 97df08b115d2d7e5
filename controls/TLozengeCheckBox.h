// The window's option box: a lozenge whose lit edges show the state, raised
// (upper edges white) when off and pressed (lower edges white) when on. A
// click toggles it, takes the focus and then emits clicked(); setting the
// state from code never emits clicked(), so restoring the stored options runs
// no handler. Keys never toggle it: the window reads every key itself.
#pragma once
#include <QAbstractButton>
#include <QPolygon>

#include "controls/BalloonHinted.h"

class TLozengeCheckBox : public QAbstractButton, public BalloonHinted
{
public:
    explicit TLozengeCheckBox(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {25, 25}; }

    // The lozenge's vertices: top, left, bottom, right, around c, the
    // height halved with ties to even (12 for the boxes' 25 pixels).
    static QPolygon lozenge(int height);

    // Where the focus rectangle goes: right of the lozenge, as high as a
    // line of the font, as wide as the caption (one pixel when it has none),
    // cut at the control's right edge.
    QRect focusRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};
