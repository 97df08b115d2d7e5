// Construction of the main window: the controls of the face from one table,
// the five timers, the key preview and the menus; then the start-up sequence FormCreate.
#include "app/TForm1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <variant>

#include "core/Design.h"
#include "core/Overloaded.h"
#include "app/Guarded.h"
#include "app/TPictureBox.h"
#include "controls/TExtTrackBar.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "controls/TRgn.h"
#include "controls/TTriangleButton.h"
#include "app/Application.h"
#include "settings/CorvaneSettings.h"
#include "settings/TRegManager.h"
#include "text/TEditor.h"
#include "writing/PageComposer.h"

using namespace corvane;

namespace {

// What a row of the face needs beyond its place: the class of the control,
// the field of TForm1 that holds it, and what only that class has.
struct Label
{
    QLabel *TForm1::*field;
};
struct Speed
{
    THWaSpeedButton *TForm1::*field;
    bool balloon = true; // the hint shows in a balloon, not only in the status line
};
struct Shine
{
    TShineSpeedButton *TForm1::*field;
    struct Hover
    {
        int height; // negative: em height in pixels
        uint32_t colour;
    } hover; // the caption's regular font while the pointer is over it
};
struct Triangle
{
    TTriangleButton *TForm1::*field;
    TTaiangleStyle style;
};
struct Box
{
    OptionBox option;
};
struct Slider
{
    TExtTrackBar *TForm1::*field;
    void (TForm1::*change)(int position);
};

enum class Typeface { Serif, PMincho }; // "Times New Roman", "ＭＳ Ｐ明朝" by their stand-ins

// A caption's look. A colour of 0 keeps the control's own: the default text
// colour, or a triangle's grey. A label without a caption is a lamp or a
// swatch, filled with its colour.
struct Ink
{
    int height = 0; // negative: em height in pixels; 0: the window's font
    bool bold = false;
    uint32_t colour = 0; // 0x00BBGGRR
    Typeface face = Typeface::Serif;
};

struct ControlRow
{
    const char *name; // also names the box's stored state
    std::variant<Label, Speed, Shine, Triangle, Box, Slider> control;
    QRect place;
    const char *hint;
    const char *caption; // a flat button's is shown only with "Name on"
    Ink ink;
    void (TForm1::*click)() = nullptr;
};

constexpr bool kNoBalloon = false;

// One row per control of the face, in the order they are stacked: each row
// creates its control, stores it in its field and connects its handler.
// One control a line reads as the layout it is.
// clang-format off
const ControlRow kControls[] = {
    {"HintLabel1", Label{&TForm1::HintLabel1}, {520, 12, 150, 19}, "", "HINT", {-17, true, 5468061, Typeface::PMincho}},
    {"Effect1", Speed{&TForm1::Effect1}, {528, 40, 97, 20}, "Run!", "Difference", {-15, true, 12482610}, &TForm1::Effect1Click},
    {"RectButton", Speed{&TForm1::RectButton}, {631, 42, 38, 20}, "Deep (mugen)", "Deep", {-15, true, 12482610}, &TForm1::RectButtonClick},
    {"LCheckBox1", Box{OptionBox::Form}, {529, 64, 25, 25}, "Form", "", {}},
    {"LCheckBox2", Box{OptionBox::Color}, {563, 64, 25, 25}, "Color", "", {}},
    {"LCheckBox3", Box{OptionBox::Paint}, {595, 64, 25, 25}, "Paint", "", {}},
    {"LCheckBox14", Box{OptionBox::Slow}, {634, 64, 25, 25}, "Slow", "", {}, &TForm1::LCheckBox14Click},
    {"EffectOut1", Speed{&TForm1::EffectOut1}, {526, 90, 105, 20}, "Stop", "Run along", {-15, true, 12482610}, &TForm1::EffectOut1Click},
    {"Bitsave", Speed{&TForm1::Bitsave}, {639, 91, 14, 20}, "Bitmap save", "B", {-13, false, 12482610}, &TForm1::BitsaveClick},
    {"JpegButton", Speed{&TForm1::JpegButton}, {657, 91, 14, 20}, "Jpeg save", "J", {-13, false, 12482610}, &TForm1::JpegButtonClick},
    {"Velocity", Speed{&TForm1::Velocity}, {527, 116, 81, 20}, "Velocity", "Velocity", {-15, true, 5468061}, &TForm1::VelocityClick},
    {"LCheckBox18", Box{OptionBox::RoadMovie}, {614, 114, 25, 25}, "RoadMovie", "", {}},
    {"LCheckBox16", Box{OptionBox::Movement}, {643, 114, 25, 25}, "Movement", "", {}, &TForm1::LCheckBox16Click},
    {"finearts", Speed{&TForm1::finearts}, {527, 140, 81, 20}, "plan de arts", "plan de arts", {-13, true, 5468061}, &TForm1::fineartsClick},
    {"LCheckBox19", Box{OptionBox::Clock}, {614, 138, 25, 25}, "Clock", "", {}, &TForm1::LCheckBox19Click},
    {"LCheckBox17", Box{OptionBox::MiniBlackHole}, {643, 138, 25, 25}, "MiniBlackHole", "", {}},
    {"LCheckBox20", Box{OptionBox::Green}, {529, 162, 25, 25}, "Green", "", {}, &TForm1::LCheckBox20Click},
    {"LCheckBox21", Box{OptionBox::Bright}, {560, 162, 25, 25}, "Bright", "", {}, &TForm1::LCheckBox21Click},
    {"LCheckBox23", Box{OptionBox::Repetition}, {614, 162, 25, 25}, "Repetition", "", {}, &TForm1::LCheckBox23Click},
    {"LCheckBox22", Box{OptionBox::Devenir}, {643, 162, 25, 25}, "plan de arts", "", {}, &TForm1::LCheckBox22Click},
    {"Label3", Label{&TForm1::Label3}, {594, 171, 10, 10}, "Arts run", "", {0, false, 13626823}},
    {"Scroll2", Speed{&TForm1::Scroll2}, {582, 192, 51, 20}, "Credits", "About", {-15, false, 12482610}, &TForm1::About},
    {"FontColor1", Speed{&TForm1::FontColor1}, {524, 216, 80, 20}, "FontColor", "FontColor", {-15, false, 12482610}, &TForm1::FontColor1Click},
    {"BgColor1", Speed{&TForm1::BgColor1}, {524, 240, 80, 20}, "BgColor", "BgColor", {-15, false, 12482610}, &TForm1::BgColor1Click},
    {"BGChange", Speed{&TForm1::BGChange}, {524, 264, 80, 20}, "BgRandom", "BgRandom", {-15, false, 12482610}, &TForm1::BGChangeClick},
    {"FLabel", Label{&TForm1::FLabel}, {618, 221, 10, 10}, "FontColor", "", {}},
    {"GLabel", Label{&TForm1::GLabel}, {618, 245, 10, 10}, "BgColor", "", {}},
    {"FOBlack1", Speed{&TForm1::FOBlack1}, {639, 216, 31, 20}, "BLackFadeout", "FOB", {-13, false, 12482610}, &TForm1::FOBlack1Click},
    {"FadeOut1", Speed{&TForm1::FadeOut1}, {639, 240, 31, 20}, "FadeOut", "FOut", {-13, false, 12482610}, &TForm1::Fadeout1Click},
    {"LCheckBox4", Box{OptionBox::CoolColor}, {612, 263, 25, 25}, "Cool Color", "", {}},
    {"LCheckBox15", Box{OptionBox::Gothic}, {641, 264, 25, 25}, "Gothic", "", {}, &TForm1::LCheckBox15Click},
    {"Leaf1", Speed{&TForm1::Leaf1, kNoBalloon}, {525, 296, 35, 20}, "Leaf save", "Leaf", {-15, false, 12482610}, &TForm1::Leaf1Click},
    {"Leafgo1", Speed{&TForm1::Leafgo1}, {565, 296, 35, 20}, "Leaf go", "Go", {-15, false, 12482610}, &TForm1::Leafgo1Click},
    {"LCheckBox12", Box{OptionBox::BeginEnd}, {612, 295, 25, 25}, "+Begin End", "", {}},
    {"LCheckBox13", Box{OptionBox::NameOn}, {641, 295, 25, 25}, "Name on", "", {}, &TForm1::LCheckBox13Click},
    {"Label1", Label{&TForm1::Label1}, {520, 321, 81, 15}, "Real Page", "Page", {-15, true, 7372205}},
    {"Label2", Label{&TForm1::Label2}, {520, 350, 81, 15}, "ALL Page", "ALL Page", {-15, true, 8872536}},
    {"Small1", Shine{&TForm1::Small1, {-12, 12546933}}, {616, 368, 45, 17}, "Tray Icon", "Small", {-13, true, 12482610}, &TForm1::Small1Click},
    {"Exit1", Shine{&TForm1::Exit1, {-17, 6648544}}, {619, 392, 42, 17}, "FIN", "Exit", {-15, true, 7961548}, &TForm1::Exit1Click},
    {"ExtTrackBar1", Slider{&TForm1::ExtTrackBar1, &TForm1::ExtTrackBar1Change}, {18, 390, 274, 25}, "scale : 1", "", {}},
    {"LCheckBox11", Box{OptionBox::Keep}, {293, 390, 25, 25}, "Keep", "", {}},
    {"TriButton2", Triangle{&TForm1::TriButton2, tsLeft}, {326, 392, 30, 20}, "Back Page", "", {0, false, 11256527}, &TForm1::TriButton2Click},
    {"Reset1", Speed{&TForm1::Reset1}, {363, 392, 27, 21}, "Reset", "", {-15, false, 12482610}, &TForm1::Reset1Click},
    {"TriButton1", Triangle{&TForm1::TriButton1, tsRight}, {397, 392, 30, 20}, "Ecriture", "", {0, false, 16497821}, &TForm1::TriButton1Click},
    {"LCheckBox6", Box{OptionBox::Tenderly}, {435, 389, 25, 25}, "Tenderly", "", {}, &TForm1::LCheckBox6Click},
    {"LCheckBox7", Box{OptionBox::FadeIn}, {468, 389, 25, 25}, "+Fade In", "", {}},
    {"LCheckBox5", Box{OptionBox::FadeOut}, {500, 389, 25, 25}, "+Fade Out", "", {}},
    {"LCheckBox8", Box{OptionBox::Horizontal}, {532, 389, 25, 25}, "Horizontal", "", {}, &TForm1::LCheckBox8Click},
    {"SepaCheckBox", Box{OptionBox::DeepSeparation}, {580, 389, 25, 25}, "Deep Separation", "", {}},
};
// clang-format on

QFont faceFont(int logicalHeight, bool bold, Typeface face = Typeface::Serif)
{
    QFont f(face == Typeface::PMincho ? QStringLiteral("IPAPMincho")
                                      : QStringLiteral("Liberation Serif"));
    if (logicalHeight != 0)
        f.setPixelSize(std::abs(logicalHeight));
    f.setBold(bold);
    return f;
}

void setTextColour(QWidget *w, const QColor &colour)
{
    if (!colour.isValid())
        return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::ButtonText, colour);
    w->setPalette(pal);
}

