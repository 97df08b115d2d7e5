// The window's page writing, title and end screens and button captions.
// Writes the picture, its hint, FPageShown, FBColor, FFreshStart, the
// captions of the flat buttons and two boxes' balloons.
#include "app/TForm1.h"

#include <QMessageBox>

#include "app/TPictureBox.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "writing/Ecriture.h"
#include "writing/PageComposer.h"
#include "writing/TitleScreens.h"

using namespace corvane;

namespace {

// Without a Japanese face the pictures stay plain; say once why, and what to
// install, instead of leaving the user before a blank page.
void tellMissingFonts(QWidget *parent, const PageComposer &composer)
{
    if (!composer.takeMissingFontsNotice())
        return;
    QMessageBox::warning(
            parent, QStringLiteral("Corvane"),
            QStringLiteral("No Japanese Mincho or Gothic font that can write vertically is "
                           "installed, so the text cannot be written.\n\n"
                           "Install the packages %1 (or fonts-ipaexfont or fonts-noto-cjk) "
                           "and start Corvane again.")
                    .arg(pageFontPackages()));
}

// What "Name on" switches, in the order it switches them: the captions the
// flat buttons carry, and the balloons of "Cool Color" and "+Begin End".
struct NameSwitch
{
    THWaSpeedButton *TForm1::*button = nullptr;
    OptionBox box{}; // when there is no button
};
constexpr NameSwitch kNameSwitches[] = {
        {&TForm1::Effect1},
        {&TForm1::EffectOut1},
        {&TForm1::FontColor1},
        {&TForm1::BgColor1},
        {&TForm1::BGChange},
        {&TForm1::Scroll2},
        {&TForm1::FOBlack1},
        {&TForm1::FadeOut1},
        {&TForm1::Leaf1},
        {&TForm1::Leafgo1},
        {&TForm1::RectButton},
        {nullptr, OptionBox::CoolColor},
        {nullptr, OptionBox::BeginEnd},
        {&TForm1::Velocity},
        {&TForm1::finearts},
        {&TForm1::Bitsave},
        {&TForm1::JpegButton},
};

} // namespace

void TForm1::Ecriture()
{
    tellMissingFonts(this, *composer);
    EcritureOptions options;
    options.fadeOut = checked(OptionBox::FadeOut);
    options.fadeIn = checked(OptionBox::FadeIn);
    options.horizontal = checked(OptionBox::Horizontal);
    options.gothic = checked(OptionBox::Gothic);
    // A saved source's rows come from its pages once it is loaded; before the
    // deferred load there are none, and FRows is written as it stands.
    options.FFileIn = FFileIn && !FPagesBuilt;
    options.FoColor = FoColor;
    options.GColor = GColor;
    const EcritureRows rows{
            [this] { FRetsuIist(); },
            [this] { return std::span<const std::string>(FRows.data(), FRows.size()); },
            [this] {
                return PageMarks{aozora.shown, aozora.pages.strings};
            }};
    const FadeContext context = fadeContext();
    const QString hint
            = corvane::Ecriture(picture(), *composer, pictureState, options, rows, context);
    Image1->setToolTip(FFileIn ? pictureHintAlt : hint);
}

void TForm1::FCorvanes()
{
    tellMissingFonts(this, *composer);
    TitleOptions options;
    options.FEnding = FEnding;
    options.fadeOut = checked(OptionBox::FadeOut);
    options.gothic = checked(OptionBox::Gothic);
    options.FoColor = FoColor;
    options.GColor = GColor;
    const FadeContext context = fadeContext();
    corvane::FCorvanes(picture(), composer->faces(), pictureState, options, context);
}

namespace {

// "Name on" and its undoing touch the same controls in the same order: the
// captions of the flat buttons, and the balloons of two boxes.
void showCaptions(TForm1 &f, bool shown)
{
    for (const NameSwitch &s : kNameSwitches) {
        if (s.button)
            (f.*s.button)->setCaptionShown(shown);
        else
            f.box(s.box)->setBalloonHint(shown);
    }
}

} // namespace

void TForm1::PNameon()
{
    showCaptions(*this, true);
}

void TForm1::PNameoff()
{
    showCaptions(*this, false);
}

void TForm1::LCheckBox13Click()
{
    checked(OptionBox::NameOn) ? PNameon() : PNameoff();
}
