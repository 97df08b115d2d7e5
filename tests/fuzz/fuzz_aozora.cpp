// Any bytes as an Aozora text: the notation is read and laid out without a
// crash or a hang; every annotation lies inside the text and then inside
// its row; the rows make whole pages; and a text without any notation comes
// out as the normalisation alone would give it, line for line.
// fuzz-pkg: Qt6Gui
#include "text/Aozora.cpp"
#include "text/AozoraLayout.cpp"
#include "text/Cp932.cpp"
#include "text/Cp932Convert.cpp"
#include "text/Normalise.cpp"
#include "text/TEditor.cpp"

#include "tests/fuzz/FuzzSeeds.h"

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "Aozora reading broken: %s\n", what);
        std::abort();
    }
}

const corvane::fuzz::SeedTexts seeds;

bool holdsNotation(std::string_view s)
{
    for (size_t i = 0; i < s.size(); i += corvane::cp932CharLength(s, i)) {
        const std::string_view c = s.substr(i, 2);
        if (c == "\x81\x6D" || c == "\x81\x73" || c == "\x81\x62" || c == "\x81\x5E")
            return true;
    }
    return s.find("----------") != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace corvane;
    const std::string text = seeds.input(data, size);
    const AozoraText t = parseAozora(text);
    for (size_t i = 0; i < t.marks.size(); ++i) {
        const Mark &m = t.marks[i];
        check(m.from < m.to && m.to <= t.text.size(), "a mark outside the text");
        check(m.text + m.textLength <= t.strings.size(), "a mark's text outside the strings");
        check(i == 0 || t.marks[i - 1].from <= m.from, "marks out of order");
    }
    if (!holdsNotation(text)) {
        std::string expected;
        size_t start = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
                if (i < text.size() || start < text.size())
                    expected += normaliseText(text.substr(start, i - start)) + "\r\n";
                if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
                    ++i;
                start = i + 1;
            }
        }
        check(t.text == expected, "a text without notation changed beyond the normalisation");
    }

    TEditor editor;
    setupEditor2(editor);
    const AozoraLayout laid = layOutAozora(t, editor);
    check(laid.rows.size() % 13 == 0, "pages are not whole");
    check(laid.pages.rowPlaces.size() == laid.rows.size(), "a row without its place");
    for (const RowMark &m : laid.pages.marks)
        check(m.row < laid.rows.size() && m.mark.from < m.mark.to
                      && m.mark.to <= laid.rows.length(m.row),
              "a mark outside its row");
    return 0;
}
