#pragma once

// Loads fuzz input as a settings file and checks what must hold for any input.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "catalogue/catalogue.h"
#include "settings/lines.h"
#include "settings/scr_format.h"

namespace quorvik::fuzz {

inline void loadScr(const std::uint8_t* data, std::size_t size, catalogue::Place place) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = settings::splitLines(bytes);

    // Writing the lines and reading them back gives the same lines.
    if (settings::splitLines(settings::joinLines(lines)) != lines) std::abort();

    catalogue::Values values;
    const auto rules = settings::keyRules(place);
    for (const auto& line : lines) settings::applyLine(values, line, rules);

    // A drop-down only ever takes one of its entries from a line, and a flag
    // only ever switches on.
    for (const catalogue::Setting& setting : catalogue::settings()) {
        const std::string& value = values[setting.id];
        if (!setting.entries.empty() && !value.empty() &&
            catalogue::positionOf(setting, value) < 0) {
            std::abort();
        }
        if (setting.kind == catalogue::Kind::OnOff && !value.empty() && value != "on") std::abort();
    }
}

}  // namespace quorvik::fuzz
