#include "text/ZipText.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace corvane {

namespace {

bool isTextName(const char *name)
{
    if (!name)
        return false;
    std::string_view s(name);
    if (s.size() < 4 || s.back() == '/')
        return false;
    std::string ext(s.substr(s.size() - 4));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".txt";
}

struct ArchiveCloser
{
    void operator()(zip_t *z) const { zip_discard(z); }
};

} // namespace

bool looksLikeZip(std::string_view bytes)
{
    return bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4)
            || bytes.substr(0, 4) == std::string_view("PK\x05\x06", 4);
}

ZipText textFromZip(std::string_view archive)
{
    ZipText out;
    if (!looksLikeZip(archive)) {
        out.refusal = ZipRefusal::NotZip;
        return out;
    }
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        out.refusal = ZipRefusal::Damaged;
        return out;
    }
    std::unique_ptr<zip_t, ArchiveCloser> zip(zip_open_from_source(source, ZIP_RDONLY, &error));
    zip_error_fini(&error);
    if (!zip) {
        zip_source_free(source);
        out.refusal = ZipRefusal::Damaged;
        return out;
    }

    // The book is the largest text entry.
    zip_int64_t chosen = -1;
    zip_stat_t best;
    zip_stat_init(&best);
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(zip.get(), zip_uint64_t(i), 0, &st) != 0)
            continue;
        if (!(st.valid & ZIP_STAT_SIZE) || !isTextName(st.name))
            continue;
        if (chosen < 0 || st.size > best.size) {
            chosen = i;
            best = st;
        }
    }
    if (chosen < 0) {
        out.refusal = ZipRefusal::NoText;
        return out;
    }
    if ((best.valid & ZIP_STAT_ENCRYPTION_METHOD) && best.encryption_method != ZIP_EM_NONE) {
        out.refusal = ZipRefusal::Encrypted;
        return out;
    }
    if (best.size > kMaxZipTextBytes) {
        out.refusal = ZipRefusal::TooLarge;
        return out;
    }
    if ((best.valid & ZIP_STAT_COMP_SIZE) && best.size > kMaxZipRatio * best.comp_size) {
        out.refusal = ZipRefusal::Ratio;
        return out;
    }

    zip_file_t *file = zip_fopen_index(zip.get(), zip_uint64_t(chosen), 0);
    if (!file) {
        out.refusal = ZipRefusal::Damaged;
        return out;
    }
    out.bytes.resize(std::size_t(best.size));
    zip_int64_t got = 0;
    while (got < zip_int64_t(best.size)) {
        const zip_int64_t n
                = zip_fread(file, out.bytes.data() + got, best.size - zip_uint64_t(got));
        if (n <= 0)
            break;
        got += n;
    }
    // The checksum is compared when the read reaches the entry's end.
    char past = 0;
    const bool ended = got == zip_int64_t(best.size) && zip_fread(file, &past, 1) == 0;
    const bool intact = zip_fclose(file) == 0 && ended;
    if (!intact) {
        out.bytes.clear();
        out.refusal = ZipRefusal::Damaged;
    }
    return out;
}

} // namespace corvane
