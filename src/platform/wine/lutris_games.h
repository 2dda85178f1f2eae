#pragma once

// Lutris keeps its games in pga.db, an SQLite database beside its games
// folder: the id its launch links name a game by, the game's slug and folder,
// and the name of the game's config file.

#include <filesystem>
#include <string>
#include <vector>

namespace quorvik::platform::wine {

struct LutrisEntry {
    std::string id;          // as lutris:rungameid/<id> names it
    std::string slug;        // as lutris:rungame/<slug> names it
    std::string directory;   // the game's folder; relative executables lie in it
    std::string configPath;  // the config file's name in the games folder, without ".yml"
};

// Every game of the database, read without changing or locking it; none when
// it is not a regular file, cannot be opened or is not Lutris' (no games table).
std::vector<LutrisEntry> readLutrisGames(const std::filesystem::path& database);

}  // namespace quorvik::platform::wine
