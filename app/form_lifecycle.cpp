// Start-up (FormCreate), the deferred load (Timer2Timer), shutdown
// (FormCloseQuery), dragging the window by its body and the Slow intervals.
// Writes every field of TForm1 at start-up; the timers' intervals.
#include "app/TForm1.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include "app/Application.h"
#include "core/Design.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "settings/TRegManager.h"
#include "text/Pages.h"
#include "text/TEditor.h"

using namespace corvane;

namespace {

void paintSwatch(QLabel *swatch, uint32_t colour)
{
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Window, toQColor(colour));
    swatch->setPalette(pal);
}

} // namespace

void TForm1::FormCreate()
{
    // The window's shape is applied by the region step; double buffering is Qt's own.
    // The animations' records (differenceFx, velocityFx, artsFx, deepFx) and their flags
    // hold their start-up values from construction; only Deep's colour walk
    // needs the clock, at the end.
    FoColor = 16777215;
    GColor = 0;
    FPage = 1;
    Label1->setText(QStringLiteral("1"));
    FPageCount = 0;
    ExtTrackBar1->setMaxChecked(0); // refused while the minimum is 1: the design range stays
    Label2->setText(QStringLiteral("0"));
    pictureState.FSamePage = true;
    Image1->setToolTip(QStringLiteral("Corvane"));
    FLeaf = 1;
    pictureHintAlt.clear();
    Editor2->setReadOnly(true);

    RegManager1->IniFileName = m_iniPath.isEmpty() ? platform->settingsPath()
                                                   : QFile::encodeName(m_iniPath).toStdString();
    RegManager1->removeStaleTemporaries();
    readSettings();
    move(Form1Left, Form1Top);

    if (!checked(OptionBox::Keep)) { // "Keep" off: reading starts at page 1 of the built-in text
        FPage = 1;
        Label1->setText(QStringLiteral("1"));
    }
    paintSwatch(FLabel, FoColor);
    paintSwatch(GLabel, GColor);
    pictureState.FPageShown = false;
    FEnding = false;
    Leafgo1->setToolTip(leafHint(FLeaf));
    FPagesBuilt = false;
    pictureState.FFreshStart = true;

    picture().fill(toQColor(GColor));
    if (checked(OptionBox::Tenderly))
        PNoise1();
    pictureState.FBColor = false; // the stored value only travels from shutdown to shutdown
    if (checked(OptionBox::NameOn))
        PNameon();
    applyTimerIntervals(checked(OptionBox::Slow));

    deepFx.init(random, effectClock);

    Timer2->setSingleShot(true); // a title fade that pumps events must not see it again
    Timer2->start();
}

void TForm1::Timer2Timer()
{
    if (checked(OptionBox::BeginEnd))
        FCorvanes();
    Timer2->stop();
    loadText(); // read in a worker: loaded is set once the text stands
}

bool TForm1::FormCloseQuery()
{
    Editor2->Lines().Clear();
    try {
        // One change of the file: a close killed half-way leaves the old
        // settings, not a mixture of old and new.
        TRegTransaction save(*RegManager1);
        writeSettings();
        save.commit();
    } catch (const std::exception &e) {
        // The previous settings file is left whole; say why this close kept nothing.
        showError(QString::fromUtf8(e.what()));
        return true;
    }
    if (checked(OptionBox::BeginEnd) && isVisible() && !m_sessionEnding) {
        FEnding = true;
        FCorvanes();
    }
    return true;
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::closeForSessionEnd()
{
    // The session is going away: keep the settings, skip the end screen's fade.
    m_sessionEnding = true;
    close();
}

void TForm1::LCheckBox14Click()
{
    applyTimerIntervals(checked(OptionBox::Slow));
    setStatus(checked(OptionBox::Slow) ? QStringLiteral("Slow on") : QStringLiteral("Slow off"));
}
