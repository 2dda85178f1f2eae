#pragma once

// src/operations: what the window's commands do, with no toolkit: load the
// game's files, and save, back up and restore them as a plan that is shown
// first and then carried out whole, on the settings' values as the catalogue
// keys them. Form1's handlers and quorvik-cli are adapters over these.
//
// Setting a value from typed text, whichever setting it is: what the
// console, a profile, a preset and a control's menu go through.

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "platform/result.h"

namespace quorvik::operations {

using catalogue::Place;
using catalogue::Setting;
using catalogue::SettingId;
using catalogue::Values;

// Sets a setting's value from such a text (8-bit), checked as typed input:
// a drop-down takes one of its entries (letter case aside), on/off takes
// on/off, 1/0 or true/false, a number box a plain number of its kind, the
// field of view a decimal up to 99.9; blanks around it are dropped. What it
// takes, in words, when the text does not fit, and then nothing changes.
platform::Status setValue(Values& values, const Setting& setting, std::string_view text);

}  // namespace quorvik::operations
