// The window's fades and colour commands, and the frame pacing that lets
// every step of a fade be seen. Writes FoColor, GColor, FBColor, FPageShown,
// FSamePage and the colour swatches.
#include "app/TForm1.h"

#include <QColorDialog>
#include <QLabel>
#include <QScreen>
#include <QThread>

#include "core/Design.h"
#include "app/TPictureBox.h"
#include "effects/Fades.h"

using namespace corvane;

namespace {

void paintSwatch(QLabel *swatch, uint32_t colour)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, toQColor(colour));
    swatch->setPalette(pal);
    swatch->update();
}

} // namespace

void TForm1::present()
{
    // Repaint at once, then hold the step for one display frame so a fade
    // lasts the same on any machine however fast the blend. Input waits: no
    // events are processed here.
    repaintPicture();
    const QScreen *s = screen();
    const double hz = s && s->refreshRate() >= 20 ? s->refreshRate() : 60.0;
    const qint64 frameNs = qint64(1e9 / hz);
    const qint64 now = platform->monotonicNs();
    const qint64 due = lastPresentNs + frameNs;
    if (lastPresentNs != 0 && now < due && due - now <= frameNs)
        QThread::usleep(uint64_t((due - now) / 1000));
    lastPresentNs = platform->monotonicNs();
}

FadeContext TForm1::fadeContext()
{
    return {random, [this] { present(); }, checked(OptionBox::Tenderly), checked(OptionBox::Color)};
}

void TForm1::PNoise1()
{
    corvane::PNoise1(picture(), fadeContext());
}

void TForm1::PFadeOut(uint32_t colour)
{
    corvane::PFadeOut(picture(), colour, pictureState, fadeContext());
}

void TForm1::PFadeOutB()
{
    corvane::PFadeOutB(picture(), pictureState, fadeContext());
}

void TForm1::PFadeOutW()
{
    corvane::PFadeOutW(picture(), pictureState, fadeContext());
}

void TForm1::PFadeInG(uint32_t colour)
{
    corvane::PFadeInG(picture(), colour, pictureState, fadeContext());
}

namespace {

// One colour dialog for the run: it opens on the colour of its previous use.
QColorDialog *colourDialog(TForm1 &form, QColorDialog *&dialog)
{
    if (!dialog) {
        dialog = new QColorDialog(&form);
        dialog->setWindowTitle(QStringLiteral("Corvane"));
    }
    return dialog;
}

enum class Chosen { Text, Background };

// The text and the background colour are chosen the same way; the page
// standing on the picture is written again in the new colours.
void chooseColour(TForm1 &f, Chosen which)
{
    if (f.busy())
        return;
    QColorDialog *dialog = colourDialog(f, f.ColorDialog1);
    if (dialog->exec() != QDialog::Accepted)
        return;
    const bool background = which == Chosen::Background;
    uint32_t &colour = background ? f.GColor : f.FoColor;
    colour = fromQColor(dialog->selectedColor());
    paintSwatch(background ? f.GLabel : f.FLabel, colour);
    fadeToNewColour(f.picture(), f.GColor, f.pictureState, f.fadeContext(),
                    [&f] { f.TriButton1Click(); });
    if (background)
        settleBackground(f.GColor, f.pictureState);
}

} // namespace

void TForm1::FontColor1Click()
{
    chooseColour(*this, Chosen::Text);
}

void TForm1::BgColor1Click()
{
    chooseColour(*this, Chosen::Background);
}

void TForm1::BGChangeClick()
{
    if (busy())
        return;
    effectClock.reseed(random);
    GColor = randomBackground(random, checked(OptionBox::CoolColor));
    paintSwatch(GLabel, GColor);
    fadeToNewColour(picture(), GColor, pictureState, fadeContext(), [this] { TriButton1Click(); });
}

void TForm1::Fadeout1Click()
{
    runFadeOut(busy(), picture(), GColor, pictureState, fadeContext());
}

void TForm1::FOBlack1Click()
{
    runBlackFadeOut(busy(), picture(), pictureState, fadeContext());
}
