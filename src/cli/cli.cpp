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
        if (const auto problem = operations::setValue(trial, *setting, value)) {
            console.err << "quorvik-cli: " << setting->key << " " << *problem << "; \""
                        << assignment.substr(equals + 1)
                        << "\" cannot be set. Nothing was written.\n";
            return std::nullopt;
        }
        values.emplace_back(setting, value);
    }
    return values;
}

}  // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
        const MachineFactory& machine) {
    CLI::App cli{"Shows and changes Quell Moor's video and audio settings as Quorvik's window "
                 "does, restores backups and starts the game.",
                 "quorvik-cli"};
    cli.set_version_flag("--version", "quorvik-cli " + std::string(words::identity::kVersion));
    std::string prefix;
    std::string settingsFolder;
    auto* prefixOption =
        cli.add_option("--prefix", prefix, "the Wine prefix the game is installed in (Linux)")
            ->type_name("DIR");
    auto* settingsOption = cli.add_option("--settings", settingsFolder,
                                          "the settings folder, the one holding Video.scr")
                               ->type_name("DIR");
    prefixOption->excludes(settingsOption);
    cli.require_subcommand(1, 1);

    bool json = false;
    auto* show = cli.add_subcommand("show", "print every setting as KEY=VALUE");
    show->add_flag("--json", json, "print one JSON object of key and value instead");

    std::vector<std::string> assignments;
    bool dryRun = false;
    auto* set = cli.add_subcommand(
        "set", "change settings and save them as File > Save Settings does (backups, both files, "
               "the override scripts, the skills file)");
    set->add_option("KEY=VALUE", assignments, "settings to change; keys without regard to case")
        ->required();
    // What set and reset share: how the save is made.
    bool force = false;
    bool strict = false;
    const auto saveFlags = [&](CLI::App* command) {
        command->add_flag("--dry-run", dryRun, "print the changes and write nothing");
        command->add_flag("--force", force,
                          "save even over files changed on disk since they were read (they are "
                          "kept in the history)");
        command->add_flag("--strict", strict,
                          "save nothing when a value is outside what its help lists (exit 2)");
    };
    saveFlags(set);
    std::vector<std::string> resetKeys;
    bool resetAll = false;
    auto* reset = cli.add_subcommand(
        "reset", "set settings to their defaults, as their help texts name them, and save them");
    auto* resetKeysOption =
        reset->add_option("KEY", resetKeys, "settings to reset; keys without regard to case");
    reset->add_flag("--all", resetAll, "every setting whose help names a default")
        ->excludes(resetKeysOption);
    saveFlags(reset);
    std::string presetName;
    std::vector<std::string> presetNames;
    for (const operations::Preset& preset : operations::presets()) {
        presetNames.push_back(std::string(preset.name) + ": " + std::string(preset.summary));
    }
    auto* preset = cli.add_subcommand(
        "preset", "set the values of a preset and save them: " + platform::joined(presetNames));
    preset->add_option("NAME", presetName, "Performance, Quality or Handheld")->required();
    saveFlags(preset);

    // Profiles: kept in the user's configuration folder, never in the game's.
    std::string profileName;
    std::string profileFile;
    auto* profile = cli.add_subcommand(
        "profile", "keep the settings under a name; apply, list, delete, export and import them");
    profile->require_subcommand(1, 1);
    auto* profileSave =
        profile->add_subcommand("save", "keep the settings the files hold now as profile NAME");
    profileSave->add_option("NAME", profileName, "the profile's name")->required();
    auto* profileApply = profile->add_subcommand(
        "apply", "set the settings of profile NAME and save them as set does");
    profileApply->add_option("NAME", profileName, "the profile's name")->required();
    saveFlags(profileApply);
    auto* profileList = profile->add_subcommand("list", "list the profiles, one name a line");
    auto* profileDelete = profile->add_subcommand("delete", "delete profile NAME");
    profileDelete->add_option("NAME", profileName, "the profile's name")->required();
    auto* profileExport = profile->add_subcommand("export", "write profile NAME to FILE, to share");
    profileExport->add_option("NAME", profileName, "the profile's name")->required();
    profileExport->add_option("FILE", profileFile, "the file to write")->required();
    auto* profileImport = profile->add_subcommand(
        "import",
        "keep the profile in FILE, checked as typed values are; unknown keys are named "
        "and left out");
    profileImport->add_option("FILE", profileFile, "a profile file")->required();
    profileImport->add_option("--name", profileName, "keep it under this name, not the file's own");

    auto* backup = cli.add_subcommand("backup", "File > Backup: copy both files to Video.sc0 and Audio.sc0");
    std::string from = "sc1";
    bool list = false;
    auto* restore = cli.add_subcommand(
        "restore", "put files back from a backup or from the history; what is replaced is kept in "
                   "the history first");
    auto* fromOption = restore->add_option(
        "--from", from,
        "sc1: the last save's backups (default); sc0: File > Backup's; or an entry of the history "
        "as --list names it");
    restore->add_flag("--list", list, "list what can be restored")->excludes(fromOption);
    auto* launch = cli.add_subcommand("launch", "start the game without its intro videos");
    cli.footer("Settings: " + catalogue::keyList() +
               ".\nValues are the window's: " + valuesInWords() +
               ".\nExit status: 0 done, 1 an operation failed (its message on standard error), 2 a "
               "usage error.");

    // The packages' shell completion is written by the program itself.
    std::vector<std::string> keys;
    for (const catalogue::Setting& setting : catalogue::settings())
        keys.push_back(std::string(setting.key) + "=");
    const CompletionWords completionWords[] = {
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
        ->each([&](const std::string& shell) {
            out << *completionScript(cli, shell, completionWords);
            throw CLI::Success();
        });

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = cli.exit(error, out, err);
        return code == 0 ? 0 : static_cast<int>(Exit::Usage);
    }

    std::string machineError;
    // Typed text is UTF-8 on every system; a path made straight from a std::string
    // would be read in Windows' ANSI code page and miss any letter outside it.
    std::unique_ptr<platform::System> system = machine(
        prefix.empty() ? std::nullopt : std::optional<fs::path>(platform::pathFromUtf8(prefix)),
        machineError);
    if (!system) {
        err << "quorvik-cli: " << machineError << '\n';
        return static_cast<int>(Exit::Usage);
    }
    // The profiles' own files need no game.
    const auto configFolder = system->configFolder();
    if (profile->parsed()) {
        if (!configFolder) {
            err << "quorvik-cli: there is no configuration folder to keep profiles in (set HOME "
                   "or XDG_CONFIG_HOME). Nothing was written.\n";
            return static_cast<int>(Exit::Failed);
        }
        if (!profileName.empty()) {
            if (const auto problem = operations::profileNameProblem(profileName)) {
                err << "quorvik-cli: \"" << profileName << "\": " << *problem
                    << ". Nothing was written.\n";
                return static_cast<int>(Exit::Usage);
            }
        }
    }
    ProfileFiles files{*system, configFolder.value_or(fs::path()), out, err};
    if (profileList->parsed()) return static_cast<int>(profileListCommand(files));
    if (profileDelete->parsed()) return static_cast<int>(profileDeleteCommand(files, profileName));
    if (profileExport->parsed())
        return static_cast<int>(profileExportCommand(files, profileName, profileFile));
    if (profileImport->parsed())
        return static_cast<int>(profileImportCommand(files, profileName, profileFile));
    std::optional<operations::Profile> applied;
    if (profileApply->parsed()) {
        if (!system->fileExists(files.at(profileName)))
            return static_cast<int>(files.noProfile(profileName));
        applied = files.read(files.at(profileName));
        if (!applied) return static_cast<int>(Exit::Failed);
    }

    Console console(out, err, std::move(system));
    // The game starts from its registry entry alone: a game never run yet has
    // no settings folder, and launch does not look for one.
    if (launch->parsed()) {
        console.start(false);
        return static_cast<int>(launchCommand(console));
    }
    console.start(settingsFolder.empty());
    if (!settingsFolder.empty()) {
        console.settingsPath =
            platform::pathToUtf8(fs::absolute(platform::pathFromUtf8(settingsFolder)));
    }
    // Fewer than two characters is no folder.
    if (platform::utf8Length(console.settingsPath) < 2) return static_cast<int>(Exit::Failed);
    if (restore->parsed()) return static_cast<int>(restoreCommand(console, from, list));

    console.loadBoth();
    if (show->parsed()) return static_cast<int>(showCommand(console, json));
    if (backup->parsed()) return static_cast<int>(backupCommand(console));
    if (profileSave->parsed())
        return static_cast<int>(profileSaveCommand(console, files, profileName));
    std::vector<operations::PresetValue> values;
    if (applied) values = applied->values;
    if (preset->parsed()) {
        const operations::Preset* chosen = operations::findPreset(presetName);
        if (chosen == nullptr) {
            err << "quorvik-cli: there is no preset called \"" << presetName
                << "\"; the presets are Performance, Quality and Handheld. Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
        values = operations::presetValues(*chosen);
    }
    if (reset->parsed()) {
        auto chosen = resetValues(err, resetKeys, resetAll);
        if (!chosen) return static_cast<int>(Exit::Usage);
        values = std::move(*chosen);
    }
    // set: every value is checked before anything is written.
    auto typed = setValues(console, assignments);
    if (!typed) return static_cast<int>(Exit::Usage);
    values.insert(values.end(), typed->begin(), typed->end());
    return static_cast<int>(saveCommand(console, values, {dryRun, force, strict}));
}

}  // namespace quorvik::cli
