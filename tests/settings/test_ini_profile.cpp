// The profile codec: how existing settings files are read, how a write
// changes them, and that a write never damages the file it replaces.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "settings/IniProfile.h"
#include "tests/settings/TempFolder.h"

using corvane::IniProfile;
using corvane::test::readBytes;
using corvane::test::runInChild;
using corvane::test::TempFolder;
using corvane::test::writeBytes;
using namespace std::string_literals;

namespace {

std::optional<std::string> get(std::string_view content, std::string_view section,
                               std::string_view key)
{
    return IniProfile::lookup(content, section, key);
}

std::string set(std::string_view content, std::string_view section, std::string_view key,
                std::string_view value)
{
    return IniProfile::assign(content, section, key, value).value_or("<refused>");
}

} // namespace

// CR LF, a lone CR and a lone LF all end a line, also on the last line.
TEST(IniRead, EveryLineEndEndsALine)
{
    const std::string ini = "[A]\r\nx=1\ry=2\nz=3\r\n\rw=4";
    EXPECT_EQ(get(ini, "A", "x"), "1");
    EXPECT_EQ(get(ini, "A", "y"), "2");
    EXPECT_EQ(get(ini, "A", "z"), "3");
    EXPECT_EQ(get(ini, "A", "w"), "4");
}

// Names match without regard to case and blanks; a backslash is part of the
// section name, never a path separator; the name stops at the first "]".
TEST(IniRead, SectionAndKeyNames)
{
    const std::string ini = "[ form\\lcheckbox1 ] trailing\r\n  CHECKED = 1 \r\n[A]B]\r\nk=v\r\n";
    EXPECT_EQ(get(ini, "Form\\LCheckBox1", "Checked"), "1");
    EXPECT_EQ(get(ini, "LCheckBox1", "Checked"), std::nullopt);
    EXPECT_EQ(get(ini, "Form", "Checked"), std::nullopt);
    EXPECT_EQ(get(ini, "A", "k"), "v");
    EXPECT_EQ(get(ini, "A]B", "k"), std::nullopt);

    // Case folding is for ASCII letters only: in a double-byte character the
    // trail byte 0x41 ('A') and 0x61 ('a') are different characters.
    EXPECT_TRUE(IniProfile::namesEqual("Pcx", "PCX"));
    EXPECT_FALSE(IniProfile::namesEqual("\x83\x41", "\x83\x61"));
    EXPECT_TRUE(IniProfile::namesEqual("\x83\x41x", "\x83\x41X"));
}

// Values: blanks trimmed, one pair of matching outer quotes removed, "key="
// is an empty value rather than a missing one, bytes passed through.
TEST(IniRead, Values)
{
    const std::string ini = "[A]\n"
                            "q=\"  spaced  \"\n"
                            "s= 'x' \n"
                            "m=\"x'\n"
                            "one=\"\n"
                            "e=\n"
                            "sj=\x82\xb1\x82\xea\n"
                            "nul=a\0b\n"s;
    EXPECT_EQ(get(ini, "A", "q"), "  spaced  ");
    EXPECT_EQ(get(ini, "A", "s"), "x");
    EXPECT_EQ(get(ini, "A", "m"), "\"x'");
    EXPECT_EQ(get(ini, "A", "one"), "\"");
    EXPECT_EQ(get(ini, "A", "e"), "");
    EXPECT_EQ(get(ini, "A", "sj"), "\x82\xb1\x82\xea");
    EXPECT_EQ(get(ini, "A", "nul"), "a\0b"s);
}

// ";" starts a comment, "#" does not; a line without "=" is no key; only the
// first of duplicate sections is searched and the first duplicate key wins.
TEST(IniRead, CommentsAndDuplicates)
{
    const std::string ini = "[A]\n;c=1\n#h=2\nbare\nk=1\nk=2\n[B]\nk=9\n[a]\nk=3\nonly=4\n";
    EXPECT_EQ(get(ini, "A", ";c"), std::nullopt);
    EXPECT_EQ(get(ini, "A", "c"), std::nullopt);
    EXPECT_EQ(get(ini, "A", "#h"), "2");
    EXPECT_EQ(get(ini, "A", "bare"), std::nullopt);
    EXPECT_EQ(get(ini, "A", "k"), "1");
    EXPECT_EQ(get(ini, "A", "only"), std::nullopt);
    EXPECT_EQ(get(ini, "B", "k"), "9");
}

// At most 2047 bytes come back, and never half of a double-byte character.
TEST(IniRead, LongValuesAreCut)
{
    const std::string ini = "[A]\r\nk=" + std::string(3000, 'x') + "\r\nj=" + std::string(2046, 'y')
            + "\x82\xa0" + "tail\r\n";
    EXPECT_EQ(get(ini, "A", "k"), std::string(2047, 'x'));
    EXPECT_EQ(get(ini, "A", "j"), std::string(2046, 'y'));
}

