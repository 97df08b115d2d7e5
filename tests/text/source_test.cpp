#include "text/TextSource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <sys/stat.h>

using namespace corvane;

namespace {

// A file system with the given files and nothing else; names listed in
// unreadable exist but cannot be read.
FileAccess fakeFiles(std::map<std::string, std::string> files,
                     std::set<std::string> unreadable = {})
{
    auto shared = std::make_shared<std::map<std::string, std::string>>(std::move(files));
    auto bad = std::make_shared<std::set<std::string>>(std::move(unreadable));
    return FileAccess{
            [=](const std::string &p) { return shared->count(p) > 0 || bad->count(p) > 0; },
            [=](const std::string &p) {
                if (bad->count(p))
                    return BookBytes{Refusal::Unreadable, {}};
                if (!shared->count(p))
                    return BookBytes{Refusal::Missing, {}};
                return BookBytes{Refusal::None, shared->at(p)};
            },
    };
}

std::string bytesOf(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

// The saved source matters only with "Keep" on and FFileIn set; the
// reserved names and the empty name keep the stored page, a missing file
// starts again at page 1, an existing one asks for the same page.
TEST(SavedSource, ValidationCases)
{
    const FileAccess files = fakeFiles({{"book.txt", "x"}});
    for (const char *reserved : {"Clipboard", "", "Corvane"}) {
        const SavedSourceCheck c = checkSavedSource(true, true, reserved, 7, files);
        EXPECT_FALSE(c.fileIn) << reserved;
        EXPECT_EQ(c.page, 7) << reserved;
        EXPECT_FALSE(c.samePage) << reserved;
    }
    const SavedSourceCheck kept = checkSavedSource(true, true, "book.txt", 7, files);
    EXPECT_TRUE(kept.fileIn);
    EXPECT_EQ(kept.page, 7);
    EXPECT_TRUE(kept.samePage);
    const SavedSourceCheck gone = checkSavedSource(true, true, "lost.txt", 7, files);
    EXPECT_FALSE(gone.fileIn);
    EXPECT_EQ(gone.page, 1);
    // Byte-exact comparison: another case is an ordinary (missing) name.
    EXPECT_EQ(checkSavedSource(true, true, "clipboard", 7, files).page, 1);
    // Keep off: nothing is validated.
    const SavedSourceCheck off = checkSavedSource(false, true, "lost.txt", 7, files);
    EXPECT_TRUE(off.fileIn);
    EXPECT_EQ(off.page, 7);
}

// Which text the start-up load takes.
TEST(StartupText, ChoosesBetweenFileAndBuiltIn)
{
    const std::string builtin = builtinTextBytes();
    const FileAccess withFile = fakeFiles({{"corvane.txt", "abc\r\n"}});

    const StartupText off = chooseStartupText(false, false, {}, {}, withFile);
    EXPECT_EQ(off.origin, TextOrigin::BuiltIn); // the file is not looked at
    EXPECT_EQ(off.bytes, builtin);
    EXPECT_TRUE(off.fromPageOne);
    EXPECT_FALSE(off.normalise);

    const StartupText on = chooseStartupText(true, false, {}, {}, withFile);
    EXPECT_EQ(on.origin, TextOrigin::File);
    EXPECT_EQ(on.bytes, "abc\r\n");
    EXPECT_TRUE(on.normalise);
    EXPECT_FALSE(on.fromPageOne);

    const StartupText none = chooseStartupText(true, false, {}, {}, fakeFiles({}));
    EXPECT_EQ(none.origin, TextOrigin::BuiltIn);
    EXPECT_TRUE(none.normalise);
    EXPECT_FALSE(none.fromPageOne); // the stored page is kept

    const StartupText unreadable
            = chooseStartupText(true, false, {}, {}, fakeFiles({}, {"corvane.txt"}));
    EXPECT_EQ(unreadable.origin, TextOrigin::BuiltIn);
    EXPECT_EQ(unreadable.bytes, builtin);
}

// With "Keep" on and FFileIn set, the saved source is read as corvane.txt is;
// one that is no readable text gives the default text from page 1.
TEST(StartupText, SavedSourceIsReadOrRefused)
{
    const FileAccess files = fakeFiles({{"/b/book.txt", "\x88\x9F\x81\x46\r\n"},
                                        {"/b/blob", std::string("a\0b", 3)},
                                        {"corvane.txt", "abc\r\n"}});
    const StartupText book = chooseStartupText(true, true, "/b/book.txt", {}, files);
    EXPECT_EQ(book.origin, TextOrigin::Saved);
    EXPECT_EQ(book.bytes, "\x88\x9F\x81\x46\r\n") << "normalised later, like corvane.txt";
    EXPECT_TRUE(book.normalise);
    EXPECT_FALSE(book.fromPageOne);
    EXPECT_EQ(book.savedRefused, Refusal::None);

    const StartupText blob = chooseStartupText(true, true, "/b/blob", {}, files);
    EXPECT_EQ(blob.origin, TextOrigin::File);
    EXPECT_EQ(blob.bytes, "abc\r\n");
    EXPECT_EQ(blob.savedRefused, Refusal::Binary);
    EXPECT_TRUE(blob.fromPageOne);

    // Keep off: the saved source is not looked at.
    EXPECT_EQ(chooseStartupText(false, true, "/b/book.txt", {}, files).origin, TextOrigin::BuiltIn);
}

// What is no readable text is refused before it is read, or before it reaches the editor.
TEST(TextFile, RefusesWhatIsNoText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path();
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(QDir(folder).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    EXPECT_EQ(readTextFile(bytesOf(QDir(folder).filePath("gone.txt"))).refusal, Refusal::Missing);
    EXPECT_EQ(readTextFile(bytesOf(folder)).refusal, Refusal::Folder);

    QByteArray late(int(kBinaryProbeBytes), 'a');
    late.append('\0'); // past the probe: an odd text, but a text
    EXPECT_EQ(readTextFile(bytesOf(write("late.txt", late))).refusal, Refusal::None);
    QByteArray early(int(kBinaryProbeBytes) - 1, 'a');
    early.append('\0');
    const TextFile binary = readTextFile(bytesOf(write("early.bin", early)));
    EXPECT_EQ(binary.refusal, Refusal::Binary);
    EXPECT_TRUE(binary.bytes.empty());

    // Sparse, so the test writes no 64 MiB; refused by its size before any read.
    QFile big(write("big.txt", "x"));
    ASSERT_TRUE(big.resize(qint64(kMaxTextFileBytes) + 1));
    EXPECT_EQ(readTextFile(bytesOf(big.fileName())).refusal, Refusal::TooLarge);
    ASSERT_TRUE(big.resize(qint64(kMaxTextFileBytes)));
    EXPECT_EQ(readTextFile(bytesOf(big.fileName())).refusal, Refusal::Binary)
            << "at the limit it is read";

    // A pipe would block the read for ever.
    const QByteArray fifo = QFile::encodeName(QDir(folder).filePath("pipe"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(readTextFile(fifo.toStdString()).refusal, Refusal::NotRegular);

    // Permissions do not stop root, so the failed read is simulated.
    EXPECT_EQ(readTextFile("locked.txt", fakeFiles({}, {"locked.txt"})).refusal,
              Refusal::Unreadable);

    const TextFile utf8
            = readTextFile(bytesOf(write("utf8.txt", "\xEF\xBB\xBF\xE3\x81\x82\x1A tail")));
    EXPECT_EQ(utf8.refusal, Refusal::None);
    EXPECT_TRUE(utf8.fromUtf8);
    EXPECT_EQ(utf8.bytes, "\x82\xA0");
    // The encoding is recognised before the NUL check: UTF-16's zero halves are no binary.
    EXPECT_EQ(readTextFile(bytesOf(write("u16.txt",
                                         QByteArray("\xFF\xFE"
                                                    "a\0b\0",
                                                    6))))
                      .bytes,
              "ab");
}

// A dropped passage arrives as Unicode and is read in CP932.
TEST(TextFile, PassagesAreConvertedToCp932)
{
    EXPECT_EQ(passageBytes(QStringLiteral("\u3042\n\u2600b")),
              "\x82\xA0\n\x81\xAC"
              "b");
}

// The real file system: a directory named corvane.txt is no text file.
TEST(StartupText, RealDirectory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("corvane.txt"));
    EXPECT_EQ(chooseStartupText(true, false, {}, bytesOf(dir.path())).origin, TextOrigin::BuiltIn);
    ASSERT_TRUE(QDir(dir.path()).rmdir("corvane.txt"));

    QFile f(QDir(dir.path()).filePath("corvane.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x88\x9F\r\nline\x1A tail");
    f.close();
    const StartupText t = chooseStartupText(true, false, {}, bytesOf(dir.path()));
    EXPECT_EQ(t.origin, TextOrigin::File);
    EXPECT_EQ(t.bytes, "\x88\x9F\r\nline"); // 0x1A ends the text
    // corvane.txt is read by the same rules as any book: NULs are no text.
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray(1 << 20, '\0'));
    f.close();
    EXPECT_EQ(chooseStartupText(true, false, {}, bytesOf(dir.path())).origin, TextOrigin::BuiltIn);
    EXPECT_FALSE(readFileBytes(QDir(dir.path()).filePath("missing.txt")));
}

// UTF-8 files are converted; CP932 and ASCII files are taken as they are.
TEST(TextDecoding, Utf8IsConvertedToCp932)
{
    bool utf8 = false;
    // "日本語の文章。" in UTF-8, no BOM: not decodable as CP932.
    EXPECT_EQ(decodeTextFile("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87"
                             "\xE7\xAB\xA0\xE3\x80\x82\r\n",
                             &utf8),
              "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x95\xB6\x8F\xCD\x81\x42\r\n");
    EXPECT_TRUE(utf8);
    // A BOM converts even pure ASCII, and is dropped.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBFok", &utf8), "ok");
    EXPECT_TRUE(utf8);
    // No CP932 form (an emoji, é), or malformed bytes after a BOM: one 〓 each.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"
                             "a\xF0\x9F\x98\x80"
                             "b\xC3\xA9\xFF"
                             "c"),
              "a\x81\xAC"
              "b\x81\xAC\x81\xAC"
              "c");
    // Shift-JIS prose is left alone, and so is plain ASCII.
    EXPECT_EQ(decodeTextFile("\x82\xA0\x82\xA2\x82\xA4", &utf8), "\x82\xA0\x82\xA2\x82\xA4");
    EXPECT_FALSE(utf8);
    EXPECT_EQ(decodeTextFile("plain\ttext", &utf8), "plain\ttext");
    EXPECT_FALSE(utf8);
}

// UTF-16 with its byte-order mark, in either order, is converted like UTF-8:
// "〓" for what has no CP932 form (an emoji as a surrogate pair, a lone
// surrogate, a last odd byte). A 0x1A byte inside a character ("〚" is
// U+301A) is no end of text; the character U+001A is.
TEST(TextDecoding, Utf16IsConvertedToCp932)
{
    using namespace std::string_literals;
    // "日本\r\n" then U+301A, "a", U+1F600, a lone U+D800, "b".
    const std::string le = "\xFF\xFE"
                           "\xE5\x65\x2C\x67\r\0\n\0"
                           "\x1A\x30"
                           "a\0"
                           "\x3D\xD8\x00\xDE"
                           "\x00\xD8"
                           "b\0"s;
    std::string be = "\xFE\xFF";
    for (std::size_t i = 2; i + 1 < le.size(); i += 2)
        be += std::string{le[i + 1], le[i]};
    const std::string expected = "\x93\xFA\x96\x7B\r\n"
                                 "\x81\xAC"
                                 "a"
                                 "\x81\xAC\x81\xAC"
                                 "b";
    EXPECT_EQ(detectTextEncoding(le), TextEncoding::Utf16Le);
    EXPECT_EQ(detectTextEncoding(be), TextEncoding::Utf16Be);
    bool utf8 = true;
    EXPECT_EQ(decodeTextFile(le, &utf8), expected);
    EXPECT_FALSE(utf8);
    EXPECT_EQ(decodeTextFile(be), expected);

    EXPECT_EQ(decodeTextFile("\xFF\xFE"
                             "a\0\x1A\0b\0"s),
              "a");
    EXPECT_EQ(decodeTextFile("\xFF\xFE"
                             "a\0b"s),
              "a\x81\xAC");
    EXPECT_EQ(decodeTextFile("\xFF\xFE"), "");
}
