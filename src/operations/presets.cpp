#include "operations/presets.h"

#include <algorithm>
#include <charconv>

#include "operations/known_values.h"
#include "panel/lists.h"
#include "platform/text_codec.h"

namespace quorvik::operations {
namespace {

constexpr Preset kPresets[] = {
    {"Performance", "every setting that costs speed at its cheapest listed value"},
    {"Quality", "every setting that costs speed at its richest listed value"},
    {"Handheld", "Performance at 1280,800, a handheld's screen"},
};

// The settings whose listed values run from cheap to rich, so that a preset
// may take either end: the listed numbers (with the default) in order of
// size, a drop-down's entries in the list's order. Audio, the shader model
// and the gamma are matters of taste or hardware, not of speed.
constexpr std::string_view kCostly[] = {
    "BPP",         "FSAA",          "TextureQuality",    "Filtering",
    "Shadows",     "ShadowMapSize", "SpotShadowMapSize", "EnvQuality",
    "PostProcess",
};

double numberOf(std::string_view text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// A costly setting's values from cheapest to richest.
std::vector<std::string_view> byCost(const Setting& setting) {
    if (setting.line != nullptr && setting.line->combo != nullptr) {
        const auto entries = panel::entriesOf(setting.line->combo);
        return {entries.begin(), entries.end()};
    }
    const KnownValues* known = knownValuesOf(setting);
    if (known == nullptr) return {};
    std::vector<std::string_view> values = known->valid;
    if (known->defaultValue &&
        std::find(values.begin(), values.end(), *known->defaultValue) == values.end()) {
        values.push_back(*known->defaultValue);
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
    if (preset.name == "Handheld") values.emplace_back(findSetting("Resolution"), "1280,800");
    for (const Setting& setting : allSettings()) {
        if (std::find(std::begin(kCostly), std::end(kCostly), setting.key) == std::end(kCostly)) {
            continue;
        }
        const std::vector<std::string_view> ordered = byCost(setting);
        if (ordered.empty()) continue;
        values.emplace_back(&setting, std::string(richest ? ordered.back() : ordered.front()));
    }
    return values;
}

std::vector<PresetValue> defaultValues() {
    std::vector<PresetValue> values;
    for (const Setting& setting : allSettings()) {
        if (auto value = defaultOf(setting)) values.emplace_back(&setting, std::move(*value));
    }
    return values;
}

}  // namespace quorvik::operations
