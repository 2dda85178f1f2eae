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

// What starts the game, or why it is not started.
struct LaunchPlan {
    std::vector<platform::LaunchRequest> requests;  // tried in order until one starts
    std::string problem;                            // not empty: nothing is started
    std::string note;     // not empty: something the player must know once it runs
    std::string instead;  // how to start the game when none of the requests could be run
};

// The plan for the executable exePath (UTF-8, as the registry gives it),
// started in its own folder.
LaunchPlan planLaunch(platform::System& system, const std::string& exePath);

// What the player is told after Launch.
struct LaunchMessage {
    bool problem = false;  // the game was not started
    std::string text;

    bool operator==(const LaunchMessage&) const = default;
};

// Starts the game named by GameExePath with " -nologos" and does not wait for
// it; nothing for a path the registry did not give. Returns what to tell the
// player, if anything.
std::optional<LaunchMessage> launchGame(platform::System& system,
                                        const std::optional<std::string>& gameExePath);

}  // namespace quorvik::launch
