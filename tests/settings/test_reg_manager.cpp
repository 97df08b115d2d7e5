// The store's accessors: conversions of stored text, lookup by name, and how
// errors reach the user.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "settings/IniProfile.h"
#include "settings/TRegManager.h"
#include "tests/settings/TempFolder.h"

using namespace corvane;
using corvane::test::readBytes;
using corvane::test::runInChild;
using corvane::test::TempFolder;
using corvane::test::writeBytes;

namespace {

class Store : public ::testing::Test
{
protected:
    void SetUp() override
    {
        store.IniFileName = dir.file("corvane.ini");
        store.RegItems = {
                {"FPage", "Form\\FPage", "Integer", "1"},
                {"LCheckBox6Checked", "Form\\LCheckBox6", "Checked", "True"},
                {"LCheckBox1Checked", "Form\\LCheckBox1", "Checked", "False"},
                {"FFileName", "Form\\FFileName", "String", ""},
                {"Yes", "Y", "Boolean", "yes"},
        };
        store.setErrorReporter([this](const std::string &m) { errors.push_back(m); });
    }

    void stored(const std::string &bytes) { writeBytes(store.IniFileName, bytes); }

    TempFolder dir;
    TRegManager store;
    std::vector<std::string> errors;
};

} // namespace

// Integer text: sign, decimal and the "$" / "0x" hexadecimal forms; overflow
// and anything else is no integer at all.
TEST(StoredInteger, AcceptsWhatTheSettingsAlwaysAccepted)
{
    EXPECT_EQ(parseStoredInteger("15197922"), 15197922);
    EXPECT_EQ(parseStoredInteger("-20"), -20);
    EXPECT_EQ(parseStoredInteger("+7"), 7);
    EXPECT_EQ(parseStoredInteger("  42"), 42);
    EXPECT_EQ(parseStoredInteger("$FF"), 255);
    EXPECT_EQ(parseStoredInteger("0x1f"), 31);
    EXPECT_EQ(parseStoredInteger("-$10"), -16);
    EXPECT_EQ(parseStoredInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(parseStoredInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseStoredInteger("-2147483648"), INT32_MIN);

    for (const char *bad : {"", "-", "$", "0x", "abc", "12a", "1 ", "2147483648", "-2147483649",
                            "$100000000", "99999999999999999999", "1.5", "True"})
        EXPECT_EQ(parseStoredInteger(bad), std::nullopt) << bad;
}

// With no file, every accessor gives the item's default, converted.
TEST_F(Store, MissingFileGivesDefaults)
{
    EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 1);
    EXPECT_TRUE(store.FindFiler("LCheckBox6Checked").ReadBool());
    EXPECT_FALSE(store.FindFiler("LCheckBox1Checked").ReadBool());
    EXPECT_TRUE(store.FindFiler("Yes").ReadBool());
    EXPECT_EQ(store.FindFiler("FFileName").ReadString(), "");
    EXPECT_TRUE(errors.empty());
}

// Hand-edited values: a boolean is true only when the low 8 bits of its
// integer are set, so TRUE and 256 read unchecked; non-numeric text under an
// integer reads 0, not the default; a present but empty key is not missing.
TEST_F(Store, HandEditedValues)
{
    stored("[Form\\LCheckBox1]\r\nChecked=TRUE\r\n[Form\\LCheckBox6]\r\nChecked=256\r\n"
           "[Form\\FPage]\r\nInteger=abc\r\n");
    EXPECT_FALSE(store.FindFiler("LCheckBox1Checked").ReadBool());
    EXPECT_FALSE(store.FindFiler("LCheckBox6Checked").ReadBool());
    EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 0);

    stored("[Form\\LCheckBox1]\r\nChecked=257\r\n[Form\\LCheckBox6]\r\nChecked=\r\n"
           "[Form\\FPage]\r\nInteger=\"$10\"\r\n");
    EXPECT_TRUE(store.FindFiler("LCheckBox1Checked").ReadBool());
    EXPECT_FALSE(store.FindFiler("LCheckBox6Checked").ReadBool());
    EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 16);
}

