// The page buttons: a triangle pointing up, left, down or right. The widget
// is cut to the triangle, so presses in its corners reach whatever lies
// beneath. A press arms a click; the release over the button fires it, unless
// the 100 ms watch saw the pointer leave the button in between.
#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QPolygon>

#include "controls/BalloonHinted.h"

class QTimer;

// The direction the tip points (the type's name keeps its historical spelling).
enum TTaiangleStyle { tsTop, tsLeft, tsBottom, tsRight };

class TTriangleButton : public QAbstractButton, public BalloonHinted
{
public:
    explicit TTriangleButton(TTaiangleStyle style, QWidget *parent = nullptr);

    TTaiangleStyle triangleStyle() const { return m_style; }
    void setTriangleStyle(TTaiangleStyle style);

    // The triangle's colour while raised; pressed, it is always grey.
    QColor faceColour() const { return m_face; }
    void setFaceColour(const QColor &colour);

    // P0 (the tip), P1, P2 for a button of this size; halves round to even.
    static QPolygon triangle(TTaiangleStyle style, QSize size);
    // What shows of a button of this size and what a press hits: the
    // triangle with its outline.
    static QRegion shape(TTaiangleStyle style, QSize size);

    static constexpr int kWatchMs = 100;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    void press(const QPoint &at);
    void watch();

    TTaiangleStyle m_style;
    bool m_pressed = false;
    bool m_armed = false; // a press began here and the pointer has not left since
    QPoint m_pointer;     // last pointer position while the button is held
    QTimer *m_watch = nullptr;
    QColor m_face{0xC0, 0xC0, 0xC0};
};
