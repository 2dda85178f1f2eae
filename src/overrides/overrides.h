#pragma once

// src/overrides: the game's Data folder beside the settings folder. It reads
// further tuning from there: override scripts that switch motion blur and
// depth of field off (here), and the skills file that holds the camera's field
// of view (skills_file.h, with its fixed text). Steps return the problems they
// met; the app words them.

#include <filesystem>
#include <string>
#include <vector>

#include "panel/panel.h"
#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::overrides {

// What went wrong, file by file; the app words it for the player. A step that
// meets a problem goes on with the rest of its files.
using Problems = std::vector<platform::Problem>;

// Save: writes the motion-blur scripts when Check4 is unchecked and deletes
// them when it is checked; the same for depth of field and Check11. A missing
// scripts folder is FolderMissing, its reason what could not be switched off.
Problems saveOverrideScripts(platform::System& system,
                                        const std::filesystem::path& settingsFolder,
                                        const panel::Panel& panel);

// Save: deletes the skills file at a field of view of exactly 62.5, writes it
// above, leaves it below (NotApplied). Blanks around the value are trimmed in
// the panel first; a value that is no plain number is NotANumber, with the
// 8-bit text as its reason, and the file is left alone.
Problems saveSkillsFile(platform::System& system, const std::filesystem::path& settingsFolder,
                        panel::Panel& panel);

// Load, at the end of "Set Video.scr": the check boxes from the marker files,
// then the field of view from the skills file.
void loadOverrideStates(platform::System& system, const std::filesystem::path& settingsFolder,
                        panel::Panel& panel);
Problems loadFieldOfView(platform::System& system, const std::filesystem::path& settingsFolder,
                         panel::Panel& panel);

}  // namespace quorvik::overrides
