// A large text costs memory in proportion to its bytes: loaded and paged,
// read raw or as an Aozora text, it holds little more than its bytes beyond
// what the process held before.
#include "text/AozoraLayout.h"
#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__GLIBC__)
#    include <malloc.h>
#endif

using namespace corvane;

namespace {

long statusKb(const char *field)
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    const std::size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0)
            kb = std::strtol(line + n + 1, nullptr, 10);
    std::fclose(f);
    return kb;
}

} // namespace

TEST(TextMemory, LoadedAndPagedTextStaysProportionate)
{
    const QString corpus = QString::fromUtf8(CORVANE_CORPUS_DIR) + "/ogai-izawa-ranken.txt";
    const std::optional<std::string> piece = readFileBytes(corpus);
    if (!piece)
        GTEST_SKIP() << "corpus text missing";
    // About 24 MB: large enough that the allocator's own overhead is small
    // beside the text.
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("corvane.txt");
    std::size_t size = 0;
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        while (size < (24u << 20)) {
            out.write(piece->data(), qint64(piece->size()));
            size += piece->size();
        }
    }

    std::FILE *probe = std::fopen("/proc/self/clear_refs", "w");
    if (probe)
        std::fclose(probe);
    if (!probe || statusKb("VmHWM") < 0)
        GTEST_SKIP() << "no peak memory figures on this system";
    const double mb = double(size) / 1024.0;
    // Bytes per byte of text held after the load and at its peak, beyond the
    // resident size before it. A copy of the text per row more, or the
    // file's bytes kept beside the rows, breaks these bounds.
    auto measure = [&](auto load, const char *route, double maxHeld, double maxPeak) {
#if defined(__GLIBC__)
        malloc_trim(0); // what the route before freed is not counted as held
#endif
        const long base = statusKb("VmRSS");
        std::FILE *clear = std::fopen("/proc/self/clear_refs", "w");
        std::fputs("5", clear); // the peak starts again from here
        std::fclose(clear);
        TEditor editor;
        std::optional<std::string> text = loadTextFile(path);
        ASSERT_TRUE(text);
        EXPECT_GT(load(editor, *text), 50000) << route;
        const double held = double(statusKb("VmRSS") - base) / mb;
        const double peak = double(statusKb("VmHWM") - base) / mb;
        EXPECT_LE(held, maxHeld) << route << ": bytes held per byte of text";
        EXPECT_LE(peak, maxPeak) << route << ": bytes at the peak per byte of text";
        std::printf("%s: held %.2f, peak %.2f bytes per byte of text\n", route, held, peak);
    };
    // Read raw, the text is moved in and held once, by the rows.
    measure([](TEditor &e, std::string &text) { return loadPaged(e, std::move(text), true); },
            "raw", 1.5, 2.5);
    // As an Aozora text, the window keeps the file's text as well, to switch.
    measure(
            [](TEditor &e, const std::string &text) {
                setupEditor2(e);
                const AozoraPages marks = loadAozora(e, text);
                return buildPages(e);
            },
            "Aozora", 2.7, 3.0);
}
