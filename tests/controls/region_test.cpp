// The face's outline: region data built from a bitmap, read back, and the
// artwork kept in the repository.
#include <QFile>
#include <QImage>
#include <QRegion>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "controls/TRgn.h"

using namespace corvane;

namespace {

const QString kBadShape = QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟの形状が不適です");

struct Ltrb
{
    int left, top, right, bottom;
    bool operator==(const Ltrb &) const = default;
};

int32_t at(const QByteArray &b, int offset)
{
    return qFromLittleEndian<int32_t>(b.constData() + offset);
}

// The rectangles of a region data block, checking the header on the way.
std::vector<Ltrb> rectangles(const QByteArray &b)
{
    EXPECT_GE(b.size(), 32);
    EXPECT_EQ(at(b, 0), 32);
    EXPECT_EQ(at(b, 4), 1);
    const int count = at(b, 8);
    EXPECT_EQ(at(b, 12), count * 16);
    EXPECT_EQ(b.size(), 32 + count * 16);
    std::vector<Ltrb> out;
    for (int i = 0; i < count && 32 + i * 16 + 16 <= b.size(); ++i) {
        const int o = 32 + i * 16;
        out.push_back({at(b, o), at(b, o + 4), at(b, o + 8), at(b, o + 12)});
    }
    return out;
}

Ltrb bounds(const QByteArray &b)
{
    return {at(b, 16), at(b, 20), at(b, 24), at(b, 28)};
}

QImage rgb(int w, int h, QRgb fill)
{
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(fill);
    return img;
}

// One row of n single-pixel runs separated by key pixels, on an otherwise
// key-coloured picture (the key is blue, the runs white).
QImage rowOfRuns(int runs, int trailingKeys)
{
    const int w = runs * 2 - 1 + trailingKeys;
    QImage img = rgb(w, 2, qRgb(0, 0, 199));
    for (int r = 0; r < runs; ++r)
        img.setPixel(2 * r, 0, qRgb(255, 255, 255));
    return img;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// The key is the lower-left pixel; a colour found nowhere else cuts out just it.
TEST(BuildRegionData, UniqueLowerLeftColourCutsOnlyThatPixel)
{
    for (QImage::Format format :
         {QImage::Format_RGB888, QImage::Format_RGB32, QImage::Format_Indexed8}) {
        QImage img = rgb(7, 5, qRgb(10, 20, 30));
        img.setPixel(0, 4, qRgb(0, 0, 199));
        img = img.convertToFormat(format);
        const RegionData r = BuildRegionData(img);
        ASSERT_TRUE(r.error.isEmpty()) << qPrintable(r.error);
        EXPECT_EQ(bounds(r.bytes), (Ltrb{0, 0, 7, 5}));
        EXPECT_EQ(rectangles(r.bytes), (std::vector<Ltrb>{{0, 0, 7, 4}, {1, 4, 7, 5}}));
    }
}

// Rows are cut into runs at every key pixel; rows with equal runs merge.
TEST(BuildRegionData, HolesSplitRowsAndEqualRowsMerge)
{
    QImage img = rgb(6, 4, qRgb(200, 200, 200));
    img.setPixel(0, 3, qRgb(1, 2, 3));
    img.setPixel(2, 0, qRgb(1, 2, 3));
    img.setPixel(2, 1, qRgb(1, 2, 3));
    EXPECT_EQ(rectangles(BuildRegionData(img).bytes),
              (std::vector<Ltrb>{{0, 0, 2, 2}, {3, 0, 6, 2}, {0, 2, 6, 3}, {1, 3, 6, 4}}));
}

// At most 101 runs a row: the 101st may end at the edge, a 102nd fails.
TEST(BuildRegionData, RunLimitPerRow)
{
    const RegionData ok = BuildRegionData(rowOfRuns(101, 0));
    ASSERT_TRUE(ok.error.isEmpty());
    EXPECT_EQ(rectangles(ok.bytes).size(), 101u);

    // Key pixels after the 101st run add no run, so they cannot break the limit.
    EXPECT_TRUE(BuildRegionData(rowOfRuns(101, 3)).error.isEmpty());

    const RegionData tooMany = BuildRegionData(rowOfRuns(102, 0));
    EXPECT_EQ(tooMany.error, kBadShape);
    EXPECT_TRUE(tooMany.bytes.isEmpty());
}

// A 1-bit picture compares palette indices, not colours: two entries of the
// same black still tell the key from the face.
TEST(BuildRegionData, OneBitPictureComparesIndices)
{
    QImage img(4, 3, QImage::Format_Mono);
    img.setColorTable({qRgb(0, 0, 0), qRgb(0, 0, 0)});
    img.fill(1);
    img.setPixel(0, 2, 0);
    const RegionData r = BuildRegionData(img);
    ASSERT_TRUE(r.error.isEmpty());
    EXPECT_EQ(rectangles(r.bytes), (std::vector<Ltrb>{{0, 0, 4, 2}, {1, 2, 4, 3}}));
}

TEST(BuildRegionData, EmptyPictureIsRefused)
{
    const RegionData r = BuildRegionData(QImage());
    EXPECT_EQ(r.error, QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟが正しくｾｯﾄされていません"));
    EXPECT_TRUE(r.bytes.isEmpty());
}

// Region data comes from a file: every malformed block is refused, none read past its end.
TEST(RegionFromData, MalformedBlocksAreRefusedWithTheirMessage)
{
    QImage img = rgb(8, 8, qRgb(9, 9, 9));
    img.setPixel(0, 7, qRgb(0, 0, 199));
    const QByteArray good = BuildRegionData(img).bytes;
    QRegion region;
    QString error;
    ASSERT_TRUE(RegionFromData(good, 1, 1, {}, &region, &error));

    std::vector<QByteArray> bad = {QByteArray(), good.left(31), good.left(good.size() - 1)};
    QByteArray wrongType = good;
    wrongType[4] = 2;
    QByteArray hugeCount = good;
    qToLittleEndian<int32_t>(0x7FFFFFFF, hugeCount.data() + 8);
    QByteArray insideOut = good;
    qToLittleEndian<int32_t>(-5, insideOut.data() + 32 + 8);
    bad.insert(bad.end(), {wrongType, hugeCount, insideOut});
    for (const QByteArray &b : bad) {
        error.clear();
        EXPECT_FALSE(RegionFromData(b, 1, 1, {}, &region, &error));
        EXPECT_EQ(error, QStringLiteral("ｳｨﾝﾄﾞｳﾘｰｼﾞｮﾝが作成できません"));
    }
}

// The region follows the control's scale and position within its parent.
TEST(RegionFromData, ScalesThenMoves)
{
    QImage img = rgb(4, 4, qRgb(9, 9, 9));
    img.setPixel(0, 3, qRgb(0, 0, 199));
    QRegion region;
    ASSERT_TRUE(RegionFromData(BuildRegionData(img).bytes, 2, 3, {10, 20}, &region, nullptr));
    EXPECT_EQ(region, QRegion(10, 20, 8, 9) + QRegion(12, 29, 6, 3));
}

TEST(TRgn, LoadAndApplyReportTheirFailures)
{
    QWidget window;
    TRgn face(&window);
    face.setObjectName(QStringLiteral("Rgn1"));
    QString error;
    EXPECT_FALSE(face.CreateRegion(&error));
    EXPECT_EQ(error, QStringLiteral("Rgn1 のﾘｰｼﾞｮﾝ情報がありません"));

    face.load(QImage(), QByteArray(64, '\0'));
    EXPECT_FALSE(face.CreateRegion(&error));
    EXPECT_EQ(error, QStringLiteral("Rgn1:RgnBitmap のﾋﾞｯﾄﾏｯﾌﾟが正しくありません"));

    TRgn orphan;
    EXPECT_FALSE(orphan.ApplyRegion(&error));
    EXPECT_EQ(error, QStringLiteral("Parentが設定されていません"));
}

// AutoSize holds the control at its bitmap's size whatever bounds it is given.
TEST(TRgn, AutoSizeKeepsTheBitmapSize)
{
    QWidget window;
    TRgn face(&window);
    window.show(); // a hidden widget hears of its new size only when shown
    face.setRgnBitmap(rgb(30, 20, qRgb(1, 1, 1)));
    face.setGeometry(5, 6, 100, 100);
    EXPECT_EQ(face.geometry(), QRect(5, 6, 30, 20));
    face.setAutoSize(false);
    face.setGeometry(5, 6, 100, 100);
    EXPECT_EQ(face.size(), QSize(100, 100));
}

// A picture whose region cannot be built leaves no bitmap and no data behind.
TEST(TRgn, FailedBitmapIsDropped)
{
    TRgn face;
    face.setRgnBitmap(rgb(5, 5, qRgb(1, 1, 1)));
    QString error;
    face.setRgnBitmap(rowOfRuns(102, 0), &error);
    EXPECT_EQ(error, kBadShape);
    EXPECT_TRUE(face.RgnBitmap().isNull());
    EXPECT_TRUE(face.RgnData().isEmpty());
}

// The artwork in the repository: 8-bit with a full palette, the key colour in
// the lower-left 2 x 2 corner only, the panel colour the commonest, and the
// stored outline is the one the bitmap gives.
TEST(FaceArtwork, BitmapAndStoredRegionAgree)
{
    const QImage face(QStringLiteral(CORVANE_SOURCE_DIR "/assets/face.bmp"));
    ASSERT_FALSE(face.isNull());
    EXPECT_EQ(face.size(), QSize(680, 425));
    EXPECT_EQ(face.format(), QImage::Format_Indexed8);
    EXPECT_EQ(face.colorCount(), 256);

    std::map<QRgb, int> uses;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            ++uses[face.pixel(x, y)];
    EXPECT_EQ(face.pixel(0, 424), qRgb(0, 0, 199));
    EXPECT_EQ(uses[qRgb(0, 0, 199)], 4);
    for (int y = 423; y < 425; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(face.pixel(x, y), qRgb(0, 0, 199));
    const auto commonest = std::max_element(uses.begin(), uses.end(),
                                            [](auto &a, auto &b) { return a.second < b.second; });
    EXPECT_EQ(commonest->first, qRgb(156, 182, 165));

    const QByteArray stored = readFile(QStringLiteral(CORVANE_SOURCE_DIR "/assets/face.rgn"));
    EXPECT_EQ(stored.size(), 64);
    EXPECT_EQ(bounds(stored), (Ltrb{0, 0, 680, 425}));
    EXPECT_EQ(rectangles(stored), (std::vector<Ltrb>{{0, 0, 680, 423}, {2, 423, 680, 425}}));
    EXPECT_EQ(BuildRegionData(face).bytes, stored);
}
