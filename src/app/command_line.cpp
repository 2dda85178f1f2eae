#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/identity.h"
#include "console/completion.h"
#include "operations/game.h"
#include "platform/posix/posix_system.h"

namespace quorvik::app {

namespace game = operations::game;
namespace {

// The options QApplication takes out of the command line itself, with one
// dash or two, and whether the next word is their value.
struct QtOption {
    std::string_view name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"qwindowicon", true},
    {"qwindowtitle", true},
    {"session", true},
    {"style", true},
    {"stylesheet", true},
    {"display", true},
    {"geometry", true},
    {"name", true},
    {"title", true},
    {"qmljsdebugger", false},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"sync", false},
};

// argv without Qt's options; "--" ends them as it ends ours.
std::vector<const char*> withoutQtOptions(int argc, const char* const* argv) {
    std::vector<const char*> kept;
    bool options = true;
    for (int i = 0; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (i == 0 || !options || !word.starts_with('-')) {
            kept.push_back(argv[i]);
            continue;
        }
        if (word == "--") options = false;
        std::string_view name = word.substr(word.starts_with("--") ? 2 : 1);
        const auto equals = name.find('=');
        const bool valueAttached = equals != std::string_view::npos;
        name = name.substr(0, equals);
        const auto qt = std::find_if(std::begin(kQtOptions), std::end(kQtOptions),
                                     [&](const QtOption& o) { return o.name == name; });
        if (qt == std::end(kQtOptions)) {
            kept.push_back(argv[i]);
        } else if (qt->takesValue && !valueAttached && i + 1 < argc) {
            ++i;
        }
    }
    return kept;
}

}  // namespace

std::optional<CommandLine> readCommandLine(int argc, const char* const* argv, int& exitCode,
                                           std::ostream& out, std::ostream& err) {
    CommandLine options;
    std::string prefix;
    CLI::App app("Quorvik: the settings of Quell Moor, which it finds in the game's Wine prefix.",
                 "quorvik");
    app.set_version_flag("--version", "quorvik " + std::string(identity::kVersion));
    app.add_option("--prefix", prefix,
                   "the Wine prefix Quell Moor is installed in; no other prefix is searched")
        ->check(CLI::ExistingDirectory)
        ->type_name("DIR");
    app.footer(
        "Qt's own options (-platform, -style, ...) are taken too.\nExit status: 0 done, "
        "2 a usage error.");
    // The packages' shell completion is written by the program itself.
    const console::CompletionWords shells{
        "--completion",
        {std::begin(console::kCompletionShells), std::end(console::kCompletionShells)}};
    app.add_option("--completion", "print the completion script for bash, zsh or fish")
        ->check(CLI::IsMember(shells.words))
        ->group("")
        ->trigger_on_parse()
        ->each([&](const std::string& shell) {
            out << *console::completionScript(app, shell, {&shells, 1});
            throw CLI::Success();
        });
    const std::vector<const char*> ours = withoutQtOptions(argc, argv);
    // CLI11 reports a bad command line by throwing; here it becomes an exit code.
    try {
        app.parse(static_cast<int>(ours.size()), ours.data());
    } catch (const CLI::ParseError& error) {
        exitCode = app.exit(error, out, err) == 0 ? 0 : 2;
        out.flush();
        if (exitCode == 0 && !out) {
            err << "quorvik: could not write to standard output\n";
            exitCode = 1;
        }
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
