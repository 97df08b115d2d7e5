// Start-up text work on the largest corpus text, and the cost of the
// normalisation as the number of tabs grows (it must stay linear).
#include "text/Normalise.h"
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

const char kLargest[] = CORVANE_CORPUS_DIR "/ogai-izawa-ranken.txt";

// The window's sequence: read the file, load the editor, normalise, wrap,
// page, and read page 1 back.
void BM_StartupTextWork(benchmark::State &state)
{
    for (auto _ : state) {
        const std::optional<std::string> text = corvane::loadTextFile(QString::fromUtf8(kLargest));
        if (!text) {
            state.SkipWithError("corpus text missing");
            return;
        }
        corvane::TEditor editor;
        corvane::setupEditor2(editor);
        corvane::loadText(editor, *text, true);
        const int pages = corvane::buildPages(editor);
        benchmark::DoNotOptimize(pages);
        benchmark::DoNotOptimize(corvane::pageRows(editor, 1));
    }
    state.SetLabel("ogai-izawa-ranken.txt, 1.1 MB");
}
BENCHMARK(BM_StartupTextWork)->Unit(benchmark::kMillisecond);

// About 1 MB of CP932 prose in lines of 60 bytes with `tabs` tabs spread
// evenly, and a few of the other patterns.
std::string textWithTabs(int tabs)
{
    const std::string line = "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x8C\xB9\x8E\x81\xE2\xB7"
                             "\x81\x46\x81\xE1\x8C\xEA\x81\xE2\x82\xA9\x82\xAB\x82\xAD\x82\xAF"
                             "\x82\xB1\x82\xB3\x82\xB5\x82\xB7\x82\xB9\x82\xBB\x82\xBD\x82\xBF";
    const std::size_t target = 1 << 20;
    std::string text;
    text.reserve(target + std::size_t(tabs) + 64);
    const std::size_t lines = target / (line.size() + 2);
    for (std::size_t i = 0; i < lines; ++i) {
        // floor((i + 1) t / n) - floor(i t / n): exactly `tabs` in all.
        const std::size_t here
                = (i + 1) * std::size_t(tabs) / lines - i * std::size_t(tabs) / lines;
        text.append(here, '\t');
        text += line;
        text += "\r\n";
    }
    return text;
}

void BM_NormaliseTabs(benchmark::State &state)
{
    const std::string text = textWithTabs(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(corvane::normaliseText(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_NormaliseTabs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same through the editor, as the window normalises it.
void BM_NormaliseEditorTabs(benchmark::State &state)
{
    const std::string text = textWithTabs(int(state.range(0)));
    corvane::TEditor editor;
    corvane::setupEditor2(editor);
    for (auto _ : state) {
        state.PauseTiming();
        editor.Lines().Clear();
        editor.Lines().setText(text);
        state.ResumeTiming();
        corvane::normaliseEditor(editor);
    }
}
BENCHMARK(BM_NormaliseEditorTabs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
