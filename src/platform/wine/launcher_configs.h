#pragma once

// What the Linux game launchers write about a game's prefix: Lutris' game
// configs (YAML), Heroic's GamesConfig files (JSON) and a Bottles bottle's
// bottle.yml. Each reader takes the file's text and returns what it could read;
// text it cannot read gives nothing, never an exception.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::platform::wine {

// A Lutris game config: "game: prefix:" and the Wine build of "wine:
// version:" (a folder under Lutris' runners/wine) or "wine: custom_wine_path:".
struct LutrisGame {
    std::string prefix;       // as written; may start with "~/"
    std::string wineVersion;  // empty: the default of runners/wine.yml
    std::string customWinePath;
};
std::optional<LutrisGame> parseLutrisGame(std::string_view yaml);

// Heroic keeps one object per game, keyed by its app name, with "winePrefix"
// and the "wineVersion" it runs the game with.
struct HeroicGame {
    std::string winePrefix;
    std::string wineBin;   // wineVersion.bin: wine, or Proton's proton script
    std::string wineType;  // wineVersion.type: "wine", "proton", ...
};
std::vector<HeroicGame> parseHeroicGamesConfig(std::string_view json);

// The runner of a Bottles bottle ("Runner:"), a folder under Bottles' runners;
// "sys-..." is the system's Wine.
std::optional<std::string> parseBottleRunner(std::string_view yaml);

}  // namespace quorvik::platform::wine
