// The main window: owns every control, timer and piece of run-time state.
// Member functions are defined in one file per subsystem:
//   app/TForm1.cpp            construction: controls, timers, menus, keys
//   app/form_lifecycle.cpp    FormCreate, Timer2Timer, FormCloseQuery, dragging, Slow
//   app/form_settings.cpp     the ordered table of stored settings
//   app/form_menu.cpp         the context menu PopupMenu1 and its Ctrl shortcuts; PopupMenu2
//   app/form_keys.cpp         every key of the window, through the key tables
//   app/form_tray.cpp         the tray icon
//   app/form_hints.cpp        the status line's application hint, the balloons
//   app/form_about.cpp        the About screen
//   export/form_export.cpp    Bitmap save and Jpeg save through SavePictureDialog1
//   effects/form_effects.cpp  what the four animations share: start, stop, flags
//   effects/form_difference.cpp, form_velocity.cpp, form_deep.cpp, form_arts.cpp
//   text/form_books.cpp       the reader's own books: drops, "Open With", their pages
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effects/Canvas.h"
#include "effects/Deep.h"
#include "effects/Difference.h"
#include "effects/EffectCommon.h"
#include "effects/Fades.h"
#include "effects/PlanDeArts.h"
#include "effects/Random.h"
#include "effects/Velocity.h"
#include "app/AozoraReading.h"
#include "app/AutoPages.h"
#include "app/OptionBox.h"
#include "app/Platform.h"
#include "controls/MaskedWindow.h"
#include "settings/BookPlaces.h"
#include "settings/CorvaneSettings.h"
#include "text/TextSource.h"

class QColorDialog;
class QFileDialog;
class QMimeData;
class QSystemTrayIcon;
class TAppHintN;

class QLabel;
class QTimer;
class QMenu;
class QAction;
class TLozengeCheckBox;
class THWaSpeedButton;
class TShineSpeedButton;
class TTriangleButton;
class TExtTrackBar;
class TPictureBox;
class FullScreenPicture;

namespace corvane {
class PageComposer;
class TRegManager;
class TEditor;
class BookLoad;
class TRgn;
struct SettingBinding;
} // namespace corvane

class TForm1 : public QWidget, public corvane::MaskedWindow
{
    Q_OBJECT

public:
    // iniPath empty: the settings file the platform names. given null: the
    // desktop this process runs on. FormCreate runs before the constructor
    // returns, so a test that fixes the clock must do it here.
    explicit TForm1(const QString &iniPath = {}, std::shared_ptr<corvane::Platform> given = {},
                    QWidget *parent = nullptr);
    ~TForm1() override;

    // --- app/form_lifecycle.cpp: start-up, deferred load, shutdown --------------
    void FormCreate();
    void Timer2Timer();
    bool FormCloseQuery();
    void FormClose() {}
    void Exit1Click();
    void closeForSessionEnd(); // SIGTERM, SIGHUP: close without the end screen
    void Rgn1MouseDown(Qt::MouseButtons buttons, const QPoint &point);
    void LCheckBox14Click(); // "Slow"
    // The timers' intervals from their one table (app/TForm1.cpp). The Slow
    // box sets every animation timer; the Slow key leaves Timer5 alone.
    enum class SlowSwitch { Box, Key };
    void applyTimerIntervals(bool slow, SlowSwitch by = SlowSwitch::Box);

    // --- text/form_pages.cpp: text source, pages and bookmark --------------------
    void loadText(); // the text part of Timer2Timer, read in a worker
    void showStartupText(const corvane::SavedSourceCheck &saved, corvane::StartupText text);
    void FreplaceP();       // normalise Editor2's text
    void FCorEcri();        // cut the text into pages, publish the count
    void FRetsuIist();      // FRows := the rows of page FPage
    void PFrequency();      // slider tick spacing and hint
    void TriButton1Click(); // forward (Ecriture)
    void TriButton2Click(); // back
    void Reset1Click();
    void Leaf1Click();
    void Leafgo1Click();
    void ExtTrackBar1Change(int position);
    void LCheckBox6Click();  // "Tenderly"
    void LCheckBox8Click();  // "Horizontal"
    void LCheckBox15Click(); // "Gothic"
    void setSliderPosition(int position);
    // Loads and pages a text in place of the one read, at page (clamped).
    void showText(std::string bytes, bool normalise, int page);
    // app/form_aozora.cpp: the Aozora reading mode and its switch.
    void switchAozora();
    bool readAozora(std::string &bytes, bool normalise);
    // Where the page read starts in a text that reads two ways, else nothing.
    std::optional<corvane::PagePassage> pagePassage() const;
    // The page holding the character at a file place becomes the page read.
    void showPageOf(uint32_t place);

