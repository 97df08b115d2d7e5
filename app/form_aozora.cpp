// The Aozora reading mode on the window: reading a loaded text as an Aozora
// text when the mode is on and the text is one, and the switch (key "b", the
// context menu's "Aozora") that shows the same passage the other way.
// Writes aozora, and through showText Editor2, FPage and the page labels.
#include "app/TForm1.h"

#include <QLabel>

#include "text/Aozora.h"
#include "text/AozoraLayout.h"
#include "text/TextSource.h"

using namespace corvane;

bool TForm1::readAozora(std::string &bytes, bool normalise)
{
    // The built-in text (loaded without normalisation) is never Aozora.
    const bool aozoraText = normalise && isAozoraText(bytes);
    aozora.clear();
    if (!aozoraText)
        return false;
    // Moved, not copied: the rows are cut from the parsed text, and the
    // source is all else a large book keeps.
    aozora.source = std::move(bytes);
    if (!aozora.wanted)
        return false;
    aozora.pages = loadAozora(*Editor2, aozora.source);
    aozora.active = true;
    return true;
}

std::optional<PagePassage> TForm1::pagePassage() const
{
    if (!aozora.switchable() || !FPagesBuilt)
        return std::nullopt;
    return PagePassage{aozora.passageOfPage(FPage), aozora.active};
}

void TForm1::showPageOf(uint32_t place)
{
    FPage = std::clamp(aozora.pageOfPassage(place), 1, std::max(FPageCount, 1));
    setSliderPosition(FPage);
    Label1->setText(QString::number(FPage));
    pictureState.FSamePage = true;
}

void TForm1::switchAozora()
{
    aozora.wanted = !aozora.wanted;
    setStatus(QString::fromLatin1(aozora.wanted ? kAozoraOnText : kAozoraOffText));
    if (!aozora.switchable() || !FPagesBuilt)
        return; // a plain text reads the same either way
    if (busy())
        EffectOut1Click();
    // The page that holds the first character of the page read, in the other layout.
    const uint32_t passage = aozora.passageOfPage(FPage);
    showText(std::move(aozora.source), true, 1); // read back into aozora.source
    showPageOf(passage);
    TriButton1Click();
    setStatus(QString::fromLatin1(aozora.wanted ? kAozoraOnText : kAozoraOffText));
}
