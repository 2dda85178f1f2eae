#pragma once

// What a launch told the player, as the launch tests read it.

#include <string>

#include "launch/launch.h"

namespace quorvik::launch {

// The reason it was not started, or the note once it runs; empty: nothing.
inline std::string toldText(const Launched& told) {
    if (!told) return told.problem().reason;
    return told->value_or(std::string());
}

// Started, with nothing to tell.
inline bool startedQuietly(const Launched& told) {
    return told && !*told;
}

}  // namespace quorvik::launch
