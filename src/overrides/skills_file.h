#pragma once

// The game's skills file, default_levels.xml: thirty level elements, of which
// the tool changes one property, the camera's field of view. The tool writes the
// whole file from its own fixed text; only the field of view varies.

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"

namespace quorvik::overrides {

// The setting the skills file holds.
inline constexpr catalogue::SettingId kSkillsSetting = catalogue::SettingId::FieldOfView;

// The whole file, 400 lines each ended by CR LF, with fieldOfView (8-bit text)
// as the value of CameraDefaultFOV.
std::string skillsFileText(std::string_view fieldOfView);

// The field of view from the file's lines (CR LF, LF or CR), taken from the last
// line whose characters 10 to 25 are "CameraDefaultFOV": the text from character
// 31 up to its closing double quote, or up to four characters when there is
// none. Nothing when no line matches.
std::optional<std::string> fieldOfViewIn(std::string_view fileBytes);

// How a field of view compares with the game's own, 62.5: negative, zero or
// positive. Nothing when the text is not a plain decimal number (digits with at
// most one "."). Exact and independent of the user's locale.
std::optional<int> compareWithTheGamesView(std::string_view text);

// Whether the game can take a field of view: a plain decimal number up to
// 99.9. The load reads the value back as the form 00.0, four characters, so a
// wider one would not survive.
bool gameTakesFieldOfView(std::string_view text);

}  // namespace quorvik::overrides
