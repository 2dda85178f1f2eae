#pragma once

// What the game's help texts say of a setting's values: its default, and the
// values it takes (a list, a range, or a largest value). Kept once here, read
// off the texts' closing lines and the drop-downs' lists; the reset, the
// checks before a save and the console use it. A setting whose help names no
// default has none here: none is made up.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "operations/settings_table.h"
#include "panel/panel.h"

namespace quorvik::operations {

struct KnownValues {
    std::string_view key;
    std::optional<std::string_view> defaultValue;  // as the window shows it: "24", "1.00", "on"
    std::vector<std::string_view> valid;           // the values listed; empty: no list
    std::optional<double> lowest;                  // a range, or only its top
    std::optional<double> highest;
    std::string_view range = {};  // the range in the help's words
};

// One row a setting whose help names a default or valid values.
std::span<const KnownValues> knownValues();
const KnownValues* knownValuesOf(const Setting& setting);
// The default a setting's help names, as the window shows it; nothing when none.
std::optional<std::string> defaultOf(const Setting& setting);

// What a setting takes, in words ("16, 24, 32", "0.50 - 1.50", "up to 40",
// a drop-down's entries); nothing when nothing is known.
std::optional<std::string> validText(const Setting& setting);

// A value (as the window shows it) outside what the setting's help lists, or
// for a drop-down outside its entries. Its default always counts as valid.
bool outsideValid(const Setting& setting, std::string_view value);

// A setting whose value is outside what it takes.
struct OutsideValue {
    const Setting* setting;
    std::string value;  // 8-bit, as the window shows it
    std::string valid;  // validText

    bool operator==(const OutsideValue&) const = default;
};

// Every setting of the given places whose value in the window is outside
// what it takes, in the table's order.
std::vector<OutsideValue> valuesOutsideValid(const panel::Panel& panel,
                                             std::span<const Place> places);

}  // namespace quorvik::operations
