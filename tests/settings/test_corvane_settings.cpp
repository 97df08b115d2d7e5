// The window's settings table: its read / write order, the store's items
// built from it, and a first start and a save through both.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "settings/CorvaneSettings.h"
#include "settings/IniProfile.h"
#include "tests/settings/TempFolder.h"

using namespace corvane;
using corvane::test::TempFolder;

namespace {

// Values a first start must see, keyed by item name; the kind tells which
// accessor the window uses, so a wrong kind in the order shows up here too.
std::map<std::string, SettingValue> firstStart()
{
    return {
            {"Form1Top", 100},
            {"Form1Left", 100},
            {"FoColor", 15197922},
            {"GColor", 5266509},
            {"FBColor", false},
            {"FPage", 1},
            {"FFileName", std::string()},
            {"FLeaf", 1},
            {"FFileIn", false},
            {"Pcx", 240},
            {"Pcy", 175},
            {"Pmvc", 2},
            {"Piro", 1},
            {"Pirot", 2},
            {"Pform", 1},
            {"Pformt", 1},
            {"Pdigi", false},
            {"Pdigit", true},
            {"Pb", false},
            {"Pbt", false},
            {"Pmix", false},
            {"Pmouse", false},
            {"Fconm", 80},
            {"FBlackRect", true},
            {"autoPages", false},
            {"autoSeconds", 60},
            {"autoAnimation", 0},
            {"Aozora", true},
            {"SepaCheckBoxChecked", false},
            {"LCheckBox1Checked", false},
            {"LCheckBox2Checked", false},
            {"LCheckBox3Checked", false},
            {"LCheckBox4Checked", true},
            {"LCheckBox5Checked", false},
            {"LCheckBox6Checked", true},
            {"LCheckBox7Checked", true},
            {"LCheckBox8Checked", false},
            {"LCheckBox11Checked", true},
            {"LCheckBox12Checked", true},
            {"LCheckBox13Checked", true},
            {"LCheckBox14Checked", false},
            {"LCheckBox15Checked", false},
            {"LCheckBox16Checked", false},
            {"LCheckBox17Checked", false},
            {"LCheckBox18Checked", false},
            {"LCheckBox19Checked", false},
            {"LCheckBox20Checked", false},
            {"LCheckBox21Checked", false},
            {"LCheckBox22Checked", false},
            {"LCheckBox23Checked", false},
    };
}

} // namespace

