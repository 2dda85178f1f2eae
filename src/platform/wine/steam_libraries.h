#pragma once

// Steam keeps the list of its library folders in steamapps/libraryfolders.vdf,
// a text file of quoted keys, values and braced blocks. Each library holds the
// Proton prefixes of its games under steamapps/compatdata. Libraries added
// before that file existed are named only in config/config.vdf.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::platform::wine {

// The library folders the file lists, in file order, as UTF-8 paths. Reads the
// old layout ("LibraryFolders" { "1" "/path" }) and the current one
// ("libraryfolders" { "0" { "path" "/path" ... } }); keys compare without
// regard to case. A byte-order mark is passed over like anything else that is
// not a key, garbage included.
std::vector<std::string> parseLibraryFolders(std::string_view text);

// The library folders of config.vdf: the values of "BaseInstallFolder_<n>"
// keys at any depth, in file order.
std::vector<std::string> parseConfigLibraryFolders(std::string_view text);

// A game's app manifest (steamapps/appmanifest_<app id>.acf): "AppState" with
// its "appid", "name" and "installdir", the folder under steamapps/common.
struct SteamAppManifest {
    std::string appId;
    std::string name;
    std::string installDir;
};
// Nothing unless the file holds an app id and an install folder.
std::optional<SteamAppManifest> parseAppManifest(std::string_view text);

}  // namespace quorvik::platform::wine