// Odd files: a UTF-8 byte-order mark before the first section, binary junk,
// a 10 MB line, no final line break.
TEST(IniRead, OddFilesAreReadWithoutHarm)
{
    EXPECT_EQ(get("\xEF\xBB\xBF[A]\r\nk=1", "A", "k"), "1");

    std::string junk
            = "\x00\xff\x1a[\r]\n=\n[\n"s + std::string(10 * 1024 * 1024, '\x81') + "\n[A]\nk=ok";
    EXPECT_EQ(get(junk, "A", "k"), "ok");
    EXPECT_EQ(get("[A", "A", "k"), std::nullopt);
    EXPECT_EQ(get("", "A", "k"), std::nullopt);
}

// An existing key is rewritten where it stands, in the file's own spelling;
// every other byte of the file, its line ends included, stays as it was.
TEST(IniWrite, ExistingKeyInPlace)
{
    const std::string before = "; note\r\n[form\\fpage]\r\n  integer = 3 \r\n# x\n[B]\rk=1\r\n";
    EXPECT_EQ(set(before, "Form\\FPage", "Integer", "7"),
              "; note\r\n[form\\fpage]\r\n  integer=7\r\n# x\n[B]\rk=1\r\n");
    // The first of duplicates is the one read, so it is the one written.
    EXPECT_EQ(set("[A]\nk=1\nk=2\n[a]\nk=3\n", "A", "k", "x"), "[A]\nk=x\nk=2\n[a]\nk=3\n");
    EXPECT_EQ(set("[A]\nk=1", "A", "k", ""), "[A]\nk=");
}

// A new key goes after the last key of its section, not after the blank
// lines or comments that follow it.
TEST(IniWrite, NewKeyAfterLastKeyOfSection)
{
    EXPECT_EQ(set("[A]\r\nx=1\r\n\r\n;c\r\n[B]\r\ny=2\r\n", "a", "z", "3"),
              "[A]\r\nx=1\r\nz=3\r\n\r\n;c\r\n[B]\r\ny=2\r\n");
    EXPECT_EQ(set("[A]\n[B]\n", "A", "k", "1"), "[A]\nk=1\r\n[B]\n");
    EXPECT_EQ(set("[A]\r\nx=1", "A", "y", "2"), "[A]\r\nx=1\r\ny=2\r\n");
    EXPECT_EQ(set("[A]", "A", "y", "2"), "[A]\r\ny=2\r\n");
}

// A new section is appended with no blank line before it, after a line
// break when the last line has none.
TEST(IniWrite, NewSectionAtTheEnd)
{
    EXPECT_EQ(set("", "Form\\Form1", "Top", "100"), "[Form\\Form1]\r\nTop=100\r\n");
    EXPECT_EQ(set("[A]\r\nx=1\r\n", "S", "k", "v"), "[A]\r\nx=1\r\n[S]\r\nk=v\r\n");
    EXPECT_EQ(set("[A]\r\nx=1", "S", "k", "v"), "[A]\r\nx=1\r\n[S]\r\nk=v\r\n");
    EXPECT_EQ(set("[A]\rx=1\r", "S", "k", "v"), "[A]\rx=1\r[S]\r\nk=v\r\n");
}

// Values are written as given, except that a line break cannot smuggle new
// lines (a section of its own, say) into the file; unusable names are refused.
TEST(IniWrite, ValuesAndNamesAreChecked)
{
    EXPECT_EQ(set("", "A", "k", " v "), "[A]\r\nk= v \r\n");
    const std::string evil = set("", "A", "k", "a\r\n[Form\\FPage]\r\nInteger=99");
    EXPECT_EQ(evil, "[A]\r\nk=a\r\n");
    EXPECT_EQ(get(evil, "Form\\FPage", "Integer"), std::nullopt);

    EXPECT_EQ(IniProfile::assign("", "a]b", "k", "v"), std::nullopt);
    EXPECT_EQ(IniProfile::assign("", "A", "k=x", "v"), std::nullopt);
    EXPECT_EQ(IniProfile::assign("", "", "k", "v"), std::nullopt);
    EXPECT_EQ(IniProfile::assign("", "A", " ", "v"), std::nullopt);
}