// 50 items with unique names and unique (section, key) places; every row of
// the table is an item of the store exactly once; every check box is stored
// as its own section's key "Checked"; the rows stand in the order in which
// start-up reads and shutdown writes them.
TEST(SettingsTable, TableAndOrderAgree)
{
    const TRegItems items = corvaneRegItems();
    ASSERT_EQ(items.size(), 50u);
    std::set<std::string> names, places;
    for (const TRegItem &item : items) {
        EXPECT_TRUE(names.insert(item.Name).second) << item.Name;
        EXPECT_TRUE(places.insert(item.Section + "|" + item.Ident).second) << item.Name;
        EXPECT_TRUE(item.Section.starts_with("Form\\") || item.Section.starts_with("Form1\\"));
        if (item.Name.ends_with("Checked")) {
            EXPECT_EQ(item.Ident, "Checked");
            EXPECT_EQ(item.Name, item.Section.substr(item.Section.find('\\') + 1) + "Checked");
        }
    }
    EXPECT_EQ(items.front().Name, "LCheckBox1Checked");
    EXPECT_EQ(items.back().Name, "Aozora");

    const auto table = corvaneSettings();
    ASSERT_EQ(table.size(), 50u);
    std::vector<std::string> ordered;
    for (const CorvaneSetting &s : table) {
        ordered.emplace_back(s.name);
        const TRegItem &item = items.at(std::size_t(s.slot));
        EXPECT_EQ(item.Name, s.name);
        EXPECT_EQ(item.Section, s.section);
        EXPECT_EQ(item.Ident, s.ident);
        EXPECT_EQ(SettingValue(s.defaultValue).index(), std::size_t(s.kind)) << s.name;
    }
    const std::vector<std::string> readAndWriteOrder = {"Form1Top",
                                                        "Form1Left",
                                                        "LCheckBox1Checked",
                                                        "LCheckBox2Checked",
                                                        "LCheckBox3Checked",
                                                        "LCheckBox4Checked",
                                                        "LCheckBox5Checked",
                                                        "LCheckBox6Checked",
                                                        "LCheckBox7Checked",
                                                        "LCheckBox8Checked",
                                                        "LCheckBox13Checked",
                                                        "LCheckBox11Checked",
                                                        "LCheckBox12Checked",
                                                        "LCheckBox14Checked",
                                                        "LCheckBox15Checked",
                                                        "LCheckBox16Checked",
                                                        "LCheckBox17Checked",
                                                        "LCheckBox18Checked",
                                                        "LCheckBox19Checked",
                                                        "LCheckBox20Checked",
                                                        "LCheckBox21Checked",
                                                        "LCheckBox22Checked",
                                                        "LCheckBox23Checked",
                                                        "SepaCheckBoxChecked",
                                                        "FoColor",
                                                        "GColor",
                                                        "FBColor",
                                                        "FPage",
                                                        "FFileName",
                                                        "FLeaf",
                                                        "FFileIn",
                                                        "Pcx",
                                                        "Pcy",
                                                        "Pmvc",
                                                        "Piro",
                                                        "Pform",
                                                        "Pirot",
                                                        "Pformt",
                                                        "Pdigi",
                                                        "Pdigit",
                                                        "Pb",
                                                        "Pbt",
                                                        "Pmix",
                                                        "Pmouse",
                                                        "Fconm",
                                                        "FBlackRect",
                                                        "autoPages",
                                                        "autoSeconds",
                                                        "autoAnimation",
                                                        "Aozora"};
    EXPECT_EQ(ordered, readAndWriteOrder); // Pform is read before Pirot
}

// A first start with no file yields the documented defaults, each with the
// accessor kind the window uses, and writes nothing and reports nothing.
TEST(SettingsTable, FirstStartDefaults)
{
    TempFolder dir;
    TRegManager store;
    store.IniFileName = dir.file("corvane.ini");
    store.RegItems = corvaneRegItems();
    std::vector<std::string> errors;
    store.setErrorReporter([&](const std::string &m) { errors.push_back(m); });

    const auto expected = firstStart();
    for (const CorvaneSetting &s : corvaneSettings()) {
        EXPECT_EQ(readSetting(store, s), expected.at(std::string(s.name))) << s.name;
        // The store's default text says what the table's typed default says.
        EXPECT_EQ(readSetting(store, s), s.defaultValue) << s.name;
    }
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(dir.entryCount(), 0u);
}

// A save writes all 50 items where a hand reading the file expects them, and
// the next start reads back exactly what was saved.
TEST(SettingsTable, SaveAndRestore)
{
    TempFolder dir;
    TRegManager store;
    store.IniFileName = dir.file("corvane.ini");
    store.RegItems = corvaneRegItems();

    std::map<std::string, SettingValue> saved;
    int n = 0;
    for (const CorvaneSetting &e : corvaneSettings()) {
        ++n;
        SettingValue v = e.kind == SettingKind::Bool ? SettingValue(n % 3 == 0)
                : e.kind == SettingKind::Int         ? SettingValue(int32_t(-n * 1000))
                                                     : SettingValue(std::string("\x96\x7b.txt"));
        writeSetting(store, e, v);
        saved[std::string(e.name)] = v;
    }
    for (const CorvaneSetting &e : corvaneSettings())
        EXPECT_EQ(readSetting(store, e), saved.at(std::string(e.name))) << e.name;

    const IniProfile ini(store.IniFileName);
    EXPECT_EQ(ini.read("Form\\Form1", "Top"), "-1000");
    EXPECT_EQ(ini.read("Form\\Form1", "Left"), "-2000");
    EXPECT_EQ(ini.read("Form\\LCheckBox1", "Checked"), "1"); // third in the order
    EXPECT_EQ(ini.read("Form\\FFileName", "String"), "\x96\x7b.txt");
    EXPECT_EQ(ini.read("Form1\\SepaCheckBox", "Checked"), "1");
}
