#pragma once

// The Linux program's command line. Quell Moor may live in any of several Wine
// prefixes; --prefix DIR names the one to use, and no other is searched.

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/system.h"

namespace quorvik::app {

struct CommandLine {
    std::optional<std::filesystem::path> prefix;
};

// The options, after Qt has taken its own out of argv. Nothing when the
// program is to end at once with exitCode: after --help (0), or after saying
// what is wrong with the command line.
std::optional<CommandLine> readCommandLine(int argc, const char* const* argv, int& exitCode);

// The machine back end that looks for the game where the command line says.
std::unique_ptr<platform::System> linuxSystem(const CommandLine& options);

}  // namespace quorvik::app
