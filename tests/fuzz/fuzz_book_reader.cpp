// fuzz-pkg: libzip
// Any file goes through the one book reader, from the file system to the
// CP932 text (a ZIP through its largest .txt), without a fault; what it
// takes holds no NUL in its first block, and a text read from a file equals
// the same bytes given directly.
#include "text/BookReader.cpp"
#include "text/Cp932Convert.cpp"
#include "text/ZipText.cpp"

#include <cstdlib>
#include <sys/mman.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string raw(reinterpret_cast<const char *>(data), size);
    const corvane::TextFile direct = corvane::textFromBytes(raw);
    if (direct.refusal == corvane::Refusal::None
        && std::string_view(direct.bytes).substr(0, corvane::kBinaryProbeBytes).find('\0')
                != std::string_view::npos)
        std::abort();
    const int fd = ::memfd_create("book", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (::write(fd, raw.data(), raw.size()) == ssize_t(raw.size())) {
        const corvane::TextFile read = corvane::readTextFile("/proc/self/fd/" + std::to_string(fd));
        if (read.refusal != direct.refusal || read.bytes != direct.bytes)
            std::abort();
    }
    ::close(fd);
    return 0;
}
