#include "operations/known_values.h"

#include <algorithm>
#include <charconv>

#include "panel/lists.h"
#include "platform/text_codec.h"

namespace quorvik::operations {
namespace {

// Read off the help texts: "(Default 24, Valid values are 16,24,32)",
// "(Default: 1.00, Valid values are 0.50 - 1.50)", "(Max Value: 40)", ...
const std::vector<KnownValues>& table() {
    static const std::vector<KnownValues> kTable = {
        {"BPP", "24", {"16", "24", "32"}, {}, {}},
        {"FSAA", "0", {"2", "4", "8", "16"}, {}, {}},
        {"Fullscreen", "on", {}, {}, {}},
        {"ShadowMapSize", "512", {"512", "1024", "2048", "4096"}, {}, {}},
        {"SpotShadowMapSize", "1024", {"512", "1024", "2048", "4096"}, {}, {}},
        {"GammaFloat", "1.00", {}, 0.5, 1.5, "0.50 - 1.50"},
        {"MaxRefresh", "60", {}, {}, {}},
        {"FXFadeLevel", {}, {}, 0, 4, "0 - 4"},
        {"ShaderPath", "SM 3.0", {}, {}, {}},
        {"VSync", "off", {}, {}, {}},
        {"PostProcess", "Simple", {}, {}, {}},
        {"MixFrequency",
         "44100",
         {"16000", "22050", "32000", "44100", "44800", "48000", "96000", "192000"},
         {},
         {}},
        {"MaxVolume", {}, {}, {}, 40, "up to 40"},
        {"FXVolume", {}, {}, 0, 40, "0 - 40"},
        {"WaveVolume", {}, {}, 0, 40, "0 - 40"},
        {"SpeechVolume", {}, {}, 0, 40, "0 - 40"},
        {"MovieVolume", {}, {}, 0, 40, "0 - 40"},
        {"UseEAX", "off", {}, {}, {}},
        {"MotionBlur", "on", {}, {}, {}},
        {"FieldOfView", "62.5", {}, {}, {}},
    };
    return kTable;
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The entries of the drop-down a setting is shown in, when it is one.
std::optional<std::span<const std::string_view>> entriesOf(const Setting& setting) {
    if (setting.line == nullptr || setting.line->combo == nullptr) return std::nullopt;
    return panel::entriesOf(setting.line->combo);
}

}  // namespace

std::span<const KnownValues> knownValues() {
    return table();
}

const KnownValues* knownValuesOf(const Setting& setting) {
    for (const KnownValues& known : table()) {
        if (known.key == setting.key) return &known;
    }
    return nullptr;
}

std::optional<std::string> defaultOf(const Setting& setting) {
    const KnownValues* known = knownValuesOf(setting);
    if (known == nullptr || !known->defaultValue) return std::nullopt;
    return std::string(*known->defaultValue);
}

std::optional<std::string> validText(const Setting& setting) {
    if (const auto entries = entriesOf(setting)) {
        return platform::joined(*entries);
    }
    const KnownValues* known = knownValuesOf(setting);
    if (known == nullptr) return std::nullopt;
    if (!known->valid.empty()) return platform::joined(known->valid);
    if (!known->range.empty()) return std::string(known->range);
    return std::nullopt;
}

bool outsideValid(const Setting& setting, std::string_view value) {
    if (const auto entries = entriesOf(setting)) {
        // A drop-down takes its entries without regard to case, as typed input does.
        return std::none_of(entries->begin(), entries->end(), [&](std::string_view entry) {
            return platform::sameLetters(entry, value);
        });
    }
    const KnownValues* known = knownValuesOf(setting);
    if (known == nullptr || (known->defaultValue && *known->defaultValue == value)) return false;
    if (!known->valid.empty()) {
        return std::find(known->valid.begin(), known->valid.end(), value) == known->valid.end();
    }
    if (!known->lowest && !known->highest) return false;
    const std::optional<double> shown = number(value);
    if (!shown) return false;  // not a number at all: the save's own check names it
    return (known->lowest && *shown < *known->lowest) ||
           (known->highest && *shown > *known->highest);
}

std::vector<OutsideValue> valuesOutsideValid(const panel::Panel& panel,
                                             std::span<const Place> places) {
    std::vector<OutsideValue> outside;
    for (const Setting& setting : allSettings()) {
        if (std::find(places.begin(), places.end(), setting.place) == places.end()) continue;
        const std::string value = valueOf(panel, setting);
        if (!outsideValid(setting, value)) continue;
        outside.push_back({&setting, value, validText(setting).value_or("")});
    }
    return outside;
}

}  // namespace quorvik::operations
