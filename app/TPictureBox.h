// Image1: shows the window's 481 x 351 picture, a 24-bit bitmap that every
// writing routine and effect draws on directly.
#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

class TPictureBox : public QWidget
{
public:
    TPictureBox(int width, int height, QWidget *parent = nullptr);

    QImage &picture() { return m_picture; }
    const QImage &picture() const { return m_picture; }

    // Repaints now, not at the next event-loop turn, so each step of a fade is seen.
    void repaintNow();
    // Repaints at the next event-loop turn.
    void repaintSoon();
    // While set, the picture is shown there (full screen) instead of here.
    void setShownOn(QWidget *elsewhere) { m_shownOn = elsewhere; }
    // Whether other windows cover this one wholly. While they do, nothing is
    // painted here; uncovered, the whole picture is painted as it is then.
    void setCovered(bool covered);

    // Told of every mouse move over the picture, in picture pixels (TForm1::Image1MouseMove).
    std::function<void(int x, int y)> onMouseMove;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The picture as last shown, and the same in the screen's pixel format;
    // brought up to date with the changed part only (takeChanges).
    QRect takeChanges();
    QImage m_picture;
    QImage m_shown;
    QImage m_screen;
    QWidget *m_shownOn = nullptr;
    bool m_covered = false;
};
