// What the four animations share in the window: the common stop, and the
// steps every start takes before and after its own set-up (stop the others,
// status, fade; Image1's hint). The picture flags are the starts' own.
// Writes FDifference, FVelocity, FDeep, FArts, the timers, the Difference
// boxes, the page slider and Image1's hint.
#include "app/TForm1.h"

#include <QTimer>

#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/TLozengeCheckBox.h"

using namespace corvane;

void TForm1::EffectOut1Click()
{
    const StopPlan plan = planStop(running(), velocityFx.FLockCount);
    if (plan.stopDifference) {
        Timer1->stop();
        FDifference = false;
        for (OptionBox option : {OptionBox::Form, OptionBox::Color, OptionBox::Paint})
            box(option)->setEnabled(true);
    }
    if (plan.stopVelocity) {
        Timer3->stop();
        ExtTrackBar1->setEnabled(true);
        FVelocity = false;
    }
    if (plan.stopDeep) {
        Timer5->stop();
        FDeep = false;
    }
    if (plan.clearArts)
        FArts = false; // Timer4 notices at its next tick and stops itself
    if (plan.status)
        setStatus(*plan.status);
}

Busy TForm1::running() const
{
    return {FDifference, FVelocity, FArts, FDeep};
}

void TForm1::runFade(Fade fade)
{
    switch (fade) {
    case Fade::None:
        break;
    case Fade::Black:
        PFadeOutB();
        break;
    case Fade::White:
        PFadeOutW();
        break;
    }
}

void TForm1::prepareStart(const StartPlan &plan)
{
    if (plan.stopFirst)
        EffectOut1Click();
    setStatus(plan.status);
    runFade(plan.fade);
}

void TForm1::applyStart(const StartResult &result)
{
    if (!result.imageHint.isEmpty())
        Image1->setToolTip(result.imageHint);
}
