// TABitmap: 24-bit storage, copies, the blend and the grain. The two pixel
// loops exist for AVX2 and for the baseline, picked at run time from what the
// CPU has; the arithmetic is the same byte for byte in both.
#include "effects/TABitmap.h"

#include "effects/PixelKernels.h"
#include "effects/Random.h"

#if CORVANE_X86
#    include <immintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace corvane {

namespace {

constexpr QImage::Format kFormat = QImage::Format_BGR888;
constexpr uint32_t kMultiplier = 134775813u; // the generator's step, seed * a + 1

// Whole chunks of a fixed length let the compiler vectorise even under its
// cheapest cost model (-O2); the tail runs scalar.
constexpr int kChunk = 64;

} // namespace

namespace pixels {

namespace {

// d := (s * c + d * k) div 256 in 16 bits: s * c + d * k <= 255 * 256, so
// the sum never wraps and its high byte is the result.
void blendTail(const uchar *s, uchar *d, int from, int n, uint16_t c, uint16_t k)
{
    for (int i = from; i < n; ++i)
        d[i] = uchar(uint16_t(s[i] * c + d[i] * k) >> 8);
}

} // namespace

// Baseline build (SSE2), vectorised by the compiler in whole chunks.
void blendBytesGeneric(const uchar *__restrict s, uchar *__restrict d, int n, uint16_t c,
                       uint16_t k)
{
    int i = 0;
    for (; i + kChunk <= n; i += kChunk) {
        for (int j = 0; j < kChunk; ++j)
            d[i + j] = uchar(uint16_t(s[i + j] * c + d[i + j] * k) >> 8);
    }
    blendTail(s, d, i, n, c, k);
}

// AVX2, 32 bytes a step. In-lane unpacking against zero and the in-lane pack
// undo each other, so no lane shuffle is needed, and as no sum exceeds 65280
// the shifted words fit a byte and pack without masking.
#if CORVANE_X86
__attribute__((target("avx2"))) void blendBytesAvx2(const uchar *__restrict s, uchar *__restrict d,
                                                    int n, uint16_t c, uint16_t k)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i vc = _mm256_set1_epi16(short(c));
    const __m256i vk = _mm256_set1_epi16(short(k));
    int i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(s + i));
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(d + i));
        const __m256i lo = _mm256_srli_epi16(
                _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(sv, zero), vc),
                                 _mm256_mullo_epi16(_mm256_unpacklo_epi8(dv, zero), vk)),
                8);
        const __m256i hi = _mm256_srli_epi16(
                _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(sv, zero), vc),
                                 _mm256_mullo_epi16(_mm256_unpackhi_epi8(dv, zero), vk)),
                8);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(d + i), _mm256_packus_epi16(lo, hi));
    }
    blendTail(s, d, i, n, c, k);
}

bool hasAvx2()
{
    return __builtin_cpu_supports("avx2");
}
#else
void blendBytesAvx2(const uchar *s, uchar *d, int n, uint16_t c, uint16_t k)
{
    blendBytesGeneric(s, d, n, c, k);
}

bool hasAvx2()
{
    return false;
}
#endif

} // namespace pixels

namespace {

// The draw for byte j of row `row` is the high half of seed_j * amount, where
// seed_j = add[j] + row * mult[j] is the seed after j + 1 steps from seed `row`.
// With amount < 256 the 64-bit product splits into two 32-bit ones without loss:
// floor(s * a / 2^32) = floor((hi * a + floor(lo * a / 2^16)) / 2^16).
inline uchar grainByte(uchar p, uint32_t mult, uint32_t add, uint32_t row, uint32_t amount)
{
    const uint32_t seed = add + row * mult;
    const uint32_t draw = ((seed >> 16) * amount + (((seed & 0xFFFFu) * amount) >> 16)) >> 16;
    const uint32_t v = p + draw;
    return uchar(v > 255u ? 255u : v);
}

CORVANE_AVX2_CLONES
void grainRow(uchar *__restrict p, const uint32_t *__restrict mult, const uint32_t *__restrict add,
              uint32_t row, uint32_t amount, int n)
{
    int i = 0;
    for (; i + kChunk <= n; i += kChunk) {
        for (int j = 0; j < kChunk; ++j)
            p[i + j] = grainByte(p[i + j], mult[i + j], add[i + j], row, amount);
    }
    for (; i < n; ++i)
        p[i] = grainByte(p[i], mult[i], add[i], row, amount);
}

} // namespace

TABitmap::TABitmap(int width, int height)
{
    setSize(width, height);
}

TABitmap::TABitmap(const QImage &image)
{
    Assign(image);
}

TABitmap::TABitmap(QImage &&image)
{
    Assign(std::move(image));
}

void TABitmap::setSize(int width, int height)
{
    ++m_changes;
    if (width <= 0 || height <= 0) {
        m_image = QImage();
        return;
    }
    m_image = QImage(width, height, kFormat);
    // A failed allocation leaves a null image, which reads as empty.
    if (!m_image.isNull())
        m_image.fill(Qt::black);
}

void TABitmap::force24Bits(QImage &image)
{
    if (!image.isNull() && image.format() != kFormat)
        image = image.convertToFormat(kFormat);
}

void TABitmap::fill(quint32 colour)
{
    ++m_changes;
    fillImage(m_image, colour);
}

