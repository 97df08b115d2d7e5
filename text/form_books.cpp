// The reader's own books: a file or a passage dropped on the window, the file
// named on the command line ("Open With"), the saved source read by the
// deferred load, and the page each recently read book was left at.
// Writes FFileIn, FFileName, FPage, readingBook, bookPlaces, defaultTextPage,
// pictureHintAlt, and through the load Editor2, FPageCount, FPagesBuilt,
// FSamePage, the slider, Label1, Label2 and the status line.
#include "app/TForm1.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/Guarded.h"
#include "text/BookLoad.h"
#include "text/BookPath.h"
#include "text/TextSource.h"

using namespace corvane;

namespace {

constexpr int kOpenRetryMs = 50;               // a waiting drop looks again this often
constexpr char kClipboardName[] = "Clipboard"; // read for this run only
constexpr char kRefusedStatus[] = "Not a text";

using Dropped = TForm1::Dropped;

// What a drop carries that the window can read: one local file, or text.
// File managers add the paths as text too, so a list of files is never
// taken for a passage. The file comes as the URL's bytes, not as a decoded
// name: a name in Shift-JIS must still name the file.
std::optional<Dropped> whatIsDropped(const QMimeData &data)
{
    if (data.hasUrls()) {
        const QByteArray list = data.data(QStringLiteral("text/uri-list"));
        const auto files
                = localFilesOfUriList(std::string_view(list.constData(), size_t(list.size())));
        if (files.size() == 1 && files.front())
            return Dropped{Dropped::File, QString(), absoluteBookPath(*files.front())};
        return Dropped{Dropped::Several, QString(), {}};
    }
    if (data.hasText() && !data.text().isEmpty())
        return Dropped{Dropped::Passage, data.text(), {}};
    return std::nullopt;
}

} // namespace

void TForm1::setStartupFile(const std::string &path)
{
    m_startupFile = path.empty() ? std::string() : absoluteBookPath(path);
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (whatIsDropped(*event->mimeData()))
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    openDropped(*event->mimeData());
    event->acceptProposedAction();
}

void TForm1::openDropped(const QMimeData &data)
{
    // Read after the drop has ended: a message box inside the drop would hold
    // the dragging program, and a page write under way must finish first.
    m_pendingOpen = whatIsDropped(data);
    if (!m_pendingOpen)
        return;
    if (!m_openTimer) {
        m_openTimer = new QTimer(this);
        m_openTimer->setSingleShot(true);
        connect(m_openTimer, &QTimer::timeout, this, guarded([this] { openPending(); }));
    }
    m_openTimer->start(0);
}

bool TForm1::pictureLetsEventsRun() const
{
    return pageWrites > 0 || artsFx.building();
}

bool TForm1::opensMustWait() const
{
    // Page commands and the plasma build let events run while the picture is
    // theirs; before the deferred load the text would be replaced by it.
    return pictureLetsEventsRun() || !loaded;
}

void TForm1::openPending()
{
    if (!m_pendingOpen)
        return;
    if (opensMustWait()) {
        m_openTimer->start(kOpenRetryMs);
        return;
    }
    const Dropped open = *m_pendingOpen;
    m_pendingOpen.reset();
    switch (open.kind) {
    case Dropped::File:
        openBook(open.path);
        break;
    case Dropped::Passage:
        openPassage(open.text);
        break;
    case Dropped::Several:
        refuseText(QStringLiteral("Drop one text file at a time, from this computer."));
        break;
    }
}

void TForm1::refuseText(const QString &message)
{
    setStatus(QString::fromLatin1(kRefusedStatus));
    messageBox(message);
}

void TForm1::keepBookPlace()
{
    if (readingBook)
        bookPlaces.remember(FFileName, FPage, pagePassage());
    else if (!FFileIn)
        defaultTextPage = FPage; // leaving corvane.txt or the built-in text
}

void TForm1::pageToStore()
{
    // The stored page is the one the next start reads its text at. When the
    // text read now is not the saved source, FPage belongs to another text:
    // a passage (read for this run only, so the default text comes back), or
    // the built-in text of a run without "Keep" while a book stays saved.
    if (!FFileIn || readingBook)
        return;
    if (FFileName == kClipboardName)
        FPage = defaultTextPage;
    else if (const std::optional<int> page = bookPlaces.page(FFileName))
        FPage = *page;
}

namespace {

// A book the settings can name is opened again next time; one they cannot
// (a line break in its path, say) is read for this run only.
void takeBook(TForm1 &f, const std::string &path)
{
    f.FFileIn = true;
    f.readingBook = isStorablePath(path);
    f.FFileName = f.readingBook ? path : std::string(kClipboardName);
    f.pictureHintAlt = displayPath(fileNameOf(path));
    if (f.readingBook)
        f.bookPlaces.remember(f.FFileName, f.FPage, f.pagePassage());
}

} // namespace

BookLoad &TForm1::bookLoad()
{
    if (!m_bookLoad)
        m_bookLoad = new BookLoad([this](const QString &progress) { setStatus(progress); },
                                  [this] { return pictureLetsEventsRun(); }, this);
    return *m_bookLoad;
}

void TForm1::openBook(const std::string &path)
{
    // Read in the worker; the text being read stays until the new one stands.
    bookLoad().start([this, path](const ReadProgress &progress) -> std::function<void()> {
        auto file = std::make_shared<TextFile>(readTextFile(path, progress));
        return [this, path, file] { takeReadBook(path, std::move(*file)); };
    });
}

void TForm1::takeReadBook(const std::string &path, TextFile file)
{
    if (file.refusal == Refusal::Cancelled)
        return;
    if (file.refusal != Refusal::None) {
        refuseText(refusalMessage(path, file.refusal));
        return;
    }
    if (busy())
        EffectOut1Click();
    keepBookPlace();
    showBook(std::move(file.bytes), path);
    takeBook(*this, path);
    TriButton1Click();
}

void TForm1::openPassage(const QString &text)
{
    bookLoad().cancel(); // the passage is the newer choice
    if (busy())
        EffectOut1Click();
    keepBookPlace();
    showText(passageBytes(text), true, 1);
    FFileIn = true;
    FFileName = kClipboardName;
    readingBook = false;
    pictureHintAlt.clear();
    TriButton1Click();
}

void TForm1::openStartupFile(const std::string &path, std::string bytes)
{
    // As every start-up load: nothing is written until the first Ecriture.
    showBook(std::move(bytes), path);
    takeBook(*this, path);
}

void TForm1::showBook(std::string bytes, const std::string &path)
{
    const BookPlace *place = bookPlaces.place(path);
    const PagePassage passage = place ? place->passage.value_or(PagePassage{}) : PagePassage{};
    const bool counted = place && place->passage;
    showText(std::move(bytes), true, place ? place->page : 1);
    // Pages counted in the other mode: the passage, not the page number.
    if (counted && aozora.switchable() && passage.aozora != aozora.active)
        showPageOf(passage.place);
}

void TForm1::loadSavedSource(std::string bytes)
{
    showText(std::move(bytes), true, FPage);
    takeBook(*this, FFileName);
}
