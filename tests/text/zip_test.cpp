// Books in ZIP archives: the largest .txt is read in memory, and every
// archive that cannot safely be read is refused with its reason.
#include "text/TextSource.h"
#include "text/ZipText.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <zip.h>

#include <fstream>
#include <map>

using namespace corvane;

namespace {

struct Entry
{
    std::string bytes;
    bool encrypted = false;
    bool stored = false; // no compression
};

// Writes an archive with libzip and returns its bytes.
std::string makeZip(const QTemporaryDir &dir, const std::map<std::string, Entry> &entries)
{
    const std::string path = dir.filePath(QStringLiteral("a.zip")).toStdString();
    std::remove(path.c_str());
    int error = 0;
    zip_t *z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto &[name, e] : entries) {
        zip_source_t *s = zip_source_buffer(z, e.bytes.data(), e.bytes.size(), 0);
        const zip_int64_t i = zip_file_add(z, name.c_str(), s, ZIP_FL_OVERWRITE);
        if (e.encrypted)
            zip_file_set_encryption(z, zip_uint64_t(i), ZIP_EM_AES_256, "secret");
        if (e.stored)
            zip_set_file_compression(z, zip_uint64_t(i), ZIP_CM_STORE, 0);
    }
    zip_close(z);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(ZipBooks, LargestTextReadAndEveryUnsafeArchiveRefused)
{
    QTemporaryDir dir;
    const std::string book
            = "\x89\xBA\x90\x6C\x81\x73\x82\xB0\x82\xC9\x82\xF1\x81\x74\r\n"; // 下人《げにん》
    const std::string zip = makeZip(dir,
                                    {{"readme.txt", {"short"}},
                                     {"book/rashomon.txt", {book + book}},
                                     {"cover.png", {std::string(500, 'x')}}});
    ZipText got = textFromZip(zip);
    EXPECT_EQ(got.refusal, ZipRefusal::None);
    EXPECT_EQ(got.bytes, book + book);

    // Through the one reader of books, from a file, with its place under that path.
    const QString path = dir.filePath(QStringLiteral("book.zip"));
    std::ofstream(path.toStdString(), std::ios::binary) << zip;
    const TextFile file = readTextFile(path.toStdString());
    EXPECT_EQ(file.refusal, Refusal::None);
    EXPECT_EQ(file.bytes, book + book);

    EXPECT_EQ(textFromZip(makeZip(dir, {{"a.png", {"x"}}})).refusal, ZipRefusal::NoText);
    EXPECT_EQ(textFromZip(makeZip(dir, {{"a.txt", {book, true}}})).refusal, ZipRefusal::Encrypted);
    EXPECT_EQ(textFromZip(makeZip(dir, {{"a.txt", {std::string(1 << 20, 'a')}}})).refusal,
              ZipRefusal::Ratio);

    const std::string huge(kMaxZipTextBytes + 1, 'a');
    EXPECT_EQ(textFromZip(makeZip(dir, {{"a.txt", {huge, false, true}}})).refusal,
              ZipRefusal::TooLarge);

    std::string damaged = makeZip(dir, {{"a.txt", {book + book + book, false, true}}});
    damaged[damaged.find("\x89\xBA")] ^= 0x55; // a stored byte: the checksum no longer holds
    EXPECT_EQ(textFromZip(damaged).refusal, ZipRefusal::Damaged);
    EXPECT_EQ(textFromZip(zip.substr(0, zip.size() / 2)).refusal, ZipRefusal::Damaged);
    std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc) << damaged;
    EXPECT_EQ(readTextFile(path.toStdString()).refusal, Refusal::ZipDamaged);
    EXPECT_TRUE(refusalMessage(path.toStdString(), Refusal::ZipDamaged)
                        .contains(QStringLiteral("damaged ZIP")));
}
