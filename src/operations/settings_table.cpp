#include "operations/settings_table.h"

#include <algorithm>
#include <vector>

#include "overrides/overrides.h"
#include "overrides/skills_file.h"
#include "platform/text_codec.h"
#include "settings/setting_values.h"

namespace quorvik::operations {
namespace {

std::vector<Setting> makeTable() {
    std::vector<Setting> all;
    for (const auto* line : settings::videoSettings()) {
        all.push_back({std::string(line->text), std::string(line->caption), Place::Video, line});
    }
    for (const auto* line : settings::audioSettings()) {
        all.push_back({std::string(line->text), std::string(line->caption), Place::Audio, line});
    }
    const std::string_view keys[] = {"MotionBlur", "DepthOfField"};
    for (std::size_t i = 0; i < overrides::effects().size(); ++i) {
        const overrides::Effect& effect = overrides::effects()[i];
        all.push_back({std::string(keys[i]), std::string(effect.caption), Place::DataFolder, nullptr,
                       effect.box});
    }
    all.push_back({"FieldOfView", "Field of View", Place::DataFolder});
    return all;
}

}  // namespace

std::span<const Setting> allSettings() {
    static const std::vector<Setting> table = makeTable();
    return table;
}

const Setting* findSetting(std::string_view key) {
    for (const Setting& setting : allSettings()) {
        if (platform::sameLetters(setting.key, key)) return &setting;
    }
    return nullptr;
}

const Setting* settingShownIn(panel::Panel& panel, std::string_view control) {
    const void* shown = panel.textBox(control);
    if (shown == nullptr) shown = panel.comboBox(control);
    if (shown == nullptr) shown = panel.checkBox(control);
    if (shown == nullptr) return nullptr;
    for (const Setting& setting : allSettings()) {
        const settings::TemplateLine* line = setting.line;
        const bool shows = line != nullptr
                               ? (line->box != nullptr && &(panel.*line->box) == shown) ||
                                     (line->second != nullptr && &(panel.*line->second) == shown) ||
                                     (line->combo != nullptr && &(panel.*line->combo) == shown) ||
                                     (line->check != nullptr && &(panel.*line->check) == shown)
                           : setting.effect != nullptr ? &(panel.*setting.effect) == shown
                                                       : &panel.Text15 == shown;
        if (shows) return &setting;
    }
    return nullptr;
}

std::string keyList() {
    std::vector<std::string> keys;
    for (const Setting& setting : allSettings()) keys.push_back(setting.key);
    return platform::joined(keys);
}

std::string valueOf(const panel::Panel& panel, const Setting& setting) {
    if (setting.line != nullptr) return settings::windowText(panel, *setting.line);
    if (setting.effect != nullptr) return (panel.*setting.effect).Value != 0 ? "on" : "off";
    return panel.Text15.Text;
}

std::optional<std::string> setValue(panel::Panel& panel, const Setting& setting,
                                    std::string_view text) {
    if (setting.line != nullptr) return settings::setWindowText(panel, *setting.line, text);
    if (setting.effect != nullptr) {
        // A check box of the Data folder takes what the files' check boxes take.
        const settings::TemplateLine asFlag{settings::Fill::Flag, setting.key, nullptr, nullptr,
                                            nullptr, setting.effect};
        return settings::setWindowText(panel, asFlag, text);
    }
    const std::string_view view = platform::trimBlanks(text);
    if (overrides::fieldOfViewProblem(view)) {
        return "takes a number up to 99.9 in the form 00.0, such as 75.0";
    }
    panel.Text15.Text = std::string(view);
    return std::nullopt;
}

}  // namespace quorvik::operations
