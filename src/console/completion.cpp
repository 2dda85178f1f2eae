#include "console/completion.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/text_codec.h"

namespace quorvik::console {
namespace {

// The command line as the three shells need it: each command's options and
// what they take. Options in no group are hidden from help, and from
// completion too.
struct Option {
    std::vector<std::string> names;  // "--prefix", "-h"
    std::string description;
    enum class Takes { Nothing, Folder, Words, Text } takes = Takes::Nothing;
    std::vector<std::string> words;
    bool endsTheCommand = false;  // --help, --version: nothing follows them
};

struct Command {
    std::string name;
    std::string description;
    std::vector<Option> options;
    std::optional<std::vector<std::string>> positionalWords;  // when it takes arguments
    std::vector<Command> subcommands;
};

const std::vector<std::string>* wordsFor(std::span<const CompletionWords> words,
                                         const std::string& name) {
    const auto found = std::find_if(words.begin(), words.end(),
                                    [&](const CompletionWords& w) { return w.name == name; });
    return found == words.end() ? nullptr : &found->words;
}

Command describe(CLI::App& app, std::span<const CompletionWords> words) {
    Command command{app.get_name(), app.get_description(), {}, std::nullopt, {}};
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_group().empty()) continue;
        if (option->get_positional()) {
            const auto* known = wordsFor(words, option->get_name(true));
            command.positionalWords = known ? *known : std::vector<std::string>{};
            continue;
        }
        Option described;
        for (const std::string& name : option->get_lnames()) described.names.push_back("--" + name);
        for (const std::string& name : option->get_snames()) described.names.push_back("-" + name);
        if (described.names.empty()) continue;
        described.description = option->get_description();
        const std::string& first = described.names.front();
        described.endsTheCommand = first == "--help" || first == "--version";
        if (option->get_items_expected_max() > 0) {
            if (const auto* known = wordsFor(words, first)) {
                described.takes = Option::Takes::Words;
                described.words = *known;
            } else if (option->get_type_name().find("DIR") != std::string::npos) {
                described.takes = Option::Takes::Folder;
            } else {
                described.takes = Option::Takes::Text;
            }
        }
        command.options.push_back(std::move(described));
    }
    for (CLI::App* subcommand : app.get_subcommands([](CLI::App*) { return true; })) {
        command.subcommands.push_back(describe(*subcommand, words));
    }
    return command;
}

// Words as a shell list takes them: a blank between each.
std::string shellWords(const std::vector<std::string>& list) {
    return platform::joined(list, " ");
}

