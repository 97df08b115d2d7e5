// Flat command button of the window face. It shows its caption only when the
// window asks for captions ("Name on"); otherwise it is a flat plate.
#pragma once
#include <QToolButton>

class THWaSpeedButton : public QToolButton
{
public:
    explicit THWaSpeedButton(QWidget *parent = nullptr);
};

// Button that brightens under the mouse ("Exit", "Small").
class TShineSpeedButton : public QToolButton
{
public:
    explicit TShineSpeedButton(QWidget *parent = nullptr);
};