// Reset1's glyph: a green block in a white border, the white left clear.
QImage resetGlyph()
{
    QImage g(23, 17, QImage::Format_RGB32);
    g.fill(Qt::white);
    for (int y = 1; y < 16; ++y)
        for (int x = 1; x < 22; ++x)
            g.setPixel(x, y, qRgb(160, 192, 128));
    return g;
}

// The platform's clocks in the form the effects take them.
EffectClock clockOf(Platform &platform)
{
    EffectClock clock;
    clock.utcMsOfDay = [&platform] { return platform.utcMsOfDay(); };
    clock.localTime = [&platform] { return platform.localTime(); };
    return clock;
}

// Creates the control of a row on the window, stores it in its field and
// connects its handler, through guarded() as every handler of the window.
void createControl(TForm1 &f, const ControlRow &row)
{
    const Ink &ink = row.ink;
    const QColor colour = ink.colour != 0 ? toQColor(ink.colour) : QColor();
    QAbstractButton *button = nullptr;
    QWidget *w = std::visit(
            Overloaded{
                    [&](const Label &c) -> QWidget * {
                        auto *l = new QLabel(QString::fromUtf8(row.caption), &f);
                        l->setAlignment(Qt::AlignCenter);
                        if (*row.caption) {
                            setTextColour(l, colour);
                        } else { // the lamp and the swatches show their colour
                            l->setAutoFillBackground(true);
                            if (colour.isValid()) {
                                QPalette pal = l->palette();
                                pal.setColor(QPalette::Window, colour);
                                l->setPalette(pal);
                            }
                        }
                        return (f.*c.field) = l;
                    },
                    [&](const Speed &c) -> QWidget * {
                        auto *b = new THWaSpeedButton(&f);
                        b->setCaption(QString::fromUtf8(row.caption));
                        b->setBalloonHint(c.balloon);
                        setTextColour(b, colour);
                        return button = (f.*c.field) = b;
                    },
                    [&](const Shine &c) -> QWidget * {
                        auto *b = new TShineSpeedButton(&f);
                        b->setText(QString::fromUtf8(row.caption));
                        b->setActiveFont(faceFont(c.hover.height, false), toQColor(c.hover.colour));
                        setTextColour(b, colour);
                        return button = (f.*c.field) = b;
                    },
                    [&](const Triangle &c) -> QWidget * {
                        auto *b = new TTriangleButton(c.style, &f);
                        if (colour.isValid())
                            b->setFaceColour(colour);
                        return button = (f.*c.field) = b;
                    },
                    [&](const Box &c) -> QWidget * {
                        auto *b = new TLozengeCheckBox(&f);
                        (c.option == OptionBox::DeepSeparation ? f.SepaCheckBox
                                                               : f.LCheckBox.at(size_t(c.option)))
                                = b;
                        return button = b;
                    },
                    [&](const Slider &c) -> QWidget * {
                        auto *s = new TExtTrackBar(&f);
                        QObject::connect(s, &QSlider::valueChanged, &f,
                                         guarded([&f, change = c.change](int position) {
                                             (f.*change)(position);
                                         }));
                        return (f.*c.field) = s;
                    },
            },
            row.control);
    w->setObjectName(QString::fromLatin1(row.name));
    w->setGeometry(row.place);
    w->setToolTip(QString::fromLatin1(row.hint));
    if (ink.height != 0)
        w->setFont(faceFont(ink.height, ink.bold, ink.face));
    if (row.click)
        QObject::connect(button, &QAbstractButton::clicked, &f,
                         guarded([&f, click = row.click] { (f.*click)(); }));
}

} // namespace

