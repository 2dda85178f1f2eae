#pragma once

// The Linux program's command line. Quell Moor may live in any of several Wine
// prefixes; --prefix DIR names the one to use, and no other is searched. It is
// read before the window system is reached, so --help, --version and a
// mistake need no display.

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "platform/system.h"

namespace quorvik::app {

struct CommandLine {
    std::optional<std::filesystem::path> prefix;
};

// The options, Qt's own (-platform, -style, ...) passed over: QApplication
// takes those. Nothing when the program is to end at once with exitCode: 0
// after --help, --version or --completion (printed on `out`), 1 when that
// could not be printed, 2 after saying on `err` what is wrong with the
// command line.
std::optional<CommandLine> readCommandLine(int argc, const char* const* argv, int& exitCode,
                                           std::ostream& out, std::ostream& err);

// The machine back end that looks for the game where the command line says.
std::unique_ptr<platform::System> linuxSystem(const CommandLine& options);

}  // namespace quorvik::app
