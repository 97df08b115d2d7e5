// The window's side of Difference: Effect1Click (start) and Timer1Timer (one
// tick); the drawing itself is DifferenceState's. Writes FDifference, differenceFx,
// the picture flags and hint, and locks "Form", "Color" and "Paint" while it runs.
#include "app/TForm1.h"

#include <QTimer>

#include "controls/TLozengeCheckBox.h"

using namespace corvane;

void TForm1::Effect1Click()
{
    // A running Difference is set up afresh, not stopped.
    prepareStart(DifferenceState::plan(running(), GColor));
    FDifference = true;
    const DifferenceOptions options{checked(OptionBox::Form), checked(OptionBox::Color),
                                    checked(OptionBox::Paint)};
    applyStart(differenceFx.start(options, *canvas, random, effectClock, pictureState));
    repaintPicture();
    for (OptionBox option : {OptionBox::Form, OptionBox::Color, OptionBox::Paint})
        box(option)->setEnabled(false);
    Timer1->start();
}

void TForm1::Timer1Timer()
{
    differenceFx.tick(*canvas, random);
    repaintPicture();
}
