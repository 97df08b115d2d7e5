// Any bytes decode without reading outside the tables, every byte is
// accounted for, and no control character reaches the glyph runs.
#include "writing/Cp932Decoder.cpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const corvane::Cp932Decoder decoder;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const auto chars = decoder.decodeRow(bytes);
    size_t consumed = 0;
    for (const corvane::Cp932Char &c : chars) {
        if (c.code < 0x20 || c.code == 0x7F || c.code > 0xFFFF)
            std::abort();
        consumed += c.doubleByte ? 2 : 1;
    }
    if (consumed > size)
        std::abort();
    return 0;
}
