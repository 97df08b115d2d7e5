// TRgn: region data built from the face bitmap, read back at start-up, the
// parent window cut to it, and the bitmap painted as the window's background.
#include "controls/TRgn.h"
#include "controls/MaskedWindow.h"

#include <QPainter>
#include <QResizeEvent>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <vector>

namespace corvane {

namespace {

const QString kEmptyBitmap = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません");
const QString kZeroSize = QStringLiteral("幅または高さが 0 です");
const QString kBadShape = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です");
const QString kNoMemory = QStringLiteral("ﾒﾓﾘ獲得に失敗しました");
const QString kCannotCreate = QStringLiteral("ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません");
const QString kNoParent = QStringLiteral("Parentが設定されていません");
const QString kNoRegionData = QStringLiteral(" のﾘｰｼﾞｮﾝ情報がありません");
const QString kBadBitmapAtLoad = QStringLiteral(":RgnBitmap のﾋﾞｯﾄﾏｯﾌﾟが正しくありません");

// Rectangles as the region data block holds them: right and bottom exclusive.
struct Ltrb
{
    int left, top, right, bottom;
};

constexpr int kHeaderSize = 32;
constexpr int kRectSize = 16;

void putInt(QByteArray &out, int32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

int32_t getInt(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<int32_t>(in.constData() + at);
}

// Pixels of a row as comparable numbers: palette indices in 8-bit pictures,
// 0xRRGGBB in 24-bit ones.
struct RowReader
{
    const QImage &img;
    bool indexed;
    uint32_t at(const uchar *row, int x) const
    {
        if (indexed)
            return row[x];
        const uchar *p = row + 3 * x;
        return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
};

} // namespace

RegionData BuildRegionData(const QImage &bitmap)
{
    // QImage cannot hold a picture of zero width with rows, so a null image
    // is the one empty case; the zero-size message goes to the file loader.
    if (bitmap.isNull())
        return {{}, bitmap.format() == QImage::Format_Invalid ? kEmptyBitmap : kZeroSize};

    QImage img;
    switch (bitmap.format()) {
    case QImage::Format_Indexed8:
        img = bitmap;
        break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: // index 0 and 1 keep their meaning
        img = bitmap.convertToFormat(QImage::Format_Indexed8);
        break;
    default:
        img = bitmap.convertToFormat(QImage::Format_RGB888);
        break;
    }
    if (img.isNull())
        return {{}, kNoMemory};

    const RowReader reader{img, img.format() == QImage::Format_Indexed8};
    const int w = img.width(), h = img.height();
    const uint32_t key = reader.at(img.constScanLine(h - 1), 0);

    // Rows with the same runs as the row above extend its band downwards, so
    // the list holds a rectangle per run of each band, top to bottom, left to
    // right: the compact form the region data block has always had.
    struct Run
    {
        int x1, x2;
        bool operator==(const Run &) const = default;
    };
    std::vector<Ltrb> rects;
    std::vector<Run> band, runs;
    size_t bandStart = 0;
    for (int y = 0; y < h; ++y) {
        const uchar *row = img.constScanLine(y);
        runs.clear();
        int x = 0;
        while (x < w) {
            while (x < w && reader.at(row, x) == key)
                ++x;
            if (x >= w)
                break;
            // Only a run that really exists counts against the limit: trailing
            // key pixels after the 101st run leave the outline well formed.
            if (int(runs.size()) == kMaxRunsPerRow)
                return {{}, kBadShape};
            const int x1 = x;
            while (x < w && reader.at(row, x) != key)
                ++x;
            runs.push_back({x1, x});
            ++x;
        }
        if (!runs.empty() && runs == band && rects.size() > bandStart && rects.back().bottom == y) {
            for (size_t i = bandStart; i < rects.size(); ++i)
                rects[i].bottom = y + 1;
            continue;
        }
        band = runs;
        bandStart = rects.size();
        for (const Run &r : runs)
            rects.push_back({r.x1, y, r.x2, y + 1});
    }

    Ltrb box{0, 0, 0, 0};
    if (!rects.empty()) {
        box = rects.front();
        for (const Ltrb &r : rects)
            box = {std::min(box.left, r.left), std::min(box.top, r.top),
                   std::max(box.right, r.right), std::max(box.bottom, r.bottom)};
    }
    const int count = int(rects.size());
    QByteArray out;
    out.reserve(kHeaderSize + count * kRectSize);
    putInt(out, kHeaderSize);
    putInt(out, 1);
    putInt(out, count);
    putInt(out, count * kRectSize);
    for (int v : {box.left, box.top, box.right, box.bottom})
        putInt(out, v);
    for (const Ltrb &r : rects)
        for (int v : {r.left, r.top, r.right, r.bottom})
            putInt(out, v);
    return {out, {}};
}

bool RegionFromData(const QByteArray &data, double scaleX, double scaleY, QPoint offset,
                    QRegion *region, QString *error)
{
    auto fail = [error] {
        if (error)
            *error = kCannotCreate;
        return false;
    };
    // The block comes from a file beside the program: check every length
    // before reading a rectangle out of it.
    if (data.size() < kHeaderSize || getInt(data, 0) != kHeaderSize || getInt(data, 4) != 1)
        return fail();
    const int32_t count = getInt(data, 8);
    if (count < 0 || count > (std::numeric_limits<int32_t>::max() - kHeaderSize) / kRectSize
        || getInt(data, 12) != count * kRectSize
        || data.size() < kHeaderSize + qsizetype(count) * kRectSize)
        return fail();
    if (!(scaleX > 0) || !(scaleY > 0))
        return fail();
    QRegion result;
    for (int32_t i = 0; i < count; ++i) {
        const qsizetype at = kHeaderSize + qsizetype(i) * kRectSize;
        const int32_t l = getInt(data, at), t = getInt(data, at + 4);
        const int32_t r = getInt(data, at + 8), b = getInt(data, at + 12);
        if (r <= l || b <= t)
            return fail();
        const int x1 = qRound(l * scaleX), y1 = qRound(t * scaleY);
        const int x2 = qRound(r * scaleX), y2 = qRound(b * scaleY);
        if (x2 > x1 && y2 > y1)
            result += QRect(x1, y1, x2 - x1, y2 - y1).translated(offset);
    }
    *region = result;
    return true;
}

TRgn::TRgn(QWidget *parent)
    : QWidget(parent)
{
    resize(105, 105);
    // The face paints only itself; presses fall through to the window, which
    // tells a press on the face from one on a control.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

// The bitmap as it is painted: the key colour's pixels fully transparent, so
// that on a window with an alpha channel nothing shows outside the outline.
QImage paintedFace(const QImage &bitmap)
{
    QImage painted = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (painted.isNull())
        return painted;
    const QRgb key = painted.pixel(0, painted.height() - 1);
    for (int y = 0; y < painted.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(painted.scanLine(y));
        for (int x = 0; x < painted.width(); ++x)
            if (row[x] == key)
                row[x] = 0;
    }
    return painted;
}

} // namespace

void TRgn::load(const QImage &bitmap, const QByteArray &regionData)
{
    m_bitmap = bitmap;
    m_painted = QImage(); // made by the first paint, once the window is up
    m_data = regionData;
    m_region = QRegion();
    fitToBitmap();
    update();
}

bool TRgn::CreateRegion(QString *error)
{
    if (m_data.isEmpty()) {
        if (error)
            *error = objectName() + kNoRegionData;
        return false;
    }
    if (m_bitmap.isNull() || m_bitmap.width() == 0 || m_bitmap.height() == 0) {
        if (error)
            *error = objectName() + kBadBitmapAtLoad;
        return false;
    }
    const double sx = m_autoSize ? 1.0 : double(width()) / m_bitmap.width();
    const double sy = m_autoSize ? 1.0 : double(height()) / m_bitmap.height();
    return RegionFromData(m_data, sx, sy, pos(), &m_region, error);
}

bool TRgn::ApplyRegion(QString *error)
{
    QWidget *window = parentWidget();
    if (!window) {
        if (error)
            *error = kNoParent;
        return false;
    }
    if (window->isWindow()) {
        const bool shown = window->isVisible();
        window->setWindowFlag(Qt::FramelessWindowHint, true);
        if (shown)
            window->show(); // changing the flags hides a shown window
    }
    // The mask is in device-independent pixels, so at scale 2 the outline
    // grows with the window and stays on the artwork's edge.
    if (auto *masked = dynamic_cast<MaskedWindow *>(window))
        masked->applyWindowMask(m_region);
    else
        window->setMask(m_region);
    update();
    return true;
}

void TRgn::setRgnBitmap(const QImage &bitmap, QString *error)
{
    RegionData built = BuildRegionData(bitmap);
    if (!built.error.isEmpty()) {
        m_bitmap = QImage();
        m_painted = QImage();
        m_data.clear();
        m_region = QRegion();
        update();
        if (error)
            *error = built.error;
        return;
    }
    m_bitmap = bitmap;
    m_painted = QImage(); // made by the first paint, once the window is up
    m_data = built.bytes;
    m_region = QRegion();
    fitToBitmap();
    update();
}

void TRgn::setAutoSize(bool on)
{
    if (m_autoSize == on)
        return;
    m_autoSize = on;
    fitToBitmap();
    update();
}

void TRgn::fitToBitmap()
{
    if (!m_autoSize || m_bitmap.isNull() || size() == m_bitmap.size())
        return;
    m_fitting = true;
    resize(m_bitmap.size());
    m_fitting = false;
}

void TRgn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_fitting)
        fitToBitmap();
}

void TRgn::paintEvent(QPaintEvent *)
{
    if (m_bitmap.isNull())
        return;
    QPainter p(this);
    // Nearest-neighbour: at an integer scale the bricks stay crisp.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Source: the transparent key pixels replace what is below, not blend.
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_painted.isNull())
        m_painted = paintedFace(m_bitmap);
    p.drawImage(rect(), m_painted);
}

} // namespace corvane