// Text inside single quotes, for bash and zsh.
std::string shellQuoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// An identifier made of the program's name, for shell functions.
std::string functionName(const std::string& program) {
    std::string name = "_";
    for (const char c : program) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

// Everything a command offers as the next word: its options, its subcommands
// and the words its arguments take.
std::vector<std::string> offered(const Command& command) {
    std::vector<std::string> words;
    for (const Option& option : command.options) {
        words.insert(words.end(), option.names.begin(), option.names.end());
    }
    for (const Command& subcommand : command.subcommands) words.push_back(subcommand.name);
    if (command.positionalWords) {
        words.insert(words.end(), command.positionalWords->begin(), command.positionalWords->end());
    }
    return words;
}

// bash: what the option before the cursor takes, else what the command
// offers. '=' splits words for bash, so a KEY= word completes without a space
// and nothing is offered after it.
void bashOptionValues(std::ostream& out, const std::vector<Option>& options) {
    for (const Option& option : options) {
        if (option.takes == Option::Takes::Nothing) continue;
        out << "            " << platform::joined(option.names, "|") << ") ";
        switch (option.takes) {
            case Option::Takes::Folder:
                out << "compopt -o filenames; mapfile -t COMPREPLY < <(compgen -d -- \"$cur\")";
                break;
            case Option::Takes::Words:
                out << "mapfile -t COMPREPLY < <(compgen -W "
                    << shellQuoted(shellWords(option.words)) << " -- \"$cur\")";
                break;
            default:
                break;
        }
        out << "; return ;;\n";
    }
}

std::string bash(const Command& root) {
    const std::string function = functionName(root.name);
    std::ostringstream out;
    out << "# bash completion for " << root.name << ", written by " << root.name
        << " --completion bash\n"
        << function << "() {\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        << "    local command='' i\n";
    if (!root.subcommands.empty()) {
        std::vector<std::string> names;
        for (const Command& subcommand : root.subcommands) names.push_back(subcommand.name);
        out << "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
            << "        case ${COMP_WORDS[i]} in\n"
            << "            " << platform::joined(names, "|")
            << ") command=${COMP_WORDS[i]}; break ;;\n"
            << "        esac\n"
            << "    done\n";
    }
    out << "    [[ $prev == = || $cur == *=* ]] && return\n"
        << "    local words\n"
        << "    case $command in\n";
    const auto branch = [&](const std::string& label, const Command& command) {
        out << "        " << shellQuoted(label) << ")\n"
            << "            case $prev in\n";
        bashOptionValues(out, command.options);
        out << "            esac\n"
            << "            words=" << shellQuoted(shellWords(offered(command))) << " ;;\n";
    };
    branch("", root);
    for (const Command& subcommand : root.subcommands) branch(subcommand.name, subcommand);
    out << "    esac\n"
        << "    mapfile -t COMPREPLY < <(compgen -W \"$words\" -- \"$cur\")\n"
        << "    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *= ]] && compopt -o nospace\n"
        << "    return 0\n"
        << "}\n"
        << "complete -F " << function << " " << root.name << "\n";
    return out.str();
}

// zsh: one _arguments entry per option name.
std::string zshDescription(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '[' || c == ']' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

std::string zshArguments(const Command& command) {
    std::string arguments;
    for (const Option& option : command.options) {
        for (const std::string& name : option.names) {
            std::string argument = option.endsTheCommand ? "(- *)" : "";
            argument += name;
            if (option.takes != Option::Takes::Nothing && name.starts_with("--")) argument += "=";
            argument += "[" + zshDescription(option.description) + "]";
            switch (option.takes) {
                case Option::Takes::Folder:
                    argument += ":folder:_files -/";
                    break;
                case Option::Takes::Words:
                    argument += ":value:(" + shellWords(option.words) + ")";
                    break;
                case Option::Takes::Text:
                    argument += ":value: ";
                    break;
                case Option::Takes::Nothing:
                    break;
            }
            arguments += " \\\n        " + shellQuoted(argument);
        }
    }
    if (command.positionalWords) {
        arguments += " \\\n        " + shellQuoted("*:argument:{compadd -S '' -- " +
                                                   shellWords(*command.positionalWords) + "}");
    }
    return arguments;
}

std::string zsh(const Command& root) {
    const std::string function = functionName(root.name);
    std::ostringstream out;
    out << "#compdef " << root.name << "\n"
        << "# zsh completion for " << root.name << ", written by " << root.name
        << " --completion zsh\n"
        << function << "() {\n"
        << "    local curcontext=$curcontext state line\n"
        << "    typeset -A opt_args\n";
    if (root.subcommands.empty()) {
        out << "    _arguments -s" << zshArguments(root) << "\n";
    } else {
        out << "    local -a commands\n"
            << "    commands=(\n";
        for (const Command& subcommand : root.subcommands) {
            out << "        " << shellQuoted(subcommand.name + ":" + subcommand.description)
                << "\n";
        }
        out << "    )\n"
            << "    _arguments -C" << zshArguments(root) << " \\\n"
            << "        '1: :->command' \\\n"
            << "        '*:: :->argument'\n"
            << "    case $state in\n"
            << "        command) _describe -t commands " << shellQuoted(root.name + " command")
            << " commands ;;\n"
            << "        argument)\n"
            << "            case $line[1] in\n";
        for (const Command& subcommand : root.subcommands) {
            out << "                " << subcommand.name << ") _arguments"
                << zshArguments(subcommand) << " ;;\n";
        }
        out << "            esac ;;\n"
            << "    esac\n";
    }
    out << "}\n" << function << " \"$@\"\n";
    return out.str();
}

// fish: one `complete` line per option, subcommand and argument word.
std::string fishQuoted(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'' || c == '\\') out += '\\';
        out += c;
    }
    return out + "'";
}

void fishOptions(std::ostream& out, const std::string& program, const std::string& condition,
                 const Command& command) {
    for (const Option& option : command.options) {
        out << "complete -c " << program << condition;
        for (const std::string& name : option.names) {
            out << (name.starts_with("--") ? " -l " + name.substr(2) : " -s " + name.substr(1));
        }
        switch (option.takes) {
            case Option::Takes::Folder:
                out << " -x -a '(__fish_complete_directories)'";
                break;
            case Option::Takes::Words:
                out << " -x -a " << fishQuoted(shellWords(option.words));
                break;
            case Option::Takes::Text:
                out << " -x";
                break;
            case Option::Takes::Nothing:
                break;
        }
        out << " -d " << fishQuoted(option.description) << "\n";
    }
    if (command.positionalWords && !command.positionalWords->empty()) {
        out << "complete -c " << program << condition << " -a "
            << fishQuoted(shellWords(*command.positionalWords)) << "\n";
    }
}

std::string fish(const Command& root) {
    std::ostringstream out;
    out << "# fish completion for " << root.name << ", written by " << root.name
        << " --completion fish\n"
        << "complete -c " << root.name << " -f\n";
    if (root.subcommands.empty()) {
        fishOptions(out, root.name, "", root);
        return out.str();
    }
    fishOptions(out, root.name, " -n __fish_use_subcommand", root);
    for (const Command& subcommand : root.subcommands) {
        out << "complete -c " << root.name << " -n __fish_use_subcommand -a " << subcommand.name
            << " -d " << fishQuoted(subcommand.description) << "\n";
        fishOptions(out, root.name,
                    " -n " + fishQuoted("__fish_seen_subcommand_from " + subcommand.name),
                    subcommand);
    }
    return out.str();
}

}  // namespace

std::optional<std::string> completionScript(CLI::App& app, std::string_view shell,
                                            std::span<const CompletionWords> words) {
    const Command root = describe(app, words);
    if (shell == "bash") return bash(root);
    if (shell == "zsh") return zsh(root);
    if (shell == "fish") return fish(root);
    return std::nullopt;
}

}  // namespace quorvik::console
