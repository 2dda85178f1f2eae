#pragma once

// A player's home folder in a temporary folder, with Wine prefixes laid out
// as Wine, Proton and the launchers leave them: registry files, Documents
// folders with the game's settings, Steam's library lists and the launchers'
// configs.

#include <array>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/wine/prefix_finder.h"
#include "support/temp_dir.h"

namespace quorvik::testing {

namespace fs = std::filesystem;

enum class GameKey { None, Plain, Wow6432Node };

// The game as the tool looks for it.
platform::wine::GameSignature gameSignature();

// A prefix with a system.reg as Wine writes it, with or without the game's key
// (its Version and Exe_Path), drive_c and the dosdevices link of C:.
void makePrefix(const fs::path& root, GameKey key, const std::string& exePath = {},
                const std::string& version = "1.4.2");

// The typical Video.scr and Audio.scr of tests/data in the prefix's
// Documents folder, in the settings folder spelt as given. Returns that folder.
fs::path makeSettings(const fs::path& prefix, const std::string& user = "steamuser",
                      const std::string& settingsFolder = "QuellMoor/out/Settings");

// Gives every file of the prefix (and its pfx.lock) the time now - age.
void age(const fs::path& prefix, std::chrono::hours age);

// libraryfolders.vdf as current Steam writes it, and as older Steam did.
std::string libraryFoldersVdf(const std::vector<fs::path>& libraries);
std::string oldLibraryFoldersVdf(const std::vector<fs::path>& libraries);

// A temporary home folder and the search the tool makes in it.
struct FixtureHome {
    TempDir dir;
    fs::path home = dir / "home";

    FixtureHome();
    platform::wine::PrefixSearch search() const;

    // Steam roots under home and their Proton prefixes.
    fs::path nativeSteam() const { return home / ".local/share/Steam"; }
    fs::path flatpakSteam() const { return home / ".var/app/com.valvesoftware.Steam/data/Steam"; }
    fs::path snapSteam() const { return home / "snap/steam/common/.local/share/Steam"; }
    static fs::path protonPrefix(const fs::path& library, const std::string& appId) {
        return library / "steamapps/compatdata" / appId / "pfx";
    }
    void listLibraries(const fs::path& steamRoot, const std::vector<fs::path>& libraries) const;

    // Lutris' data folder (native, or its Flatpak's), and a game config in
    // its games folder: the prefix (none: Lutris finds it from the executable),
    // the executable and the game's arguments, as Lutris writes them.
    fs::path lutrisData(bool flatpak = false) const {
        return flatpak ? home / ".var/app/net.lutris.Lutris/data/lutris" : home / ".local/share/lutris";
    }
    void lutrisGame(const fs::path& data, const std::string& config, const fs::path& prefix,
                    const fs::path& exe, const std::string& arguments = {}) const;
    // Lutris' pga.db with one game per row: id, slug, directory, config file's name.
    void lutrisDatabase(const fs::path& data,
                        const std::vector<std::array<std::string, 4>>& games) const;

    // Heroic's config folder (native, or its Flatpak's); a game's GamesConfig
    // file (no prefix: Heroic's default), a store file listing it, and
    // config.json's defaults.
    fs::path heroicConfig(bool flatpak = false) const {
        return flatpak ? home / ".var/app/com.heroicgameslauncher.hgl/config/heroic"
                       : home / ".config/heroic";
    }
    void heroicGame(const fs::path& config, const std::string& appName, const fs::path& prefix,
                    const std::string& arguments = {}) const;
    // store: "legendary", "gog", "sideload" or "nile", each written in its own shape.
    void heroicInstalled(const fs::path& config, const std::string& store,
                         const std::string& appName, const std::string& title,
                         const fs::path& installPath) const;
    // prefixesDir: the folder newer Heroic also names for the games' prefixes.
    void heroicDefaults(const fs::path& config, const fs::path& sharedPrefix,
                        const fs::path& prefixesFolder, const fs::path& prefixesDir = {}) const;

    // A Bottles bottle in a bottles folder; returns the bottle's folder.
    fs::path bottle(const std::string& name, const std::string& runner,
                    const fs::path& bottles = {}) const;
    fs::path bottlesData(bool flatpak = false) const {
        return flatpak ? home / ".var/app/com.usebottles.bottles/data/bottles"
                       : home / ".local/share/bottles";
    }
};

}  // namespace quorvik::testing
