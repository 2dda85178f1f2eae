#pragma once

// The game this tool edits, as Windows knows it: the registry key its installer
// writes (a 32-bit installer, so on 64-bit Windows it lies in the 32-bit view)
// and the values read from it; and where it keeps its settings in the player's
// Documents folder.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/wine/prefix_finder.h"

namespace quorvik::operations::game {

// Under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kSubkey = "Software\\Grenmark\\QuellMoor";
inline constexpr std::string_view kKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";
static_assert(kKeyPath.ends_with(kSubkey));
inline constexpr std::string_view kVersionValue = "Version";
inline constexpr std::string_view kExePathValue = "Exe_Path";

// The game's own folder name has no blank; some installs spell it with one.
inline constexpr std::array<std::string_view, 2> kGameFolders = {"QuellMoor", "Quell Moor"};
inline constexpr std::array<std::string_view, 2> kSettingsFiles = {"Video.scr", "Audio.scr"};

// The settings folder under the Documents folder, for one spelling of the game's folder.
inline std::filesystem::path settingsFolder(std::string_view gameFolder) {
    return std::filesystem::path(gameFolder) / "out" / "Settings";
}

// How the prefix finder knows the game inside a Wine prefix.
inline platform::wine::GameSignature signature() {
    platform::wine::GameSignature game;
    game.machineKey = std::string(kSubkey);
    game.programValue = std::string(kExePathValue);
    for (const std::string_view folder : kGameFolders) {
        game.settingsFolders.push_back(settingsFolder(folder).generic_string());
    }
    for (const std::string_view file : kSettingsFiles) game.settingsFiles.emplace_back(file);
    for (const std::string_view folder : kGameFolders) game.names.emplace_back(folder);
    return game;
}

}  // namespace quorvik::operations::game
