// The application hint in the status line (AppHint) and which controls show
// their hint in a balloon. Writes AppHintN1, HintLabel1's caption and hint,
// and each control's balloon switch.
#include "app/TForm1.h"

#include <QLabel>

#include "app/Guarded.h"
#include "controls/TAppHintN.h"

namespace {

constexpr const char *kStatusLineHint = "Corvane ver 1.04";

// Their hint reaches the status line only. "Cool Color" and "+Begin End" get
// their balloons from "Name on" (PNameon / PNameoff).
constexpr const char *kNoBalloon[] = {"Leaf1", "ExtTrackBar1", "LCheckBox4", "LCheckBox12"};

bool balloonByDefault(const QString &name)
{
    for (const char *n : kNoBalloon)
        if (name == QLatin1String(n))
            return false;
    return true;
}

} // namespace

void TForm1::createHints()
{
    for (QWidget *w : findChildren<QWidget *>())
        w->setProperty(kBalloonHintProperty, balloonByDefault(w->objectName()));
    AppHintN1 = new TAppHintN(this);
    connect(AppHintN1, &TAppHintN::hintChanged, this, corvane::guarded([this](const QString &hint) { AppHint(hint); }));
}

void TForm1::AppHint(const QString &hint)
{
    HintLabel1->setText(hint);
    // From the first change on, pointing at the status line shows this.
    HintLabel1->setToolTip(QString::fromLatin1(kStatusLineHint));
    HintLabel1->repaint();
}
