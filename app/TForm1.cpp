// Construction of the main window: the controls of the face from one table,
// the five timers, the key preview and the menus; then the start-up sequence FormCreate.
#include "app/TForm1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "core/Design.h"
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

enum class Kind { Label, Speed, Shine, TriLeft, TriRight, Box, Slider };

// One row per control of the face: where it sits and what its hint says.
struct ControlRow
{
    const char *name;
    Kind kind;
    int left, top, width, height;
    const char *hint;
    const char *caption;  // labels: their text; buttons: caption shown with "Name on"
    int fontHeight;       // logical height, negative = em height in pixels; 0 = default
    bool bold;
    uint32_t colour;      // 0x00BBGGRR, 0 = default: the caption's colour; a triangle's
                          // face; what fills a label that has no text (a lamp)
};

constexpr ControlRow kControls[] = {
    {"HintLabel1", Kind::Label, 520, 12, 150, 19, "", "HINT", -17, true, 5468061},
    {"Effect1", Kind::Speed, 528, 40, 97, 20, "Run!", "Difference", -15, true, 12482610},
    {"RectButton", Kind::Speed, 631, 42, 38, 20, "Deep (mugen)", "Deep", -15, true, 12482610},
    {"LCheckBox1", Kind::Box, 529, 64, 25, 25, "Form", "", 0, false, 0},
    {"LCheckBox2", Kind::Box, 563, 64, 25, 25, "Color", "", 0, false, 0},
    {"LCheckBox3", Kind::Box, 595, 64, 25, 25, "Paint", "", 0, false, 0},
    {"LCheckBox14", Kind::Box, 634, 64, 25, 25, "Slow", "", 0, false, 0},
    {"EffectOut1", Kind::Speed, 526, 90, 105, 20, "Stop", "Stop", -15, true, 12482610},
    {"Bitsave", Kind::Speed, 639, 91, 14, 20, "Bitmap save", "B", -13, false, 12482610},
    {"JpegButton", Kind::Speed, 657, 91, 14, 20, "Jpeg save", "J", -13, false, 12482610},
    {"Velocity", Kind::Speed, 527, 116, 81, 20, "Velocity", "Velocity", -15, true, 5468061},
    {"LCheckBox18", Kind::Box, 614, 114, 25, 25, "RoadMovie", "", 0, false, 0},
    {"LCheckBox16", Kind::Box, 643, 114, 25, 25, "Movement", "", 0, false, 0},
    {"finearts", Kind::Speed, 527, 140, 81, 20, "plan de arts", "plan de arts", -13, true, 5468061},
    {"LCheckBox19", Kind::Box, 614, 138, 25, 25, "Clock", "", 0, false, 0},
    {"LCheckBox17", Kind::Box, 643, 138, 25, 25, "MiniBlackHole", "", 0, false, 0},
    {"LCheckBox20", Kind::Box, 529, 162, 25, 25, "Green", "", 0, false, 0},
    {"LCheckBox21", Kind::Box, 560, 162, 25, 25, "Bright", "", 0, false, 0},
    {"LCheckBox23", Kind::Box, 614, 162, 25, 25, "Repetition", "", 0, false, 0},
    {"LCheckBox22", Kind::Box, 643, 162, 25, 25, "plan de arts", "", 0, false, 0},
    {"Label3", Kind::Label, 594, 171, 10, 10, "Arts run", "", 0, false, 13626823},
    {"Scroll2", Kind::Speed, 582, 192, 51, 20, "Credits", "Credits", -15, false, 12482610},
    {"FontColor1", Kind::Speed, 524, 216, 80, 20, "FontColor", "FontColor", -15, false, 12482610},
    {"BgColor1", Kind::Speed, 524, 240, 80, 20, "BgColor", "BgColor", -15, false, 12482610},
    {"BGChange", Kind::Speed, 524, 264, 80, 20, "BgRandom", "BgRandom", -15, false, 12482610},
    {"FLabel", Kind::Label, 618, 221, 10, 10, "FontColor", "", 0, false, 0},
    {"GLabel", Kind::Label, 618, 245, 10, 10, "BgColor", "", 0, false, 0},
    {"FOBlack1", Kind::Speed, 639, 216, 31, 20, "BLackFadeout", "FOB", -13, false, 12482610},
    {"FadeOut1", Kind::Speed, 639, 240, 31, 20, "FadeOut", "FO", -13, false, 12482610},
    {"LCheckBox4", Kind::Box, 612, 263, 25, 25, "Cool Color", "", 0, false, 0},
    {"LCheckBox15", Kind::Box, 641, 264, 25, 25, "Gothic", "", 0, false, 0},
    {"Leaf1", Kind::Speed, 525, 296, 35, 20, "Leaf save", "Leaf", -15, false, 12482610},
    {"Leafgo1", Kind::Speed, 565, 296, 35, 20, "Leaf go", "Go", -15, false, 12482610},
    {"LCheckBox12", Kind::Box, 612, 295, 25, 25, "+Begin End", "", 0, false, 0},
    {"LCheckBox13", Kind::Box, 641, 295, 25, 25, "Name on", "", 0, false, 0},
    {"Label1", Kind::Label, 520, 321, 81, 15, "Real Page", "Page", -15, true, 7372205},
    {"Label2", Kind::Label, 520, 350, 81, 15, "ALL Page", "ALL Page", -15, true, 8872536},
    {"Small1", Kind::Shine, 616, 368, 45, 17, "Tray Icon", "Small", -13, true, 12482610},
    {"Exit1", Kind::Shine, 619, 392, 42, 17, "FIN", "Exit", -15, true, 7961548},
    {"ExtTrackBar1", Kind::Slider, 18, 390, 274, 25, "scale : 1", "", 0, false, 0},
    {"LCheckBox11", Kind::Box, 293, 390, 25, 25, "Keep", "", 0, false, 0},
    {"TriButton2", Kind::TriLeft, 326, 392, 30, 20, "Back Page", "", 0, false, 11256527},
    {"Reset1", Kind::Speed, 363, 392, 27, 21, "Reset", "R", -15, false, 12482610},
    {"TriButton1", Kind::TriRight, 397, 392, 30, 20, "Ecriture", "", 0, false, 16497821},
    {"LCheckBox6", Kind::Box, 435, 389, 25, 25, "Tenderly", "", 0, false, 0},
    {"LCheckBox7", Kind::Box, 468, 389, 25, 25, "+Fade In", "", 0, false, 0},
    {"LCheckBox5", Kind::Box, 500, 389, 25, 25, "+Fade Out", "", 0, false, 0},
    {"LCheckBox8", Kind::Box, 532, 389, 25, 25, "Horizontal", "", 0, false, 0},
    {"SepaCheckBox", Kind::Box, 580, 389, 25, 25, "Deep Separation", "", 0, false, 0},
};

