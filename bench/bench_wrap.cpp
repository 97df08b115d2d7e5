// Loading and wrapping a text the way the window does (the hidden editor's
// settings, LoadFromFile with WordWrap on), on the largest corpus text and on
// about 10 MB made by repeating it; one long line of 64 KiB against one of
// 256 KiB, which must cost at most five times as much; and ICU's Japanese
// line-break iterator over the same texts in UTF-16, the reference a reader
// of the code would otherwise reach for. The ratios are printed at the end.
#include "text/TEditor.h"

#include <benchmark/benchmark.h>

#ifdef CORVANE_HAVE_ICU
#    include <unicode/brkiter.h>
#    include <unicode/locid.h>
#    include <unicode/unistr.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

using corvane::TEditor;

namespace {

constexpr const char *kLargest = "ogai-izawa-ranken.txt";     // 1.1 MB
constexpr const char *kLongLines = "soseki-wagahai-neko.txt"; // paragraphs of 22 KB
constexpr size_t kTenMegabytes = 10u << 20;

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A scratch file that lives for the whole run.
class ScratchFile
{
public:
    explicit ScratchFile(const std::string &bytes)
    {
        char pattern[] = "/tmp/corvane-bench-wrap-XXXXXX";
        const int fd = ::mkstemp(pattern);
        if (fd >= 0) {
            m_path = pattern;
            if (::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()))
                m_path.clear();
            ::close(fd);
        }
    }
    ~ScratchFile()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// One line of about n bytes, cut from running text with its breaks removed,
// ending on a character boundary.
std::string oneLine(const std::string &text, size_t n)
{
    std::string line;
    line.reserve(n + 2);
    size_t i = 0;
    while (line.size() < n) {
        if (i >= text.size())
            i = 0;
        const char c = text[i];
        if (c == '\r' || c == '\n' || c == '\x1A') {
            ++i;
            continue;
        }
        const size_t len = corvane::cp932CharLength(text, i);
        line.append(text, i, len);
        i += len;
    }
    return line;
}

void loadAndWrap(benchmark::State &state, const std::string &path, size_t bytes)
{
    if (path.empty()) {
        state.SkipWithError("no scratch file");
        return;
    }
    for (auto _ : state) {
        TEditor editor;
        corvane::setupEditor2(editor);
        editor.Lines().Clear();
        editor.Lines().LoadFromFile(path);
        benchmark::DoNotOptimize(editor.RowCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void wrapOneLine(benchmark::State &state, const std::string &line)
{
    TEditor editor;
    corvane::setupEditor2(editor);
    for (auto _ : state) {
        editor.Lines().setText(line);
        benchmark::DoNotOptimize(editor.RowCount());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(line.size()));
}

#ifdef CORVANE_HAVE_ICU
void icuLineBreaks(benchmark::State &state, const icu::UnicodeString &text, size_t bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
            icu::BreakIterator::createLineInstance(icu::Locale("ja"), status));
    if (U_FAILURE(status)) {
        state.SkipWithError("no ICU line iterator");
        return;
    }
    for (auto _ : state) {
        breaks->setText(text);
        int count = 0;
        for (int32_t p = breaks->first(); p != icu::BreakIterator::DONE; p = breaks->next())
            ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
#endif

// Keeps each benchmark's time per iteration for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_ms[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    double ms(const std::string &name) const
    {
        const auto it = m_ms.find(name);
        return it == m_ms.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> m_ms;
};

void printRatio(const RatioReporter &r, const char *what, const std::string &num,
                const std::string &den, const char *limit)
{
    const double a = r.ms(num), b = r.ms(den);
    if (a > 0 && b > 0)
        std::printf("%-44s %8.3f ms / %8.3f ms = %6.2f  (%s)\n", what, a, b, a / b, limit);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string corpus = CORVANE_CORPUS_DIR;
    const std::string largest = readFile(corpus + "/" + kLargest);
    const std::string prose = readFile(corpus + "/" + kLongLines);
    if (largest.empty() || prose.empty()) {
        std::fprintf(stderr, "corpus texts not found in %s\n", corpus.c_str());
        return 1;
    }
    std::string big;
    while (big.size() < kTenMegabytes)
        big += largest;
    const ScratchFile largestFile(largest);
    const ScratchFile bigFile(big);
    const std::string line64 = oneLine(prose, 64u << 10);
    const std::string line256 = oneLine(prose, 256u << 10);

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("LoadWrap/largest", loadAndWrap, largestFile.path(),
                                 largest.size())
            ->Unit(ms);
    benchmark::RegisterBenchmark("LoadWrap/10MB", loadAndWrap, bigFile.path(), big.size())
            ->Unit(ms);
    benchmark::RegisterBenchmark("OneLine/64KiB", wrapOneLine, line64)->Unit(ms);
    benchmark::RegisterBenchmark("OneLine/256KiB", wrapOneLine, line256)->Unit(ms);
#ifdef CORVANE_HAVE_ICU
    // Conversion is outside the timing: only the break search is compared.
    const icu::UnicodeString largest16(largest.data(), int32_t(largest.size()), "windows-31j");
    const icu::UnicodeString big16(big.data(), int32_t(big.size()), "windows-31j");
    benchmark::RegisterBenchmark("IcuLineBreak/largest", icuLineBreaks, largest16, largest.size())
            ->Unit(ms);
    benchmark::RegisterBenchmark("IcuLineBreak/10MB", icuLineBreaks, big16, big.size())->Unit(ms);
#endif

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%s: %zu bytes; repeated: %zu bytes\n", kLargest, largest.size(), big.size());
    printRatio(reporter, "one line, 256 KiB against 64 KiB", "OneLine/256KiB", "OneLine/64KiB",
               "must be <= 5");
    printRatio(reporter, "ours against ICU, largest text", "LoadWrap/largest",
               "IcuLineBreak/largest", "must be <= 1");
    printRatio(reporter, "ours against ICU, 10 MB", "LoadWrap/10MB", "IcuLineBreak/10MB",
               "must be <= 1");
    return 0;
}
