#include "panel/panel.h"

#include <algorithm>

#include "panel/layout.h"

namespace quorvik::panel {

void ComboBox::select(int position) {
    if (position < 0 || position >= static_cast<int>(List.size())) return;
    ListIndex = position;
    Text = List[static_cast<std::size_t>(position)];
}

void ComboBox::setText(std::string text) {
    const auto found = std::find(List.begin(), List.end(), text);
    ListIndex = found == List.end() ? -1 : static_cast<int>(found - List.begin());
    Text = std::move(text);
}

const std::array<Named<TextBox>, 22> kTextBoxes = {{
    {"Text1", &Panel::Text1},
    {"Text2", &Panel::Text2},
    {"Text3", &Panel::Text3},
    {"Text4", &Panel::Text4},
    {"Text5", &Panel::Text5},
    {"Text6", &Panel::Text6},
    {"Text7", &Panel::Text7},
    {"Text8", &Panel::Text8},
    {"Text9", &Panel::Text9},
    {"Text10", &Panel::Text10},
    {"Text11", &Panel::Text11},
    {"Text12", &Panel::Text12},
    {"Text13", &Panel::Text13},
    {"Text14", &Panel::Text14},
    {"Text15", &Panel::Text15},
    {"Text16", &Panel::Text16},
    {"Text17", &Panel::Text17},
    {"Text18", &Panel::Text18},
    {"Text19", &Panel::Text19},
    {"Text20", &Panel::Text20},
    {"Text21", &Panel::Text21},
    {"Text22", &Panel::Text22},
}};

const std::array<Named<ComboBox>, 8> kComboBoxes = {{
    {"Combo1", &Panel::Combo1},
    {"Combo2", &Panel::Combo2},
    {"Combo3", &Panel::Combo3},
    {"Combo4", &Panel::Combo4},
    {"Combo5", &Panel::Combo5},
    {"Combo6", &Panel::Combo6},
    {"Combo7", &Panel::Combo7},
    {"Combo8", &Panel::Combo8},
}};

const std::array<Named<CheckBox>, 11> kCheckBoxes = {{
    {"Check1", &Panel::Check1},
    {"Check2", &Panel::Check2},
    {"Check3", &Panel::Check3},
    {"Check4", &Panel::Check4},
    {"Check5", &Panel::Check5},
    {"Check6", &Panel::Check6},
    {"Check7", &Panel::Check7},
    {"Check8", &Panel::Check8},
    {"Check9", &Panel::Check9},
    {"Check10", &Panel::Check10},
    {"Check11", &Panel::Check11},
}};

const std::array<Named<Label>, 47> kLabels = {{
    {"Label1", &Panel::Label1},
    {"Label2", &Panel::Label2},
    {"Label3", &Panel::Label3},
    {"Label4", &Panel::Label4},
    {"Label5", &Panel::Label5},
    {"Label6", &Panel::Label6},
    {"Label7", &Panel::Label7},
    {"Label8", &Panel::Label8},
    {"Label9", &Panel::Label9},
    {"Label10", &Panel::Label10},
    {"Label11", &Panel::Label11},
    {"Label12", &Panel::Label12},
    {"Label13", &Panel::Label13},
    {"Label14", &Panel::Label14},
    {"Label15", &Panel::Label15},
    {"Label16", &Panel::Label16},
    {"Label17", &Panel::Label17},
    {"Label18", &Panel::Label18},
    {"Label19", &Panel::Label19},
    {"Label20", &Panel::Label20},
    {"Label21", &Panel::Label21},
    {"Label22", &Panel::Label22},
    {"Label23", &Panel::Label23},
    {"Label24", &Panel::Label24},
    {"Label25", &Panel::Label25},
    {"Label26", &Panel::Label26},
    {"Label27", &Panel::Label27},
    {"Label28", &Panel::Label28},
    {"Label29", &Panel::Label29},
    {"Label30", &Panel::Label30},
    {"Label31", &Panel::Label31},
    {"Label32", &Panel::Label32},
    {"Label33", &Panel::Label33},
    {"Label34", &Panel::Label34},
    {"Label35", &Panel::Label35},
    {"Label36", &Panel::Label36},
    {"Label37", &Panel::Label37},
    {"Label38", &Panel::Label38},
    {"Label39", &Panel::Label39},
    {"Label40", &Panel::Label40},
    {"Label41", &Panel::Label41},
    {"Label42", &Panel::Label42},
    {"Label43", &Panel::Label43},
    {"Label44", &Panel::Label44},
    {"Label45", &Panel::Label45},
    {"Label46", &Panel::Label46},
    {"Label47", &Panel::Label47},
}};

const std::array<Named<Button>, 2> kButtons = {{
    {"Command1", &Panel::Command1},
    {"Command2", &Panel::Command2},
}};

namespace {

template <typename Control, std::size_t N>
Control* find(Panel& panel, const std::array<Named<Control>, N>& table, std::string_view name) {
    for (const auto& entry : table) {
        if (entry.name == name) return &(panel.*entry.member);
    }
    return nullptr;
}

}  // namespace

Panel::Panel() {
    for (const auto& control : layout()) {
        const std::string initial(control.text);
        if (auto* box = textBox(control.name)) box->Text = initial;
        if (auto* box = comboBox(control.name)) box->Text = initial;
        if (auto* caption = label(control.name)) caption->Caption = initial;
        if (auto* command = button(control.name)) command->Caption = initial;
    }
    Label47.ForeColor = kYellow;
}

TextBox* Panel::textBox(std::string_view name) { return find(*this, kTextBoxes, name); }
ComboBox* Panel::comboBox(std::string_view name) { return find(*this, kComboBoxes, name); }
CheckBox* Panel::checkBox(std::string_view name) { return find(*this, kCheckBoxes, name); }
Label* Panel::label(std::string_view name) { return find(*this, kLabels, name); }
Button* Panel::button(std::string_view name) { return find(*this, kButtons, name); }

}  // namespace quorvik::panel
