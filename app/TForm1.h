// The main window: owns every control, timer and piece of run-time state.
// Member functions are defined in one file per subsystem:
//   app/TForm1.cpp            construction: controls, timers, menus, keys
//   app/form_lifecycle.cpp    FormCreate, Timer2Timer, FormCloseQuery, dragging, Slow
//   app/form_settings.cpp     the ordered table of stored settings
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "effects/Fades.h"
#include "effects/Random.h"

class QColorDialog;

class QLabel;
class QTimer;
class QMenu;
class TLozengeCheckBox;
class THWaSpeedButton;
class TShineSpeedButton;
class TTriangleButton;
class TExtTrackBar;
class TPictureBox;

namespace corvane {
class PageComposer;
class TRegManager;
class TEditor;
struct SettingBinding;
} // namespace corvane

class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // iniPath empty: the settings file beside the program (corvane.ini).
    explicit TForm1(const QString &iniPath = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    // --- app/form_lifecycle.cpp: start-up, deferred load, shutdown --------------
    void FormCreate();
    void Timer2Timer();
    bool FormCloseQuery();
    void FormClose() {}
    void Exit1Click();
    void Rgn1MouseDown(Qt::MouseButtons buttons, const QPoint &point);
    void LCheckBox14Click();          // "Slow"
    void applyTimerIntervals(bool slow);

    // --- text/form_pages.cpp: text source, pages and bookmark --------------------
    void loadText();                  // the text part of Timer2Timer
    void FreplaceP();                 // normalise Editor2's text
    void FCorEcri();                  // cut the text into pages, publish the count
    void FRetsuIist();                // FRows := the rows of page FPage
    void PFrequency();                // slider tick spacing and hint
    void TriButton1Click();           // forward (Ecriture)
    void TriButton2Click();           // back
    void Reset1Click();
    void Leaf1Click();
    void Leafgo1Click();
    void ExtTrackBar1Change(int position);
    void LCheckBox6Click();           // "Tenderly"
    void LCheckBox8Click();           // "Horizontal"
    void LCheckBox15Click();          // "Gothic"
    void setSliderPosition(int position);

    // --- writing/form_writing.cpp: page writing, title screens, captions ----------
    void Ecriture();
    void FCorvanes();                 // title screen, or "FIN" while FEnding
    void PNameon();                   // button captions shown
    void PNameoff();                  // button captions hidden

    // --- effects/form_fades.cpp: fades and colour commands ------------------------
    void present();                   // repaint the picture and hold it one display frame
    corvane::FadeContext fadeContext(); // generator, present, "Tenderly" and "Color"
    void PNoise1();                   // "Tenderly" grain over the picture
    void PFadeOut(uint32_t colour);
    void PFadeOutB();
    void PFadeOutW();
    void PFadeInG(uint32_t colour);
    void FontColor1Click();
    void BgColor1Click();
    void BGChangeClick();
    void Fadeout1Click();
    void FOBlack1Click();
    void EffectOut1Click();           // the common stop of every effect

    // Settings file path (the program file's path with ".ini"); tests replace it.
    static QString settingsPathForProgram(const QString &programPath);

    // --- app/form_settings.cpp: the one ordered table of stored settings ---------
    void readSettings();
    void writeSettings();
    std::vector<std::string> settingsOrder(); // item names in read and write order

    // --- controls of the window face (app/TForm1.cpp) ---------------------------
    QLabel *HintLabel1 = nullptr;     // status line
    QLabel *Label1 = nullptr;         // current page
    QLabel *Label2 = nullptr;         // page count
    QLabel *Label3 = nullptr;         // "Arts run" marker
    QLabel *FLabel = nullptr;         // swatch of FoColor
    QLabel *GLabel = nullptr;         // swatch of GColor
    QWidget *Panel1 = nullptr;        // black panel holding the picture
    TPictureBox *Image1 = nullptr;    // the 481 x 351 picture

    THWaSpeedButton *Effect1 = nullptr, *RectButton = nullptr, *EffectOut1 = nullptr;
    THWaSpeedButton *Bitsave = nullptr, *JpegButton = nullptr, *Velocity = nullptr;
    THWaSpeedButton *finearts = nullptr, *Scroll2 = nullptr;
    THWaSpeedButton *FontColor1 = nullptr, *BgColor1 = nullptr, *BGChange = nullptr;
    THWaSpeedButton *FOBlack1 = nullptr, *FadeOut1 = nullptr;
    THWaSpeedButton *Leaf1 = nullptr, *Leafgo1 = nullptr, *Reset1 = nullptr;
    TShineSpeedButton *Small1 = nullptr, *Exit1 = nullptr;
    TTriangleButton *TriButton1 = nullptr, *TriButton2 = nullptr;
    TExtTrackBar *ExtTrackBar1 = nullptr;

    // Option boxes: index n holds LCheckBox<n> (9 and 10 do not exist).
    std::array<TLozengeCheckBox *, 24> LCheckBox{};
    TLozengeCheckBox *SepaCheckBox = nullptr;
    TLozengeCheckBox *box(int n) const { return LCheckBox.at(size_t(n)); }
    bool checked(int n) const;

    QTimer *Timer1 = nullptr;         // Difference step, 55 / 110 ms
    QTimer *Timer2 = nullptr;         // deferred start-up load, 500 ms, once
    QTimer *Timer3 = nullptr;         // Velocity step, 55 / 110 ms
    QTimer *Timer4 = nullptr;         // plan de arts picture, 7000 / 12000 ms
    QTimer *Timer5 = nullptr;         // Deep step, 55 / 110 ms

    std::unique_ptr<corvane::TRegManager> RegManager1;
    std::unique_ptr<corvane::TEditor> Editor2; // hidden holder of the loaded text and rows
    corvane::RandomGenerator FRandom; // the program's one random generator
    std::unique_ptr<corvane::PageComposer> FComposer; // faces and shaping, kept for the run
    QColorDialog *ColorDialog1 = nullptr; // remembers the colour of its last use
    qint64 FLastPresentNs = 0;        // when the picture was last presented, for frame pacing

    // --- main window state ------------------------------------------------------
    int FPage = 1;                    // current page, 1-based
    int FPageCount = 0;               // pages of the loaded text
    int FPageTotal = 0;               // page count computed when paging
    bool FPagesBuilt = false;         // the loaded text has been cut into pages
    int FLeaf = 1;                    // bookmark page
    bool FFileIn = false;             // a saved text source other than the default is in use
    std::string FFileName;            // name of that source, CP932 bytes
    std::array<std::string, 13> FRows; // rows of the page to write, <= 255 bytes each
    uint32_t FoColor = 16777215;      // text colour, 0x00BBGGRR
    uint32_t GColor = 0;              // background colour, 0x00BBGGRR
    bool FBColor = false;             // picture holds a plain fade colour, not GColor
    bool FPageShown = false;          // a page or title screen stands on the picture
    bool FSamePage = true;            // next Ecriture rewrites the current page
    bool FFreshStart = true;          // nothing written or animated since start-up
    bool FEnding = false;             // the end screen is being written
    bool FDifference = false;         // Difference runs (Timer1)
    bool FVelocity = false;           // Velocity runs (Timer3)
    bool FArts = false;               // plan de arts runs (Timer4)
    bool FDeep = false;               // Deep runs (Timer5)
    bool FArtsShown = false;          // a plan de arts picture stands on the picture
    int Pcx = 240, Pcy = 175;         // Velocity centre, picture pixels
    int Pmvc = 2;                     // Velocity move level, 0..10
    int Piro = 1, Pirot = 2;          // Velocity colour rules 1..8 (normal / clock)
    int Pform = 1, Pformt = 1;        // Velocity line shapes 1..3 (normal / clock)
    bool Pdigi = false, Pdigit = true, Pb = false, Pbt = false, Pmix = false, Pmouse = false;
    int Fconm = 80;                   // plan de arts brightness, 80..125
    bool FBlackRect = true;           // Deep starts from black (else light grey)
    int Form1Top = 100, Form1Left = 100; // window position as stored

    // Private state of the effects, given its start-up values by FormCreate.
    int FDiffTick = 0;
    int FVelWarm = 0, FVelDiv = 8, FLockCount = 0;
    bool FLockHit = false;
    bool FArtsRise = true;
    int FArtsLevel = 80;
    uint32_t FDeepWalk = 15198183, FDeepColor = 15198183;
    bool FDeepWalkUp = true, FDeepGrowing = true;
    int FDeepSepMode = 0, FDeepInset = 5, FDeepSlow = 2;
    QString FPictureHintAlt;          // picture hint used while FFileIn is set

    bool busy() const { return FDifference || FVelocity || FArts || FDeep; }

    // The picture shown by Image1 (24-bit, bytes B, G, R).
    QImage &picture();
    void repaintPicture();
    void setStatus(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void createControls();
    void createTimers();
    void createShortcuts();
    void showStoredPosition();

    QString m_iniPath;                // settings file chosen at construction
    QPoint m_dragOffset;              // plain-move fallback where the platform refuses
    bool m_dragging = false;
    bool m_closing = false;
};
