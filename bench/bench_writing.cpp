// Composing a page: decoding, shaping and drawing 13 rows onto the 24-bit
// page, without the grain (which is measured with the bitmap). Budget: 3 ms.
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/PagedText.h"
#include "writing/PageComposer.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace corvane;

std::vector<std::string> corpusRows()
{
    QFile f(QStringLiteral(CORVANE_CORPUS_DIR "/akutagawa-rashomon.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return pagedRows(std::string(bytes.constData(), size_t(bytes.size())), true);
}

// Cycles through the text's pages so the glyph caches see new characters, as
// reading does, after the first round.
void composePages(benchmark::State &state, bool horizontal, bool gothic)
{
    const std::vector<std::string> rows = corpusRows();
    const size_t pages = rows.size() / kPageRows;
    if (pages == 0) {
        state.SkipWithError("corpus text missing");
        return;
    }
    PageComposer composer;
    if (!composer.isReady()) {
        state.SkipWithError("page fonts missing");
        return;
    }
    PageStyle style;
    style.horizontal = horizontal;
    style.gothic = gothic;
    style.tenderly = false;
    RandomGenerator random;
    TABitmap page(481, 351);
    size_t p = 0;
    for (auto _ : state) {
        const std::span<const std::string> pageRows(rows.data() + p * kPageRows, kPageRows);
        composer.compose(page, pageRows, style, random);
        benchmark::DoNotOptimize(page.image().constBits());
        p = (p + 1) % pages;
    }
}

void BM_ComposeVerticalMincho(benchmark::State &state)
{
    composePages(state, false, false);
}
void BM_ComposeVerticalGothic(benchmark::State &state)
{
    composePages(state, false, true);
}
void BM_ComposeHorizontalMincho(benchmark::State &state)
{
    composePages(state, true, false);
}

// The first page a run writes: every font, cache and table is made here.
void BM_FirstPageFromCold(benchmark::State &state)
{
    const std::vector<std::string> rows = corpusRows();
    if (rows.size() < size_t(kPageRows)) {
        state.SkipWithError("corpus text missing");
        return;
    }
    PageStyle style;
    style.tenderly = false;
    RandomGenerator random;
    for (auto _ : state) {
        PageComposer composer;
        TABitmap page(481, 351);
        composer.compose(page, std::span<const std::string>(rows.data(), kPageRows), style, random);
        benchmark::DoNotOptimize(page.image().constBits());
    }
}

BENCHMARK(BM_ComposeVerticalMincho)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeVerticalGothic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeHorizontalMincho)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPageFromCold)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char name[] = "bench_writing";
    char *qtArgv[] = {name, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
