#pragma once

// The game reads further tuning from its Data folder beside the settings
// folder: override scripts that switch motion blur and depth of field off, and
// the skills file that holds the camera's field of view.

#include <filesystem>
#include <string>
#include <vector>

#include "panel/panel.h"
#include "platform/system.h"

namespace quorvik::overrides {

// A message for the user, with its message-box style.
struct Notice {
    std::string text;  // UTF-8
    int style;

    bool operator==(const Notice&) const = default;
};

// Save: writes the motion-blur scripts when Check4 is unchecked and deletes
// them when it is checked; the same for depth of field and Check11.
std::vector<Notice> saveOverrideScripts(platform::System& system,
                                        const std::filesystem::path& settingsFolder,
                                        const panel::Panel& panel);

// Save: deletes the skills file at a field of view of exactly 62.5, writes it
// above, leaves it below.
std::vector<Notice> saveSkillsFile(platform::System& system,
                                   const std::filesystem::path& settingsFolder,
                                   const panel::Panel& panel);

// Load, at the end of "Set Video.scr": the check boxes from the marker files,
// then the field of view from the skills file.
std::vector<Notice> loadOverrideStates(platform::System& system,
                                       const std::filesystem::path& settingsFolder,
                                       panel::Panel& panel);
std::vector<Notice> loadFieldOfView(platform::System& system,
                                    const std::filesystem::path& settingsFolder,
                                    panel::Panel& panel);

}  // namespace quorvik::overrides
