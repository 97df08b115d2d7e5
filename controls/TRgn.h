// TRgn: the window's face. One bitmap gives both the picture painted under
// every other control and the window's outline, cut around the pixels of the
// key colour (the colour of the lower-left pixel). The outline travels as the
// platform's region data block: a 32-byte header and a list of rectangles.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QRegion>
#include <QString>
#include <QWidget>

namespace corvane {

// Region data, little-endian: header size (32), type (1, rectangles), count,
// size of the rectangles in bytes, bounding box (left, top, right, bottom);
// then each rectangle as left, top, right, bottom, right and bottom exclusive.
struct RegionData
{
    QByteArray bytes; // empty when the build failed
    QString error;    // the message of the failure, empty on success
};

// A row may be cut into at most this many runs; more looks like a photograph
// rather than an outline, and the old region builder refused it.
inline constexpr int kMaxRunsPerRow = 101;

// Scans the bitmap row by row and returns the union of its non-key runs.
// 1-bit pictures become 8-bit first; 8-bit pictures compare palette indices,
// everything else the three colour bytes.
RegionData BuildRegionData(const QImage &bitmap);

// Turns region data back into a region, scaled and then moved by the offset.
// Returns false with a message when the block is not a well-formed list.
bool RegionFromData(const QByteArray &data, double scaleX, double scaleY, QPoint offset,
                    QRegion *region, QString *error);

class TRgn : public QWidget
{
    Q_OBJECT
public:
    explicit TRgn(QWidget *parent = nullptr);

    // Loading from the stored face: the bitmap and the region data built from
    // it ahead of time. CreateRegion turns the data into the region to apply.
    void load(const QImage &bitmap, const QByteArray &regionData);
    bool CreateRegion(QString *error);
    // Makes the parent window frameless and cuts it to the region.
    bool ApplyRegion(QString *error);

    void setRgnBitmap(const QImage &bitmap, QString *error = nullptr);
    const QImage &RgnBitmap() const { return m_bitmap; }
    const QByteArray &RgnData() const { return m_data; }
    const QRegion &region() const { return m_region; }

    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitToBitmap();

    QImage m_bitmap;  // as loaded: 8-bit with its palette
    QImage m_painted; // the same with alpha, its key pixels transparent, converted at the first
                      // paint
    QByteArray m_data;
    QRegion m_region; // built by CreateRegion, in the parent's coordinates
    bool m_autoSize = true;
    bool m_fitting = false; // guards the resize that AutoSize itself makes
};

} // namespace corvane