    // --- text/form_books.cpp: the reader's own books -----------------------------
    // A file named on the command line, opened by the deferred load instead of
    // the saved source; relative to the current folder.
    void setStartupFile(const std::string &path);
    void openDropped(const QMimeData &data); // waits while a page is written
    void openBook(const std::string &path);  // a dropped file, at its remembered page
    void openPassage(const QString &text);   // dropped text, read for this run only
    void openStartupFile(const std::string &path, std::string bytes);
    // A book's text at its remembered place, also when read in another mode then.
    void showBook(std::string bytes, const std::string &path);
    void takeReadBook(const std::string &path, corvane::TextFile file); // a read book, or why not
    corvane::BookLoad &bookLoad();           // the worker that reads books
    void loadSavedSource(std::string bytes); // the deferred load of FFileName
    void keepBookPlace();                    // bookPlaces learns the page of the book read
    void pageToStore();                      // FPage as the next start must read it
    void refuseText(const QString &message); // status line and message box; nothing changes
    bool opensMustWait() const;
    bool pictureLetsEventsRun() const; // a page command or the plasma build under way
    struct Dropped
    {
        enum Kind { File, Passage, Several } kind;
        QString text;     // the passage
        std::string path; // the absolute path, as the file system spells it
    };

    // --- writing/form_writing.cpp: page writing, title screens, captions ----------
    void Ecriture();
    void FCorvanes();        // title screen, or "FIN" while FEnding
    void PNameon();          // button captions shown
    void PNameoff();         // button captions hidden
    void LCheckBox13Click(); // "Name on"

    // --- effects/form_fades.cpp: fades and colour commands ------------------------
    void present();                     // repaint the picture and hold it one display frame
    corvane::FadeContext fadeContext(); // generator, present, "Tenderly" and "Color"
    void PNoise1();                     // "Tenderly" grain over the picture
    void PFadeOut(uint32_t colour);
    void PFadeOutB();
    void PFadeOutW();
    void PFadeInG(uint32_t colour);
    void FontColor1Click();
    void BgColor1Click();
    void BGChangeClick();
    void Fadeout1Click();
    void FOBlack1Click();
    void EffectOut1Click(); // the common stop of every effect

    // --- effects/form_effects.cpp: what every animation start shares -------------
    corvane::Busy running() const;                     // FDifference, FVelocity, FArts, FDeep
    void prepareStart(const corvane::StartPlan &plan); // stop others, status, fade
    void runFade(corvane::Fade fade);
    void applyStart(const corvane::StartResult &result); // Image1's hint

    // --- effects/form_difference.cpp: Difference (Timer1) --------------------------
    void Effect1Click();
    void Timer1Timer();

    // --- effects/form_velocity.cpp: Velocity (Timer3) ------------------------------
    void VelocityClick();
    void Timer3Timer();
    void Image1MouseMove(int x, int y); // picture pixels
    void LCheckBox16Click();            // "Movement"
    void LCheckBox19Click();            // "Clock"
    corvane::VelocityOptions velocityOptions() const;

    // --- effects/form_deep.cpp: Deep (Timer5) --------------------------------------
    void RectButtonClick();
    void Timer5Timer();

