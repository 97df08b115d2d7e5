// The window's side of Deep (Mu-gen): RectButtonClick (start) and
// Timer5Timer (one tick); frame, smear and colour walk are DeepState's.
// Writes FDeep, deepFx (FDeepColor, FDeepInset ...) and Image1's hint; the
// picture flags only through the fade.
#include "app/TForm1.h"

#include <QTimer>

#include "controls/TLozengeCheckBox.h"

using namespace corvane;

void TForm1::RectButtonClick()
{
    // A running Deep is restarted from its ground, its inset and walk carried on.
    prepareStart(deepFx.plan(running(), GColor));
    FDeep = true;
    applyStart(deepFx.start(*canvas));
    repaintPicture();
    Timer5->start();
}

void TForm1::Timer5Timer()
{
    deepFx.tick(SepaCheckBox->isChecked(), *canvas, random);
    repaintPicture();
}
