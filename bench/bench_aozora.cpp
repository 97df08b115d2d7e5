// The Aozora reading mode against the raw one on the largest corpus text:
// start-up text work, composing a page with ruby and emphasis, and the
// memory the annotations take per byte of text.
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/Aozora.h"
#include "text/AozoraLayout.h"
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"
#include "writing/PageComposer.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QString>

#include <cstring>
#include <string>

namespace {

const char kLargest[] = CORVANE_CORPUS_DIR "/ogai-izawa-ranken.txt";

std::string largest()
{
    return corvane::loadTextFile(QString::fromUtf8(kLargest)).value_or(std::string());
}

// As the window: the file's text into the editor, wrapped and paged.
void BM_StartupRaw(benchmark::State &state)
{
    const std::string text = largest();
    for (auto _ : state) {
        corvane::TEditor editor;
        corvane::setupEditor2(editor);
        corvane::loadText(editor, text, true);
        benchmark::DoNotOptimize(corvane::buildPages(editor));
    }
}
BENCHMARK(BM_StartupRaw)->Unit(benchmark::kMillisecond);

void BM_StartupAozora(benchmark::State &state)
{
    const std::string text = largest();
    std::size_t annotationBytes = 0;
    for (auto _ : state) {
        corvane::TEditor editor;
        corvane::setupEditor2(editor);
        const corvane::AozoraPages pages = corvane::loadAozora(editor, text);
        benchmark::DoNotOptimize(corvane::buildPages(editor));
        annotationBytes = pages.bytes();
    }
    state.counters["annotation_bytes_per_text_byte"]
            = double(annotationBytes) / double(text.size());
}
BENCHMARK(BM_StartupAozora)->Unit(benchmark::kMillisecond);

// The parse alone, the share of the start-up the notation costs.
void BM_ParseAozora(benchmark::State &state)
{
    const std::string text = largest();
    for (auto _ : state)
        benchmark::DoNotOptimize(corvane::parseAozora(text));
}
BENCHMARK(BM_ParseAozora)->Unit(benchmark::kMillisecond);

// A page composed, with its annotations or raw: the pages of the corpus
// richest in marks, ogai's page 1487 (132 ruby characters) and soseki's page
// 149 (41 ruby characters and 17 emphasis dots), and a page of ogai with few.
struct ComposedPage
{
    const char *file;
    int page;
};
constexpr ComposedPage kComposed[] = {
        {CORVANE_CORPUS_DIR "/ogai-izawa-ranken.txt", 1487},
        {CORVANE_CORPUS_DIR "/soseki-wagahai-neko.txt", 149},
        {CORVANE_CORPUS_DIR "/ogai-izawa-ranken.txt", 40},
};

void composePage(benchmark::State &state, bool aozora)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    (void)app;
    const ComposedPage &chosen = kComposed[state.range(0)];
    const std::string text
            = corvane::loadTextFile(QString::fromUtf8(chosen.file)).value_or(std::string());
    corvane::TEditor editor;
    corvane::setupEditor2(editor);
    corvane::AozoraPages pages;
    if (aozora) {
        pages = corvane::loadAozora(editor, text);
        corvane::buildPages(editor);
    } else {
        corvane::loadPaged(editor, text, true);
    }
    const corvane::PageRows rows = corvane::pageRows(editor, chosen.page);
    const std::vector<corvane::RowMark> marks = pages.pageMarks(chosen.page);
    corvane::PageComposer composer;
    corvane::RandomGenerator random;
    corvane::TABitmap picture(481, 351);
    for (auto _ : state)
        composer.compose(picture, rows, corvane::PageStyle{}, random,
                         corvane::PageMarks{marks, pages.strings});
    state.counters["marks"] = double(marks.size());
    state.SetLabel(std::string(std::strrchr(chosen.file, '/') + 1) + " page "
                   + std::to_string(chosen.page));
}
void BM_ComposeRaw(benchmark::State &state)
{
    composePage(state, false);
}
void BM_ComposeAozora(benchmark::State &state)
{
    composePage(state, true);
}
BENCHMARK(BM_ComposeRaw)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeAozora)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
