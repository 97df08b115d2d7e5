// Puts a window into a running animation the way the user does: through the
// command its button and key run. Its timer is then held, so nothing moves
// the animation behind the test's back; a test steps it with its TimerNTimer.
#pragma once
#include <QTimer>

#include "app/TForm1.h"
#include "controls/TLozengeCheckBox.h"

enum class Animation { Difference, Velocity, Deep, Arts };

// plan de arts runs on only as a repetition or Devenir; Repetition is
// checked unless Devenir already is.
inline void startHeld(TForm1 &f, Animation which)
{
    using corvane::OptionBox;
    if (which == Animation::Arts && !f.checked(OptionBox::Devenir))
        f.box(OptionBox::Repetition)->setChecked(true);
    const struct
    {
        void (TForm1::*start)();
        QTimer *timer;
    } run[] = {{&TForm1::Effect1Click, f.Timer1},
               {&TForm1::VelocityClick, f.Timer3},
               {&TForm1::RectButtonClick, f.Timer5},
               {&TForm1::fineartsClick, f.Timer4}};
    (f.*run[int(which)].start)();
    run[int(which)].timer->stop();
}
