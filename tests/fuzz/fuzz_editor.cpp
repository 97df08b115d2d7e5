// Any bytes as a text file: loading, wrapping, unwrapping and select-and-
// replace never crash, and Lines.Text always holds exactly the bytes the
// operations say it should.
// fuzz-pkg: Qt6Gui
#include "text/Cp932.cpp"
#include "text/TEditor.cpp"

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

std::string withCrLf(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
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
    Reader in{data, size};
    TWrapOption option = TWrapOption::editor2();
    const uint8_t flags = in.byte();
    option.FollowRetMark = flags & 1;
    option.FollowPunctuation = flags & 2;
    option.Leading = flags & 4;
    option.WordBreak = flags & 8;
    option.WrapByte = in.value(300);
    const int tabs = in.value(20);
    const int edits = in.value(8);

    // The rest of the input, up to a split point, is the file; what follows
    // feeds the edits.
    const size_t textSize = in.size ? size_t(in.value(int(in.size) + 1)) : 0;
    const std::string_view file(reinterpret_cast<const char *>(in.data),
                                std::min(textSize, in.size));
    in.data += file.size();
    in.size -= file.size();

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

    for (int k = 0; k < edits; ++k) {
        const std::string before = e.Lines().Text();
        e.setSelStart(int64_t(in.value(int(before.size()) + 8)) - 4);
        e.setSelLength(int64_t(in.value(64)) - 8);
        const int64_t start = e.SelStart();
        const int64_t length = e.SelLength();
        check(start >= 0 && length >= 0 && size_t(start + length) <= before.size(),
              "selection outside the text");
        check(e.SelText() == before.substr(size_t(start), size_t(length)),
              "SelText is not the selected bytes");
        const size_t insertSize = std::min<size_t>(in.byte() % 16, in.size);
        const std::string insert(reinterpret_cast<const char *>(in.data), insertSize);
        in.data += insertSize;
        in.size -= insertSize;
        e.setSelText(insert);
        const std::string after = before.substr(0, size_t(start)) + withCrLf(insert)
                + before.substr(size_t(start + length));
        check(e.Lines().Text() == after, "replacement lost or added bytes");
        checkRows(e);
    }

    // Wrapping what the edits left, and paging it, keep the bytes too.
    const std::string edited = e.Lines().Text();
    e.WrapAll();
    check(e.Lines().Text() == edited, "WrapAll changed the bytes");
    e.UnwrapAll();
    check(e.Lines().Text() == edited, "UnwrapAll changed the bytes");
    for (int i = 0; i < e.Lines().Count(); ++i)
        (void)e.Lines()[i];
    return 0;
}