QFont faceFont(int logicalHeight, bool bold)
{
    QFont f(QStringLiteral("Liberation Serif"));
    if (logicalHeight != 0)
        f.setPixelSize(std::abs(logicalHeight));
    f.setBold(bold);
    return f;
}

void setColour(QWidget *w, Kind kind, const char *caption, uint32_t colour)
{
    if (colour == 0)
        return;
    QPalette pal = w->palette();
    if (kind == Kind::TriLeft || kind == Kind::TriRight) {
        pal.setColor(QPalette::Button, toQColor(colour));
    } else if (kind == Kind::Label && *caption == '\0') {
        pal.setColor(QPalette::Window, toQColor(colour));
    } else {
        pal.setColor(QPalette::WindowText, toQColor(colour));
        pal.setColor(QPalette::ButtonText, toQColor(colour));
    }
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

} // namespace

TForm1::TForm1(const QString &iniPath, std::shared_ptr<Platform> platform, QWidget *parent)
    : QWidget(parent), FPlatform(platform ? std::move(platform) : desktopPlatform()),
      FClock(clockOf(*FPlatform)), m_iniPath(iniPath)
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

    FComposer = std::make_unique<PageComposer>();
    createControls();
    createTimers();
    createKeyPreview();
    createMenus();
    createTray();
    createHints();
    Editor2 = std::make_unique<TEditor>();
    setupEditor2(*Editor2);
    RegManager1 = std::make_unique<TRegManager>();
    RegManager1->RegItems = corvaneRegItems();
    RegManager1->setErrorReporter([](const std::string &text) { showError(QString::fromStdString(text)); });
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
    FCanvas = std::make_unique<Canvas>(&Image1->picture());

    for (const ControlRow &c : kControls) {
        QWidget *w = nullptr;
        const QString name = QString::fromLatin1(c.name);
        switch (c.kind) {
        case Kind::Label: {
            auto *l = new QLabel(QString::fromLatin1(c.caption), this);
            l->setAlignment(Qt::AlignCenter);
            w = l;
            break;
        }
        case Kind::Speed: {
            auto *b = new THWaSpeedButton(this);
            b->setProperty("caption", QString::fromLatin1(c.caption));
            w = b;
            break;
        }
        case Kind::Shine: {
            auto *b = new TShineSpeedButton(this);
            b->setText(QString::fromLatin1(c.caption));
            w = b;
            break;
        }
        case Kind::TriLeft:
        case Kind::TriRight:
            w = new TTriangleButton(c.kind == Kind::TriLeft ? tsLeft : tsRight, this);
            break;
        case Kind::Box:
            w = new TLozengeCheckBox(this);
            break;
        case Kind::Slider:
            w = new TExtTrackBar(this);
            break;
        }
        w->setObjectName(name);
        w->setGeometry(c.left, c.top, c.width, c.height);
        if (*c.hint)
            w->setToolTip(QString::fromLatin1(c.hint));
        if (c.fontHeight != 0)
            w->setFont(faceFont(c.fontHeight, c.bold));
        setColour(w, c.kind, c.caption, c.colour);
    }

    auto find = [this](const char *name) { return findChild<QWidget *>(QString::fromLatin1(name)); };
    HintLabel1 = static_cast<QLabel *>(find("HintLabel1"));
    Label1 = static_cast<QLabel *>(find("Label1"));
    Label2 = static_cast<QLabel *>(find("Label2"));
    Label3 = static_cast<QLabel *>(find("Label3"));
    FLabel = static_cast<QLabel *>(find("FLabel"));
    GLabel = static_cast<QLabel *>(find("GLabel"));
    for (QLabel *swatch : {FLabel, GLabel, Label3})
        swatch->setAutoFillBackground(true);
    Label3->hide();
    auto speed = [&](const char *n) { return static_cast<THWaSpeedButton *>(find(n)); };
    Effect1 = speed("Effect1");
    RectButton = speed("RectButton");
    EffectOut1 = speed("EffectOut1");
    Bitsave = speed("Bitsave");
    JpegButton = speed("JpegButton");
    Velocity = speed("Velocity");
    finearts = speed("finearts");
    Scroll2 = speed("Scroll2");
    FontColor1 = speed("FontColor1");
    BgColor1 = speed("BgColor1");
    BGChange = speed("BGChange");
    FOBlack1 = speed("FOBlack1");
    FadeOut1 = speed("FadeOut1");
    Leaf1 = speed("Leaf1");
    Leafgo1 = speed("Leafgo1");
    Reset1 = speed("Reset1");
    Reset1->setGlyph(resetGlyph());
    Small1 = static_cast<TShineSpeedButton *>(find("Small1"));
    Exit1 = static_cast<TShineSpeedButton *>(find("Exit1"));
    // Under the pointer the two captions change size and colour.
    Small1->setActiveFont(faceFont(-12, false), toQColor(12546933));
    Exit1->setActiveFont(faceFont(-17, false), toQColor(6648544));
    TriButton1 = static_cast<TTriangleButton *>(find("TriButton1"));
    TriButton2 = static_cast<TTriangleButton *>(find("TriButton2"));
    ExtTrackBar1 = static_cast<TExtTrackBar *>(find("ExtTrackBar1"));
    for (int n = 1; n <= 23; ++n) {
        if (n == 9 || n == 10)
            continue;
        LCheckBox[size_t(n)] = static_cast<TLozengeCheckBox *>(find(qPrintable(QStringLiteral("LCheckBox%1").arg(n))));
    }
    SepaCheckBox = static_cast<TLozengeCheckBox *>(find("SepaCheckBox"));

    auto onClick = [this](QAbstractButton *button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    onClick(Exit1, &TForm1::Exit1Click);
    onClick(box(14), &TForm1::LCheckBox14Click);
    onClick(TriButton1, &TForm1::TriButton1Click);
    onClick(TriButton2, &TForm1::TriButton2Click);
    onClick(Reset1, &TForm1::Reset1Click);
    onClick(Leaf1, &TForm1::Leaf1Click);
    onClick(Leafgo1, &TForm1::Leafgo1Click);
    onClick(box(6), &TForm1::LCheckBox6Click);
    onClick(box(8), &TForm1::LCheckBox8Click);
    onClick(box(15), &TForm1::LCheckBox15Click);
    onClick(FontColor1, &TForm1::FontColor1Click);
    onClick(BgColor1, &TForm1::BgColor1Click);
    onClick(BGChange, &TForm1::BGChangeClick);
    onClick(FadeOut1, &TForm1::Fadeout1Click);
    onClick(FOBlack1, &TForm1::FOBlack1Click);
    onClick(EffectOut1, &TForm1::EffectOut1Click);
    onClick(Effect1, &TForm1::Effect1Click);
    onClick(RectButton, &TForm1::RectButtonClick);
    onClick(Velocity, &TForm1::VelocityClick);
    onClick(finearts, &TForm1::fineartsClick);
    onClick(box(16), &TForm1::LCheckBox16Click);
    onClick(box(19), &TForm1::LCheckBox19Click);
    onClick(box(20), &TForm1::LCheckBox20Click);
    onClick(box(21), &TForm1::LCheckBox21Click);
    onClick(box(22), &TForm1::LCheckBox22Click);
    onClick(box(23), &TForm1::LCheckBox23Click);
    onClick(Bitsave, &TForm1::BitsaveClick);
    onClick(JpegButton, &TForm1::JpegButtonClick);
    onClick(Scroll2, &TForm1::About);
    onClick(Small1, &TForm1::Small1Click);
    connect(box(13), &QAbstractButton::clicked, this, [this] { checked(13) ? PNameon() : PNameoff(); });
    connect(ExtTrackBar1, &QSlider::valueChanged, this, &TForm1::ExtTrackBar1Change);
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
                guarded([this, handler = row.handler](auto &&...) { (this->*handler)(); }));
        this->*row.timer = t;
    }
}

void TForm1::applyTimerIntervals(bool slow, SlowSwitch by)
{
    for (const TimerRow &row : kTimers)
        if (by == SlowSwitch::Box ? row.byBox : row.byKey)
            (this->*row.timer)->setInterval(slow ? row.slowMs : row.normalMs);
}

bool TForm1::checked(int n) const
{
    const TLozengeCheckBox *b = box(n);
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
    FPlatform->processPendingEvents();
}

void TForm1::applyWindowMask(const QRegion &region)
{
    FPlatform->setWindowMask(*this, region);
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
    if (FPlatform->startSystemMove(*this))
        return;
    m_dragging = true;
    m_dragOffset = point;
}
