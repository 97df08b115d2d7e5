// What the four animations share in the window: the common stop, and the
// steps every start takes before and after its own set-up (stop the others,
// status, fade; the picture flags and Image1's hint).
// Writes FDifference, FVelocity, FDeep, FArts, the timers, the Difference
// boxes, the page slider, FSamePage, FBColor, FPageShown, FFreshStart, FArtsShown.
#include "app/TForm1.h"

#include <QTimer>

#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/TLozengeCheckBox.h"

using namespace corvane;

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
    const FlagChanges &f = result.flags;
    if (f.FSamePage)
        FSamePage = *f.FSamePage;
    if (f.FBColor)
        FBColor = *f.FBColor;
    if (f.FPageShown)
        FPageShown = *f.FPageShown;
    if (f.FFreshStart)
        FFreshStart = *f.FFreshStart;
    if (f.FArtsShown)
        FArtsShown = *f.FArtsShown;
    if (!result.imageHint.isEmpty())
        Image1->setToolTip(result.imageHint);
}
