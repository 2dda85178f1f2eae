#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/game.h"
#include "platform/posix/posix_system.h"

namespace quorvik::app {

std::optional<CommandLine> readCommandLine(int argc, const char* const* argv, int& exitCode) {
    CommandLine options;
    std::string prefix;
    CLI::App app("Quorvik: the settings of Quell Moor, which it finds in the game's Wine prefix.",
                 "quorvik");
    app.add_option("--prefix", prefix,
                   "the Wine prefix Quell Moor is installed in; no other prefix is searched")
        ->check(CLI::ExistingDirectory);
    // CLI11 reports a bad command line by throwing; here it becomes an exit code.
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        exitCode = app.exit(error, std::cout, std::cerr);
        return std::nullopt;
    }
    if (!prefix.empty()) options.prefix = std::filesystem::path(prefix);
    return options;
}

std::unique_ptr<platform::System> linuxSystem(const CommandLine& options) {
    return std::make_unique<platform::posix::PosixSystem>(
        platform::posix::processPrefixSearch(game::signature(), options.prefix), &std::cerr);
}

}  // namespace quorvik::app
