// The About screen ("Credits", menu item "About"), a picture like a page: it
// stays until the next command draws over it, and the next Ecriture writes the
// page that stood before. Writes the picture, FPageShown and FSamePage.
#include "app/TForm1.h"

#include "app/AboutScreen.h"
#include "effects/TABitmap.h"
#include "writing/PageComposer.h"

using namespace corvane;

void TForm1::About()
{
    if (busy())
        return;
    pictureState.FPageShown = false;
    TABitmap screen(picture().width(), picture().height());
    composeAbout(screen, composer->faces(), checked(OptionBox::Gothic), FoColor, GColor,
                 checked(OptionBox::Tenderly), random);
    if (checked(OptionBox::FadeIn)) { // "+Fade In": each step a quarter of the way, no final copy
        for (int i = 0; i < kAboutBlendSteps; ++i) {
            screen.BlendOnto(0, 0, screen.width(), screen.height(), picture(), kAboutBlendAlpha);
            present();
        }
    } else {
        screen.copyOnto(picture());
        present();
    }
    pictureState.FSamePage = true;
}
