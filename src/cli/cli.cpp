#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/console.h"
#include "console/completion.h"
#include "operations/presets.h"
#include "operations/profiles.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "words/identity.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;
using console::completionScript;
using console::CompletionWords;
using console::kCompletionShells;

// The settings whose help names a default: what reset takes.
std::vector<std::string> resetKeyWords() {
    std::vector<std::string> keys;
    for (const auto& [setting, value] : operations::defaultValues())
        keys.emplace_back(setting->key);
    return keys;
}

// How values are given, in words: the resolution's form and the on/off settings of the Data folder.
std::string valuesInWords() {
    std::string resolution;
    std::vector<std::string_view> effects;
    for (const catalogue::Setting& setting : catalogue::settings()) {
        if (setting.kind == catalogue::Kind::WidthHeight) resolution = std::string(setting.key);
        if (setting.kind == catalogue::Kind::Effect) effects.push_back(setting.key);
    }
    return resolution + " as 2560,1440, a drop-down's entry, on or off for " +
           platform::joined(effects) + " and the check boxes";
}

std::vector<std::string> presetWords() {
    std::vector<std::string> names;
    for (const operations::Preset& preset : operations::presets()) names.emplace_back(preset.name);
    return names;
}

// reset KEY... or --all: each setting at the default its help names.
std::optional<std::vector<operations::PresetValue>> resetValues(
    std::ostream& err, const std::vector<std::string>& keys, bool all) {
    if (keys.empty() && !all) {
        err << "quorvik-cli: reset needs the settings to reset, or --all. Nothing was written.\n";
        return std::nullopt;
    }
    std::vector<operations::PresetValue> chosen;
    if (all) chosen = operations::defaultValues();
    for (const std::string& key : keys) {
        const catalogue::Setting* setting = catalogue::find(key);
        if (setting == nullptr) {
            err << "quorvik-cli: unknown setting \"" << key << "\"; the settings are "
                << catalogue::keyList() << ". Nothing was written.\n";
            return std::nullopt;
        }
        auto value = catalogue::defaultOf(*setting);
        if (!value) {
            err << "quorvik-cli: " << setting->key
                << " has no default its help names, so it cannot be reset; settings with one are "
                << platform::joined(resetKeyWords()) << ". Nothing was written.\n";
            return std::nullopt;
        }
        chosen.emplace_back(setting, std::move(*value));
    }
    return chosen;
}

// set KEY=VALUE...: each checked as typed input before anything is written.
std::optional<std::vector<operations::PresetValue>> setValues(
    Console& console, const std::vector<std::string>& assignments) {
    std::vector<operations::PresetValue> values;
    catalogue::Values trial = console.session.values;
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        const std::string key = assignment.substr(0, equals);
        const catalogue::Setting* setting = catalogue::find(key);
        if (equals == std::string::npos || setting == nullptr) {
            console.err << "quorvik-cli: unknown setting \"" << key << "\"; the settings are "
                        << catalogue::keyList() << ". Nothing was written.\n";
            return std::nullopt;
        }
        const std::string value =
            console.system().codePage().fromUtf8(assignment.substr(equals + 1));
        if (const platform::Status taken = operations::setValue(trial, *setting, value); !taken) {
            console.err << "quorvik-cli: " << setting->key << " " << taken.reason() << "; \""
                        << assignment.substr(equals + 1)
                        << "\" cannot be set. Nothing was written.\n";
            return std::nullopt;
        }
        values.emplace_back(setting, value);
    }
    return values;
}

// What the command line asked for: the values CLI11 fills in, and which
// command it named.
struct Options {
    std::string prefix;
    std::string settingsFolder;
    bool json = false;
    std::vector<std::string> assignments;
    SaveFlags save;
    std::vector<std::string> resetKeys;
    bool resetAll = false;
    std::string presetName;
    std::string profileName;
    std::string profileFile;
    std::string from = "sc1";
    bool list = false;

    CLI::App* show = nullptr;
    CLI::App* set = nullptr;
    CLI::App* reset = nullptr;
    CLI::App* preset = nullptr;
    CLI::App* profile = nullptr;
    CLI::App* profileSave = nullptr;
    CLI::App* profileApply = nullptr;
    CLI::App* profileList = nullptr;
    CLI::App* profileDelete = nullptr;
    CLI::App* profileExport = nullptr;
    CLI::App* profileImport = nullptr;
    CLI::App* backup = nullptr;
    CLI::App* restore = nullptr;
    CLI::App* launch = nullptr;
};

