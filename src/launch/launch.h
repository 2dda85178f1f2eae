#pragma once

// src/launch: starting the game without its intro videos, the way the
// player's own launcher starts it: the executable itself on Windows; under
// Wine through the launcher the game's prefix belongs to (Steam, Lutris,
// Heroic, Bottles, umu), native or Flatpak, and only a prefix of no launcher's
// with the system's Wine.

#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace quorvik::launch {

// What starts the game.
struct LaunchPlan {
    std::vector<platform::LaunchRequest> requests;  // tried in order until one starts
    std::string note;     // not empty: something the player must know once it runs
    std::string instead;  // how to start the game when none of the requests could be run
};

// The plan for the executable exePath (UTF-8, as the registry gives it),
// started in its own folder; or why it is not started, in words.
platform::Expected<LaunchPlan> planLaunch(platform::System& system, const std::string& exePath);

// The game started, with what the player must know once it runs, if
// anything; or why it was not started, in words.
using Launched = platform::Expected<std::optional<std::string>>;

// Starts the game named by GameExePath with " -nologos" and does not wait for
// it; nothing for a path the registry did not give.
Launched launchGame(platform::System& system, const std::optional<std::string>& gameExePath);

}  // namespace quorvik::launch
