// Any bytes as a text file: loading, wrapping and unwrapping never crash, and
// Lines.Text always holds exactly the bytes the operations say it should.
// fuzz-pkg: Qt6Gui
#include "text/Cp932.cpp"
#include "text/TEditor.cpp"
#include "tests/text/editor_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "editor invariant broken: %s\n", what);
        std::abort();
    }
}

// Reads control values off the front of the input.
struct Reader
{
    const uint8_t *data;
    size_t size;
    uint8_t byte() { return size ? (--size, *data++) : 0; }
    int value(int limit) { return limit <= 0 ? 0 : int((byte() << 8 | byte()) % limit); }
};

void checkRows(const corvane::TEditor &e)
{
    const auto &rows = e.rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        check(rows[r].text.find_first_of("\r\n") == std::string::npos, "row holds a line break");
        check(r + 1 == rows.size() || rows[r].mark != corvane::EndMark::End,
              "end mark before the last row");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace corvane;
    using editortest::withCrLf;
    Reader in{data, size};
    TWrapOption option = TWrapOption::editor2();
    const uint8_t flags = in.byte();
    option.FollowRetMark = flags & 1;
    option.FollowPunctuation = flags & 2;
    option.Leading = flags & 4;
    option.WordBreak = flags & 8;
    option.WrapByte = in.value(300);
    const int tabs = in.value(20);

    // The rest of the input is the file.
    const std::string_view file(reinterpret_cast<const char *>(in.data), in.size);

    TEditor e;
    e.setTabSpaceCount(tabs);
    e.setWrapOption(option);
    e.setWordWrap(flags & 16);
    e.Lines().LoadFromBuffer(file);
    const std::string expected = withCrLf(file.substr(0, file.find('\x1A')));
    check(e.Lines().Text() == expected, "loading changed the bytes");
    checkRows(e);

    e.setWordWrap(!e.WordWrap());
    check(e.Lines().Text() == expected, "switching WordWrap changed the bytes");
    checkRows(e);
    e.setWordWrap(!e.WordWrap());
    check(e.Lines().Text() == expected, "switching WordWrap back changed the bytes");

    // Wrapping and unwrapping all rows, and reading the lines, keep the bytes too.
    e.WrapAll();
    check(e.Lines().Text() == expected, "WrapAll changed the bytes");
    e.UnwrapAll();
    check(e.Lines().Text() == expected, "UnwrapAll changed the bytes");
    for (int i = 0; i < e.Lines().Count(); ++i)
        (void)e.Lines()[i];
    return 0;
}