// The commands that save (set, reset, preset, profile apply) share how.
void describeSaveFlags(CLI::App* command, SaveFlags& flags) {
    command->add_flag("--dry-run", flags.dryRun, "print the changes and write nothing");
    command->add_flag("--force", flags.force,
                      "save even over files changed on disk since they were read (they are "
                      "kept in the history)");
    command->add_flag("--strict", flags.strict,
                      "save nothing when a value is outside what its help lists (exit 2)");
}

// show, set, reset and preset: the settings themselves.
void describeSettingCommands(CLI::App& cli, Options& options) {
    options.show = cli.add_subcommand("show", "print every setting as KEY=VALUE");
    options.show->add_flag("--json", options.json,
                           "print one JSON object of key and value instead");

    options.set = cli.add_subcommand(
        "set",
        "change settings and save them as File > Save Settings does (backups, both files, "
        "the override scripts, the skills file)");
    options.set
        ->add_option("KEY=VALUE", options.assignments,
                     "settings to change; keys without regard to case")
        ->required();
    describeSaveFlags(options.set, options.save);

    options.reset = cli.add_subcommand(
        "reset", "set settings to their defaults, as their help texts name them, and save them");
    auto* resetKeysOption = options.reset->add_option(
        "KEY", options.resetKeys, "settings to reset; keys without regard to case");
    options.reset->add_flag("--all", options.resetAll, "every setting whose help names a default")
        ->excludes(resetKeysOption);
    describeSaveFlags(options.reset, options.save);

    std::vector<std::string> presetNames;
    for (const operations::Preset& preset : operations::presets()) {
        presetNames.push_back(std::string(preset.name) + ": " + std::string(preset.summary));
    }
    options.preset = cli.add_subcommand(
        "preset", "set the values of a preset and save them: " + platform::joined(presetNames));
    options.preset->add_option("NAME", options.presetName, "Performance, Quality or Handheld")
        ->required();
    describeSaveFlags(options.preset, options.save);
}

// Profiles: kept in the user's configuration folder, never in the game's.
void describeProfileCommands(CLI::App& cli, Options& options) {
    auto* profile = options.profile = cli.add_subcommand(
        "profile", "keep the settings under a name; apply, list, delete, export and import them");
    profile->require_subcommand(1, 1);
    const auto named = [&](const char* name, const std::string& description) {
        CLI::App* command = profile->add_subcommand(name, description);
        command->add_option("NAME", options.profileName, "the profile's name")->required();
        return command;
    };
    options.profileSave = named("save", "keep the settings the files hold now as profile NAME");
    options.profileApply =
        named("apply", "set the settings of profile NAME and save them as set does");
    describeSaveFlags(options.profileApply, options.save);
    options.profileList = profile->add_subcommand("list", "list the profiles, one name a line");
    options.profileDelete = named("delete", "delete profile NAME");
    options.profileExport = named("export", "write profile NAME to FILE, to share");
    options.profileExport->add_option("FILE", options.profileFile, "the file to write")->required();
    options.profileImport = profile->add_subcommand(
        "import",
        "keep the profile in FILE, checked as typed values are; unknown keys are named "
        "and left out");
    options.profileImport->add_option("FILE", options.profileFile, "a profile file")->required();
    options.profileImport->add_option("--name", options.profileName,
                                      "keep it under this name, not the file's own");
}

// backup, restore and launch: the files whole, and the game.
void describeFileCommands(CLI::App& cli, Options& options) {
    options.backup =
        cli.add_subcommand("backup", "File > Backup: copy both files to Video.sc0 and Audio.sc0");
    options.restore = cli.add_subcommand(
        "restore",
        "put files back from a backup or from the history; what is replaced is kept in "
        "the history first");
    auto* fromOption = options.restore->add_option(
        "--from", options.from,
        "sc1: the last save's backups (default); sc0: File > Backup's; or an entry of the history "
        "as --list names it");
    options.restore->add_flag("--list", options.list, "list what can be restored")
        ->excludes(fromOption);
    options.launch = cli.add_subcommand("launch", "start the game without its intro videos");
}

