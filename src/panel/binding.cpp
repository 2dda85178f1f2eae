#include "panel/binding.h"

#include "panel/lists.h"

namespace quorvik::panel {
namespace {

using catalogue::Setting;

// Reads or sets one part of a setting's value in the control that shows it.
template <typename Visit>
void eachControl(const Setting& setting, Visit&& visit) {
    for (std::size_t part = 0; part < setting.controls.size(); ++part)
        visit(setting.controls[part], part);
}

template <typename Control, std::size_t N>
const Control* named(const Panel& panel, const std::array<Named<Control>, N>& table,
                     std::string_view name) {
    for (const auto& entry : table) {
        if (entry.name == name) return &(panel.*entry.member);
    }
    return nullptr;
}

}  // namespace

catalogue::Values valuesOf(const Panel& panel) {
    catalogue::Values values;
    for (const Setting& setting : catalogue::settings()) {
        eachControl(setting, [&](std::string_view name, std::size_t part) {
            std::string& value = values.part(setting.id, part);
            if (const TextBox* box = named(panel, kTextBoxes, name)) value = box->Text;
            if (const ComboBox* box = named(panel, kComboBoxes, name)) value = box->Text;
            if (const CheckBox* box = named(panel, kCheckBoxes, name))
                value = box->Value != 0 ? "on" : "off";
        });
    }
    return values;
}

std::string valueOf(const Panel& panel, catalogue::SettingId setting) {
    return valuesOf(panel).shown(setting);
}

void show(const catalogue::Values& values, Panel& panel) {
    for (const Setting& setting : catalogue::settings()) {
        eachControl(setting, [&](std::string_view name, std::size_t part) {
            const std::string& value = values.part(setting.id, part);
            if (TextBox* box = panel.textBox(name)) box->Text = value;
            if (ComboBox* box = panel.comboBox(name)) {
                if (box->Text != value) box->setText(value);
            }
            if (CheckBox* box = panel.checkBox(name)) box->Value = value == "on" ? 1 : 0;
        });
    }
}

catalogue::Values startValues() {
    Panel panel;
    addListEntries(panel);
    for (const auto& combo : kComboBoxes) (panel.*combo.member).select(0);
    return valuesOf(panel);
}

void addListEntries(Panel& panel) {
    for (const auto& combo : kComboBoxes) {
        if (const Setting* setting = catalogue::shownIn(combo.name)) {
            for (const auto entry : setting->entries)
                (panel.*combo.member).AddItem(std::string(entry));
        }
    }
}

}  // namespace quorvik::panel
