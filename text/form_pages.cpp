// The window's text and page commands: the text part of the deferred load,
// the load of a text in place of another (showText), paging (FCorEcri,
// FRetsuIist, PFrequency), forward, back, Reset, the slider, the bookmark and
// the option boxes that rewrite the page.
// Writes FPage, FPageCount, FPageTotal, FPagesBuilt, FLeaf, FRows, FSamePage,
// FPageShown, FFileIn, FArtsShown, pageWrites, the Aozora marks of the page;
// Label1, Label2, the slider and Leafgo1's hint.
#include "app/TForm1.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <utility>

#include "app/TPictureBox.h"
#include "core/Design.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "controls/TTriangleButton.h"
#include "text/AozoraLayout.h"
#include "text/BookLoad.h"
#include "text/PagedText.h"
#include "text/Pages.h"
#include "text/TEditor.h"
#include "text/TextSource.h"

using namespace corvane;

namespace {

constexpr uint32_t kTriPressed = 13626823; // 0xCFEDC7, a page button while its page is written
constexpr uint32_t kTri1Normal = 16497821; // 0xFBBC9D
constexpr uint32_t kTri2Normal = 11256527; // 0xABC2CF

void paintButton(TTriangleButton *button, uint32_t bbggrr)
{
    button->setFaceColour(toQColor(bbggrr));
}

// The hourglass for the whole screen while the text is normalised and wrapped.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Counts the page commands under way: they let events run, and a drop
// handled there must wait for the page (text/form_books.cpp).
struct PageWrite
{
    int &count;
    explicit PageWrite(int &n)
        : count(n)
    {
        ++count;
    }
    ~PageWrite() { --count; }
    PageWrite(const PageWrite &) = delete;
    PageWrite &operator=(const PageWrite &) = delete;
};

} // namespace

void TForm1::loadText()
{
    // Everything that touches the files runs in the worker; the fields
    // change only when the text is read, on the window's thread.
    const bool keep = checked(OptionBox::Keep);
    const std::string argument = std::exchange(m_startupFile, std::string());
    const bool fileIn = FFileIn;
    const std::string saved = FFileName;
    const int page = FPage;
    bookLoad().start([=, this](const ReadProgress &progress) -> std::function<void()> {
        // A file named on the command line is read instead of the saved
        // source; when it is refused the saved source loads as usual, and
        // then the refusal is shown over the loaded window.
        auto named = std::make_shared<TextFile>();
        if (!argument.empty()) {
            *named = readTextFile(argument, progress);
            if (named->refusal == Refusal::None)
                return [this, argument, named] {
                    openStartupFile(argument, std::move(named->bytes));
                    loaded = true;
                };
        }
        const SavedSourceCheck check = checkSavedSource(keep, fileIn, saved, page);
        auto text = std::make_shared<StartupText>(chooseStartupText(keep, check.fileIn, saved));
        return [this, check, text, argument, named] {
            showStartupText(check, std::move(*text));
            if (!argument.empty())
                refuseText(refusalMessage(argument, named->refusal));
            loaded = true;
        };
    });
}

void TForm1::showStartupText(const SavedSourceCheck &saved, StartupText text)
{
    FFileIn = saved.fileIn;
    FPage = saved.page;
    if (saved.samePage)
        pictureState.FSamePage = true;
    if (text.origin == TextOrigin::Saved) {
        loadSavedSource(std::move(text.bytes));
        return;
    }
    if (text.savedRefused != Refusal::None)
        FFileIn = false; // the book keeps its page in bookPlaces; this run reads the default text

    showText(std::move(text.bytes), text.normalise, text.fromPageOne ? 1 : FPage);
    if (text.savedRefused != Refusal::None)
        refuseText(refusalMessage(FFileName, text.savedRefused));
}

void TForm1::showText(std::string bytes, bool normalise, int page)
{
    {
        WaitCursor wait;
        // The old rows go first, and the bytes are moved on, never copied:
        // a large text is held once by the rows (and once more as the
        // source of an Aozora text) while it is paged.
        Editor2->Lines().Clear();
        if (!readAozora(bytes, normalise)) {
            if (aozora.switchable()) // an Aozora text read raw: its bytes are the source
                corvane::loadText(*Editor2, std::string_view(aozora.source), normalise);
            else
                corvane::loadText(*Editor2, std::move(bytes), normalise);
        }
        if (aozora.switchable() && !aozora.active)
            aozora.rawRowPlaces = rawRowPlaces(*Editor2);
    }
    FPagesBuilt = false; // a new text is paged afresh
    FPage = page;
    FCorEcri();
    // The slider keeps a page within the text; an empty text, whose slider
    // keeps its design range, is read at page 1.
    FPage = std::clamp(page, 1, std::max(FPageCount, 1));
    setSliderPosition(FPage);
    Label1->setText(QString::number(FPage));
    pictureState.FSamePage = true;
    Image1->setToolTip(QString::fromLatin1(kProductName));
    setStatus(QString::fromLatin1(kProductName));
    FPagesBuilt = true;
}

void TForm1::FreplaceP()
{
    WaitCursor wait;
    normaliseEditor(*Editor2);
}

