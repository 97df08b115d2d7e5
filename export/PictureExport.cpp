// BMP writer and libjpeg encoder for the picture.
#include "export/PictureExport.h"

#include <QSaveFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <jerror.h>

namespace corvane {

namespace {

void putU16(uchar *p, quint16 v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
}

void putU32(uchar *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uchar(v >> (8 * i));
}

QImage as24Bits(const QImage &image)
{
    return image.format() == QImage::Format_BGR888 ? image
                                                   : image.convertToFormat(QImage::Format_BGR888);
}

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the encoder with libjpeg's message number.
struct JpegErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    auto *mgr = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    std::longjmp(mgr->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}

// A destination that grows a byte array owned by the caller, so that nothing
// libjpeg allocated has to be recovered after an error jump.
struct ByteArrayDestination
{
    jpeg_destination_mgr base;
    QByteArray *bytes;
};

constexpr qsizetype kJpegChunk = 64 * 1024;

void destinationInit(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<ByteArrayDestination *>(cinfo->dest);
    dest->bytes->resize(kJpegChunk);
    dest->base.next_output_byte = reinterpret_cast<JOCTET *>(dest->bytes->data());
    dest->base.free_in_buffer = size_t(kJpegChunk);
}

boolean destinationGrow(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<ByteArrayDestination *>(cinfo->dest);
    // libjpeg calls this only when the whole buffer is full.
    const qsizetype used = dest->bytes->size();
    dest->bytes->resize(used + kJpegChunk);
    dest->base.next_output_byte = reinterpret_cast<JOCTET *>(dest->bytes->data()) + used;
    dest->base.free_in_buffer = size_t(kJpegChunk);
    return TRUE;
}

void destinationTerm(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<ByteArrayDestination *>(cinfo->dest);
    dest->bytes->resize(dest->bytes->size() - qsizetype(dest->base.free_in_buffer));
}

// Everything that outlives a longjmp is plain data set up before setjmp:
// no destructor is skipped. Returns libjpeg's message code, 0 on success.
int compressRows(const uchar *first, qsizetype stride, int width, int height, int quality,
                 QByteArray *out)
{
    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    ByteArrayDestination dest;
    std::memset(&cinfo, 0, sizeof cinfo);
    std::memset(&dest, 0, sizeof dest);
    dest.bytes = out;
    dest.base.init_destination = destinationInit;
    dest.base.empty_output_buffer = destinationGrow;
    dest.base.term_destination = destinationTerm;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = jpegErrorExit;
    err.base.emit_message = jpegSilence;
    if (setjmp(err.jump)) {
        const int code = err.base.msg_code ? err.base.msg_code : -1;
        jpeg_destroy_compress(&cinfo);
        return code;
    }
    jpeg_create_compress(&cinfo);
    cinfo.dest = &dest.base;
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR; // the picture's own byte order
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(first + qsizetype(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

QString cannotCreate(const QString &fileName)
{
    return QStringLiteral("ファイル %1 を作成できません").arg(fileName);
}

SaveError writeWhole(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    // Not every place allows the temporary file beside the target (a
    // directory the user may write files in but not create them in): write
    // straight into the file there.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return cannotCreate(fileName);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return QStringLiteral("ファイル %1 に書き込めません").arg(fileName);
    }
    if (!file.commit())
        return QStringLiteral("ファイル %1 に書き込めません").arg(fileName);
    return std::nullopt;
}

} // namespace

QByteArray encodeBitmap(const QImage &image)
{
    const QImage img = as24Bits(image);
    const int w = img.isNull() ? 0 : img.width();
    const int h = img.isNull() ? 0 : img.height();
    const qsizetype stride = (qsizetype(w) * 3 + 3) & ~qsizetype(3);
    const qsizetype imageSize = stride * h;
    constexpr int kHeaders = 14 + 40;

    QByteArray out(kHeaders + imageSize, '\0');
    uchar *p = reinterpret_cast<uchar *>(out.data());
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, quint32(kHeaders + imageSize));
    putU32(p + 10, kHeaders);
    putU32(p + 14, 40);
    putU32(p + 18, quint32(w));
    putU32(p + 22, quint32(h)); // positive: rows stored bottom-up
    putU16(p + 26, 1);
    putU16(p + 28, 24);
    putU32(p + 30, 0); // BI_RGB
    putU32(p + 34, quint32(imageSize));
    for (int y = 0; y < h; ++y)
        std::memcpy(p + kHeaders + qsizetype(h - 1 - y) * stride, img.constScanLine(y),
                    size_t(w) * 3);
    return out;
}

std::optional<QByteArray> encodeJpeg(const QImage &image, int quality, QString *error)
{
    const QImage img = as24Bits(image);
    if (img.isNull() || img.width() <= 0 || img.height() <= 0) {
        if (error)
            *error = QStringLiteral("JPEG エラー #%1").arg(int(JERR_EMPTY_IMAGE));
        return std::nullopt;
    }
    QByteArray bytes;
    const int code = compressRows(img.constBits(), img.bytesPerLine(), img.width(), img.height(),
                                  std::clamp(quality, 1, 100), &bytes);
    if (code != 0) {
        if (error)
            *error = QStringLiteral("JPEG エラー #%1").arg(code);
        return std::nullopt;
    }
    return bytes;
}

SaveError saveBitmap(const QImage &picture, const QString &fileName)
{
    return writeWhole(fileName, encodeBitmap(picture));
}

SaveError saveJpeg(const QImage &picture, const QString &fileName)
{
    QString error;
    const std::optional<QByteArray> bytes = encodeJpeg(picture, kJpegQuality, &error);
    if (!bytes)
        return error;
    return writeWhole(fileName, *bytes);
}

} // namespace corvane