// Through the file: a missing file gives the default, writes create it and
// read back, and the file keeps its permission bits and its symbolic link.
TEST(IniFile, WriteAndReadBack)
{
    TempFolder dir;
    const IniProfile ini(dir.file("corvane.ini"));
    EXPECT_EQ(ini.readString("A", "k", "dflt"), "dflt");

    ASSERT_TRUE(ini.write("Form\\LCheckBox1", "Checked", "1"));
    ASSERT_TRUE(ini.write("Form\\Form1", "Top", "-20"));
    ASSERT_TRUE(ini.write("Form\\LCheckBox1", "Checked", "0"));
    EXPECT_EQ(readBytes(ini.path()),
              "[Form\\LCheckBox1]\r\nChecked=0\r\n[Form\\Form1]\r\nTop=-20\r\n");
    EXPECT_EQ(ini.readString("form\\form1", "top", "dflt"), "-20");

    ::chmod(ini.path().c_str(), 0640);
    ASSERT_TRUE(ini.write("A", "k", "v"));
    struct stat st;
    ASSERT_EQ(::stat(ini.path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const std::string link = dir.file("link.ini");
    ASSERT_EQ(::symlink(ini.path().c_str(), link.c_str()), 0);
    ASSERT_TRUE(IniProfile(link).write("A", "k", "via link"));
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ini.readString("A", "k", ""), "via link");
    EXPECT_EQ(dir.entryCount(), 2u) << "no temporary file may be left behind";
}

// A write that cannot complete reports failure and leaves the old file byte
// for byte as it was, with no temporary file left over: a read-only file in
// a read-only folder or in a writable one, an unreadable file, a disk that
// fills up.
TEST(IniFile, FailedWritesKeepTheOldFile)
{
    TempFolder dir;
    const std::string path = dir.file("corvane.ini");
    const std::string old = "[Form\\FPage]\r\nInteger=12\r\n; kept\r\n";
    writeBytes(path, old);
    ::chmod(path.c_str(), 0444);

    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(runInChild(true,
                         [&] {
                             return IniProfile(path).write("Form\\FPage", "Integer", "13") ? 1 : 0;
                         }),
              0);
    EXPECT_EQ(readBytes(path), old);
    // Nor can a new file be made in a read-only folder.
    EXPECT_EQ(runInChild(
                      true,
                      [&] { return IniProfile(dir.file("new.ini")).write("A", "k", "v") ? 1 : 0; }),
              0);

    ::chmod(dir.path().c_str(), 0777);
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(runInChild(true,
                         [&] {
                             return IniProfile(path).write("Form\\FPage", "Integer", "13") ? 1 : 0;
                         }),
              0);
    EXPECT_EQ(readBytes(path), old);

    // Unreadable: replacing it would throw away every other setting.
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(runInChild(true, [&] { return IniProfile(path).write("A", "k", "v") ? 1 : 0; }), 0);
    EXPECT_EQ(readBytes(path), old);

    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(runInChild(false,
                         [&] {
                             std::signal(SIGXFSZ, SIG_IGN);
                             const rlimit small{16, 16};
                             ::setrlimit(RLIMIT_FSIZE, &small);
                             return IniProfile(path).write("A", "k", std::string(100, 'v')) ? 1 : 0;
                         }),
              0);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(dir.entryCount(), 1u);
}

// A read-only folder holding a writable file (a settings file the user may
// change in a folder they may not): the file is rewritten in place, the
// same file with its permission bits, rather than the save being lost. A
// shorter and a longer content both come out exact.
TEST(IniFile, ReadOnlyFolderWritesInPlace)
{
    TempFolder dir;
    const std::string path = dir.file("corvane.ini");
    writeBytes(path, "[A]\r\nk=a long old value\r\n; comment\r\n");
    ::chmod(path.c_str(), 0606);
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ::chmod(dir.path().c_str(), 0555);

    EXPECT_EQ(runInChild(true, [&] { return IniProfile(path).write("A", "k", "v") ? 0 : 1; }), 0);
    EXPECT_EQ(readBytes(path), "[A]\r\nk=v\r\n; comment\r\n");
    EXPECT_EQ(runInChild(true,
                         [&] {
                             return IniProfile(path).write("B", "k", std::string(5000, 'x')) ? 0
                                                                                             : 1;
                         }),
              0);
    EXPECT_EQ(readBytes(path),
              "[A]\r\nk=v\r\n; comment\r\n[B]\r\nk=" + std::string(5000, 'x') + "\r\n");

    struct stat after;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0606u);
    EXPECT_EQ(dir.entryCount(), 1u);
}