void TABitmap::fillImage(QImage &image, quint32 colour)
{
    force24Bits(image);
    const int w = image.width();
    const int h = image.height();
    if (w == 0 || h == 0)
        return;
    const uchar b = uchar(colour >> 16), g = uchar(colour >> 8), r = uchar(colour);
    uchar *first = image.scanLine(0);
    for (int x = 0; x < w; ++x) {
        first[3 * x] = b;
        first[3 * x + 1] = g;
        first[3 * x + 2] = r;
    }
    const qsizetype stride = image.bytesPerLine();
    for (int y = 1; y < h; ++y)
        std::memcpy(first + y * stride, first, size_t(w) * 3);
}

void TABitmap::Assign(const TABitmap &source)
{
    if (&source == this)
        return;
    ++m_changes;
    m_image = source.m_image;
    force24Bits(m_image);
}

void TABitmap::Assign(const QImage &source)
{
    ++m_changes;
    m_image = source;
    force24Bits(m_image);
}

void TABitmap::Assign(QImage &&source)
{
    ++m_changes;
    m_image = std::move(source);
    force24Bits(m_image);
}

bool TABitmap::LoadFromFile(const QString &path)
{
    QImage loaded;
    if (!loaded.load(path) || loaded.isNull())
        return false;
    Assign(std::move(loaded));
    return true;
}

QImage TABitmap::take()
{
    ++m_changes;
    return std::exchange(m_image, QImage());
}

void TABitmap::copyOnto(TABitmap &Dest) const
{
    ++Dest.m_changes;
    copyOnto(Dest.m_image);
}

void TABitmap::copyOnto(QImage &Dest) const
{
    force24Bits(Dest);
    if (Dest.constBits() == m_image.constBits())
        return; // the same pixels
    const QImage src = m_image.format() == kFormat ? m_image : m_image.convertToFormat(kFormat);
    const int w = std::min(src.width(), Dest.width());
    const int h = std::min(src.height(), Dest.height());
    for (int y = 0; y < h; ++y)
        std::memcpy(Dest.scanLine(y), src.constScanLine(y), size_t(w) * 3);
}

void TABitmap::BlendOnto(int X, int Y, int Width, int Height, TABitmap &Dest, quint16 Alpha) const
{
    ++Dest.m_changes;
    BlendOnto(X, Y, Width, Height, Dest.m_image, Alpha);
}

void TABitmap::BlendOnto(int X, int Y, int Width, int Height, QImage &Dest, quint16 Alpha) const
{
    force24Bits(Dest);
    if (Alpha == 0)
        return;
    const uint16_t c = Alpha > 255 ? 255 : Alpha;
    const uint16_t k = 256 - c;

    // A local handle keeps the source bytes as they were when Dest is this
    // bitmap's image (or shares its data): writing Dest then detaches Dest.
    const QImage src = m_image.format() == kFormat ? m_image : m_image.convertToFormat(kFormat);

    // Clip in 64 bits so that huge sizes cannot wrap. The area may not run past
    // Dest, nor past the source, nor start above or left of either.
    const int64_t left = std::max<int64_t>(X, 0);
    const int64_t top = std::max<int64_t>(Y, 0);
    const int64_t right
            = std::min({int64_t(X) + Width, int64_t(Dest.width()), int64_t(X) + src.width()});
    const int64_t bottom
            = std::min({int64_t(Y) + Height, int64_t(Dest.height()), int64_t(Y) + src.height()});
    const int64_t bytes = 3 * right - 3 * left;
    if (bytes <= 0 || bottom <= top)
        return;

    const size_t srcOffset = size_t(3 * (left - X));
    const auto blend = pixels::hasAvx2() ? pixels::blendBytesAvx2 : pixels::blendBytesGeneric;
    for (int64_t r = top; r < bottom; ++r) {
        const uchar *s = src.constScanLine(int(r - Y)) + srcOffset;
        uchar *d = Dest.scanLine(int(r)) + 3 * left;
        blend(s, d, int(bytes), c, k);
    }
}

void TABitmap::AddNoise(TABitmap &Target, quint8 Amount, RandomGenerator &random)
{
    ++Target.m_changes;
    AddNoise(Target.m_image, Amount, random);
}

void TABitmap::AddNoise(QImage &Target, quint8 Amount, RandomGenerator &random)
{
    force24Bits(Target);
    const int h = Target.height();
    if (h == 0)
        return;
    const int n = Target.width() * 3;

    // Row i starts from seed i, so after j + 1 steps its seed is
    // a^(j+1) * i + seed_(j+1)(0): one table for the width serves every row.
    std::vector<uint32_t> mult(static_cast<size_t>(n)), add(static_cast<size_t>(n));
    uint32_t m = 1, a = 0;
    for (int j = 0; j < n; ++j) {
        m *= kMultiplier;
        a = a * kMultiplier + 1u;
        mult[size_t(j)] = m;
        add[size_t(j)] = a;
    }

    for (int y = 0; y < h; ++y)
        grainRow(Target.scanLine(y), mult.data(), add.data(), uint32_t(y), Amount, n);

    // The generator goes on from the last row: n steps from seed h - 1
    // (just h - 1 when the rows have no bytes).
    random.setSeed(a + uint32_t(h - 1) * m);
}

} // namespace corvane
