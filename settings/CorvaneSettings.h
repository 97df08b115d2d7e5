// The main window's settings: the one ordered table of its 49 stored items.
// The table's order is the order in which they are read at start-up and
// written at shutdown; each row also names where the item lives in the file,
// the accessor it is read and written with, and its default. The store's
// item collection and the window's bindings are both built from it, so no
// second list of the items exists to drift apart from it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "settings/TRegManager.h"

namespace corvane {

// The accessor pair an item is read and written with.
enum class SettingKind { Bool, Int, Str };

// A value as the window holds it: bool for Bool items, int32_t for Int,
// std::string (code page 932 bytes) for Str.
using SettingValue = std::variant<bool, int32_t, std::string>;

struct CorvaneSetting
{
    // Item Name: the window field it holds, or a check box's name followed by
    // "Checked" for the box's state.
    std::string_view name;
    std::string_view section; // INI section, backslash and all
    std::string_view ident;   // key within the section
    SettingKind kind;
    SettingValue defaultValue; // of the kind's alternative
    int slot;                  // position in the store's item collection
};

// The window's stored items in read and write order: the window position,
// the check boxes, then colours, pages and effect parameters.
std::span<const CorvaneSetting> corvaneSettings();

// The items of the window's store, in their collection order (by slot),
// each with its default as the store's text ("True"/"False", decimal).
TRegItems corvaneRegItems();

// FindFiler(setting.name) and the accessor its kind names.
SettingValue readSetting(TRegManager &store, const CorvaneSetting &setting);

// FindFiler(setting.name) and the accessor its kind names. A value of another
// alternative than the kind asks for is converted (bool <-> 0/1, a number
// to decimal text, text through the integer parse). Throws TRegWriteError
// when the file cannot be written.
void writeSetting(TRegManager &store, const CorvaneSetting &setting, const SettingValue &value);

// A value converted to an integer as writeSetting converts it: a bool to 0 or
// 1, text through the stored-integer parse (0 when it is no integer).
int32_t settingAsInteger(const SettingValue &value);

} // namespace corvane