    // --- effects/form_arts.cpp: plan de arts (Timer4) ------------------------------
    void fineartsClick();
    void Timer4Timer();
    void Pplasma();          // one picture faded in; lets events run meanwhile
    void LCheckBox20Click(); // "Green"
    void LCheckBox21Click(); // "Bright"
    void LCheckBox22Click(); // "plan de arts" (Devenir)
    void LCheckBox23Click(); // "Repetition"
    corvane::ArtsOptions artsOptions() const;
    // A close asked for during a plasma build waits for the build to end; true: deferred.
    bool deferCloseWhileBuilding();
    void closeIfDeferred(); // the close deferred by a build, once it has ended

    // --- app/form_menu.cpp: the context menu ---------------------------------------
    void createMenus();
    void Ecriture1Click(); // runs TriButton1Click
    void BackPage1Click(); // runs TriButton2Click

    // --- app/form_keys.cpp: every key, through the tables of app/KeyTable.h -------
    void createKeyPreview();      // the window sees every key before the focused control
    void FormKeyDown(int key);    // a Qt::Key: page keys, the slider, Velocity's centre
    void FormKeyPress(QChar key); // a character: the steps of the key table, in order
    QPoint keyMenuPoint() const;  // where "y" shows PopupMenu1, global coordinates

    // --- app/form_tray.cpp: the tray icon ---------------------------------------
    // The tray icon, made on first use: asking the desktop for its tray
    // waits on the session bus.
    QSystemTrayIcon *tray();
    void Small1Click();           // to the tray, or minimised where there is none
    void TrayMessage(int reason); // a QSystemTrayIcon::ActivationReason
    void Show1Click();            // tray menu "Show"
    void Close1Click();           // tray menu "Close"

    // --- app/form_auto.cpp: pages that turn themselves ----------------------------
    void createAuto();
    void toggleAuto(); // key "t", menu "Auto"
    void setAutoSeconds(int seconds);
    void setAutoAnimation(int which); // an AutoAnimation
    void restartAuto();               // any key or click starts the interval again
    void autoTick();                  // the forward command, once the interval is over
    void autoHalfTick();              // the chosen animation, half way
    bool autoMustWait() const;
    void showAutoChoices();       // the menu items show what is chosen
    corvane::AutoPages autoPages; // stored: on, interval, animation between pages
    QTimer *autoTimer = nullptr, *autoHalfTimer = nullptr;
    QAction *autoAction = nullptr;
    QMenu *autoSecondsMenu = nullptr, *autoBetweenMenu = nullptr;

    // --- app/form_fullscreen.cpp: the picture alone on the screen ---------------
    void createFullScreen();
    void toggleFullScreen(); // F11, menu "Full screen"
    void enterFullScreen();
    void leaveFullScreen(); // Esc, F11: the window as it was
    bool isFullScreenShown() const;
    struct FullScreenSaved
    {
        QPoint position;
        QRegion mask;
        QPointer<QWidget> focus;
    };
    std::optional<FullScreenSaved> fullScreenSaved; // set while full screen
    FullScreenPicture *fullScreenView = nullptr;
    QAction *fullScreenAction = nullptr;

    // --- app/form_hints.cpp: the application hint and the balloons ---------------
    void createHints();
    void AppHint(const QString &hint); // the hint under the mouse changed

    // --- app/form_about.cpp: the About screen --------------------------------------
    void About();

    // --- export/form_export.cpp: keeping the picture as a file ---------------------
    void BitsaveClick();
    void JpegButtonClick();

    // --- app/form_settings.cpp: the stored settings, bound to the settings table ---
    void readSettings();
    void writeSettings();
    // For checking the bindings: each item of the table in read and write
    // order, with the address of the field or box that holds it (null when the
    // window has none) and the value a write would store.
    struct SettingBinding
    {
        const corvane::CorvaneSetting *setting;
        const void *holder;
        std::optional<corvane::SettingValue> value;
    };
    std::vector<SettingBinding> settingBindings();
    std::vector<std::string> storedFieldNames(); // the stored fields, by item name

