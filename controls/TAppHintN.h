// Balloon hints. TAppHintN watches the mouse over one window (an application
// event filter, the only one of its kind): it keeps the application hint, the
// hint of the control under the mouse or of the highlighted menu item, and
// shows a control's hint in a THintEx balloon instead of Qt's plain tooltip,
// which no control of the window ever shows.
//
// A control shows a balloon when its tool tip (its hint) is not empty and it
// has not switched its balloon off (BalloonHinted); every control reaches the
// application hint whatever that switch says.
#pragma once
#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QPolygon>
#include <QTimer>
#include <QWidget>

// The look and the pauses, as the main window's AppHintN1 sets them.
// Colours are 0x00BBGGRR.
struct HintLook
{
    quint32 brush = 15399143;      // 0xEAF8E7: the balloon's face
    quint32 fontColour = 13786925; // 0xD25F2D
    quint32 pen = 0x800000;        // navy outline
    quint32 shadow = 0xFF0000;     // drawn only with shadowVisible
    bool shadowVisible = false;
    QFont font;               // IPAPGothic, 15 px em ("ＭＳ Ｐゴシック", -15)
    int hintPause = 500;      // ms under the mouse before a balloon shows
    int hintHidePause = 2500; // ms a balloon stays
    int hintShortPause = 0;   // ms when the mouse moves on from a shown balloon
    HintLook();
};

// The balloon window: a body from y = 9 down and a tail rising to a point at
// (14, 0), cut out by the window's mask; the text at (3, 9), word-wrapped; an
// outline one face pixel wide along the inside of the mask, at any scale.
class THintEx : public QWidget
{
public:
    explicit THintEx(const HintLook &look);

    // The text's rectangle, 6 pixels wider and 2 higher than the wrapped text
    // at most maxWidth wide, at (0, 0).
    QRect CalcHintRect(int maxWidth, const QString &text) const;
    // Shapes the window for rect (screen coordinates, before the tail's 9
    // pixels are added below it) and shows it there with text.
    void ActivateHint(const QRect &rect, const QString &text);

    QString text() const { return m_text; }
    // A mask in the window's pixels turned into the screen's pixels at a scale.
    static QRegion deviceRegion(const QRegion &logical, qreal scale);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const HintLook &m_look;
    QString m_text;
};

class TAppHintN : public QObject
{
    Q_OBJECT

public:
    // Watches root's window: root, every control inside it, and the menus it owns.
    explicit TAppHintN(QWidget *root);
    ~TAppHintN() override;

    HintLook look;

    QString hint() const { return m_hint; }        // the application hint
    THintEx *balloon() const { return m_balloon; } // nullptr until the first is shown

signals:
    // The application hint changed (also to empty).
    void hintChanged(const QString &hint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inWindow(const QWidget *w) const;
    bool ownsMenu(const QObject *o) const;
    void setHint(const QString &hint);
    void underMouseChanged(QWidget *w);
    void evaluate();
    void showBalloon();
    void hideBalloon();

    QPointer<QWidget> m_root;
    QPointer<QWidget> m_under;     // the control under the mouse
    QPointer<QWidget> m_pending;   // the control whose balloon is waiting or shown
    QPointer<QWidget> m_dismissed; // the control whose balloon a click or key put away
    QPoint m_mouse;                // last mouse position, screen coordinates
    QString m_hint;
    bool m_followOn = false; // a balloon was showing when the mouse moved on
    QTimer m_evaluate;       // settles enter/leave pairs into one change
    QTimer m_show;
    QTimer m_hide;
    THintEx *m_balloon = nullptr;
};
