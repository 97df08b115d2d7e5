// Saving the picture as a Windows bitmap (24 bits, bottom-up rows padded to
// four bytes) or as a baseline, sequential JPEG of quality 95 through
// libjpeg. Either way the content follows the command, not the file name's
// extension. Failures come back as a message for the user; nothing is left
// behind when a save fails, and an existing file is replaced only by a
// complete new one.
#pragma once
#include <QImage>
#include <QString>

#include <optional>

namespace corvane {

inline constexpr int kJpegQuality = 95;

// Empty on success, else the message to show.
using SaveError = std::optional<QString>;

// The bytes of a 24-bit BMP file of image (converted to 24 bits if needed).
QByteArray encodeBitmap(const QImage &image);
// The bytes of a JFIF file of image; on a libjpeg failure, nullopt and
// *error (when given) set to the message.
std::optional<QByteArray> encodeJpeg(const QImage &image, int quality = kJpegQuality,
                                     QString *error = nullptr);

SaveError saveBitmap(const QImage &picture, const QString &fileName);
SaveError saveJpeg(const QImage &picture, const QString &fileName);

} // namespace corvane
