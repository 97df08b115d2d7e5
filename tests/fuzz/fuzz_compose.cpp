// Any bytes as a page: each of up to 13 rows goes through the CP932
// decoder, HarfBuzz shaping and the painter into a page, in every style.
// Nothing may crash or read out of bounds, every shaped run has a position
// per glyph, and the page keeps the picture's size.
// fuzz-pkg: Qt6Gui harfbuzz fontconfig
#include "effects/TABitmap.cpp"
#include "writing/Cp932Decoder.cpp"
#include "writing/Faces.cpp"
#include "writing/GlyphPainter.cpp"
#include "writing/PageComposer.cpp"
#include "writing/PageMarks.cpp"

#include "tests/fuzz/FuzzSeeds.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

// Qt and fontconfig keep caches for the life of the process; they are not
// leaks of the code under test.
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0";
}

namespace {

struct Harness
{
    int argc = 1;
    char name[16] = "fuzz_compose";
    char *argv[2] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    std::unique_ptr<corvane::PageComposer> composer;
    corvane::fuzz::SeedTexts seeds;
};

Harness *harness = nullptr;

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "page composition broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    harness = new Harness;
    harness->app = std::make_unique<QGuiApplication>(harness->argc, harness->argv);
    harness->composer = std::make_unique<corvane::PageComposer>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t flags = data[0];
    const std::string bytes = harness->seeds.input(data + 1, size - 1);

    // Rows at line breaks, as the editor would cut the page's lines; the
    // page rows hold no breaks, but a row may hold anything else.
    std::vector<std::string> rows;
    std::size_t start = 0;
    while (rows.size() < corvane::kPageRows && start <= bytes.size()) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        rows.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }

    corvane::PageStyle style;
    style.horizontal = flags & 1;
    style.gothic = flags & 2;
    style.tenderly = flags & 4;
    const corvane::PageComposer &composer = *harness->composer;
    for (std::size_t k = 0; k < rows.size(); ++k)
        for (const corvane::PlacedRun &run :
             composer.layoutRow(rows[k], int(k), style.horizontal, style.gothic))
            check(run.glyphs.size() == run.positions.size(), "a glyph without a position");

    // Painting a whole page costs far more than laying it out; one input in
    // four is painted, so that a short run still tries many rows.
    if ((flags & 24) != 0)
        return 0;
    corvane::TABitmap page;
    corvane::RandomGenerator random;
    random.setSeed(flags);
    composer.compose(page, rows, style, random);
    check(page.image().width() == corvane::kPictureWidth
                  && page.image().height() == corvane::kPictureHeight,
          "the page lost the picture's size");
    return 0;
}