// Only a regular file of at most 16 MiB is read, and the open never waits:
// a FIFO, a link to /dev/zero and a 20 MiB file read as unreadable (the
// default comes back), and a write refuses to replace them.
TEST(IniFile, OnlyBoundedRegularFilesAreRead)
{
    TempFolder dir;
    const std::string fifo = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string zero = dir.file("zero.ini");
    ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
    const std::string big = dir.file("big.ini");
    writeBytes(big, "[A]\r\nk=v\r\n" + std::string(20u << 20, ';'));
    const std::string limit = dir.file("limit.ini");
    writeBytes(limit, "[A]\r\nk=v\r\n" + std::string(IniProfile::kMaxFileBytes - 10, ';'));

    std::string content, why;
    for (const std::string &path : {fifo, zero, big}) {
        EXPECT_EQ(corvane::readWholeFile(path, content, &why), corvane::FileReadResult::Failed)
                << path;
        EXPECT_TRUE(content.empty());
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(IniProfile(path).readString("A", "k", "dflt"), "dflt") << path;
        EXPECT_FALSE(IniProfile(path).write("A", "k", "w")) << path;
    }
    EXPECT_EQ(corvane::readWholeFile(limit, content), corvane::FileReadResult::Ok);
    EXPECT_EQ(IniProfile(limit).readString("A", "k", "dflt"), "v");
    EXPECT_EQ(readBytes(big).size(), 10u + (20u << 20));
}

// Stale temporary files of killed saves go at start-up: only regular files
// named exactly like the writer's temporaries of this file, and none that a
// save in progress still holds.
TEST(IniFile, StaleTemporariesAreRemoved)
{
    TempFolder dir;
    const std::string path = dir.file("corvane.ini");
    writeBytes(path, "[A]\r\nk=v\r\n");
    for (const char *name :
         {"corvane.ini.Ab3xZ9", "corvane.ini.000000", "corvane.ini.held01", "corvane.ini.abc",
          "corvane.ini.abcdefg", "corvane.ini.ab-cde", "other.ini.Ab3xZ9", "corvane.ini~"})
        writeBytes(dir.file(name), "x");
    ASSERT_EQ(::symlink(path.c_str(), dir.file("corvane.ini.link01").c_str()), 0);
    ASSERT_EQ(::mkdir(dir.file("corvane.ini.dir001").c_str(), 0755), 0);
    const int held = ::open(dir.file("corvane.ini.held01").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    EXPECT_EQ(corvane::removeStaleTemporaries(path), 2u);
    ::close(held);
    std::set<std::string> left;
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
        left.insert(e.path().filename().string());
    EXPECT_EQ(
            left,
            (std::set<std::string>{"corvane.ini", "corvane.ini.held01", "corvane.ini.abc",
                                   "corvane.ini.abcdefg", "corvane.ini.ab-cde", "other.ini.Ab3xZ9",
                                   "corvane.ini~", "corvane.ini.link01", "corvane.ini.dir001"}));
    EXPECT_EQ(readBytes(path), "[A]\r\nk=v\r\n");
}

// A second copy starting while a save has just made its temporary file (the
// save held up there on purpose) must leave that file alone: the save goes
// through, and the cleanup removes nothing.
TEST(IniFile, ACleanupDuringASaveLeavesItsTemporary)
{
    TempFolder dir;
    static std::string path;
    static std::size_t removed;
    path = dir.file("corvane.ini");
    removed = 99;
    corvane::temporaryCreatedHook
            = [](const std::string &) { removed = corvane::removeStaleTemporaries(path); };
    const bool saved = IniProfile(path).write("A", "k", "v");
    corvane::temporaryCreatedHook = nullptr;
    EXPECT_TRUE(saved);
    EXPECT_EQ(removed, 0u);
    EXPECT_EQ(readBytes(path), "[A]\r\nk=v\r\n");
}

// The start-up's one read answers every item as a walk of the file does:
// case, repeats, blanks, quotes, a byte-order mark, double-byte names, long
// values, keys before any section, a section repeated later, a section not
// named in advance, and every line cut where the file's reads end.
TEST(IniFile, OneReadAnswersAsTheFileDoes)
{
    TempFolder dir;
    const std::string path = dir.file("one.ini");
    for (std::size_t fill = 65490; fill < 65540; ++fill) {
        const std::string content = "\xEF\xBB\xBFk0=before\r\n[F]\r\nf=" + std::string(fill, 'f')
                + "\r\n[A]\r\nk=1\r\nK=2\r\n [ a b ] \n x = \"q\" \r"
                  "[\x83\x41]\nv=dbcs\n[\x83\x61]\nv=other\n[a]\nk=late\nz=late\n[L]\nv="
                + std::string(3000, 'x') + "\n[E]\nk=";
        writeBytes(path, content);
        // Every section but "none" is named, some in another case than the file's;
        // "none" is found by a read of the file instead.
        const corvane::IniIndex index(path, {"a", "a b", "\x83\x41", "\x83\x61", "L", "E", ""});
        for (const char *section :
             {"A", "a", " a ", "a b", "A B", "\x83\x41", "\x83\x61", "L", "E", "none", ""})
            for (const char *key : {"k", "K", "x", "z", "v", "k0", "missing"})
                EXPECT_EQ(index.find(section, key), IniProfile::lookup(content, section, key))
                        << fill << ": " << section << " / " << key;
    }
}
