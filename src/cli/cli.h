#pragma once

// quorvik-cli: the window's commands from a console, with no window and no
// questions. The same session does the work and the same words tell what it
// did; this reads the command line and runs one command function a
// subcommand (commands.h), each taking its exit status from what it reported.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>

#include "platform/system.h"

namespace quorvik::cli {

// The machine, for a Wine prefix the user named (Linux) or the usual search;
// nothing, with the reason in `error`, when the command line asks for one that
// cannot be had.
using MachineFactory = std::function<std::unique_ptr<platform::System>(
    const std::optional<std::filesystem::path>& prefix, std::string& error)>;

// Exit status: 0 done, 1 an operation failed (its message on `err`), 2 the
// command line was wrong and nothing was done.
int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
        const MachineFactory& machine);

}  // namespace quorvik::cli
