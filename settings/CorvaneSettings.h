// The main window's settings: the 46 items of its store and the one order in
// which they are read at start-up and written at shutdown. Keeping a single
// ordered list for both directions means the two can never drift apart.
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

struct SettingOrderEntry
{
    std::string_view name; // item Name in the store's table
    SettingKind kind;
};

// The items of the window's store, in collection order.
TRegItems corvaneRegItems();

// Start-up read order, which is also the shutdown write order: the window
// position, the check boxes, then colours, pages and effect parameters.
std::span<const SettingOrderEntry> corvaneSettingsOrder();

// A value as the window holds it: bool for Bool items, int32_t for Int,
// std::string (code page 932 bytes) for Str.
using SettingValue = std::variant<bool, int32_t, std::string>;

// FindFiler(entry.name) and the accessor its kind names.
SettingValue readSetting(TRegManager &store, const SettingOrderEntry &entry);

// FindFiler(entry.name) and the accessor its kind names. A value of another
// alternative than the kind asks for is converted (bool <-> 0/1, a number
// to decimal text, text through the integer parse). Throws TRegWriteError
// when the file cannot be written.
void writeSetting(TRegManager &store, const SettingOrderEntry &entry, const SettingValue &value);

} // namespace corvane
