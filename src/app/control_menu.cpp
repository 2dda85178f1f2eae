#include "app/control_menu.h"

#include <algorithm>
#include <string>
#include <utility>

#include "operations/known_values.h"
#include "operations/settings_table.h"

namespace quorvik::app {
namespace {

std::string asValue(const DisplayMode& mode) {
    return std::to_string(mode.width) + "," + std::to_string(mode.height);
}

}  // namespace

std::vector<ControlMenuItem> controlMenu(panel::Panel& panel, std::string_view control,
                                         const Display& display) {
    const operations::Setting* setting = operations::settingShownIn(panel, control);
    if (setting == nullptr) return {};
    std::vector<ControlMenuItem> items;
    const std::string now = operations::valueOf(panel, *setting);
    const auto add = [&](std::string caption, std::string value, bool mode) {
        const bool enabled = value != now;
        items.push_back({std::move(caption), setting->key, std::move(value), enabled, mode});
    };
    if (const auto value = operations::defaultOf(*setting)) {
        add("Reset to de&fault (" + *value + ")", *value, false);
    }
    if (setting->key != "Resolution") return items;
    if (display.current) {
        add("Use this &monitor's resolution (" + asValue(*display.current) + ")",
            asValue(*display.current), false);
    }
    std::vector<DisplayMode> modes = display.modes;
    std::erase_if(modes, [&](const DisplayMode& mode) {
        return mode.width <= 0 || mode.height <= 0 || mode == display.current;
    });
    // Largest first, as a monitor's settings list them.
    std::sort(modes.begin(), modes.end(), [](const DisplayMode& a, const DisplayMode& b) {
        return std::pair(a.width, a.height) > std::pair(b.width, b.height);
    });
    modes.erase(std::unique(modes.begin(), modes.end()), modes.end());
    for (const DisplayMode& mode : modes) add(asValue(mode), asValue(mode), true);
    return items;
}

void choose(panel::Panel& panel, const ControlMenuItem& item) {
    if (const auto* setting = operations::findSetting(item.key)) {
        operations::setValue(panel, *setting, item.value);
    }
}

}  // namespace quorvik::app
