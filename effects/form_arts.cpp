// The window's side of plan de arts: fineartsClick (one picture, or a
// repetition on Timer4), Timer4Timer, Pplasma with the event pump, the four
// option boxes, and the close that waits for a build. Grid, paint and
// brightness are PlanDeArts's. Writes FArts, FArtsShown, artsFx (Fconm,
// FArtsLevel, FArtsRise), the "Green" box, Label3 and the status line.
#include "app/TForm1.h"

#include <QLabel>
#include <QTimer>

#include "controls/TLozengeCheckBox.h"

using namespace corvane;

ArtsOptions TForm1::artsOptions() const
{
    return {checked(OptionBox::Green), checked(OptionBox::Devenir), checked(OptionBox::Repetition)};
}

void TForm1::fineartsClick()
{
    // Refused while a repetition runs or while a build is under way (a click
    // handled by the build's own event pump lands here).
    const ArtsBegin b
            = artsFx.plan(FArts, running(), GColor, pictureState.FArtsShown, artsOptions());
    if (b.plan.refused)
        return;
    prepareStart(b.plan);
    applyStart(artsFx.start(b.mode, pictureState));
    const bool repeating = b.mode != ArtsMode::Single;
    if (repeating)
        FArts = true;
    Label3->show();
    if (b.uncheckGreen)
        box(OptionBox::Green)->setChecked(false); // setChecked runs no click handler
    Pplasma();
    if (repeating)
        Timer4->start();
    else
        Label3->hide();
}

namespace {

// The build hands control to the event loop every few milliseconds so the
// window keeps answering; PlanDeArts refuses a second build meanwhile, and a
// close waits (TForm1::deferCloseWhileBuilding). Only this hook pumps events.
PlasmaHooks plasmaHooks(TForm1 &f)
{
    PlasmaHooks hooks;
    hooks.pumpEvents = [&f] { f.processPendingEvents(); };
    hooks.repaint = [&f] { f.present(); };
    hooks.options = [&f] { return f.artsOptions(); };
    return hooks;
}

void showPicture(TForm1 &f, const PlasmaResult &r)
{
    if (!r.done)
        return;
    if (r.green)
        f.box(OptionBox::Green)->setChecked(*r.green); // without its click handler
    f.setStatus(r.status);
}

} // namespace

void TForm1::Pplasma()
{
    showPicture(*this, artsFx.drawPicture(picture(), random, effectClock, plasmaHooks(*this)));
    closeIfDeferred();
}

void TForm1::Timer4Timer()
{
    // FArts is read again after the picture: a stop handled during the build
    // has cleared it and the run ends now. A tick handled during a build is refused.
    const ArtsTick t = artsFx.tick(FArts, picture(), random, effectClock, plasmaHooks(*this));
    if (t.refused)
        return;
    showPicture(*this, t.picture);
    if (t.stopTimer) {
        Timer4->stop();
        Label3->hide();
    }
    closeIfDeferred();
}

void TForm1::closeIfDeferred()
{
    if (!closeAfterBuild || artsFx.building())
        return;
    closeAfterBuild = false;
    // After the handler that made the picture has returned.
    QTimer::singleShot(0, this, [this] { close(); });
}

bool TForm1::deferCloseWhileBuilding()
{
    if (!artsFx.building())
        return false;
    closeAfterBuild = true;
    return true;
}

namespace {

void applyBoxClick(TForm1 &f, const ArtsBoxClick &click)
{
    if (click.clearArts)
        f.FArts = false; // Timer4 notices at its next tick
    f.setStatus(click.status);
}

} // namespace

void TForm1::LCheckBox20Click()
{
    applyBoxClick(*this, artsFx.greenClicked(checked(OptionBox::Green)));
}

void TForm1::LCheckBox21Click()
{
    applyBoxClick(*this, artsFx.brightClicked(checked(OptionBox::Bright)));
}

void TForm1::LCheckBox22Click()
{
    applyBoxClick(*this, artsFx.devenirClicked(checked(OptionBox::Devenir)));
}

void TForm1::LCheckBox23Click()
{
    applyBoxClick(*this, artsFx.repetitionClicked(checked(OptionBox::Repetition)));
}
