// Saved pictures read back as what was saved, in the format of the command
// whatever the file name says; failures leave no file and say why.
#include "export/PictureExport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>

using namespace corvane;

namespace {

// A picture with a different value in every byte position that matters: x,
// y and the colour channel, so swapped channels or flipped rows show.
QImage testPicture(int w = 481, int h = 351)
{
    QImage img(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y) {
        uchar *row = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = uchar(x);         // blue
            row[3 * x + 1] = uchar(y);     // green
            row[3 * x + 2] = uchar(x ^ y); // red
        }
    }
    return img;
}

quint32 u32(const QByteArray &b, int at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData()) + at;
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// The BMP is 24-bit, bottom-up (positive height), rows padded to 4 bytes, and
// decodes to exactly the picture's pixels.
TEST(PictureExport, BitmapIsBottomUp24BitAndReadsBackExactly)
{
    QTemporaryDir dir;
    const QImage picture = testPicture();
    const QString path = dir.filePath(QStringLiteral("page.bmp"));
    ASSERT_FALSE(saveBitmap(picture, path));

    const QByteArray bytes = readAll(path);
    const int stride = 1444; // 481 * 3 rounded up to 4
    ASSERT_EQ(bytes.size(), 54 + stride * 351);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(bytes, 2), quint32(bytes.size()));
    EXPECT_EQ(u32(bytes, 10), 54u);
    EXPECT_EQ(u32(bytes, 18), 481u);
    EXPECT_EQ(u32(bytes, 22), 351u);
    EXPECT_EQ(u32(bytes, 28) & 0xFFFF, 24u);
    // The first stored row is the picture's bottom row, blue byte first.
    EXPECT_EQ(uchar(bytes[54]), 0);          // x = 0
    EXPECT_EQ(uchar(bytes[55]), 350 & 0xFF); // y = 350
    EXPECT_EQ(uchar(bytes[54 + 1443]), 0);   // padding is zero

    QImage back(path);
    ASSERT_EQ(back.size(), QSize(481, 351));
    EXPECT_EQ(back.convertToFormat(QImage::Format_BGR888), picture);
}

// The JPEG is baseline sequential JFIF, 481 x 351 colour, close to the picture.
TEST(PictureExport, JpegIsBaselineAndReadsBackClose)
{
    QTemporaryDir dir;
    const QImage picture = testPicture();
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    ASSERT_FALSE(saveJpeg(picture, path));
    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8\xFF\xE0")) << "SOI then the JFIF marker";
    EXPECT_TRUE(bytes.contains(QByteArray("\xFF\xC0", 2)));  // baseline frame
    EXPECT_FALSE(bytes.contains(QByteArray("\xFF\xC2", 2))); // never progressive

    QImage back(path);
    ASSERT_EQ(back.size(), QSize(481, 351));
    EXPECT_FALSE(back.isGrayscale());
    back = back.convertToFormat(QImage::Format_BGR888);
    // Quality 95 keeps a smooth picture within a few levels on average; a
    // swap of red and blue would be off by about a hundred.
    double total = 0;
    for (int y = 0; y < 351; ++y)
        for (int i = 0; i < 481 * 3; ++i)
            total += std::abs(int(back.constScanLine(y)[i]) - int(picture.constScanLine(y)[i]));
    EXPECT_LT(total / (351.0 * 481 * 3), 6.0);
}

// The command decides the format, not the extension; other formats are
// brought to 24 bits first.
TEST(PictureExport, FormatFollowsTheCommandNotTheName)
{
    QTemporaryDir dir;
    const QString bmpAsJpg = dir.filePath(QStringLiteral("a.jpg"));
    const QString jpgAsBmp = dir.filePath(QStringLiteral("a.bmp"));
    const QImage argb = testPicture(20, 10).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(saveBitmap(argb, bmpAsJpg));
    ASSERT_FALSE(saveJpeg(argb, jpgAsBmp));
    EXPECT_TRUE(readAll(bmpAsJpg).startsWith("BM"));
    EXPECT_EQ(u32(readAll(bmpAsJpg), 28) & 0xFFFF, 24u);
    EXPECT_TRUE(readAll(jpgAsBmp).startsWith("\xFF\xD8"));
    QImageReader reader(bmpAsJpg);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.read().size(), QSize(20, 10));
}

// A file that cannot be created gives the message with its name; an existing
// file is replaced whole, and a failed save leaves nothing behind.
TEST(PictureExport, FailuresReportAndLeaveNoPartialFile)
{
    QTemporaryDir dir;
    const QString missingDir = dir.filePath(QStringLiteral("no/such/dir/p.bmp"));
    const auto error = saveBitmap(testPicture(), missingDir);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(missingDir));
    EXPECT_TRUE(error->contains(QStringLiteral("を作成できません")));
    EXPECT_TRUE(saveJpeg(testPicture(), dir.filePath(QStringLiteral("no/p.jpg"))));

    const auto emptyError = saveJpeg(QImage(), dir.filePath(QStringLiteral("empty.jpg")));
    ASSERT_TRUE(emptyError);
    EXPECT_TRUE(emptyError->startsWith(QStringLiteral("JPEG エラー #")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("empty.jpg"))));

    const QString existing = dir.filePath(QStringLiteral("old.bmp"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2'000'000, 'x'));
    }
    ASSERT_FALSE(saveBitmap(testPicture(8, 8), existing));
    EXPECT_EQ(readAll(existing).size(), 54 + 24 * 8);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary files left";
}
