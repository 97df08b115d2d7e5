// Any text as a stored settings value, through the conversions the window
// reads its items with: the integer parse agrees with a plain reference
// parse, ReadInteger and ReadBool see the value as the file holds it, and
// what WriteInteger and WriteBool store reads back unchanged. Everything
// runs in a transaction that is never committed, so no file is touched.
#include "settings/IniProfile.cpp"
#include "settings/TRegManager.cpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "settings conversion broken: %s\n", what);
        std::abort();
    }
}

// Blanks, sign, then decimal, "$", "x" or "0x" hexadecimal, in 64 bits
// with saturation; nullopt for anything else.
std::optional<int64_t> reference(std::string_view t)
{
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    int base = 10;
    if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == t.size())
        return std::nullopt;
    int64_t v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            return std::nullopt;
        v = std::min<int64_t>(v * base + d, int64_t(1) << 40);
    }
    return negative ? -v : v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace corvane;
    const std::string text(reinterpret_cast<const char *>(data), size);

    const std::optional<int32_t> parsed = parseStoredInteger(text);
    const std::optional<int64_t> ref = reference(text);
    if (!ref) {
        check(!parsed, "text that is no integer parsed");
    } else {
        const bool hex = text.find_first_of("$xX") != std::string::npos;
        const int64_t magnitude = *ref < 0 ? -*ref : *ref;
        const bool fits
                = hex ? magnitude <= 0xFFFFFFFFll : (*ref >= INT32_MIN && *ref <= INT32_MAX);
        check(parsed.has_value() == fits, "range of the integer parse");
        if (fits)
            check(*parsed
                          == int32_t(uint32_t(*ref < 0 ? 0u - uint32_t(magnitude)
                                                       : uint32_t(magnitude))),
                  "value of the integer parse");
    }

    TRegManager store;
    store.IniFileName = "/nonexistent-corvane-fuzz/corvane.ini";
    store.RegItems = {{"Int", "Form\\FPage", "Integer", "1"},
                      {"Bool", "Form\\LCheckBox1", "Checked", "True"}};
    store.setErrorReporter([](const std::string &) { check(false, "an error was reported"); });
    TRegTransaction session(store);
    store.FindFiler("Int").WriteString(text);
    store.FindFiler("Bool").WriteString(text);
    // What the file holds: the value up to a line break, without the blanks
    // and one pair of quotes around it, and at most 2047 bytes of it.
    const std::string stored = store.FindFiler("Int").ReadString();
    check(stored.size() <= IniProfile::kMaxValueBytes, "a value over 2047 bytes came back");
    const int32_t asInteger = parseStoredInteger(stored).value_or(0);
    check(store.FindFiler("Int").ReadInteger() == asInteger, "ReadInteger of the stored text");
    check(store.FindFiler("Bool").ReadBool() == ((asInteger & 0xFF) != 0),
          "ReadBool of the stored text");

    int32_t n = 0;
    std::memcpy(&n, data, std::min(size, sizeof n));
    store.FindFiler("Int").WriteInteger(n);
    check(store.FindFiler("Int").ReadInteger() == n, "an integer written does not read back");
    store.FindFiler("Bool").WriteBool(n & 1);
    check(store.FindFiler("Bool").ReadBool() == bool(n & 1),
          "a boolean written does not read back");
    return 0;
}
