// Puts a window into a running animation the way the user does: through the
// command its button and key run. The animation's timer is then held, so the
// test moves it on one tick at a time and nothing moves it behind the test's back.
#pragma once
#include <QTimer>

#include "app/TForm1.h"
#include "controls/TLozengeCheckBox.h"

enum class Animation { Difference, Velocity, Deep, Arts };

inline QTimer *timerOf(TForm1 &f, Animation which)
{
    switch (which) {
    case Animation::Difference:
        return f.Timer1;
    case Animation::Velocity:
        return f.Timer3;
    case Animation::Deep:
        return f.Timer5;
    case Animation::Arts:
        return f.Timer4;
    }
    return nullptr;
}

// plan de arts runs on only as a repetition or Devenir; Repetition is
// checked unless Devenir already is.
inline void startHeld(TForm1 &f, Animation which)
{
    switch (which) {
    case Animation::Difference:
        f.Effect1Click();
        break;
    case Animation::Velocity:
        f.VelocityClick();
        break;
    case Animation::Deep:
        f.RectButtonClick();
        break;
    case Animation::Arts:
        if (!f.checked(corvane::OptionBox::Devenir))
            f.box(corvane::OptionBox::Repetition)->setChecked(true);
        f.fineartsClick();
        break;
    }
    timerOf(f, which)->stop();
}

// One tick of a held animation, as its timer would run it.
inline void stepHeld(TForm1 &f, Animation which)
{
    switch (which) {
    case Animation::Difference:
        return f.Timer1Timer();
    case Animation::Velocity:
        return f.Timer3Timer();
    case Animation::Deep:
        return f.Timer5Timer();
    case Animation::Arts:
        return f.Timer4Timer();
    }
}
