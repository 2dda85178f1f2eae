#include "operations/startup.h"

#include "operations/game.h"
#include "platform/paths.h"
#include "platform/registry_value.h"

namespace quorvik::operations {
namespace {

platform::Expected<std::string> gameValue(platform::System& system, std::string_view name) {
    auto value = platform::readRegistryString(system.registry(), platform::kHkeyLocalMachine,
                                              std::string(game::kSubkey), std::string(name),
                                              platform::ViewPolicy::Prefer32Bit);
    if (value) {
        if (const auto nul = value->find('\0'); nul != std::string::npos) value->erase(nul);
    }
    return value;
}

}  // namespace

GameEntries readGameEntries(platform::System& system) {
    return {gameValue(system, game::kVersionValue), gameValue(system, game::kExePathValue)};
}

FolderSearch findSettingsFolder(platform::System& system) {
    FolderSearch search;
    search.prefixes = system.searchedPlaces();
    const auto documents = system.documentsFolder();
    if (!documents) {
        search.noDocuments = true;
        return search;
    }
    for (const std::string_view gameFolder : game::kGameFolders) {
        const auto folder = *documents / game::settingsFolder(gameFolder);
        if (system.fileExists(folder / "Video.scr")) {
            search.found = system.nativePath(platform::pathToUtf8(folder));
            return search;
        }
        search.searched.push_back(platform::pathToUtf8(folder));
    }
    return search;
}

}  // namespace quorvik::operations
