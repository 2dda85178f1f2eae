#include "platform/help_texts.h"

#include <string>

#include "panel/layout.h"

namespace quorvik::platform {
namespace {

const std::vector<HelpText>& table() {
    static const std::vector<HelpText> kTexts = {};
    return kTexts;
}

}  // namespace

std::span<const HelpText> helpTexts() { return table(); }

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

}  // namespace quorvik::platform
