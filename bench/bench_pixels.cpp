// One blend step and one grain pass on the 481 x 351 picture, beside a memcpy
// of the same 506,493 bytes and beside plain scalar loops doing the same work.
#include "effects/Random.h"
#include "effects/TABitmap.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

using corvane::RandomGenerator;
using corvane::TABitmap;

namespace {

constexpr int W = 481, H = 351;
constexpr size_t kPictureBytes = size_t(W) * 3 * H; // 506,493

TABitmap picture(quint32 colour)
{
    TABitmap bmp(W, H);
    bmp.fill(colour);
    return bmp;
}

// The blend written as the plain byte loop, kept scalar for comparison.
__attribute__((optimize("no-tree-vectorize"))) void scalarBlend(const TABitmap &src, TABitmap &dest,
                                                                unsigned alpha)
{
    const unsigned c = alpha > 255 ? 255 : alpha, k = 256 - c;
    for (int y = 0; y < H; ++y) {
        const uchar *s = src.image().constScanLine(y);
        uchar *d = dest.image().scanLine(y);
        for (int i = 0; i < W * 3; ++i)
            d[i] = uchar((s[i] * c + d[i] * k) >> 8);
    }
}

// The grain as the generator walks it, one draw per byte through the object.
void walkedGrain(TABitmap &target, RandomGenerator &random)
{
    for (int y = 0; y < H; ++y) {
        random.setSeed(uint32_t(y));
        uchar *p = target.image().scanLine(y);
        for (int i = 0; i < W * 3; ++i)
            p[i] = TABitmap::ClampByte(p[i] + int(random.next(15)));
    }
}

void BM_Memcpy(benchmark::State &state)
{
    std::vector<uchar> a(kPictureBytes, 1), b(kPictureBytes, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kPictureBytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_Memcpy);

void BM_BlendOnto(benchmark::State &state)
{
    const TABitmap src = picture(0x808080);
    TABitmap dest = picture(0x202020);
    for (auto _ : state) {
        src.BlendOnto(0, 0, W, H, dest, 96);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_BlendOnto);

void BM_BlendScalarReference(benchmark::State &state)
{
    const TABitmap src = picture(0x808080);
    TABitmap dest = picture(0x202020);
    for (auto _ : state) {
        scalarBlend(src, dest, 96);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPictureBytes));
}
BENCHMARK(BM_BlendScalarReference);

// Both in the same loop, alternating, so that the ratio is not skewed by the
// machine's load drifting between two separate runs.
void BM_BlendToMemcpyRatio(benchmark::State &state)
{
    using Clock = std::chrono::steady_clock;
    const TABitmap src = picture(0x808080);
    TABitmap dest = picture(0x202020);
    std::vector<uchar> a(kPictureBytes, 1), b(kPictureBytes, 2);
    Clock::duration blend{}, copy{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(b.data(), a.data(), kPictureBytes);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        src.BlendOnto(0, 0, W, H, dest, 96);
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        copy += t1 - t0;
        blend += t2 - t1;
    }
    const double n = double(state.iterations());
    state.counters["memcpy_us"] = std::chrono::duration<double, std::micro>(copy).count() / n;
    state.counters["blend_us"] = std::chrono::duration<double, std::micro>(blend).count() / n;
    state.counters["ratio"] = double(blend.count()) / double(copy.count());
}
BENCHMARK(BM_BlendToMemcpyRatio);

void BM_AddNoise(benchmark::State &state)
{
    TABitmap pic = picture(0x505050);
    RandomGenerator random;
    for (auto _ : state) {
        state.PauseTiming();
        pic.fill(0x505050);
        state.ResumeTiming();
        TABitmap::AddNoise(pic, 15, random);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AddNoise)->Unit(benchmark::kMicrosecond);

void BM_AddNoiseWalkedReference(benchmark::State &state)
{
    TABitmap pic = picture(0x505050);
    RandomGenerator random;
    for (auto _ : state) {
        state.PauseTiming();
        pic.fill(0x505050);
        state.ResumeTiming();
        walkedGrain(pic, random);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_AddNoiseWalkedReference)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
