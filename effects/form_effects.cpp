// The common stop of the four animations. Writes FDifference, FVelocity,
// FDeep, FArts, the timers, the Difference boxes and the page slider.
#include "app/TForm1.h"

#include <QTimer>

#include "controls/TExtTrackBar.h"
#include "controls/TLozengeCheckBox.h"

void TForm1::EffectOut1Click()
{
    if (Timer1->isActive()) {
        Timer1->stop();
        FDifference = false;
        for (int n : {1, 2, 3})
            box(n)->setEnabled(true);
    }
    if (Timer3->isActive()) {
        Timer3->stop();
        ExtTrackBar1->setEnabled(true);
    }
    if (Timer5->isActive()) {
        Timer5->stop();
        FDeep = false;
    }
    if (FVelocity) {
        FVelocity = false;
        setStatus(FLockCount >= 1 ? QStringLiteral("lock %1").arg(FLockCount) : QString());
    }
    if (FArts)
        FArts = false; // Timer4 notices at its next tick and stops itself
}
