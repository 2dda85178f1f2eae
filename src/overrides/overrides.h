#pragma once

// src/overrides: the game's Data folder beside the settings folder. It reads
// further tuning from there: override scripts that switch motion blur and
// depth of field off (here), and the skills file that holds the camera's field
// of view (skills_file.h, with its fixed text). What the files hold and which
// file serves which box; reading them and saving them are operations'.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"

namespace quorvik::overrides {

// An effect is switched off by writing its scripts and on again by removing
// them, which leaves the game's own values in force. Removal has an order of
// its own, not the order of writing. On load one file, the marker, tells
// whether the effect is off.
struct Effect {
    catalogue::SettingId setting;  // on or off
    std::span<const std::string_view> written;
    std::span<const std::string_view> deleted;
    std::string_view marker;
};

// Motion blur, then depth of field.
std::span<const Effect> effects();

// The five scripts' names, in the order they are written.
std::span<const std::string_view> scriptNames();

// A script's whole text as the tool writes it, every line ended by CR LF.
std::string scriptText(std::string_view name);

// Where the Data folder's files live, beside the settings folder.
std::filesystem::path scriptsFolder(const std::filesystem::path& settingsFolder);
std::filesystem::path skillsFolder(const std::filesystem::path& settingsFolder);
std::filesystem::path skillsFile(const std::filesystem::path& settingsFolder);

}  // namespace quorvik::overrides
