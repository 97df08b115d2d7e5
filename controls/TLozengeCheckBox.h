// The window's option box: a lozenge whose lit edges show the state, raised
// (upper edges white) when off and pressed (lower edges white) when on. A
// click toggles it and then emits clicked(); setting the state from code
// never emits clicked(), so restoring the stored options runs no handler.
#pragma once
#include <QAbstractButton>
#include <QPolygon>

class TLozengeCheckBox : public QAbstractButton
{
public:
    explicit TLozengeCheckBox(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {25, 25}; }

    // The lozenge's vertices: top, left, bottom, right, around c, the
    // height halved with ties to even (12 for the boxes' 25 pixels).
    static QPolygon lozenge(int height);

protected:
    void paintEvent(QPaintEvent *event) override;
};
