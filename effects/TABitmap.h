// The 24-bit picture every page, fade and animation draws on, with the two
// scan-line operations they share: the byte-wise blend and the fixed grain.
// Pixels are bytes B, G, R (QImage::Format_BGR888, as in a 24-bit DIB); rows
// are padded to 4 bytes and the padding is never written by this class.
#pragma once
#include <QImage>
#include <QString>
#include <cstdint>

namespace corvane {

class RandomGenerator;

class TABitmap
{
public:
    // An empty bitmap; it still counts as 24-bit, and every later content is.
    TABitmap() = default;
    // Black pixels. A size of 0 or less in either direction gives an empty bitmap.
    TABitmap(int width, int height);
    // Any QImage, converted to 24 bits. Moving one in avoids sharing its
    // pixels, so the first write does not copy them.
    explicit TABitmap(const QImage &image);
    explicit TABitmap(QImage &&image);

    TABitmap(const TABitmap &) = default;
    TABitmap &operator=(const TABitmap &) = default;
    TABitmap(TABitmap &&) noexcept = default;
    TABitmap &operator=(TABitmap &&) noexcept = default;

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isEmpty() const { return m_image.isNull(); }

    // Drop the content and take a new size, black.
    void setSize(int width, int height);

    // For QPainter, the animations and export. Whoever replaces the image with
    // another format gets it converted back before the next blend or grain.
    QImage &image()
    {
        ++m_changes;
        return m_image;
    }
    const QImage &image() const { return m_image; }

    // Every pixel in one colour 0x00BBGGRR.
    void fill(quint32 colour);
    static void fillImage(QImage &image, quint32 colour);

    // Copies of another picture; the result is always 24 bits. The loads
    // return false (and leave the bitmap as it was) when the file cannot be read.
    void Assign(const TABitmap &source);
    void Assign(const QImage &source);
    void Assign(QImage &&source);
    bool LoadFromFile(const QString &path);
    // Hands the pixels over and leaves this bitmap empty.
    QImage take();

    // Plain copy of this bitmap onto Dest at (0, 0), over the area both share.
    void copyOnto(TABitmap &Dest) const;
    void copyOnto(QImage &Dest) const;

    // Blend this bitmap onto Dest with its top-left corner at (X, Y): every
    // colour byte becomes (s * c + d * (256 - c)) div 256 with c = min(Alpha, 255);
    // Alpha 0 draws nothing. The area is clipped to Dest and to this bitmap.
    // The QImage forms serve a picture kept as a QImage (the window's, the
    // animations'); Dest is converted to 24 bits first, like a TABitmap.
    void BlendOnto(int X, int Y, int Width, int Height, TABitmap &Dest, quint16 Alpha) const;
    void BlendOnto(int X, int Y, int Width, int Height, QImage &Dest, quint16 Alpha) const;

    // The fixed grain: row i restarts the generator at seed i and every colour
    // byte gains a draw in 0..Amount-1, clamped to 255. The generator is left
    // where the last row's draws leave it.
    static void AddNoise(TABitmap &Target, quint8 Amount, RandomGenerator &random);
    static void AddNoise(QImage &Target, quint8 Amount, RandomGenerator &random);

    static quint8 ClampByte(int Value) { return Value < 0 ? 0 : Value > 255 ? 255 : quint8(Value); }

    // Grows whenever the pixels may have changed, so that a view can tell
    // whether it must redraw.
    quint64 changeCount() const { return m_changes; }

private:
    static void force24Bits(QImage &image);

    QImage m_image;
    quint64 m_changes = 0;
};

} // namespace corvane
