// Flat command button of the window face. It carries its caption but shows it
// only when the window asks for captions ("Name on"). It has no plate of its
// own: the face shows through, a thin raised edge rims it while the pointer is
// over it and a sunken one while it is held, its caption then shifted a pixel.
#pragma once
#include <QAbstractButton>
#include <QImage>
#include <QToolButton>

#include "controls/BalloonHinted.h"

class THWaSpeedButton : public QToolButton, public BalloonHinted
{
public:
    explicit THWaSpeedButton(QWidget *parent = nullptr);

    // The caption the button carries, shown or not; text() is what it shows.
    void setCaption(const QString &caption);
    const QString &caption() const { return m_caption; }
    void setCaptionShown(bool shown);
    bool captionShown() const { return m_captionShown; }

    // A picture shown below the caption; its lower-left pixel's colour is
    // transparent, as the glyphs of speed buttons have always had it.
    void setGlyph(const QImage &glyph);
    const QImage &glyph() const { return m_glyph; }

    bool isHot() const { return m_hot; } // the pointer is over the enabled button

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QImage m_glyph; // with the transparent colour already made transparent
    bool m_hot = false;
    QString m_caption;
    bool m_captionShown = false;
};

// A caption that answers the pointer ("Exit", "Small"): drawn on the face
// with no frame, in its own font, in the active font while the pointer is over
// it, shifted a pixel right and down while it is held. A release inside
// clicks; inside counts the left and top edge pixels.
class TShineSpeedButton : public QAbstractButton, public BalloonHinted
{
public:
    // The five looks, as the button reports them.
    enum State { PressedHot = 0, Down = 1, Hot = 2, Up = 3, Disabled = 4 };

    explicit TShineSpeedButton(QWidget *parent = nullptr);

    void setActiveFont(const QFont &font, const QColor &colour);
    State state() const;
    QFont currentFont() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QFont m_activeFont;
    QColor m_activeColour;
    bool m_hot = false;      // the pointer is over the button
    bool m_pressing = false; // the left button went down here and is still held
    bool m_heldIn = false;   // during the press, the pointer is strictly inside
};