    // --- controls of the window face (app/TForm1.cpp) ---------------------------
    QLabel *HintLabel1 = nullptr;  // status line
    QLabel *Label1 = nullptr;      // current page
    QLabel *Label2 = nullptr;      // page count
    QLabel *Label3 = nullptr;      // "Arts run" marker
    QLabel *FLabel = nullptr;      // swatch of FoColor
    QLabel *GLabel = nullptr;      // swatch of GColor
    corvane::TRgn *Rgn1 = nullptr; // the face: background artwork and window outline
    QWidget *Panel1 = nullptr;     // black panel holding the picture
    TPictureBox *Image1 = nullptr; // the 481 x 351 picture

    THWaSpeedButton *Effect1 = nullptr, *RectButton = nullptr, *EffectOut1 = nullptr;
    THWaSpeedButton *Bitsave = nullptr, *JpegButton = nullptr, *Velocity = nullptr;
    THWaSpeedButton *finearts = nullptr, *Scroll2 = nullptr;
    THWaSpeedButton *FontColor1 = nullptr, *BgColor1 = nullptr, *BGChange = nullptr;
    THWaSpeedButton *FOBlack1 = nullptr, *FadeOut1 = nullptr;
    THWaSpeedButton *Leaf1 = nullptr, *Leafgo1 = nullptr, *Reset1 = nullptr;
    TShineSpeedButton *Small1 = nullptr, *Exit1 = nullptr;
    TTriangleButton *TriButton1 = nullptr, *TriButton2 = nullptr;
    TExtTrackBar *ExtTrackBar1 = nullptr;

    // Option boxes: index n holds LCheckBox<n> (0, 9 and 10 do not exist).
    std::array<TLozengeCheckBox *, 24> LCheckBox{};
    TLozengeCheckBox *SepaCheckBox = nullptr;
    TLozengeCheckBox *box(corvane::OptionBox option) const;
    bool checked(corvane::OptionBox option) const;

    QTimer *Timer1 = nullptr; // Difference step, 55 / 110 ms
    QTimer *Timer2 = nullptr; // deferred start-up load, 500 ms, once
    QTimer *Timer3 = nullptr; // Velocity step, 55 / 110 ms
    QTimer *Timer4 = nullptr; // plan de arts picture, 7000 / 12000 ms
    QTimer *Timer5 = nullptr; // Deep step, 55 / 110 ms

    QMenu *PopupMenu1 = nullptr; // the window's context menu (app/form_menu.cpp)
    QAction *RunR1 = nullptr, *Deep1 = nullptr, *RunalongA1 = nullptr, *Velocity1 = nullptr;
    QAction *plandeartsA1 = nullptr, *Bitmapsave1 = nullptr, *FColorF1 = nullptr;
    QAction *BgColorB1 = nullptr, *BgRandomM1 = nullptr, *AboutT1 = nullptr, *LeafL1 = nullptr;
    QAction *GoG1 = nullptr, *Ecriture1 = nullptr, *BackPage1 = nullptr, *Reset2 = nullptr;
    QAction *Small2 = nullptr, *Exit2 = nullptr;

    QMenu *PopupMenu2 = nullptr; // the tray menu (app/form_menu.cpp, used by app/form_tray.cpp)
    QAction *Show1 = nullptr, *Close1 = nullptr;
    QSystemTrayIcon *FTrayData
            = nullptr;              // the tray icon; shown only while the window is in the tray
    bool trayMissingTold = false;   // the status line has said once that there is no tray
    TAppHintN *AppHintN1 = nullptr; // balloons and the application hint (app/form_hints.cpp)
    QFileDialog *SavePictureDialog1 = nullptr; // both save commands (export/form_export.cpp)

    std::unique_ptr<corvane::TRegManager> RegManager1;
    std::unique_ptr<corvane::TEditor> Editor2; // hidden holder of the loaded text and rows
    corvane::RandomGenerator random;           // the program's one random generator
    // Clocks, pending events, moving and shaping the window, the tray, the
    // settings path: everything the window asks of the desktop. Set for the run.
    const std::shared_ptr<corvane::Platform> platform;
    std::unique_ptr<corvane::PageComposer> composer; // faces and shaping, kept for the run
    QColorDialog *ColorDialog1 = nullptr;            // remembers the colour of its last use
    qint64 lastPresentNs = 0; // when the picture was last presented, for frame pacing

