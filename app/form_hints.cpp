// The application hint in the status line (AppHint) and the balloons.
// Writes AppHintN1, HintLabel1's caption and hint.
#include "app/TForm1.h"

#include <QLabel>

#include "app/Guarded.h"
#include "controls/TAppHintN.h"

namespace {

constexpr const char *kStatusLineHint = "Corvane ver 1.04";

} // namespace

// Which controls keep their hint out of a balloon is each control's own
// switch, set with the face (Leaf1, the slider) and by "Name on".
void TForm1::createHints()
{
    AppHintN1 = new TAppHintN(this);
    connect(AppHintN1, &TAppHintN::hintChanged, this,
            corvane::guarded([this](const QString &hint) { AppHint(hint); }));
}

void TForm1::AppHint(const QString &hint)
{
    HintLabel1->setText(hint);
    // From the first change on, pointing at the status line shows this.
    HintLabel1->setToolTip(QString::fromLatin1(kStatusLineHint));
    HintLabel1->repaint();
}
