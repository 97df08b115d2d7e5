// The page buttons: a triangle pointing up, left, down or right. The widget
// is cut to the triangle, so presses in its corners reach whatever lies
// beneath. A press arms a click; the release over the button fires it, unless
// the 100 ms watch saw the pointer leave the button in between.
#pragma once
#include <QAbstractButton>
#include <QPolygon>

class QTimer;

// The direction the tip points (the type's name keeps its historical spelling).
enum TTaiangleStyle { tsTop, tsLeft, tsBottom, tsRight };

class TTriangleButton : public QAbstractButton
{
public:
    explicit TTriangleButton(TTaiangleStyle style, QWidget *parent = nullptr);

    TTaiangleStyle triangleStyle() const { return m_style; }
    void setTriangleStyle(TTaiangleStyle style);

    // P0 (the tip), P1, P2 for a button of this size; halves round to even.
    static QPolygon triangle(TTaiangleStyle style, QSize size);

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
    bool m_armed = false;  // a press began here and the pointer has not left since
    QPoint m_pointer;      // last pointer position while the button is held
    QTimer *m_watch = nullptr;
};
