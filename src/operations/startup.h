#pragma once

// What start-up learns of the game before any settings are loaded: its
// entries in the registry (the version the window shows, the executable a
// launch starts), and where its settings folder is in the player's Documents
// folder, or why none was found.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::operations {

struct GameEntries {
    platform::Expected<std::string> version;  // UTF-8, cut at a NUL inside it
    platform::Expected<std::string> exePath;  // UTF-8, as the registry gives it
};
GameEntries readGameEntries(platform::System& system);

struct FolderSearch {
    // The folder that holds Video.scr, spelt as it is on disk; nothing when none does.
    std::optional<std::filesystem::path> found;
    bool noDocuments = false;           // the Documents folder itself was not found
    std::vector<std::string> searched;  // the folders looked in (UTF-8)
    std::vector<std::string> prefixes;  // the Wine prefixes looked in, where the game lives in one
};
FolderSearch findSettingsFolder(platform::System& system);

}  // namespace quorvik::operations
