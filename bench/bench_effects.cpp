// Ticks of the animations against their 55 ms budget: a Velocity tick (clear,
// 100 lines, overlays), a Deep tick against a plain copy of the picture, the
// plan de arts build and paint, and a Difference tick for comparison.
#include "effects/Deep.h"
#include "effects/Difference.h"
#include "effects/PlanDeArts.h"
#include "effects/Random.h"
#include "effects/Velocity.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstring>

using namespace corvane;

namespace {

struct Picture
{
    QImage image{kPictureWidth, kPictureHeight, QImage::Format_BGR888};
    Canvas canvas{&image};
    RandomGenerator random{1};
    EffectClock clock = fixedClock(QTime(15, 0, 0), 4711);
    PictureState shown;
};

void BM_VelocityTick(benchmark::State &st)
{
    Picture p;
    VelocityState v;
    v.Pdigi = true;
    const VelocityOptions opts{};
    v.start(opts, p.canvas, p.random, p.clock, p.shown);
    for (auto _ : st) {
        VelocityTick t = v.tick(opts, p.canvas, p.random, p.clock);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_VelocityTick)->Unit(benchmark::kMicrosecond);

// Clock mode with the time text and bold ellipses: the heaviest variant.
void BM_VelocityClockTick(benchmark::State &st)
{
    Picture p;
    VelocityState v;
    v.Pformt = 2;
    v.Pbt = true;
    const VelocityOptions opts{true, false, false, true};
    v.start(opts, p.canvas, p.random, p.clock, p.shown);
    for (int i = 0; i < 40; ++i) // past the warm-up
        v.tick(opts, p.canvas, p.random, p.clock);
    for (auto _ : st) {
        VelocityTick t = v.tick(opts, p.canvas, p.random, p.clock);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_VelocityClockTick)->Unit(benchmark::kMicrosecond);

void BM_PictureMemcpy(benchmark::State &st)
{
    Picture p;
    QImage copy = p.image.copy();
    const size_t bytes = size_t(p.image.sizeInBytes());
    for (auto _ : st) {
        std::memcpy(copy.bits(), p.image.constBits(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PictureMemcpy)->Unit(benchmark::kMicrosecond);

void BM_DeepTick(benchmark::State &st)
{
    Picture p;
    DeepState d;
    d.start(p.canvas);
    for (auto _ : st) {
        d.tick(false, p.canvas, p.random);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DeepTick)->Unit(benchmark::kMicrosecond);

void BM_DifferenceTick(benchmark::State &st)
{
    Picture p;
    DifferenceState d;
    d.start({false, false, true}, p.canvas, p.random, p.clock, p.shown);
    for (int i = 0; i < 60; ++i)
        d.tick(p.canvas, p.random);
    for (auto _ : st) {
        d.tick(p.canvas, p.random);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DifferenceTick)->Unit(benchmark::kMicrosecond);

// The build with the window's pump at its bounded rate (an empty pump here).
void BM_ArtsBuild(benchmark::State &st)
{
    PlanDeArts arts;
    RandomGenerator random(3);
    int pumps = 0;
    long calls = 0;
    for (auto _ : st) {
        calls = arts.build(kPictureWidth, kPictureHeight, random, [&] { ++pumps; });
        benchmark::ClobberMemory();
    }
    st.counters["quartering_calls"] = double(calls);
    st.counters["pumps"] = benchmark::Counter(pumps, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ArtsBuild)->Unit(benchmark::kMillisecond);

// What one pass of pending events costs when there is nothing to do: times
// the subdivide calls of a build, the price of pumping on every call.
void BM_ProcessEventsOnce(benchmark::State &st)
{
    for (auto _ : st)
        QCoreApplication::processEvents();
}
BENCHMARK(BM_ProcessEventsOnce)->Unit(benchmark::kMicrosecond);

void BM_ArtsPaint(benchmark::State &st)
{
    PlanDeArts arts;
    RandomGenerator random(3);
    arts.build(kPictureWidth, kPictureHeight, random);
    for (auto _ : st) {
        QImage img = arts.paint(kPictureWidth, kPictureHeight, 80, false);
        benchmark::DoNotOptimize(img.constBits());
    }
}
BENCHMARK(BM_ArtsPaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the clock text
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
