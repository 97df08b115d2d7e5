// A large text costs memory in proportion to its bytes: loaded and paged it
// holds at most 2 bytes per byte of text beyond what the process held
// before, and at most 3 at the peak of loading and paging.
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

    std::FILE *clear = std::fopen("/proc/self/clear_refs", "w");
    if (!clear || statusKb("VmHWM") < 0)
        GTEST_SKIP() << "no peak memory figures on this system";
    const long base = statusKb("VmRSS");
    std::fputs("5", clear); // the peak starts again from here
    std::fclose(clear);

    TEditor editor;
    std::optional<std::string> text = loadTextFile(path);
    ASSERT_TRUE(text);
    const int pages = loadPaged(editor, std::move(*text), true);
    const double mb = double(size) / 1024.0;
    const double held = double(statusKb("VmRSS") - base) / mb;
    const double peak = double(statusKb("VmHWM") - base) / mb;
    EXPECT_GT(pages, 50000);
    EXPECT_LE(held, 2.0) << "bytes held per byte of text";
    EXPECT_LE(peak, 3.0) << "bytes at the peak per byte of text";
    std::printf("held %.2f, peak %.2f bytes per byte of text\n", held, peak);
}
