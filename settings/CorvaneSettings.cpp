// The window's settings table and its read / write order.
#include "settings/CorvaneSettings.h"

#include <array>

namespace corvane {

namespace {

struct ItemRow
{
    const char *name;
    const char *section;
    const char *ident;
    const char *defaultValue;
};

// Section names are whole names: Form\LCheckBox1 is one section, not a
// section LCheckBox1 inside Form. Both prefixes, "Form\" and "Form1\", are
// in files users already have.
constexpr std::array<ItemRow, 46> kItems{{
    {"LCheckBox1Checked", "Form\\LCheckBox1", "Checked", "False"},
    {"LCheckBox2Checked", "Form\\LCheckBox2", "Checked", "False"},
    {"LCheckBox3Checked", "Form\\LCheckBox3", "Checked", "False"},
    {"FoColor", "Form\\FoColor", "Integer", "15197922"}, // 0xE7E6E2
    {"GColor", "Form\\GColor", "Integer", "5266509"},    // 0x505C4D
    {"FBColor", "Form\\FBColor", "Boolean", "False"},
    {"LCheckBox4Checked", "Form\\LCheckBox4", "Checked", "True"},
    {"LCheckBox5Checked", "Form\\LCheckBox5", "Checked", "False"},
    {"LCheckBox6Checked", "Form\\LCheckBox6", "Checked", "True"},
    {"Form1Top", "Form\\Form1", "Top", "100"},
    {"Form1Left", "Form\\Form1", "Left", "100"},
    {"LCheckBox7Checked", "Form\\LCheckBox7", "Checked", "True"},
    {"LCheckBox8Checked", "Form\\LCheckBox8", "Checked", "False"},
    {"LCheckBox13Checked", "Form\\LCheckBox13", "Checked", "True"},
    {"LCheckBox11Checked", "Form\\LCheckBox11", "Checked", "True"},
    {"FPage", "Form\\FPage", "Integer", "1"},
    {"FFileName", "Form\\FFileName", "String", ""},
    {"LCheckBox12Checked", "Form\\LCheckBox12", "Checked", "True"},
    {"FLeaf", "Form\\FLeaf", "Integer", "1"},
    {"FFileIn", "Form1\\FFileIn", "Boolean", "False"},
    {"LCheckBox14Checked", "Form\\LCheckBox14", "Checked", "False"},
    {"LCheckBox15Checked", "Form\\LCheckBox15", "Checked", "False"},
    {"LCheckBox16Checked", "Form\\LCheckBox16", "Checked", "False"},
    {"LCheckBox17Checked", "Form\\LCheckBox17", "Checked", "False"},
    {"LCheckBox18Checked", "Form\\LCheckBox18", "Checked", "False"},
    {"LCheckBox19Checked", "Form\\LCheckBox19", "Checked", "False"},
    {"Pcx", "Form1\\Pcx", "Integer", "240"},
    {"Pcy", "Form1\\Pcy", "Integer", "175"},
    {"Pmvc", "Form1\\Pmvc", "Integer", "2"},
    {"Piro", "Form1\\Piro", "Integer", "1"},
    {"Pirot", "Form1\\Pirot", "Integer", "2"},
    {"Pform", "Form1\\Pform", "Integer", "1"},
    {"Pformt", "Form1\\Pformt", "Integer", "1"},
    {"Pdigi", "Form1\\Pdigi", "Boolean", "False"},
    {"Pdigit", "Form1\\Pdigit", "Boolean", "True"},
    {"Pb", "Form1\\Pb", "Boolean", "False"},
    {"Pbt", "Form1\\Pbt", "Boolean", "False"},
    {"Pmix", "Form1\\Pmix", "Boolean", "False"},
    {"Pmouse", "Form1\\Pmouse", "Boolean", "False"},
    {"LCheckBox20Checked", "Form\\LCheckBox20", "Checked", "False"},
    {"LCheckBox21Checked", "Form\\LCheckBox21", "Checked", "False"},
    {"LCheckBox22Checked", "Form\\LCheckBox22", "Checked", "False"},
    {"LCheckBox23Checked", "Form\\LCheckBox23", "Checked", "False"},
    {"Fconm", "Form1\\Fconm", "Integer", "80"},
    {"SepaCheckBoxChecked", "Form1\\SepaCheckBox", "Checked", "False"},
    {"FBlackRect", "Form1\\FBlackRect", "Boolean", "True"},
}};

constexpr SettingKind B = SettingKind::Bool;
constexpr SettingKind I = SettingKind::Int;
constexpr SettingKind S = SettingKind::Str;

constexpr std::array<SettingOrderEntry, 46> kOrder{{
    {"Form1Top", I},
    {"Form1Left", I},
    {"LCheckBox1Checked", B},
    {"LCheckBox2Checked", B},
    {"LCheckBox3Checked", B},
    {"LCheckBox4Checked", B},
    {"LCheckBox5Checked", B},
    {"LCheckBox6Checked", B},
    {"LCheckBox7Checked", B},
    {"LCheckBox8Checked", B},
    {"LCheckBox13Checked", B},
    {"LCheckBox11Checked", B},
    {"LCheckBox12Checked", B},
    {"LCheckBox14Checked", B},
    {"LCheckBox15Checked", B},
    {"LCheckBox16Checked", B},
    {"LCheckBox17Checked", B},
    {"LCheckBox18Checked", B},
    {"LCheckBox19Checked", B},
    {"LCheckBox20Checked", B},
    {"LCheckBox21Checked", B},
    {"LCheckBox22Checked", B},
    {"LCheckBox23Checked", B},
    {"SepaCheckBoxChecked", B},
    {"FoColor", I},
    {"GColor", I},
    {"FBColor", B},
    {"FPage", I},
    {"FFileName", S},
    {"FLeaf", I},
    {"FFileIn", B},
    {"Pcx", I},
    {"Pcy", I},
    {"Pmvc", I},
    {"Piro", I},
    {"Pform", I},
    {"Pirot", I},
    {"Pformt", I},
    {"Pdigi", B},
    {"Pdigit", B},
    {"Pb", B},
    {"Pbt", B},
    {"Pmix", B},
    {"Pmouse", B},
    {"Fconm", I},
    {"FBlackRect", B},
}};

int32_t asInteger(const SettingValue &value)
{
    if (const bool *b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const int32_t *i = std::get_if<int32_t>(&value))
        return *i;
    return parseStoredInteger(std::get<std::string>(value)).value_or(0);
}

} // namespace

TRegItems corvaneRegItems()
{
    TRegItems items;
    items.reserve(kItems.size());
    for (const ItemRow &row : kItems)
        items.push_back({row.name, row.section, row.ident, row.defaultValue});
    return items;
}

std::span<const SettingOrderEntry> corvaneSettingsOrder()
{
    return kOrder;
}

SettingValue readSetting(TRegManager &store, const SettingOrderEntry &entry)
{
    TRegFiler &filer = store.FindFiler(entry.name);
    switch (entry.kind) {
    case SettingKind::Bool:
        return filer.ReadBool();
    case SettingKind::Int:
        return filer.ReadInteger();
    case SettingKind::Str:
        break;
    }
    return filer.ReadString();
}

void writeSetting(TRegManager &store, const SettingOrderEntry &entry, const SettingValue &value)
{
    TRegFiler &filer = store.FindFiler(entry.name);
    switch (entry.kind) {
    case SettingKind::Bool:
        filer.WriteBool(asInteger(value) != 0);
        return;
    case SettingKind::Int:
        filer.WriteInteger(asInteger(value));
        return;
    case SettingKind::Str:
        break;
    }
    if (const std::string *s = std::get_if<std::string>(&value))
        filer.WriteString(*s);
    else if (const bool *b = std::get_if<bool>(&value))
        filer.WriteString(*b ? "1" : "0");
    else
        filer.WriteString(std::to_string(std::get<int32_t>(value)));
}

} // namespace corvane