    // --- main window state ------------------------------------------------------
    int FPage = 1;            // current page, 1-based
    int FPageCount = 0;       // pages of the loaded text
    int FPageTotal = 0;       // page count computed when paging
    bool FPagesBuilt = false; // the loaded text has been cut into pages
    int FLeaf = 1;            // bookmark page
    bool FFileIn = false;     // a saved text source other than the default is in use
    std::string FFileName;    // that source: a path as the file system spells it, or "Clipboard"
    std::array<std::string, corvane::kPageRows>
            FRows;                      // rows of the page to write, <= kRowByteLimit bytes each
    corvane::Colour FoColor = 16777215; // text colour
    corvane::Colour GColor = 0;         // background colour
    corvane::PictureState pictureState; // FBColor, FPageShown, FSamePage, FFreshStart, FArtsShown
    bool FEnding = false;               // the end screen is being written
    bool FDifference = false;           // Difference runs (Timer1)
    bool FVelocity = false;             // Velocity runs (Timer3)
    bool FArts = false;                 // plan de arts runs (Timer4)
    bool FDeep = false;                 // Deep runs (Timer5)
    bool readingBook = false;           // Editor2 holds the book FFileName names
    corvane::BookPlaces bookPlaces;     // the page of each recently read book, newest first
    int defaultTextPage = 1;            // page the default text was left at for a drop, 1-based
    int pageWrites = 0;                 // page commands under way; they let events run
    bool loaded = false;                // the deferred load has run
    corvane::AozoraReading aozora;      // the Aozora mode and the annotations of the text
    QAction *aozoraItem = nullptr;      // PopupMenu1's switch of the Aozora mode
    // File errors the user caused reach a message box here; tests catch them.
    std::function<void(const QString &)> messageBox;
    int Form1Top = 100, Form1Left = 100; // window position as stored

    // --- effects/form_*.cpp: private state of the effects ---------------------------
    // Each animation keeps its state in one record; the rest of the window and
    // the settings table name its fields through the record (velocityFx.Pcx).
    // Their member initialisers are the start-up values; FormCreate adds only
    // Deep's colour walk, which needs the clock (DeepState::init).
    corvane::DifferenceState differenceFx;   // shapes, trails, ramps, velocities
    corvane::VelocityState velocityFx;       // lines, brightness, target, stored parameters
    corvane::DeepState deepFx;               // inset, line mode, colour walk
    corvane::PlanDeArts artsFx;              // PlasmaMap, brightness, the build guard
    std::unique_ptr<corvane::Canvas> canvas; // pen, brush and position on Image1, for the run
    const corvane::EffectClock effectClock;  // the platform's clocks as the effects take them
    bool closeAfterBuild = false;            // a close waits for the plasma build under way

    QString pictureHintAlt; // picture hint used while FFileIn is set

    bool busy() const { return FDifference || FVelocity || FArts || FDeep; }

    // The picture shown by Image1 (24-bit, bytes B, G, R).
    QImage &picture();
    void repaintPicture();
    void setStatus(const QString &text);
    // Lets the window handle the events pending now: timer ticks, repaints and
    // input may run before it returns. Only the handlers listed at
    // Platform::processPendingEvents call it.
    void processPendingEvents();
    // The outline of the face (Rgn1), through the platform.
    void applyWindowMask(const QRegion &region) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void createTimers();
    void showStoredPosition();

    QString m_iniPath;                       // settings file chosen at construction
    std::string m_startupFile;               // absolute path named on the command line, or empty
    std::optional<Dropped> m_pendingOpen;    // read once the drop has ended and nothing is written
    QTimer *m_openTimer = nullptr;           // retries a waiting drop, 50 ms
    corvane::BookLoad *m_bookLoad = nullptr; // reads texts off the window's thread
    void openPending();
    QPoint m_dragOffset; // plain-move fallback where the platform refuses
    bool m_dragging = false;
    bool m_closing = false;
    bool m_sessionEnding = false; // closing for SIGTERM/SIGHUP
};
