// The animations' drawing layer: the handful of GDI-style operations they are
// written in, drawn aliased straight into a 24-bit QImage (bytes B, G, R).
// Pixel rules follow GDI: a box covers left..right-1 by top..bottom-1, a line
// stops one pixel short of its end point, an arc whose start and end points
// coincide is the whole ellipse. Pen, brush and current position live in the
// canvas and carry over from call to call, as on a device context: one
// animation may leave a pen width that the next one draws with.
#pragma once
#include "effects/EffectCommon.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <span>
#include <utility>
#include <vector>

namespace corvane {

class Canvas
{
public:
    // The image must outlive the canvas; it may be replaced by another image of
    // the same QImage object (the canvas reads its size on every call).
    explicit Canvas(QImage *image)
        : m_image(image)
    {
    }

    QImage &image() { return *m_image; }
    int width() const { return m_image->width(); }
    int height() const { return m_image->height(); }

    void setPenColor(quint32 colour) { m_penColor = colour; }
    quint32 penColor() const { return m_penColor; }
    void setPenWidth(int width) { m_penWidth = width < 1 ? 1 : width > 3 ? 3 : width; }
    int penWidth() const { return m_penWidth; }
    // A colour makes the brush solid again; a clear brush fills nothing.
    void setBrushColor(quint32 colour)
    {
        m_brushColor = colour;
        m_brushClear = false;
    }
    void setBrushClear() { m_brushClear = true; }
    quint32 brushColor() const { return m_brushColor; }
    QPoint position() const { return m_pos; }

    // Brush fill. An inside-out box is filled as GDI's pattern blit does it:
    // from right + 1 to left (and bottom + 1 to top).
    void fillRect(const Ltrb &box);
    void fillAll(quint32 colour);
    // One-pixel border in the brush colour; an empty or inside-out box draws nothing.
    void frameRect(const Ltrb &box);

    void moveTo(int x, int y) { m_pos = QPoint(x, y); }
    void lineTo(int x, int y);
    void polyline(std::span<const QPoint> points);
    // Outline of the ellipse in box, counter-clockwise from the ray through
    // start to the ray through end; equal points give the whole outline.
    void arc(const Ltrb &box, QPoint start, QPoint end);
    // Ellipse filled with the brush and outlined with the pen.
    void ellipse(const Ltrb &box);
    // Rectangle filled with the brush and outlined with the pen.
    void rectangle(const Ltrb &box);
    // Text with a transparent background, the top of its cell at y. Needs a
    // QGuiApplication for fonts; without one nothing is written.
    void textOut(int x, int y, const QString &text, const QFont &font, quint32 colour);

    // One pixel, clipped; the colour the image holds at (x, y), or 0 outside.
    void setPixel(int x, int y, quint32 colour);
    quint32 pixel(int x, int y) const;

private:
    // Takes the image's pixels once per operation: scanLine() checks the
    // image for sharing on every call, which per pixel cost more than the
    // drawing itself.
    void begin();
    uchar *at(int x, int y) const { return m_bits + y * m_stride + 3 * x; }
    void put(int x, int y, quint32 colour) const;
    void stamp(int x, int y);
    void span(int x0, int x1, int y, quint32 colour);
    template<typename Plot>
    void ellipseOutline(const Ltrb &box, Plot &&plot) const;

    QImage *m_image;
    // The image as begin() found it.
    uchar *m_bits = nullptr;
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    // An ellipse's fill, each row's leftmost and rightmost outline pixel;
    // kept from shape to shape to spare an allocation per shape.
    std::vector<std::pair<int, int>> m_rowSpans;
    quint32 m_penColor = 0;
    int m_penWidth = 1;
    quint32 m_brushColor = 0xFFFFFF;
    bool m_brushClear = false;
    QPoint m_pos;
};

} // namespace corvane
