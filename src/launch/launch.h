#pragma once

// Starting the game without its intro videos.

#include <optional>
#include <string>

#include "platform/system.h"

namespace quorvik::launch {

// What starts the game: the executable with its quoted command line on Windows;
// under Wine the prefix's wine, or Steam for a Proton prefix. exePath is UTF-8.
platform::LaunchRequest launchRequest(platform::System& system, const std::string& exePath);

// Starts the game named by GameExePath (UTF-8, as the registry gives it)
// with " -nologos", and does not wait for it. Returns the message to show when
// it cannot be started, naming the problem.
std::optional<std::string> launchGame(platform::System& system, const std::string& gameExePath);

}  // namespace quorvik::launch
