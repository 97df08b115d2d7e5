#include "text/Normalise.h"
#include "text/PagedText.h"
#include "text/TextSource.h"

#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <cstdint>
#include <iconv.h>

using namespace corvane;

namespace {

struct CorpusCase
{
    const char *file;
    std::size_t rows; // paged rows, padding included
    uint64_t hash;    // FNV-1a of the rows, each followed by LF
};

// The dump of each corpus text. When a deliberate change of the wrapping
// moves these, the failure message prints the new values.
const CorpusCase kCorpus[] = {
        {"akutagawa-rashomon.txt", 429, 0xb739f48c1d52b378},
        {"dazai-udaijin-sanetomo.txt", 6708, 0xc01963f00af0af95},
        {"miyamoto-bunka-mondai.txt", 4862, 0xc9978619c972d805},
        {"ogai-izawa-ranken.txt", 33917, 0xdb365f177dc51cf3},
        {"soseki-wagahai-neko.txt", 21827, 0xab87563a6fcdf27a},
        {"tanaka-olympos.txt", 5486, 0x6c861383c48d6ddf},
};

QString corpusPath(const char *file)
{
    return QString::fromUtf8(CORVANE_CORPUS_DIR) + "/" + file;
}

std::string dumpOf(const std::vector<std::string> &rows)
{
    std::string out;
    for (const std::string &r : rows)
        out += r + "\n";
    return out;
}

uint64_t fnv1a(std::string_view s)
{
    uint64_t h = 14695981039346656037ull;
    for (const char c : s)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

// Lines of a text split as the editor splits them (CR LF, CR, LF).
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

// The text as Windows Notepad saves it as "Unicode": byte-order mark, then
// UTF-16 in the given order.
std::string asUtf16(std::string_view cp932, bool bigEndian)
{
    iconv_t cd = iconv_open(bigEndian ? "UTF-16BE" : "UTF-16LE", "CP932");
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    std::string buf(cp932.size() * 2 + 16, '\0');
    char *in = const_cast<char *>(cp932.data());
    std::size_t inLeft = cp932.size();
    char *o = buf.data();
    std::size_t outLeft = buf.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (rc == std::size_t(-1))
        return {};
    out.append(buf.data(), std::size_t(o - buf.data()));
    return out;
}

} // namespace

// A UTF-16 copy of a corpus text, in either byte order, pages exactly as
// the CP932 original does.
TEST(PagesCorpus, Utf16CopiesPageLikeTheOriginal)
{
    for (const char *file : {"akutagawa-rashomon.txt", "tanaka-olympos.txt"}) {
        SCOPED_TRACE(file);
        const std::optional<std::string> raw = readFileBytes(corpusPath(file));
        ASSERT_TRUE(raw);
        const std::vector<std::string> original = pagedRows(decodeTextFile(*raw), true);
        for (const bool bigEndian : {false, true}) {
            const std::string utf16 = asUtf16(*raw, bigEndian);
            ASSERT_FALSE(utf16.empty());
            EXPECT_EQ(pagedRows(decodeTextFile(utf16), true), original)
                    << (bigEndian ? "BE" : "LE");
        }
    }
}

// Every corpus text pages the same way each time; its rows, read in order,
// rebuild each normalised line exactly, and only the last page is padded.
TEST(PagesCorpus, DumpIsStableAndSlicesTheText)
{
    for (const CorpusCase &c : kCorpus) {
        SCOPED_TRACE(c.file);
        const std::optional<std::string> text = loadTextFile(corpusPath(c.file));
        ASSERT_TRUE(text);
        const std::vector<std::string> rows = pagedRows(*text, true);
        ASSERT_EQ(rows.size() % kPageRows, 0u);
        EXPECT_EQ(rows, pagedRows(*text, true));
        const uint64_t hash = fnv1a(dumpOf(rows));
        EXPECT_EQ(rows.size(), c.rows);
        EXPECT_EQ(hash, c.hash) << std::hex << "new hash 0x" << hash;

        const std::string normalised = normaliseText(*text);
        std::size_t r = 0;
        for (const std::string_view line : splitLines(normalised)) {
            std::string rebuilt;
            do {
                ASSERT_LT(r, rows.size());
                EXPECT_LE(rows[r].size(), kRowByteLimit);
                rebuilt += rows[r++];
                ASSERT_EQ(line.substr(0, rebuilt.size()), rebuilt) << "row " << r;
            } while (rebuilt.size() < line.size());
        }
        ASSERT_LT(rows.size() - r, std::size_t(kPageRows));
        for (; r < rows.size(); ++r)
            EXPECT_EQ(rows[r], kPaddingRow);
    }
}

// The command-line tool writes the same bytes and fails cleanly.
TEST(PagesCorpus, RenderToolDumpsRows)
{
    const QString tool = QString::fromUtf8(CORVANE_BINARY_DIR) + "/corvane-render";
    if (!QFileInfo(tool).isExecutable())
        GTEST_SKIP() << "corvane-render not built";

    QProcess p;
    p.start(tool, {"--dump-rows", "--raw", corpusPath("akutagawa-rashomon.txt")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const std::string expected
            = dumpOf(pagedRows(*loadTextFile(corpusPath("akutagawa-rashomon.txt")), true));
    EXPECT_EQ(p.readAllStandardOutput().toStdString(), expected);

    p.start(tool, {"--dump-rows"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput().toStdString(),
              dumpOf(pagedRows(builtinTextBytes(), false)));

    p.start(tool, {"--dump-rows", "/nonexistent/corvane.txt"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    const QByteArray err = p.readAllStandardError();
    EXPECT_EQ(err.count('\n'), 1);
    EXPECT_TRUE(err.contains("/nonexistent/corvane.txt"));
}