// Written values are decimal integers and "1" / "0", and read back.
TEST_F(Store, WritesReadBack)
{
    store.FindFiler("FPage").WriteInteger(-3);
    store.FindFiler("LCheckBox1Checked").WriteBool(true);
    store.FindFiler("LCheckBox6Checked").WriteBool(false);
    store.FindFiler("FFileName").WriteString("\x83\x65\x83\x4c\x83\x58\x83\x67.txt");
    EXPECT_EQ(readBytes(store.IniFileName),
              "[Form\\FPage]\r\nInteger=-3\r\n[Form\\LCheckBox1]\r\nChecked=1\r\n"
              "[Form\\LCheckBox6]\r\nChecked=0\r\n[Form\\FFileName]\r\nString="
              "\x83\x65\x83\x4c\x83\x58\x83\x67.txt\r\n");
    EXPECT_EQ(store.FindFiler("fpage").ReadInteger(), -3);
    EXPECT_TRUE(store.FindFiler("LCHECKBOX1CHECKED").ReadBool());
    EXPECT_EQ(store.FindFiler("FFileName").ReadString(), "\x83\x65\x83\x4c\x83\x58\x83\x67.txt");
}

// An unknown name is reported with its text, and the filer then reads
// nothing and writes nothing, even right after a successful lookup.
TEST_F(Store, UnknownNameIsReportedAndInert)
{
    stored("[Form\\FPage]\r\nInteger=5\r\n");
    ASSERT_EQ(store.FindFiler("FPage").ReadInteger(), 5);

    TRegFiler &filer = store.FindFiler("NoSuchItem");
    ASSERT_EQ(errors, std::vector<std::string>{"[' NoSuchItem '] is invalid."});
    EXPECT_EQ(filer.currentItem(), nullptr);
    EXPECT_EQ(filer.ReadInteger(), 0);
    EXPECT_FALSE(filer.ReadBool());
    EXPECT_EQ(filer.ReadString(), "");
    filer.WriteInteger(9);
    filer.WriteString("x");
    EXPECT_EQ(readBytes(store.IniFileName), "[Form\\FPage]\r\nInteger=5\r\n");
}

// Without a file name (or with the registry form) there is no store: the
// message is shown, reads give the default handed in, writes do nothing.
TEST_F(Store, NoStoreIsReported)
{
    store.IniFileName.clear();
    EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 1);
    EXPECT_NO_THROW(store.FindFiler("FPage").WriteInteger(2));
    EXPECT_EQ(errors,
              (std::vector<std::string>{"can not create Inifile object.",
                                        "can not create Inifile object."}));

    errors.clear();
    store.IniFileName = dir.file("corvane.ini");
    store.RegType = rtReg;
    EXPECT_TRUE(store.FindFiler("LCheckBox6Checked").ReadBool());
    EXPECT_EQ(errors, std::vector<std::string>{"can not create Registry object."});
    EXPECT_EQ(dir.entryCount(), 0u);

    // An empty section or key never reaches the store.
    errors.clear();
    TRegFiler &filer = store.FindFiler("FPage");
    EXPECT_EQ(filer.ReadValue("", "Integer", "d"), "d");
    EXPECT_EQ(filer.ReadValue("S", "", "d"), "d");
    EXPECT_TRUE(errors.empty());
}

// A write that cannot reach the file throws, naming the file in Japanese
// first and then in English with what happened and that this run's
// settings were not saved, and leaves the old file as it was.
TEST_F(Store, WriteFailureThrows)
{
    const std::string old = "[Form\\FPage]\r\nInteger=12\r\n";
    stored(old);
    ::chmod(store.IniFileName.c_str(), 0444);
    ::chmod(dir.path().c_str(), 0555);
    const std::string japanese = store.IniFileName + " に書き込めません\n";
    EXPECT_EQ(
            runInChild(true,
                       [&] {
                           try {
                               store.FindFiler("FPage").WriteInteger(13);
                           } catch (const TRegWriteError &e) {
                               const std::string text = e.what();
                               return text.starts_with(japanese) && e.path() == store.IniFileName
                                               && text.find("Cannot write the settings file "
                                                            + store.IniFileName
                                                            + " (the file is read-only")
                                                       == japanese.size()
                                               && text.ends_with(
                                                       ". The settings of this run were not saved.")
                                       ? 0
                                       : 2;
                           }
                           return 1;
                       }),
            0);
    EXPECT_EQ(readBytes(store.IniFileName), old);
}

