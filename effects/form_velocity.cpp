// The window's side of Velocity: VelocityClick (start), Timer3Timer (one
// tick), the mouse over the picture and the Movement and Clock boxes; the
// lines and overlays are VelocityState's. Writes FVelocity, velocityFx (Pcx, Pcy,
// FLockCount ...), the picture flags and hint, and the slider's enabled state.
#include "app/TForm1.h"

#include <QTimer>

#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"

using namespace corvane;

VelocityOptions TForm1::velocityOptions() const
{
    return {checked(OptionBox::Movement), checked(OptionBox::MiniBlackHole),
            checked(OptionBox::RoadMovie), checked(OptionBox::Clock)};
}

void TForm1::VelocityClick()
{
    prepareStart(VelocityState::plan(running(), GColor));
    applyStart(velocityFx.start(velocityOptions(), *canvas, random, effectClock, pictureState));
    FVelocity = true;
    // Paging while the lines run would write under them; the stop gives it back.
    ExtTrackBar1->setEnabled(false);
    repaintPicture();
    Timer3->start();
}

void TForm1::Timer3Timer()
{
    const VelocityTick t = velocityFx.tick(velocityOptions(), *canvas, random, effectClock);
    if (t.repaint)
        repaintPicture();
    else if (t.update)
        Image1->repaintSoon();
    if (t.status)
        setStatus(*t.status);
}

void TForm1::Image1MouseMove(int x, int y)
{
    velocityFx.mouseMove(x, y);
}

void TForm1::LCheckBox16Click()
{
    if (checked(OptionBox::Movement))
        setStatus(velocityFx.moveLevelStatus());
}

void TForm1::LCheckBox19Click()
{
    if (checked(OptionBox::Clock))
        velocityFx.clockChecked(picture().width(), picture().height());
}
