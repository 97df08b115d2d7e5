// Deep (Mu-gen): start, tick, the smear and the colour walk. Writes DeepState
// and the picture.
#include "effects/Deep.h"

#include "effects/PixelKernels.h"
#include "effects/Random.h"

namespace corvane {

namespace {

// One row of the smear: d := (u + d) div 2, the blend at alpha 128, written
// as (u & d) + ((u ^ d) >> 1) so that it stays in bytes. Whole chunks of a
// fixed length let the compiler vectorise it even at -O2; the tail is scalar.
constexpr int kChunk = 64;

inline uchar mean(uchar u, uchar d)
{
    return uchar((u & d) + ((u ^ d) >> 1));
}

CORVANE_AVX2_CLONES
void meanRow(const uchar *__restrict up, uchar *__restrict d, int n)
{
    int i = 0;
    for (; i + kChunk <= n; i += kChunk)
        for (int j = 0; j < kChunk; ++j)
            d[i + j] = mean(up[i + j], d[i + j]);
    for (; i < n; ++i)
        d[i] = mean(up[i], d[i]);
}

} // namespace

void DeepState::init(RandomGenerator &random, const EffectClock &clock)
{
    clock.reseed(random);
    FDeepWalk = random.random(16600000);
}

StartPlan DeepState::plan(const Busy &running, quint32 GColor) const
{
    StartPlan p;
    p.stopFirst = running.difference || running.arts || running.velocity;
    p.status = QStringLiteral("Deep (Mu-gen)");
    if (GColor != 0)
        p.fade = FBlackRect ? Fade::Black : Fade::White;
    return p;
}

StartResult DeepState::start(Canvas &canvas)
{
    FDeepColor = kLightGrey;
    canvas.fillAll(FBlackRect ? 0u : kLightGrey);
    canvas.setBrushColor(FDeepColor);
    StartResult r;
    r.imageHint = QStringLiteral("Deep (Mu-gen)");
    return r;
}

void DeepState::smear(QImage &picture)
{
    const int n = picture.width() * 3;
    if (picture.height() < 2 || n <= 0)
        return;
    uchar *base = picture.bits();
    const qsizetype stride = picture.bytesPerLine();
    for (int y = picture.height() - 1; y >= 1; --y)
        meanRow(base + (y - 1) * stride, base + y * stride, n);
}

void DeepState::tick(bool separation, Canvas &canvas, RandomGenerator &random)
{
    const int w = canvas.width(), h = canvas.height();
    const int d = FDeepInset;
    if (!separation) {
        canvas.setBrushColor(FDeepColor);
        canvas.frameRect({d, d, w - d, h - d});
    } else {
        // The pen width is whatever the canvas last had.
        canvas.setPenColor(FDeepColor);
        const bool vertical = FDeepSepMode == 1 || FDeepSepMode == 2;
        if (vertical) {
            canvas.moveTo(d, d);
            canvas.lineTo(d, h - d);
            canvas.moveTo(w - d, d);
            canvas.lineTo(w - d, h - d);
        } else {
            canvas.moveTo(d, d);
            canvas.lineTo(w - d, d);
            canvas.moveTo(d, h - d);
            canvas.lineTo(w - d, h - d);
        }
    }

    smear(canvas.image());

    const int step = 5 - FDeepSlow;
    auto advanceMode = [&] {
        if (separation)
            FDeepSepMode = FDeepSepMode > 3 ? 1 : FDeepSepMode + 1;
    };
    if (FDeepGrowing) {
        if (FDeepInset < h / 2) {
            FDeepInset += step;
        } else {
            FDeepGrowing = false;
            advanceMode();
        }
    } else {
        if (FDeepInset > 3) {
            FDeepInset -= step;
        } else {
            FDeepGrowing = true;
            advanceMode();
        }
    }

    ColorChange(random);
}

void DeepState::ColorChange(RandomGenerator &random)
{
    FDeepColor = quint32(FDeepWalk);
    if (FDeepWalkUp) {
        FDeepWalk += 65535;
        if (FDeepWalk > kWalkTop)
            FDeepWalkUp = false;
    } else {
        FDeepWalk -= 65535;
        if (FDeepWalk <= kWalkBottom) {
            FDeepWalk = random.random(65535);
            FDeepWalkUp = true;
        }
    }
}

void DeepState::drawTopLine(Canvas &canvas, quint32 colour)
{
    canvas.setPenColor(colour);
    canvas.moveTo(0, 0);
    canvas.lineTo(canvas.width(), 0);
}

} // namespace corvane
