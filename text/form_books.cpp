// The reader's own books: a file or a passage dropped on the window, the file
// named on the command line ("Open With"), the saved source read by the
// deferred load, and the page each recently read book was left at.
// Writes FFileIn, FFileName, FPage, FSamePage, FReadingBook, FBooks,
// FDefaultPage, FPictureHintAlt, and through the load Editor2, FPageCount, FPagesBuilt,
// the slider, Label1, Label2 and the status line.
#include "app/TForm1.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "text/PagedText.h"
#include "text/TextSource.h"

using namespace corvane;

namespace {

constexpr int kOpenRetryMs = 50;         // a waiting drop looks again this often
constexpr char kClipboardName[] = "Clipboard"; // read for this run only
constexpr char kRefusedStatus[] = "Not a text";

// The hourglass for the whole screen while a text is normalised and wrapped.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// What a drop carries that the window can read: one local file, or text.
// File managers add the paths as text too, so a list of files is never
// taken for a passage.
struct Dropped
{
    enum Kind { Nothing, File, Files, Passage } kind = Nothing;
    QString text; // the path or the passage
};

Dropped whatIsDropped(const QMimeData &data)
{
    if (data.hasUrls()) {
        const QList<QUrl> urls = data.urls();
        if (urls.size() == 1 && urls.front().isLocalFile())
            return {Dropped::File, QDir::cleanPath(QFileInfo(urls.front().toLocalFile()).absoluteFilePath())};
        return {Dropped::Files, QString()};
    }
    if (data.hasText() && !data.text().isEmpty())
        return {Dropped::Passage, data.text()};
    return {};
}

} // namespace

void TForm1::setStartupFile(const QString &path)
{
    m_startupFile = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (whatIsDropped(*event->mimeData()).kind != Dropped::Nothing)
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    openDropped(*event->mimeData());
    event->acceptProposedAction();
}

void TForm1::openDropped(const QMimeData &data)
{
    const Dropped d = whatIsDropped(data);
    if (d.kind == Dropped::Nothing)
        return;
    if (d.kind == Dropped::Files) {
        refuseText(QStringLiteral("Drop one text file at a time, from this computer."));
        return;
    }
    // Read after the drop has ended: a message box inside the drop would hold
    // the dragging program, and a page write under way must finish first.
    m_pendingOpen = PendingOpen{d.kind == Dropped::File, d.text};
    if (!m_openTimer) {
        m_openTimer = new QTimer(this);
        m_openTimer->setSingleShot(true);
        connect(m_openTimer, &QTimer::timeout, this, &TForm1::openPending);
    }
    m_openTimer->start(0);
}

bool TForm1::opensMustWait() const
{
    // Page commands and the plasma build let events run while the picture is
    // theirs; before the deferred load the text would be replaced by it.
    return FPageWrites > 0 || FArtsFx.building() || !FLoaded;
}

void TForm1::openPending()
{
    if (!m_pendingOpen)
        return;
    if (opensMustWait()) {
        m_openTimer->start(kOpenRetryMs);
        return;
    }
    const PendingOpen open = *m_pendingOpen;
    m_pendingOpen.reset();
    if (open.file)
        openBook(open.text);
    else
        openPassage(open.text);
}

void TForm1::refuseText(const QString &message)
{
    setStatus(QString::fromLatin1(kRefusedStatus));
    messageBox(message);
}

void TForm1::keepBookPlace()
{
    if (FReadingBook)
        FBooks.remember(FFileName, FPage);
    else if (!FFileIn)
        FDefaultPage = FPage; // leaving corvane.txt or the built-in text
}

void TForm1::pageToStore()
{
    // A passage is read for this run only: the next start reads the default
    // text at the stored page, which must be that text's page, not the passage's.
    if (FFileIn && !FReadingBook && FFileName == kClipboardName)
        FPage = FDefaultPage;
}

namespace {

// The text the window now reads, in place of whatever it read: loaded,
// normalised and paged as the start-up load does, at page (clamped).
void showText(TForm1 &f, const std::string &bytes, int page)
{
    {
        WaitCursor wait;
        corvane::loadText(*f.Editor2, bytes, true);
    }
    f.FPagesBuilt = false;
    f.FPage = page;
    f.FCorEcri();
    f.FPage = std::clamp(page, 1, std::max(f.FPageCount, 1));
    f.setSliderPosition(f.FPage);
    f.Label1->setText(QString::number(f.FPage));
    f.FSamePage = true;
    f.FPagesBuilt = true;
    f.Image1->setToolTip(QString::fromLatin1(kProductName));
    f.setStatus(QString::fromLatin1(kProductName));
}

// A book the settings can name is opened again next time; one they cannot
// (a line break in its path, say) is read for this run only.
void takeBook(TForm1 &f, const QString &path)
{
    const std::string stored = storedPath(path);
    f.FFileIn = true;
    f.FReadingBook = isStorablePath(stored);
    f.FFileName = f.FReadingBook ? stored : std::string(kClipboardName);
    f.FPictureHintAlt = QFileInfo(path).fileName();
    if (f.FReadingBook)
        f.FBooks.remember(f.FFileName, f.FPage);
}

} // namespace

void TForm1::openBook(const QString &path)
{
    TextFile file = readTextFile(path);
    if (file.refusal != Refusal::None) {
        refuseText(refusalMessage(path, file.refusal));
        return;
    }
    if (busy())
        EffectOut1Click();
    keepBookPlace();
    showText(*this, file.bytes, FBooks.page(storedPath(path)).value_or(1));
    takeBook(*this, path);
    TriButton1Click();
}

void TForm1::openPassage(const QString &text)
{
    if (busy())
        EffectOut1Click();
    keepBookPlace();
    showText(*this, passageBytes(text), 1);
    FFileIn = true;
    FFileName = kClipboardName;
    FReadingBook = false;
    FPictureHintAlt.clear();
    TriButton1Click();
}

bool TForm1::openStartupFile(QString &refusal)
{
    const QString path = m_startupFile;
    m_startupFile.clear();
    TextFile file = readTextFile(path);
    if (file.refusal != Refusal::None) {
        refusal = refusalMessage(path, file.refusal);
        return false;
    }
    // As every start-up load: nothing is written until the first Ecriture.
    showText(*this, file.bytes, FBooks.page(storedPath(path)).value_or(1));
    takeBook(*this, path);
    return true;
}

void TForm1::loadSavedSource(const std::string &bytes)
{
    showText(*this, bytes, FPage);
    takeBook(*this, pathFromStored(FFileName));
}
