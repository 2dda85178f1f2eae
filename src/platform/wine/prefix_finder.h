#pragma once

// Finding the Wine prefix a game lives in, on a Linux machine where players
// keep Windows games in prefixes of their own (~/.wine, $WINEPREFIX) or of a
// launcher: Steam's Proton (native, Flatpak or Snap), Lutris, Heroic, Bottles
// (native or Flatpak) and umu.
// Everything the search depends on is passed in; files are read through the
// machine's reader, folders are listed directly.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace quorvik::platform::wine {

// What marks the game inside a prefix.
struct GameSignature {
    std::string machineKey;                    // under HKEY_LOCAL_MACHINE, either view; UTF-8
    std::string programValue;                  // the key's value naming the game's program
    std::vector<std::string> settingsFolders;  // under the Documents folder, "/" between parts
    std::vector<std::string> settingsFiles;    // in the settings folder; their age shows use
    std::vector<std::string> names;  // what a Steam app manifest may call it (name or folder)
};

struct PrefixSearch {
    std::optional<std::filesystem::path> home;
    std::optional<std::filesystem::path> dataHome;    // $XDG_DATA_HOME; else ~/.local/share
    std::optional<std::filesystem::path> configHome;  // $XDG_CONFIG_HOME; else ~/.config
    std::optional<std::filesystem::path> chosenPrefix;  // --prefix: this one and no other
    std::optional<std::filesystem::path> winePrefix;    // $WINEPREFIX: likewise
    std::string login;                                  // the name under drive_c/users
    GameSignature game;
};

struct PrefixCandidate {
    WinePrefix prefix;
    std::string origin;  // where it was found, in words: "~/.wine", "Lutris (quell-moor.yml)"
};

// Every prefix the game may live in, in the order they are tried: --prefix or
// else $WINEPREFIX alone; otherwise ~/.wine, the Proton prefixes of every
// Steam root's libraries, the prefixes of Lutris' game configs, of Heroic's
// games and its default prefixes folder, Bottles' bottles (in its bottles
// folder or the player's own) and umu's. A folder reached twice is listed
// once, where it was first reached, with the games its launcher starts there.
std::vector<PrefixCandidate> candidatePrefixes(const PrefixSearch& search, const FileReader& read);

struct PrefixChoice {
    std::optional<PrefixCandidate> chosen;
    std::string reason;                 // why this one, or why none
    std::vector<std::string> searched;  // the prefixes looked in; where there were none,
                                        // the places prefixes were looked for
};

// The candidate the game is played from: one that holds the game's registry
// key beats one that does not; then, among several with the key, one that
// still holds the program its key names; then one whose Documents folder holds
// the settings folder; then the one used last (the newest of its system.reg,
// user.reg, pfx.lock and settings files); then the earlier one. A candidate
// with neither the key nor the settings folder is never chosen, except the one
// named by --prefix, which always is, and the one named by $WINEPREFIX where
// no prefix found in the usual places holds either.
PrefixChoice choosePrefix(const PrefixSearch& search, const FileReader& read);

// The game as the Steams under home know it from their app manifests: the one
// with the app id given where there is one, else one whose name or install
// folder is one of the game's names (letter case aside), in library order;
// and only where its install folder exists.
std::optional<SteamGame> findSteamGame(const PrefixSearch& search, const FileReader& read,
                                       std::string_view appId);

}  // namespace quorvik::platform::wine