// A transaction ends in exactly the file the same writes made one by one
// would have left, other sections, comments, spellings and line ends of the
// old file included; until the commit the file is untouched, and reads see
// the values written so far.
TEST_F(Store, TransactionIsOneChangeWithTheSameResult)
{
    const std::string old = "; mine\r\n[form\\fpage]\nINTEGER = 7\n[Other]\r\nx=1\r\n"
                            "[Form\\LCheckBox1]\r\nChecked=0";
    auto writeAll = [&] {
        store.FindFiler("LCheckBox6Checked").WriteBool(false);
        store.FindFiler("FPage").WriteInteger(42);
        store.FindFiler("FFileName").WriteString("a.txt");
        store.FindFiler("LCheckBox1Checked").WriteBool(true);
        store.FindFiler("FPage").WriteInteger(43);
    };
    stored(old);
    writeAll();
    const std::string oneByOne = readBytes(store.IniFileName);

    stored(old);
    {
        TRegTransaction save(store);
        writeAll();
        EXPECT_EQ(readBytes(store.IniFileName), old);
        EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 43);
        EXPECT_EQ(store.FindFiler("FFileName").ReadString(), "a.txt");
        save.commit();
    }
    EXPECT_FALSE(store.inTransaction());
    EXPECT_EQ(readBytes(store.IniFileName), oneByOne);
    EXPECT_EQ(dir.entryCount(), 1u);

    // Nested scopes join the outer one.
    stored(old);
    store.beginTransaction();
    {
        TRegTransaction inner(store);
        writeAll();
        inner.commit();
    }
    EXPECT_EQ(readBytes(store.IniFileName), old);
    store.commitTransaction();
    EXPECT_EQ(readBytes(store.IniFileName), oneByOne);

    // Writes outside a transaction still reach the file at once.
    store.FindFiler("FPage").WriteInteger(5);
    EXPECT_EQ(IniProfile(store.IniFileName).read("Form\\FPage", "Integer"), "5");
}

// A transaction that is not committed (an exception between its writes)
// changes nothing; one that cannot be committed throws the write error and
// leaves the old file whole; one over a file that cannot be read fails at
// its first write, as a direct write would.
TEST_F(Store, FailedTransactionKeepsTheOldFile)
{
    const std::string old = "[Form\\FPage]\r\nInteger=12\r\n";
    stored(old);
    try {
        TRegTransaction save(store);
        store.FindFiler("FPage").WriteInteger(13);
        throw std::runtime_error("interrupted");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(store.inTransaction());
    EXPECT_EQ(readBytes(store.IniFileName), old);

    ::chmod(store.IniFileName.c_str(), 0444);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EQ(runInChild(true,
                         [&] {
                             TRegTransaction save(store);
                             store.FindFiler("FPage").WriteInteger(13);
                             store.FindFiler("LCheckBox1Checked").WriteBool(true);
                             try {
                                 save.commit();
                             } catch (const TRegWriteError &e) {
                                 return std::string(e.what()).starts_with(store.IniFileName
                                                                          + " に書き込めません\n")
                                                 && !store.inTransaction()
                                         ? 0
                                         : 2;
                             }
                             return 1;
                         }),
              0);
    EXPECT_EQ(readBytes(store.IniFileName), old);
    EXPECT_EQ(dir.entryCount(), 1u);

    ::chmod(dir.path().c_str(), 0755);
    ::chmod(store.IniFileName.c_str(), 0644);
    const std::string fifo = dir.file("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    store.IniFileName = fifo;
    TRegTransaction save(store);
    EXPECT_EQ(store.FindFiler("FPage").ReadInteger(), 1);
    EXPECT_THROW(store.FindFiler("FPage").WriteInteger(13), TRegWriteError);
}
