// The window's option box: a lozenge that toggles on a click and then emits
// clicked(). Setting the state from code never emits clicked(), so restoring
// the stored options runs no click handler.
#pragma once
#include <QAbstractButton>

class TLozengeCheckBox : public QAbstractButton
{
public:
    explicit TLozengeCheckBox(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {25, 25}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};
