#pragma once

// The settings of Video.scr and Audio.scr one by one, as the window shows
// them: what typed input (the console, a profile, a preset) may set them to,
// and what a file on disk holds for them, which "Show Changes" compares with.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "platform/result.h"

namespace quorvik::settings {

// Sets a setting's value from typed text. A drop-down takes one of its
// entries, matched without regard to case; on/off takes on/off, 1/0 or
// true/false; a number a plain number of its kind, blanks trimmed; the
// resolution "width,height". The problem in words (naming what it takes)
// when the setting cannot take it, and then nothing changes. Not for the
// field of view, whose rule is the skills file's.
platform::Status setTyped(catalogue::Values& values, const catalogue::Setting& setting,
                          std::string_view text);

// A setting as a file on disk holds it, in the window's terms; nothing when
// the file has no line for it. The last line of a key counts, as on load.
std::optional<std::string> fileText(std::span<const std::string> lines,
                                    const catalogue::Setting& setting);

}  // namespace quorvik::settings
