// The window's settings table.
#include "settings/CorvaneSettings.h"

#include <array>

#include "core/Design.h"

namespace corvane {

namespace {

constexpr SettingKind B = SettingKind::Bool;
constexpr SettingKind I = SettingKind::Int;
constexpr SettingKind S = SettingKind::Str;

// Section names are whole names: Form\LCheckBox1 is one section, not a
// section LCheckBox1 inside Form. Both prefixes, "Form\" and "Form1\", are
// in files users already have. The slots keep the store's collection in the
// order files have always been described in; lookups go by name, so only the
// order of the rows decides what is read and written when.
const std::array<CorvaneSetting, 50> &table()
{
    static const std::array<CorvaneSetting, 50> rows{{
            {"Form1Top", "Form\\Form1", "Top", I, 100, 9},
            {"Form1Left", "Form\\Form1", "Left", I, 100, 10},
            {"LCheckBox1Checked", "Form\\LCheckBox1", "Checked", B, false, 0},
            {"LCheckBox2Checked", "Form\\LCheckBox2", "Checked", B, false, 1},
            {"LCheckBox3Checked", "Form\\LCheckBox3", "Checked", B, false, 2},
            {"LCheckBox4Checked", "Form\\LCheckBox4", "Checked", B, true, 6},
            {"LCheckBox5Checked", "Form\\LCheckBox5", "Checked", B, false, 7},
            {"LCheckBox6Checked", "Form\\LCheckBox6", "Checked", B, true, 8},
            {"LCheckBox7Checked", "Form\\LCheckBox7", "Checked", B, true, 11},
            {"LCheckBox8Checked", "Form\\LCheckBox8", "Checked", B, false, 12},
            {"LCheckBox13Checked", "Form\\LCheckBox13", "Checked", B, true, 13},
            {"LCheckBox11Checked", "Form\\LCheckBox11", "Checked", B, true, 14},
            {"LCheckBox12Checked", "Form\\LCheckBox12", "Checked", B, true, 17},
            {"LCheckBox14Checked", "Form\\LCheckBox14", "Checked", B, false, 20},
            {"LCheckBox15Checked", "Form\\LCheckBox15", "Checked", B, false, 21},
            {"LCheckBox16Checked", "Form\\LCheckBox16", "Checked", B, false, 22},
            {"LCheckBox17Checked", "Form\\LCheckBox17", "Checked", B, false, 23},
            {"LCheckBox18Checked", "Form\\LCheckBox18", "Checked", B, false, 24},
            {"LCheckBox19Checked", "Form\\LCheckBox19", "Checked", B, false, 25},
            {"LCheckBox20Checked", "Form\\LCheckBox20", "Checked", B, false, 39},
            {"LCheckBox21Checked", "Form\\LCheckBox21", "Checked", B, false, 40},
            {"LCheckBox22Checked", "Form\\LCheckBox22", "Checked", B, false, 41},
            {"LCheckBox23Checked", "Form\\LCheckBox23", "Checked", B, false, 42},
            {"SepaCheckBoxChecked", "Form1\\SepaCheckBox", "Checked", B, false, 44},
            {"FoColor", "Form\\FoColor", "Integer", I, int32_t(kDefaultTextColour), 3},
            {"GColor", "Form\\GColor", "Integer", I, int32_t(kDefaultBackground), 4},
            {"FBColor", "Form\\FBColor", "Boolean", B, false, 5},
            {"FPage", "Form\\FPage", "Integer", I, 1, 15},
            {"FFileName", "Form\\FFileName", "String", S, std::string(), 16},
            {"FLeaf", "Form\\FLeaf", "Integer", I, 1, 18},
            {"FFileIn", "Form1\\FFileIn", "Boolean", B, false, 19},
            {"Pcx", "Form1\\Pcx", "Integer", I, kPictureWidth / 2, 26},
            {"Pcy", "Form1\\Pcy", "Integer", I, kPictureHeight / 2, 27},
            {"Pmvc", "Form1\\Pmvc", "Integer", I, 2, 28},
            {"Piro", "Form1\\Piro", "Integer", I, 1, 29},
            {"Pform", "Form1\\Pform", "Integer", I, 1, 31},
            {"Pirot", "Form1\\Pirot", "Integer", I, 2, 30},
            {"Pformt", "Form1\\Pformt", "Integer", I, 1, 32},
            {"Pdigi", "Form1\\Pdigi", "Boolean", B, false, 33},
            {"Pdigit", "Form1\\Pdigit", "Boolean", B, true, 34},
            {"Pb", "Form1\\Pb", "Boolean", B, false, 35},
            {"Pbt", "Form1\\Pbt", "Boolean", B, false, 36},
            {"Pmix", "Form1\\Pmix", "Boolean", B, false, 37},
            {"Pmouse", "Form1\\Pmouse", "Boolean", B, false, 38},
            {"Fconm", "Form1\\Fconm", "Integer", I, 80, 43},
            {"FBlackRect", "Form1\\FBlackRect", "Boolean", B, true, 45},
            {"autoPages", "Form1\\autoPages", "Boolean", B, false, 46},
            {"autoSeconds", "Form1\\autoSeconds", "Integer", I, kAutoDefaultSeconds, 47},
            {"autoAnimation", "Form1\\autoAnimation", "Integer", I, 0, 48},
            {"Aozora", "Form1\\Aozora", "Boolean", B, true, 49},
    }};
    return rows;
}

std::string defaultText(const CorvaneSetting &s)
{
    switch (s.kind) {
    case SettingKind::Bool:
        return std::get<bool>(s.defaultValue) ? "True" : "False";
    case SettingKind::Int:
        return std::to_string(std::get<int32_t>(s.defaultValue));
    case SettingKind::Str:
        break;
    }
    return std::get<std::string>(s.defaultValue);
}

} // namespace

std::span<const CorvaneSetting> corvaneSettings()
{
    return table();
}

TRegItems corvaneRegItems()
{
    TRegItems items(table().size());
    for (const CorvaneSetting &s : table())
        items.at(size_t(s.slot)) = {std::string(s.name), std::string(s.section),
                                    std::string(s.ident), defaultText(s)};
    return items;
}

int32_t settingAsInteger(const SettingValue &value)
{
    if (const bool *b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const int32_t *i = std::get_if<int32_t>(&value))
        return *i;
    return parseStoredInteger(std::get<std::string>(value)).value_or(0);
}

SettingValue readSetting(TRegManager &store, const CorvaneSetting &setting)
{
    TRegFiler &filer = store.FindFiler(setting.name);
    switch (setting.kind) {
    case SettingKind::Bool:
        return filer.ReadBool();
    case SettingKind::Int:
        return filer.ReadInteger();
    case SettingKind::Str:
        break;
    }
    return filer.ReadString();
}

void writeSetting(TRegManager &store, const CorvaneSetting &setting, const SettingValue &value)
{
    TRegFiler &filer = store.FindFiler(setting.name);
    switch (setting.kind) {
    case SettingKind::Bool:
        filer.WriteBool(settingAsInteger(value) != 0);
        return;
    case SettingKind::Int:
        filer.WriteInteger(settingAsInteger(value));
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
