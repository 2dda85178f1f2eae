#pragma once

// Shell completion for bash, zsh and fish, written from a program's own
// command line: its subcommands, options and what each option takes, so the
// completion cannot drift from what the program accepts. The packages install
// what `--completion SHELL` prints.

#include <CLI/CLI.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::console {

// The words an option or a positional argument takes, by its name as CLI11
// knows it ("--from", "KEY=VALUE"). A word ending in "=" is completed without
// a space after it. An option whose type names DIR takes a folder.
struct CompletionWords {
    std::string name;
    std::vector<std::string> words;
};

inline constexpr std::string_view kCompletionShells[] = {"bash", "zsh", "fish"};

// The script for `shell` (one of kCompletionShells), for the program named
// app.get_name(); nothing for a shell it does not know.
std::optional<std::string> completionScript(CLI::App& app, std::string_view shell,
                                            std::span<const CompletionWords> words = {});

}  // namespace quorvik::console
