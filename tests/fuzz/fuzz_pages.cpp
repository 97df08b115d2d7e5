// Any bytes as a loaded text, through the page builder as the window runs
// it: normalised or not, wrapped, padded to pages of 13 and read back page
// by page with the 255-byte cut of the page rows. The pages must give back
// the text's rows in order, padding only after the last row, and the rows
// must be those the text joined by line breaks and assigned again gives.
// fuzz-pkg: Qt6Gui
#include "text/Cp932.cpp"
#include "text/Normalise.cpp"
#include "text/PagedText.cpp"
#include "text/Pages.cpp"
#include "text/TEditor.cpp"

#include "tests/fuzz/FuzzSeeds.h"

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "page builder broken: %s\n", what);
        std::abort();
    }
}

const corvane::fuzz::SeedTexts seeds;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace corvane;
    if (size == 0)
        return 0;
    const bool normalise = data[0] & 1;
    const std::string text = seeds.input(data + 1, size - 1);

    TEditor wrapped;
    setupEditor2(wrapped);
    loadText(wrapped, text, normalise);
    const std::vector<TRow> rows = wrapped.rows();

    TEditor editor;
    const int pages = loadPaged(editor, text, normalise);
    const TEditorStrings &lines = editor.Lines();
    check(pages == pageTotal(rows.size()), "page count");
    check(lines.Count() == pages * kPageRows, "pages are not whole");

    // The rows back through the page builder's own earlier form: joined by
    // line breaks and assigned as a text.
    std::vector<std::string> texts;
    for (const TRow &row : rows)
        texts.push_back(row.text);
    TEditor reference;
    setupEditor2(reference);
    reference.Lines().setText(joinRows(padRows(texts)));
    check(reference.Lines().Count() == lines.Count(),
          "rows put back differ from the text assigned");

    for (int p = 0; p <= pages + 1; ++p) {
        const PageRows page = pageRows(editor, p);
        for (int k = 0; k < kPageRows; ++k) {
            const int i = (p - 1) * kPageRows + k;
            if (p < 1 || p > pages) {
                check(page[k].empty(), "a page outside the text is not empty");
                continue;
            }
            const std::string line = lines[i];
            check(line == reference.Lines()[i], "a paged row differs from the text assigned");
            check(page[k] == cutRow(line), "the page row is not its line cut to 255 bytes");
            check(page[k].size() <= kRowByteLimit, "a page row over 255 bytes");
            if (std::size_t(i) < rows.size())
                check(line == rows[std::size_t(i)].text, "a row changed when put back");
            else
                check(line == kPaddingRow, "padding is not one ideographic space");
        }
    }
    return 0;
}
