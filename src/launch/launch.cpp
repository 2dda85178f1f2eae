#include "launch/launch.h"

namespace quorvik::launch {

std::optional<std::string> launchGame(platform::System&, const std::string&) {
    return std::string("Launching the game is not available yet.");
}

}  // namespace quorvik::launch
