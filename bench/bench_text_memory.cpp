// Memory of the start-up text work on large texts: peak and retained
// resident memory per byte of text, beyond what the process held before,
// and the time of the whole sequence. Run one size per process for clean
// figures, e.g. --benchmark_filter=/100 (the texts are built from the
// corpus, repeated).
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

const char *const kCorpus[] = {
        CORVANE_CORPUS_DIR "/ogai-izawa-ranken.txt",
        CORVANE_CORPUS_DIR "/soseki-wagahai-neko.txt",
        CORVANE_CORPUS_DIR "/dazai-udaijin-sanetomo.txt",
};

// Resident and peak resident memory of this process, in bytes.
long statusKb(const char *field)
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    long kb = 0;
    const std::size_t n = std::char_traits<char>::length(field);
    while (std::fgets(line, sizeof line, f))
        if (std::string_view(line).substr(0, n) == field)
            kb = std::strtol(line + n + 1, nullptr, 10);
    std::fclose(f);
    return kb;
}

double residentBytes()
{
    return double(statusKb("VmRSS")) * 1024.0;
}
double peakBytes()
{
    return double(statusKb("VmHWM")) * 1024.0;
}

// Starts a new peak from the present resident size.
void resetPeak()
{
    if (std::FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// A text file of about megabytes MB, written piece by piece so that making
// it raises no peak of its own.
std::string makeText(int megabytes)
{
    const std::string path = "/tmp/corvane-bench-" + std::to_string(::getpid()) + "-"
            + std::to_string(megabytes) + ".txt";
    std::ofstream out(path, std::ios::binary);
    const std::size_t target = std::size_t(megabytes) << 20;
    std::size_t written = 0;
    for (std::size_t k = 0; written < target; ++k) {
        std::ifstream in(kCorpus[k % std::size(kCorpus)], std::ios::binary);
        const std::string piece((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (piece.empty())
            return {};
        const std::size_t n = std::min(piece.size(), target - written);
        out.write(piece.data(), std::streamsize(n));
        written += n;
    }
    return path;
}

// The window's sequence: read and decode the file, load it normalised,
// page it, and write page 1.
void BM_StartupTextMemory(benchmark::State &state)
{
    const std::string path = makeText(int(state.range(0)));
    if (path.empty()) {
        state.SkipWithError("corpus text missing");
        return;
    }
    const double size = double(state.range(0) << 20);
    double peak = 0, held = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double base = residentBytes();
        resetPeak();
        state.ResumeTiming();
        {
            corvane::TEditor editor;
            corvane::setupEditor2(editor);
            {
                std::optional<std::string> text
                        = corvane::loadTextFile(QString::fromStdString(path));
                corvane::loadText(editor, std::move(*text), true);
                benchmark::DoNotOptimize(corvane::buildPages(editor));
            }
            benchmark::DoNotOptimize(corvane::pageRows(editor, 1));
            state.PauseTiming();
            held = std::max(held, residentBytes() - base);
            peak = std::max(peak, peakBytes() - base);
            state.ResumeTiming();
        }
    }
    ::unlink(path.c_str());
    state.counters["peak_B_per_B"] = peak / size;
    state.counters["held_B_per_B"] = held / size;
    state.counters["peak_MB"] = peak / double(1 << 20);
}
BENCHMARK(BM_StartupTextMemory)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
