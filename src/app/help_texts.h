#pragma once

// The explanations shown when the pointer rests on a setting.

#include <span>
#include <string_view>
#include <vector>

#include "app/tool_tip_api.h"

namespace quorvik::app {

struct HelpText {
    std::string_view control;
    std::vector<std::string_view> lines;  // "" is a blank line
};

// In the order they are attached.
std::span<const HelpText> helpTexts();

// The first line of a control's explanation, what a screen reader reads as its
// description; empty for a control without one.
std::string_view helpSummary(std::string_view control);

// One text: its lines joined by CR LF, nothing after the last.
std::string assembleHelpText(const HelpText& help);

// The whole explanation of a control, as its tooltip shows it; empty for a
// control without one.
std::string helpTextOf(std::string_view control);

// Creates the tooltip, registers every control of the window and attaches the texts.
void setUpToolTips(ToolTipApi& toolTips);

}  // namespace quorvik::app
