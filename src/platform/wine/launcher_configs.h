#pragma once

// What the Linux game launchers write about their games and prefixes: Lutris'
// game configs (YAML), Heroic's GamesConfig, config.json and store files
// (JSON), and Bottles' bottle.yml, data.yml and placeholder.yml. Each reader
// takes the file's text and returns what it could read; text it cannot read
// gives nothing, never an exception.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::platform::wine {

// A Lutris game config. Lutris finds the prefix from the executable's path
// where "game: prefix:" is missing.
struct LutrisGame {
    std::string prefix;     // game: prefix, as written; may start with "~/"
    std::string exe;        // game: exe; relative to the game's folder when not absolute
    std::string arguments;  // game: args
    std::string slug;       // game_slug
};
// Nothing for a config with neither a prefix nor an executable (not a Wine game).
std::optional<LutrisGame> parseLutrisGame(std::string_view yaml);

// One object per game in Heroic's GamesConfig/<app name>.json, keyed by its app
// name; a game without a "winePrefix" of its own is played in Heroic's default.
struct HeroicGameConfig {
    std::string appName;
    std::string winePrefix;
    std::string arguments;  // launcherArgs: what Heroic adds to the game's command line
};
std::vector<HeroicGameConfig> parseHeroicGamesConfig(std::string_view json);

// Heroic's config.json: the prefix games share ("winePrefix", older Heroic) and
// the folder that holds a prefix per game, named after its title; newer Heroic
// names a folder for them beside it.
struct HeroicDefaults {
    std::string winePrefix;
    std::string prefixesFolder;  // defaultWinePrefix
    std::string prefixesDir;     // defaultWinePrefixDir
};
HeroicDefaults parseHeroicDefaults(std::string_view json);

// The stores whose installed games Heroic lists, each in a file of its own
// shape; the store's name is what Heroic's launch links call its runner.
enum class HeroicStore { Legendary, Gog, Sideload, Nile };
std::string_view heroicStoreName(HeroicStore store);

struct HeroicInstalled {
    std::string appName;
    std::string title;        // empty where the store file holds none
    std::string installPath;  // the game's folder
};
std::vector<HeroicInstalled> parseHeroicInstalled(HeroicStore store, std::string_view json);

// A store's library cache: {"games": [{"app_name", "title"}]}, or "library" in
// place of "games" (Amazon's). Titles by app name.
std::vector<std::pair<std::string, std::string>> parseHeroicTitles(std::string_view json);

// The name Heroic gives a game's own prefix folder: its title without the
// characters it strips from folder names.
std::string heroicFolderName(std::string_view title);

// A bottle's bottle.yml: its "Name", which bottles-cli knows it by.
std::optional<std::string> parseBottleName(std::string_view yaml);
// Bottles' data.yml: the folder the player chose for the bottles
// ("custom_bottles_path").
std::optional<std::string> parseBottlesCustomPath(std::string_view yaml);
// The placeholder.yml Bottles leaves for a bottle kept elsewhere: its "Path".
std::optional<std::string> parseBottlePlaceholder(std::string_view yaml);

// A game Bottles runs through umu, as its umu/games/<id>/game.yml says.
struct BottlesUmuGame {
    std::string executable;  // absolute
    std::string prefix;      // under Bottles' umu folder where managed, else absolute
    bool managed = true;
    std::string proton;    // what umu is given as PROTONPATH
    std::string gameId;    // umu's game id ("umu-default" unless given)
    std::string store;     // "none" unless given
    bool noIntro = false;  // its arguments hold -nologos
};
// Nothing without an executable and a prefix path.
std::optional<BottlesUmuGame> parseBottlesUmuGame(std::string_view yaml);

}  // namespace quorvik::platform::wine
