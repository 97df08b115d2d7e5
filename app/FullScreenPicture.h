// The picture alone on a whole screen: enlarged by the largest whole factor
// that fits, pixel for pixel (each picture pixel a square block of screen
// pixels, whatever the screen's scale), centred on black. The pointer hides
// after a while without movement.
#pragma once
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace corvane {

// Where a picture of `picture` pixels stands on a screen of `screen` device
// pixels: the largest whole factor (at least 1) and the top-left corner.
struct WholePixelFit
{
    int factor = 1;
    int left = 0, top = 0;
    static WholePixelFit of(QSize screen, QSize picture);
};

inline constexpr int kPointerHideMs = 2000;

} // namespace corvane

class FullScreenPicture : public QWidget
{
public:
    // Shows `picture` (owned by the window, read at every paint).
    FullScreenPicture(const QImage &picture, QWidget *parent);

    corvane::WholePixelFit fit() const; // in device pixels
    // Told of every mouse move over the picture, in picture pixels.
    std::function<void(int x, int y)> onMouseMove;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showPointer();
    const QImage &m_picture;
    QTimer m_hidePointer;
};