// The whole command line, its help and its shell completion.
void describe(CLI::App& cli, Options& options, std::ostream& out) {
    cli.set_version_flag("--version", "quorvik-cli " + std::string(words::identity::kVersion));
    auto* prefixOption = cli.add_option("--prefix", options.prefix,
                                        "the Wine prefix the game is installed in (Linux)")
                             ->type_name("DIR");
    auto* settingsOption = cli.add_option("--settings", options.settingsFolder,
                                          "the settings folder, the one holding Video.scr")
                               ->type_name("DIR");
    prefixOption->excludes(settingsOption);
    cli.require_subcommand(1, 1);
    describeSettingCommands(cli, options);
    describeProfileCommands(cli, options);
    describeFileCommands(cli, options);
    cli.footer("Settings: " + catalogue::keyList() +
               ".\nValues are the window's: " + valuesInWords() +
               ".\nExit status: 0 done, 1 an operation failed (its message on standard error), 2 a "
               "usage error.");

    // The packages' shell completion is written by the program itself.
    std::vector<std::string> keys;
    for (const catalogue::Setting& setting : catalogue::settings())
        keys.push_back(std::string(setting.key) + "=");
    std::vector<CompletionWords> completionWords = {
        {"--completion", {std::begin(kCompletionShells), std::end(kCompletionShells)}},
        {"KEY=VALUE", keys},
        {"KEY", resetKeyWords()},
        {"--from", {"sc1", "sc0"}},
        {"NAME", presetWords()},
    };
    cli.add_option("--completion", "print the completion script for bash, zsh or fish")
        ->check(CLI::IsMember(completionWords[0].words))
        ->group("")
        ->trigger_on_parse()
        ->each([&cli, &out, completionWords](const std::string& shell) {
            out << *completionScript(cli, shell, completionWords);
            throw CLI::Success();
        });
}

// The values a saving command gives: a profile's, a preset's, the defaults,
// then what was typed; nothing when one of them cannot be used (said why).
std::optional<std::vector<operations::PresetValue>> chosenValues(
    Console& console, const Options& options, const std::optional<operations::Profile>& applied) {
    std::vector<operations::PresetValue> values;
    if (applied) values = applied->values;
    if (options.preset->parsed()) {
        const operations::Preset* chosen = operations::findPreset(options.presetName);
        if (chosen == nullptr) {
            console.err << "quorvik-cli: there is no preset called \"" << options.presetName
                        << "\"; the presets are Performance, Quality and Handheld. Nothing was "
                           "written.\n";
            return std::nullopt;
        }
        values = operations::presetValues(*chosen);
    }
    if (options.reset->parsed()) {
        auto chosen = resetValues(console.err, options.resetKeys, options.resetAll);
        if (!chosen) return std::nullopt;
        values = std::move(*chosen);
    }
    // set: every value is checked before anything is written.
    auto typed = setValues(console, options.assignments);
    if (!typed) return std::nullopt;
    values.insert(values.end(), typed->begin(), typed->end());
    return values;
}

// The profiles' own files need no game; nothing when the command cannot go on
// (its exit status in `exit`).
std::optional<ProfileFiles> profileFiles(platform::System& system, const Options& options,
                                         std::ostream& out, std::ostream& err, Exit& exit) {
    const auto configFolder = system.configFolder();
    if (options.profile->parsed()) {
        if (!configFolder) {
            err << "quorvik-cli: there is no configuration folder to keep profiles in (set HOME "
                   "or XDG_CONFIG_HOME). Nothing was written.\n";
            exit = Exit::Failed;
            return std::nullopt;
        }
        if (!options.profileName.empty()) {
            if (const platform::Status taken = operations::checkProfileName(options.profileName);
                !taken) {
                err << "quorvik-cli: \"" << options.profileName << "\": " << taken.reason()
                    << ". Nothing was written.\n";
                exit = Exit::Usage;
                return std::nullopt;
            }
        }
    }
    return ProfileFiles{system, configFolder.value_or(fs::path()), out, err};
}

