// The window's page writing, title and end screens and button captions.
// Writes the picture, its hint, FPageShown, FBColor, FFreshStart and the
// captions of the flat buttons.
#include "app/TForm1.h"

#include <QMessageBox>
#include <QToolButton>

#include "app/TPictureBox.h"
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
    QMessageBox::warning(parent, QStringLiteral("Corvane"),
                         QStringLiteral("No Japanese Mincho or Gothic font that can write vertically is "
                                        "installed, so the text cannot be written.\n\n"
                                        "Install the packages %1 (or fonts-ipaexfont or fonts-noto-cjk) "
                                        "and start Corvane again.")
                             .arg(pageFontPackages()));
}

} // namespace

void TForm1::Ecriture()
{
    tellMissingFonts(this, *FComposer);
    EcritureOptions options;
    options.fadeOut = checked(5);
    options.fadeIn = checked(7);
    options.horizontal = checked(8);
    options.gothic = checked(15);
    // A saved source's rows come from its pages once it is loaded; before the
    // deferred load there are none, and FRows is written as it stands.
    options.FFileIn = FFileIn && !FPagesBuilt;
    options.FoColor = FoColor;
    options.GColor = GColor;
    const EcritureRows rows{[this] { FRetsuIist(); },
                            [this] { return std::span<const std::string>(FRows.data(), FRows.size()); }};
    const FadeContext context = fadeContext();
    const QString hint = corvane::Ecriture(picture(), *FComposer, {FBColor, FPageShown, FFreshStart},
                                           options, rows, context);
    Image1->setToolTip(FFileIn ? FPictureHintAlt : hint);
}

void TForm1::FCorvanes()
{
    tellMissingFonts(this, *FComposer);
    TitleOptions options;
    options.FEnding = FEnding;
    options.fadeOut = checked(5);
    options.gothic = checked(15);
    options.FoColor = FoColor;
    options.GColor = GColor;
    const FadeContext context = fadeContext();
    corvane::FCorvanes(picture(), FComposer->faces(), {FBColor, FPageShown, FFreshStart}, options, context);
}

namespace {

// "Name on" and its undoing touch the same controls in the same order: the
// captions of the flat buttons, and the balloons of two boxes.
void showCaptions(TForm1 &f, bool shown)
{
    for (const NameButton &b : kNameButtons) {
        auto *w = f.findChild<QWidget *>(QString::fromLatin1(b.control));
        if (!w)
            continue;
        if (b.balloonHint)
            w->setProperty("balloonHint", shown);
        else if (auto *button = qobject_cast<QToolButton *>(w))
            button->setText(shown ? QString::fromLatin1(b.caption) : QString());
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
