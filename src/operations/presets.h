#pragma once

// One-click sets of values: Performance (each setting that costs speed at its
// cheapest listed value), Quality (at its richest), Handheld (Performance at a
// handheld's own screen), and every setting's default, as the catalogue says. A preset only sets
// the window's values; a save writes them, showing its plan first.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "operations/values.h"

namespace quorvik::operations {

struct Preset {
    std::string_view name;     // "Performance": the console's name, the menu's caption
    std::string_view summary;  // what it does, for the menu's tip and --help
};

std::span<const Preset> presets();
// By name, without regard to case; nullptr for none.
const Preset* findPreset(std::string_view name);

// A setting and the value (as the window shows it) a preset gives it.
using PresetValue = std::pair<const Setting*, std::string>;

// The values of a preset, in the settings' order.
std::vector<PresetValue> presetValues(const Preset& preset);
// Every setting whose help names a default, at that default.
std::vector<PresetValue> defaultValues();

}  // namespace quorvik::operations
