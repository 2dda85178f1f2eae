#pragma once

#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::platform::posix {

// Starts the program with its arguments as an array (never through a shell),
// in a session of its own and in the request's working folder, and does not
// wait for it. Fails when the program cannot be found or started.
Status startDetached(const LaunchRequest& request);

}  // namespace quorvik::platform::posix