// The command the line named, run on the machine.
Exit dispatch(const Options& options, std::unique_ptr<platform::System> system, std::ostream& out,
              std::ostream& err) {
    Exit exit = Exit::Done;
    auto files = profileFiles(*system, options, out, err, exit);
    if (!files) return exit;
    const std::string& name = options.profileName;
    if (options.profileList->parsed()) return profileListCommand(*files);
    if (options.profileDelete->parsed()) return profileDeleteCommand(*files, name);
    if (options.profileExport->parsed())
        return profileExportCommand(*files, name, options.profileFile);
    if (options.profileImport->parsed())
        return profileImportCommand(*files, name, options.profileFile);
    std::optional<operations::Profile> applied;
    if (options.profileApply->parsed()) {
        if (!system->fileExists(files->at(name))) return files->noProfile(name);
        applied = files->read(files->at(name));
        if (!applied) return Exit::Failed;
    }

    Console console(out, err, std::move(system));
    // The game starts from its registry entry alone: a game never run yet has
    // no settings folder, and launch does not look for one.
    if (options.launch->parsed()) {
        console.start(false);
        return launchCommand(console);
    }
    console.start(options.settingsFolder.empty());
    if (!options.settingsFolder.empty()) {
        console.settingsPath =
            platform::pathToUtf8(fs::absolute(platform::pathFromUtf8(options.settingsFolder)));
    }
    // Fewer than two characters is no folder.
    if (platform::utf8Length(console.settingsPath) < 2) return Exit::Failed;
    if (options.restore->parsed()) return restoreCommand(console, options.from, options.list);

    console.loadBoth();
    if (options.show->parsed()) return showCommand(console, options.json);
    if (options.backup->parsed()) return backupCommand(console);
    if (options.profileSave->parsed()) return profileSaveCommand(console, *files, name);
    const auto values = chosenValues(console, options, applied);
    if (!values) return Exit::Usage;
    return saveCommand(console, *values, options.save);
}

// CLI11 answers a command line that names no command, or a word that is
// none, with "A subcommand is required" at either level: this says which word
// was wrong and where the commands are listed. Nothing for any other error.
std::optional<std::string> wrongCommand(const CLI::ParseError& error, CLI::App& cli,
                                        const Options& options) {
    if (dynamic_cast<const CLI::RequiredError*>(&error) == nullptr) return std::nullopt;
    const bool top = cli.get_subcommands().empty();
    if (!top && (!options.profile->parsed() || !options.profile->get_subcommands().empty()))
        return std::nullopt;
    const std::string help =
        top ? "; quorvik-cli --help lists them.\n" : "; quorvik-cli profile --help lists them.\n";
    const std::vector<std::string> rest = top ? cli.remaining() : options.profile->remaining();
    if (rest.empty())
        return std::string("quorvik-cli: a ") + (top ? "" : "profile ") + "command is required" +
               help;
    const std::string& word = rest.front();
    if (word.starts_with('-')) return "quorvik-cli: \"" + word + "\" is not an option" + help;
    return "quorvik-cli: \"" + word + "\" is not a " + (top ? "" : "profile ") + "command" + help;
}

// "/?" is how Windows' own programs are asked for their help, so a player
// there types it: it is read as --help. After "--" every word is a value.
std::vector<const char*> withHelpAsked(int argc, const char* const* argv) {
    std::vector<const char*> arguments(argv, argv + argc);
    for (auto argument = arguments.begin() + (argc > 0 ? 1 : 0); argument != arguments.end();
         ++argument) {
        const std::string_view word = *argument;
        if (word == "--") break;
        if (word == "/?") *argument = "--help";
    }
    return arguments;
}

}  // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
        const MachineFactory& machine) {
    CLI::App cli{
        "Shows and changes Quell Moor's video and audio settings as Quorvik's window "
        "does, restores backups and starts the game.",
        "quorvik-cli"};
    Options options;
    describe(cli, options, out);
    try {
        const std::vector<const char*> arguments = withHelpAsked(argc, argv);
        cli.parse(static_cast<int>(arguments.size()), arguments.data());
    } catch (const CLI::ParseError& error) {
        if (const auto said = wrongCommand(error, cli, options)) {
            err << *said;
            return static_cast<int>(Exit::Usage);
        }
        const int code = cli.exit(error, out, err);
        return code == 0 ? 0 : static_cast<int>(Exit::Usage);
    }

    std::string machineError;
    // Typed text is UTF-8 on every system; a path made straight from a std::string
    // would be read in Windows' ANSI code page and miss any letter outside it.
    std::unique_ptr<platform::System> system = machine(
        options.prefix.empty() ? std::nullopt
                               : std::optional<fs::path>(platform::pathFromUtf8(options.prefix)),
        machineError);
    if (!system) {
        err << "quorvik-cli: " << machineError << '\n';
        return static_cast<int>(Exit::Usage);
    }
    return static_cast<int>(dispatch(options, std::move(system), out, err));
}

}  // namespace quorvik::cli
