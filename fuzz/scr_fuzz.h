#pragma once

// Loads fuzz input as a settings file and checks what must hold for any input.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "panel/lists.h"
#include "panel/panel.h"
#include "settings/lines.h"
#include "settings/scr_format.h"

namespace quorvik::fuzz {

inline void loadScr(const std::uint8_t* data, std::size_t size,
                    std::span<const settings::KeyRule> keys) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = settings::splitLines(bytes);

    // Writing the lines and reading them back gives the same lines.
    if (settings::splitLines(settings::joinLines(lines)) != lines) std::abort();

    panel::Panel panel;
    for (const auto& list : panel::kLists) {
        for (const auto entry : list.entries) (panel.*list.combo).AddItem(std::string(entry));
    }
    for (const auto& line : lines) settings::applyLine(panel, line, keys);

    // A selection always names an entry of its list, and the field shows it.
    for (const auto& box : panel::kComboBoxes) {
        const panel::ComboBox& combo = panel.*box.member;
        if (combo.ListIndex < -1 || combo.ListIndex >= static_cast<int>(combo.List.size())) {
            std::abort();
        }
        if (combo.ListIndex >= 0 && combo.Text != combo.List[static_cast<std::size_t>(combo.ListIndex)]) {
            std::abort();
        }
    }
    for (const auto& box : panel::kCheckBoxes) {
        if ((panel.*box.member).Value != 0 && (panel.*box.member).Value != 1) std::abort();
    }
}

}  // namespace quorvik::fuzz