TForm1::TForm1(const QString &iniPath, std::shared_ptr<Platform> given, QWidget *parent)
    : QWidget(parent)
    , platform(given ? std::move(given) : desktopPlatform())
    , effectClock(clockOf(*platform))
    , m_iniPath(iniPath)
{
    setWindowTitle(QStringLiteral("Corvane"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(kFaceWidth, kFaceHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(kFaceColour));
    setPalette(pal);
    QFont base(QStringLiteral("IPAPGothic"));
    base.setPixelSize(15);
    setFont(base);
    setAcceptDrops(true); // a book or a passage dropped anywhere on the face
    messageBox = [](const QString &text) { showError(text); };

    composer = std::make_unique<PageComposer>();
    createControls();
    createTimers();
    createKeyPreview();
    createMenus();
    createAuto();
    createFullScreen();
    createHints();
    Editor2 = std::make_unique<TEditor>();
    setupEditor2(*Editor2);
    RegManager1 = std::make_unique<TRegManager>();
    RegManager1->RegItems = corvaneRegItems();
    RegManager1->setErrorReporter(
            [](const std::string &text) { showError(QString::fromStdString(text)); });
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createControls()
{
    // The face first, so every other control lies above it.
    Rgn1 = new TRgn(this);
    Rgn1->setObjectName(QStringLiteral("Rgn1"));
    QFile regionData(QStringLiteral(":/face.rgn"));
    Rgn1->load(QImage(QStringLiteral(":/face.bmp")),
               regionData.open(QIODevice::ReadOnly) ? regionData.readAll() : QByteArray());
    QString error;
    if (!Rgn1->CreateRegion(&error) || !Rgn1->ApplyRegion(&error))
        messageBox(error);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(kPanelLeft, kPanelTop, kPictureWidth, kPictureHeight);
    Panel1->setAutoFillBackground(true);
    QPalette black = Panel1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Panel1->setPalette(black);
    Image1 = new TPictureBox(kPictureWidth, kPictureHeight, Panel1);
    Image1->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    Image1->setToolTip(QStringLiteral("Corvane"));
    Image1->onMouseMove = [this](int x, int y) { Image1MouseMove(x, y); };
    canvas = std::make_unique<Canvas>(&Image1->picture());

    for (const ControlRow &row : kControls)
        createControl(*this, row);
    Label3->hide(); // lit while plan de arts runs
    Reset1->setGlyph(resetGlyph());
    // The keys move the page slider; the boxes before it in the tab order
    // take the focus only when clicked.
    ExtTrackBar1->setFocus();
}

namespace {

// Every timer with what it drives and its intervals, normal and Slow, and
// which Slow switch sets it. Nothing changes Timer2: setting an interval
// restarts a running timer, and the deferred load must not be put off.
struct TimerRow
{
    QTimer *TForm1::*timer;
    void (TForm1::*handler)();
    int normalMs, slowMs;
    bool byBox, byKey;
};

constexpr TimerRow kTimers[] = {
        {&TForm1::Timer1, &TForm1::Timer1Timer, kEffectTickMs, kEffectTickSlowMs, true, true},
        {&TForm1::Timer2, &TForm1::Timer2Timer, kDeferredLoadMs, kDeferredLoadMs, false, false},
        {&TForm1::Timer3, &TForm1::Timer3Timer, kEffectTickMs, kEffectTickSlowMs, true, true},
        {&TForm1::Timer4, &TForm1::Timer4Timer, kArtsTickMs, kArtsTickSlowMs, true, true},
        {&TForm1::Timer5, &TForm1::Timer5Timer, kEffectTickMs, kEffectTickSlowMs, true, false},
};

} // namespace

void TForm1::createTimers()
{
    for (const TimerRow &row : kTimers) {
        auto *t = new QTimer(this);
        t->setInterval(row.normalMs);
        // timeout() hands its slot a private tag; the handler drops it.
        connect(t, &QTimer::timeout, this,
                guarded([this, handler = row.handler] { (this->*handler)(); }));
        this->*row.timer = t;
    }
}

void TForm1::applyTimerIntervals(bool slow, SlowSwitch by)
{
    for (const TimerRow &row : kTimers)
        if (by == SlowSwitch::Box ? row.byBox : row.byKey)
            (this->*row.timer)->setInterval(slow ? row.slowMs : row.normalMs);
}

TLozengeCheckBox *TForm1::box(OptionBox option) const
{
    return option == OptionBox::DeepSeparation ? SepaCheckBox : LCheckBox.at(size_t(option));
}

bool TForm1::checked(OptionBox option) const
{
    const TLozengeCheckBox *b = box(option);
    return b && b->isChecked();
}

QImage &TForm1::picture()
{
    return Image1->picture();
}

void TForm1::repaintPicture()
{
    Image1->repaintNow();
}

void TForm1::setStatus(const QString &text)
{
    HintLabel1->setText(text);
}

void TForm1::processPendingEvents()
{
    platform->processPendingEvents();
}

void TForm1::applyWindowMask(const QRegion &region)
{
    platform->setWindowMask(*this, region);
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Asked on every show: a window brought back from the tray may have a new
    // native window, which the desktop must be asked about again.
    platform->watchCover(*this, [box = Image1](bool covered) { box->setCovered(covered); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (deferCloseWhileBuilding()) { // the plasma build on the stack needs the window
        event->ignore();
        return;
    }
    if (!m_closing && FormCloseQuery()) {
        m_closing = true;
        FormClose();
    }
    event->accept();
    // Qt ends the program when its last visible window closes; a window
    // hidden in the tray is not one, and closing it must end the program too.
    if (isHidden())
        QCoreApplication::quit();
}

void TForm1::mousePressEvent(QMouseEvent *event)
{
    // Presses that labels and the picture let through arrive here too; only
    // one on the bare face moves the window.
    if (childAt(event->position().toPoint()) != nullptr)
        return;
    Rgn1MouseDown(event->buttons(), event->position().toPoint());
    if (event->button() == Qt::LeftButton && !m_dragging)
        event->accept();
}

void TForm1::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void TForm1::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

void TForm1::Rgn1MouseDown(Qt::MouseButtons buttons, const QPoint &point)
{
    if (!(buttons & Qt::LeftButton))
        return;
    // The window manager moves the window as if its caption were dragged; where
    // it cannot (some X11 window managers, offscreen), follow the mouse by hand.
    if (platform->startSystemMove(*this))
        return;
    m_dragging = true;
    m_dragOffset = point;
}
