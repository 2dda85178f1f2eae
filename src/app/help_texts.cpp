#include "app/help_texts.h"

#include <algorithm>
#include <string>

#include "catalogue/catalogue.h"
#include "panel/layout.h"

namespace quorvik::app {
namespace {

// The "Set Video.scr" button's own text; the settings' texts are the catalogue's.
const std::vector<std::string_view> kSetVideoHelp = {
    "Video.scr path must be set to change load/change/backup/save settings. On Windows 7 & "
    "Vista this will be:",
    "\"C:\\Users\\%USERNAME%\\Documents\\QuellMoor\\out\\Settings\"",
    "Please enter the full path without a trailing \\ and without quotes."};

// The order in which start-up attaches the texts, by control; a setting's
// text that is not named here follows, in the catalogue's order.
constexpr std::string_view kAttachOrder[] = {
    "Command1", "Text1",  "Text4",  "Text5",  "Combo1", "Text10", "Text11",
    "Text12",   "Text13", "Text14", "Text15", "Text7",  "Text3",  "Check3",
    "Check4",   "Text8",  "Text9",  "Check2", "Combo6", "Combo5", "Text18",
    "Text19",   "Text20", "Text21", "Text22", "Text16", "Combo7", "Check5"};

const std::vector<HelpText>& table() {
    static const std::vector<HelpText> kTexts = [] {
        std::vector<HelpText> texts;
        for (const std::string_view control : kAttachOrder) {
            const catalogue::Setting* setting = catalogue::shownIn(control);
            texts.push_back({control, setting != nullptr ? setting->help : kSetVideoHelp});
        }
        for (const catalogue::Setting& setting : catalogue::settings()) {
            const std::string_view control = setting.controls.front();
            if (setting.help.empty() ||
                std::ranges::find(kAttachOrder, control) != std::end(kAttachOrder)) {
                continue;
            }
            texts.push_back({control, setting.help});
        }
        return texts;
    }();
    return kTexts;
}

}  // namespace

std::span<const HelpText> helpTexts() { return table(); }

std::string_view helpSummary(std::string_view control) {
    for (const auto& help : helpTexts()) {
        if (help.control == control && !help.lines.empty()) return help.lines.front();
    }
    return {};
}

std::string helpTextOf(std::string_view control) {
    for (const auto& help : helpTexts()) {
        if (help.control == control) return assembleHelpText(help);
    }
    return {};
}

std::string assembleHelpText(const HelpText& help) {
    std::string text;
    for (std::size_t i = 0; i < help.lines.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += help.lines[i];
    }
    return text;
}

void setUpToolTips(ToolTipApi& toolTips) {
    toolTips.Create();
    toolTips.setMaxTipWidth(240);
    toolTips.setDelayTime(2, 20000);
    for (const auto& control : panel::layout()) toolTips.AddTool(control.name, {});
    for (const auto& help : helpTexts()) toolTips.setToolText(help.control, assembleHelpText(help));
}

}  // namespace quorvik::app
