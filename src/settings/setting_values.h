#pragma once

// The settings of Video.scr and Audio.scr one by one, by their keys, as the
// window shows them: what the console front end prints and takes, and what
// "Show Changes" compares with the files on disk.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panel/panel.h"
#include "settings/scr_format.h"

namespace quorvik::settings {

// The template lines that carry a value, in file order.
std::vector<const TemplateLine*> videoSettings();
std::vector<const TemplateLine*> audioSettings();

// A setting as the window shows it: a text box's text, the resolution as
// "width,height", a drop-down's field text, a check box "on" or "off".
std::string windowText(const panel::Panel& panel, const TemplateLine& line);

// Sets a setting's control from such a text. A drop-down takes one of its
// entries, matched without regard to case; a check box on/off, 1/0 or
// true/false; a number box a plain number of its kind, blanks trimmed. The
// problem in words (naming what it takes) when the control cannot take it,
// and then nothing changes.
std::optional<std::string> setWindowText(panel::Panel& panel, const TemplateLine& line,
                                         std::string_view text);

// A setting as a file on disk holds it, in the window's terms; nothing when
// the file has no line for it. The last line of a key counts, as on load.
std::optional<std::string> fileText(std::span<const std::string> lines, const TemplateLine& line);

}  // namespace quorvik::settings