void TForm1::FCorEcri()
{
    if (!FPagesBuilt)
        FPageTotal = buildPages(*Editor2);
    FPageCount = FPageTotal;
    ExtTrackBar1->setMaxChecked(FPageCount);
    PFrequency();
    Label1->setText(QString::number(FPage));
    Label2->setText(QString::number(FPageCount));
    pictureState.FSamePage = true;
}

void TForm1::PFrequency()
{
    const int frequency = tickFrequency(FPageCount);
    ExtTrackBar1->setTickInterval(frequency);
    ExtTrackBar1->setToolTip(scaleHint(frequency));
}

void TForm1::FRetsuIist()
{
    // An empty text has no rows: the page written is empty.
    const PageRows rows
            = FPageCount > 0 ? pageRows(*Editor2, clampPage(FPage, FPageCount)) : PageRows{};
    for (size_t k = 0; k < FRows.size(); ++k)
        FRows[k] = rows[k];
    aozora.shown = aozora.active && FPageCount > 0
            ? aozora.pages.pageMarks(clampPage(FPage, FPageCount))
            : std::vector<RowMark>{};
}

void TForm1::setSliderPosition(int position)
{
    // The slider keeps its position within its range and reports every change.
    ExtTrackBar1->setValue(position);
    if (ExtTrackBar1->value() != FPage)
        ExtTrackBar1Change(ExtTrackBar1->value());
}

void TForm1::ExtTrackBar1Change(int position)
{
    // An empty text keeps the slider's design range 1..5 but has no page
    // past the first: its place, stored or remembered, is page 1.
    FPage = FPagesBuilt && FPageCount == 0 ? 1 : position;
    Label1->setText(QString::number(FPage));
    pictureState.FSamePage = true;
}

namespace {

enum class Turn { Forward, Back };

// Forward and back are one command that differs in its button and in the
// page it moves to. Events run twice: once the pressed colour is up (so it
// is painted before the write blocks the window) and once at the end.
void turnPage(TForm1 &f, Turn turn)
{
    const PageWrite writing(f.pageWrites);
    if (f.busy())
        f.EffectOut1Click();
    f.pictureState.FArtsShown = false;
    TTriangleButton *button = turn == Turn::Forward ? f.TriButton1 : f.TriButton2;
    paintButton(button, kTriPressed);
    f.processPendingEvents();
    f.FPage = turn == Turn::Forward ? forwardPage(f.FPage, f.FPageCount, f.pictureState.FSamePage)
                                    : backPage(f.FPage, f.FPageCount);
    f.setSliderPosition(f.FPage);
    f.Ecriture();
    f.setStatus(QString::fromLatin1(kProductName));
    f.Label1->setText(QString::number(f.FPage));
    f.pictureState.FSamePage = false;
    paintButton(button, turn == Turn::Forward ? kTri1Normal : kTri2Normal);
    f.processPendingEvents();
}

// Reset and Go: the page is chosen, then the forward command writes it
// rather than the one after it.
void writeChosenPage(TForm1 &f, int page)
{
    f.FPage = page;
    f.setSliderPosition(page);
    f.Label1->setText(QString::number(page));
    f.pictureState.FSamePage = true;
    f.TriButton1Click();
}

enum class PageOption { Tenderly, Horizontal, Gothic };

// A writing option takes effect on the page being read, unless an animation
// owns the picture. Gothic goes on over plan de arts alone: the forward
// command it runs stops plan de arts first.
void rewriteForOption(TForm1 &f, PageOption option)
{
    const Busy running = f.running();
    const bool refused = option == PageOption::Gothic
            ? running.difference || running.velocity || running.deep
            : running.any();
    if (refused)
        return;
    f.pictureState.FSamePage = true;
    f.TriButton1Click();
}

} // namespace

void TForm1::TriButton1Click()
{
    turnPage(*this, Turn::Forward);
}

void TForm1::TriButton2Click()
{
    turnPage(*this, Turn::Back);
}

void TForm1::Reset1Click()
{
    if (busy())
        EffectOut1Click();
    pictureState.FArtsShown = false;
    pictureState.FPageShown = true; // with "+Fade Out" the write first fades whatever stands there
    setStatus(QString::fromLatin1(kProductName));
    writeChosenPage(*this, 1);
}

void TForm1::Leaf1Click()
{
    if (busy())
        return;
    FLeaf = FPage;
    Leafgo1->setToolTip(leafHint(FLeaf));
}

void TForm1::Leafgo1Click()
{
    if (busy())
        return;
    const std::optional<int> page = goPage(FLeaf, FPageCount);
    if (!page) {
        setStatus(QString::fromLatin1(kOverPageText));
        return;
    }
    writeChosenPage(*this, *page);
}

void TForm1::LCheckBox6Click()
{
    rewriteForOption(*this, PageOption::Tenderly);
}

void TForm1::LCheckBox8Click()
{
    rewriteForOption(*this, PageOption::Horizontal);
}

void TForm1::LCheckBox15Click()
{
    rewriteForOption(*this, PageOption::Gothic);
}
