#include "app/control_menu.h"

#include <algorithm>
#include <string>
#include <utility>

#include "operations/values.h"
#include "panel/binding.h"

namespace quorvik::app {
namespace {

std::string asValue(const DisplayMode& mode) {
    return std::to_string(mode.width) + "," + std::to_string(mode.height);
}

}  // namespace

std::vector<ControlMenuItem> controlMenu(panel::Panel& panel, std::string_view control,
                                         const Display& display) {
    const catalogue::Setting* setting = catalogue::shownIn(control);
    if (setting == nullptr) return {};
    std::vector<ControlMenuItem> items;
    const std::string now = panel::valueOf(panel, setting->id);
    const auto add = [&](std::string caption, std::string value, bool mode) {
        const bool enabled = value != now;
        items.push_back(
            {std::move(caption), std::string(setting->key), std::move(value), enabled, mode});
    };
    if (const auto value = catalogue::defaultOf(*setting)) {
        add("Reset to de&fault (" + *value + ")", *value, false);
    }
    if (setting->kind != catalogue::Kind::WidthHeight) return items;
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
    if (const auto* setting = catalogue::find(item.key)) {
        catalogue::Values values = panel::valuesOf(panel);
        operations::setValue(values, *setting, item.value);
        panel::show(values, panel);
    }
}

}  // namespace quorvik::app
