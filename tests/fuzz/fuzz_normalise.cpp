// Any bytes: the one-pass normalisation equals the four replacements made
// one after another, leaves nothing to replace, and the row cut and the
// UTF-8 conversion stay inside their input.
#include "text/Cp932Convert.cpp"
#include "text/Normalise.cpp"
#include "tests/support/ReplaceAll.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace corvane;
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);

    const std::string once = normaliseText(bytes);
    std::string stepwise(bytes);
    for (const Replacement &r : kNormalisation)
        stepwise = replaceAll(stepwise, r.find, r.with);
    if (once != stepwise || !isNormalised(once) || isNormalised(bytes) != (once == bytes))
        std::abort();

    const std::size_t limit = size / 2;
    const std::string_view cut = cp932Prefix(bytes, limit);
    if (cut.size() > limit || cut != bytes.substr(0, cut.size())
        || (size > limit && cut.size() + 1 < limit))
        std::abort();

    const std::string converted = utf8ToCp932(bytes);
    if (isValidUtf8(bytes) && !isDecodableCp932(converted))
        std::abort(); // whatever came in, valid UTF-8 leaves as decodable CP932
    return 0;
}
