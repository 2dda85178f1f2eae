#include "operations/presets.h"

#include <algorithm>
#include <charconv>

#include "platform/text_codec.h"

namespace quorvik::operations {
namespace {

constexpr Preset kPresets[] = {
    {"Performance", "every setting that costs speed at its cheapest listed value"},
    {"Quality", "every setting that costs speed at its richest listed value"},
    {"Handheld", "Performance at 1280,800, a handheld's screen"},
};

double numberOf(std::string_view text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A costly setting's values from cheapest to richest: the listed numbers
// (with the default) in order of size, a drop-down's entries in the list's
// order.
std::vector<std::string_view> byCost(const Setting& setting) {
    if (!setting.entries.empty()) return setting.entries;
    std::vector<std::string_view> values = setting.valid;
    if (setting.defaultValue &&
        std::find(values.begin(), values.end(), *setting.defaultValue) == values.end()) {
        values.push_back(*setting.defaultValue);
    }
    std::sort(values.begin(), values.end(),
              [](std::string_view a, std::string_view b) { return numberOf(a) < numberOf(b); });
    return values;
}

}  // namespace

std::span<const Preset> presets() {
    return kPresets;
}

const Preset* findPreset(std::string_view name) {
    for (const Preset& preset : kPresets) {
        if (platform::sameLetters(preset.name, name)) return &preset;
    }
    return nullptr;
}

std::vector<PresetValue> presetValues(const Preset& preset) {
    const bool richest = preset.name == "Quality";
    std::vector<PresetValue> values;
    if (preset.name == "Handheld") {
        // A handheld's own screen first.
        for (const Setting& setting : catalogue::settings()) {
            if (!setting.handheld.empty())
                values.emplace_back(&setting, std::string(setting.handheld));
        }
    }
    for (const Setting& setting : catalogue::settings()) {
        if (!setting.costly) continue;
        const std::vector<std::string_view> ordered = byCost(setting);
        if (ordered.empty()) continue;
        values.emplace_back(&setting, std::string(richest ? ordered.back() : ordered.front()));
    }
    return values;
}

std::vector<PresetValue> defaultValues() {
    std::vector<PresetValue> values;
    for (const Setting& setting : catalogue::settings()) {
        if (auto value = catalogue::defaultOf(setting))
            values.emplace_back(&setting, std::move(*value));
    }
    return values;
}

}  // namespace quorvik::operations
