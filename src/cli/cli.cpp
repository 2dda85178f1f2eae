#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "app/form1.h"
#include "app/identity.h"
#include "cli/console_dialogs.h"
#include "console/completion.h"
#include "operations/presets.h"
#include "operations/profiles.h"
#include "operations/values.h"
#include "panel/binding.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "words/messages.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;
using console::completionScript;
using console::CompletionWords;
using console::kCompletionShells;

enum class Exit { Done = 0, Failed = 1, Usage = 2 };

// The window's texts as console lines.
std::string consoleText(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, "\n");
    }
    return text;
}

// The console has no buttons or menus: where a message says what to do next,
// it names the command line's options. quorvik-cli.exe reads Windows' own
// registry, so it has no prefix to name.
words::Wording consoleWording() {
    const auto nameFolder = [](const std::string& holding) {
#ifdef _WIN32
        return "Name the folder that holds " + holding + " with --settings.";
#else
        return "Name the game's prefix with --prefix, or the folder that holds " + holding +
               " with --settings.";
#endif
    };
    words::Wording wording;
    wording.noDocumentsFolder = nameFolder("Video.scr");
    wording.noSettingsFolder = nameFolder("Video.scr");
    wording.folderFirst = nameFolder("Video.scr");
    // The console loads both files itself before it does anything with them.
    const std::string whenLoaded = "when quorvik-cli loaded the settings";
    wording.video = {nameFolder("Video.scr"), whenLoaded};
    wording.audio = {nameFolder("Audio.scr"), whenLoaded};
    wording.dataReader = "quorvik-cli";
    wording.holder = "quorvik-cli";
    wording.setAgain = "with quorvik-cli set";
    wording.restore = "quorvik-cli restore --from with the entry's name";
    // Nothing waits for an answer before a file is written.
    wording.toWrite = "Writing file";
    return wording;
}

struct Session {
    ConsoleDialogs dialogs;
    std::unique_ptr<platform::System> system;
    std::unique_ptr<app::Form1> form;

    Session(std::ostream& out, std::ostream& err) : dialogs(out, err) {}

    std::size_t problems() const { return form->ProblemsShown.size(); }
    Exit outcome(std::size_t problemsBefore = 0) const {
        return problems() > problemsBefore ? Exit::Failed : Exit::Done;
    }
};

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

// A setting's value as show --json gives it: on/off as a boolean, a number
// as a number, the rest (the resolution, a drop-down's entry) as text. A
// number the game could not read stays the text the file holds.
nlohmann::ordered_json jsonValue(const catalogue::Setting& setting, const std::string& text) {
    using catalogue::Kind;
    if (setting.kind == Kind::OnOff || setting.kind == Kind::Effect) return text == "on";
    if (setting.kind != Kind::Integer && setting.kind != Kind::Decimal &&
        setting.kind != Kind::Angle) {
        return text;
    }
    const char* end = text.data() + text.size();
    if (setting.kind == Kind::Integer) {
        long long number = 0;
        const auto [stop, error] = std::from_chars(text.data(), end, number);
        if (error == std::errc() && stop == end) return number;
        return text;
    }
    double number = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    // from_chars also reads "inf" and "nan", which JSON has no number for.
    if (error == std::errc() && stop == end && std::isfinite(number)) return number;
    return text;
}

// Whether a setting's value is one its file gave this session: its file was
// loaded and had a line for it.
bool loadedValue(const app::Form1& form, const catalogue::Setting& setting) {
    if (!form.placeLoaded(setting.place)) return false;
    if (setting.place == catalogue::Place::DataFolder) return true;
    const operations::LoadedFile& file =
        setting.place == catalogue::Place::Video ? form.session.video : form.session.audio;
    return std::none_of(file.missing.begin(), file.missing.end(),
                        [&](const auto& missing) { return missing.first == setting.id; });
}

// show: the settings the files gave, nothing made up. The JSON shape is
// versioned, so that scripts can rely on it: see the README.
void printSettings(std::ostream& out, const app::Form1& form, const platform::CodePage& codePage,
                   bool json) {
    const catalogue::Values values = panel::valuesOf(form.panel);
    if (!json) {
        for (const catalogue::Setting& setting : catalogue::settings()) {
            if (!loadedValue(form, setting)) continue;
            out << setting.key << '=' << codePage.toUtf8(values.shown(setting.id)) << '\n';
        }
        return;
    }
    nlohmann::ordered_json shown = nlohmann::ordered_json::object();
    shown["format"] = "quorvik-settings";
    shown["version"] = 1;
    // Which files gave their settings: a setting of one that was not loaded is null.
    shown["files"]["Video.scr"]["loaded"] = form.videoLoaded();
    shown["files"]["Audio.scr"]["loaded"] = form.audioLoaded();
    shown["files"]["Data"]["loaded"] = form.session.data.read;
    nlohmann::ordered_json settings = nlohmann::ordered_json::object();
    for (const catalogue::Setting& setting : catalogue::settings()) {
        settings[std::string(setting.key)] =
            loadedValue(form, setting)
                ? jsonValue(setting, codePage.toUtf8(values.shown(setting.id)))
                : nlohmann::ordered_json(nullptr);
    }
    shown["settings"] = std::move(settings);
    out << shown.dump(2) << '\n';
}

}  // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
        const MachineFactory& machine) {
    CLI::App cli{"Shows and changes Quell Moor's video and audio settings as Quorvik's window "
                 "does, restores backups and starts the game.",
                 "quorvik-cli"};
    cli.set_version_flag("--version", "quorvik-cli " + std::string(app::identity::kVersion));
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

    Session session(out, err);
    std::string machineError;
    // Typed text is UTF-8 on every system; a path made straight from a std::string
    // would be read in Windows' ANSI code page and miss any letter outside it.
    session.system = machine(
        prefix.empty() ? std::nullopt : std::optional<fs::path>(platform::pathFromUtf8(prefix)),
        machineError);
    if (!session.system) {
        err << "quorvik-cli: " << machineError << '\n';
        return static_cast<int>(Exit::Usage);
    }
    // The profiles' own files need no game.
    const auto configFolder = session.system->configFolder();
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
    const auto profileAt = [&] { return operations::profilePath(*configFolder, profileName); };
    const auto noProfile = [&] {
        err << "quorvik-cli: there is no profile called \"" << profileName
            << "\"; quorvik-cli profile list shows what there is. Nothing was written.\n";
        return static_cast<int>(Exit::Usage);
    };
    // A profile file read and checked; nothing when it cannot be used (said why).
    const auto readChecked = [&](const fs::path& file) -> std::optional<operations::Profile> {
        operations::ProfileRead checked = operations::readProfileFile(*session.system, file);
        if (!checked.profile) {
            err << "quorvik-cli: " << platform::pathToUtf8(file) << ": " << checked.problem
                << ". Nothing was written.\n";
            return std::nullopt;
        }
        if (!checked.unknownKeys.empty()) {
            err << "quorvik-cli: warning: " << platform::pathToUtf8(file)
                << " holds settings Quorvik does not know, left out: "
                << platform::joined(checked.unknownKeys) << ".\n";
        }
        return checked.profile;
    };
    // A profile written whole to `path`, then said so; exit 1 when it could not be.
    const auto writeProfile = [&](const fs::path& path, const operations::Profile& written,
                                  const std::string& done) {
        const platform::Status status = operations::writeWhole(
            *session.system, path, operations::profileBytes(written, session.system->codePage()));
        if (!status) {
            err << "quorvik-cli: could not write " << platform::pathToUtf8(status.problem().path)
                << ": " << status.problem().reason << ". Nothing was written.\n";
            return static_cast<int>(Exit::Failed);
        }
        out << "Profile \"" << profileName << "\" " << done << ".\n";
        return static_cast<int>(Exit::Done);
    };
    if (profileList->parsed()) {
        for (const std::string& name : operations::profileNames(*session.system, *configFolder)) {
            out << name << '\n';
        }
        return static_cast<int>(Exit::Done);
    }
    if (profileDelete->parsed() || profileExport->parsed()) {
        if (!session.system->fileExists(profileAt())) return noProfile();
        if (profileDelete->parsed()) {
            if (const platform::Status deleted = session.system->deleteFile(profileAt());
                !deleted) {
                err << "quorvik-cli: could not delete " << platform::pathToUtf8(profileAt()) << ": "
                    << deleted.problem().reason << ".\n";
                return static_cast<int>(Exit::Failed);
            }
            out << "Profile \"" << profileName << "\" deleted.\n";
            return static_cast<int>(Exit::Done);
        }
        const auto kept = readChecked(profileAt());
        if (!kept) return static_cast<int>(Exit::Failed);
        const fs::path target = fs::absolute(platform::pathFromUtf8(profileFile));
        return writeProfile(target, *kept, "written to " + platform::pathToUtf8(target));
    }
    if (profileImport->parsed()) {
        auto imported = readChecked(fs::absolute(platform::pathFromUtf8(profileFile)));
        if (!imported) return static_cast<int>(Exit::Usage);
        if (profileName.empty()) profileName = imported->name;
        if (const auto problem = operations::profileNameProblem(profileName)) {
            err << "quorvik-cli: the profile's name \"" << profileName
                << "\" will not do: " << *problem
                << "; give one with --name. Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
        if (session.system->fileExists(profileAt())) {
            err << "quorvik-cli: there is a profile called \"" << profileName
                << "\" already; delete it first, or give another name with --name. Nothing was "
                   "written.\n";
            return static_cast<int>(Exit::Usage);
        }
        imported->name = profileName;
        return writeProfile(profileAt(), *imported,
                            "imported: " + platform::pathToUtf8(profileAt()));
    }
    std::optional<operations::Profile> applied;
    if (profileApply->parsed()) {
        if (!session.system->fileExists(profileAt())) return noProfile();
        applied = readChecked(profileAt());
        if (!applied) return static_cast<int>(Exit::Failed);
    }

    session.form = std::make_unique<app::Form1>(session.dialogs, *session.system);
    app::Form1& form = *session.form;
    form.wording = consoleWording();
    session.dialogs.problems = &form.ProblemsShown;
    session.dialogs.notices = &form.NoticesShown;
    // Start-up's own messages are the window's; only its problems are printed.
    session.dialogs.printMessages = false;
    // The game starts from its registry entry alone: a game never run yet has
    // no settings folder, and launch does not look for one.
    const bool needsFolder = !launch->parsed();
    session.dialogs.yesNoAnswer =
        settingsFolder.empty() && needsFolder ? platform::kYes : platform::kNo;
    form.Form_Load();

    if (launch->parsed()) {
        const std::size_t before = session.problems();
        // What the player must do for the game to start as asked is printed
        // like every other message that is not a failure.
        session.dialogs.printMessages = true;
        form.Launch_Click();
        return static_cast<int>(session.outcome(before));
    }
    if (!settingsFolder.empty()) {
        form.SettingsPath =
            platform::pathToUtf8(fs::absolute(platform::pathFromUtf8(settingsFolder)));
    }
    if (!form.folderKnown()) return static_cast<int>(Exit::Failed);
    if (restore->parsed()) {
        const std::vector<operations::RestoreChoice> choices = form.restoreChoices();
        if (list) {
            for (const operations::RestoreChoice& choice : choices) {
                std::string text = words::restoreChoiceText(choice);
                if (text.starts_with(choice.id + ": ")) text.erase(0, choice.id.size() + 2);
                out << choice.id << "\t" << text << '\n';
            }
            return static_cast<int>(Exit::Done);
        }
        const auto chosen = std::find_if(choices.begin(), choices.end(),
                                         [&](const operations::RestoreChoice& choice) { return choice.id == from; });
        if (chosen != choices.end()) {
            session.dialogs.printMessages = true;
            form.restoreFrom(*chosen);
            return static_cast<int>(session.outcome());
        }
        // Nothing to put back from a backup set that is not there: the restore says so.
        if (from == "sc1" || from == "sc0") {
            session.dialogs.printMessages = true;
            form.restoreFrom({from == "sc1" ? operations::RestoreChoice::Kind::LastSave
                                            : operations::RestoreChoice::Kind::Menu,
                              from, {}, {}});
            return static_cast<int>(session.outcome());
        }
        err << "quorvik-cli: there is nothing to restore called \"" << from
            << "\"; quorvik-cli restore --list shows what there is. Nothing was written.\n";
        return static_cast<int>(Exit::Usage);
    }

    form.Command1_Click();
    form.Command2_Click();
    const platform::CodePage& codePage = session.system->codePage();
    if (show->parsed()) {
        // A file that could not be loaded is said on standard error; what was
        // loaded is still shown, and nothing when neither file was.
        if (form.videoLoaded() || form.audioLoaded()) printSettings(out, form, codePage, json);
        return static_cast<int>(session.outcome());
    }
    if (backup->parsed()) {
        const std::size_t before = session.problems();
        session.dialogs.printMessages = true;
        form.Backup_Click();
        return static_cast<int>(session.outcome(before));
    }

    if (profileSave->parsed()) {
        if (!form.videoLoaded() && !form.audioLoaded()) return static_cast<int>(Exit::Failed);
        std::vector<std::string> leftOut;
        const operations::Profile kept = operations::profileOf(
            profileName, panel::valuesOf(form.panel),
            [&](const catalogue::Setting& setting) { return loadedValue(form, setting); }, leftOut);
        for (const std::string& value : leftOut) {
            err << "quorvik-cli: warning: " << codePage.toUtf8(value)
                << " is left out of the profile: its setting does not take it.\n";
        }
        const int written =
            writeProfile(profileAt(), kept, "saved: " + platform::pathToUtf8(profileAt()));
        return written != 0 ? written : static_cast<int>(session.outcome());
    }
    // Values a command gives count as typed: a save writes them even where the
    // file had no line.
    const auto typeValues = [&](const std::vector<operations::PresetValue>& values) {
        catalogue::Values typed = panel::valuesOf(form.panel);
        for (const auto& [setting, value] : values) {
            operations::setValue(typed, *setting, value);
            form.session.typed.push_back(setting->id);
        }
        panel::show(typed, form.panel);
    };
    if (applied) typeValues(applied->values);
    if (preset->parsed()) {
        const operations::Preset* chosen = operations::findPreset(presetName);
        if (chosen == nullptr) {
            err << "quorvik-cli: there is no preset called \"" << presetName
                << "\"; the presets are Performance, Quality and Handheld. Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
        typeValues(operations::presetValues(*chosen));
    }
    if (reset->parsed()) {
        if (resetKeys.empty() && !resetAll) {
            err << "quorvik-cli: reset needs the settings to reset, or --all. Nothing was "
                   "written.\n";
            return static_cast<int>(Exit::Usage);
        }
        std::vector<operations::PresetValue> chosen;
        if (resetAll) chosen = operations::defaultValues();
        for (const std::string& key : resetKeys) {
            const catalogue::Setting* setting = catalogue::find(key);
            if (setting == nullptr) {
                err << "quorvik-cli: unknown setting \"" << key << "\"; the settings are "
                    << catalogue::keyList() << ". Nothing was written.\n";
                return static_cast<int>(Exit::Usage);
            }
            auto value = catalogue::defaultOf(*setting);
            if (!value) {
                err << "quorvik-cli: " << setting->key
                    << " has no default its help names, so it cannot be reset; settings with "
                       "one are "
                    << platform::joined(resetKeyWords()) << ". Nothing was written.\n";
                return static_cast<int>(Exit::Usage);
            }
            chosen.emplace_back(setting, std::move(*value));
        }
        typeValues(chosen);
    }
    // set: every value is checked before anything is written.
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        const std::string key = assignment.substr(0, equals);
        const catalogue::Setting* setting = catalogue::find(key);
        if (equals == std::string::npos || setting == nullptr) {
            err << "quorvik-cli: unknown setting \"" << key << "\"; the settings are "
                << catalogue::keyList() << ". Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
        const std::string value = codePage.fromUtf8(assignment.substr(equals + 1));
        catalogue::Values typed = panel::valuesOf(form.panel);
        const auto problem = operations::setValue(typed, *setting, value);
        panel::show(typed, form.panel);
        if (problem) {
            err << "quorvik-cli: " << setting->key << " " << *problem << "; \""
                << assignment.substr(equals + 1) << "\" cannot be set. Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
        form.session.typed.push_back(setting->id);
    }
    // What is printed is the plan the save carries out.
    const auto print = [&](const operations::Plan& plan) {
        out << consoleText(words::planText(plan, codePage, "->", form.wording)) << '\n';
    };
    // A value outside what its help lists is warned of, or with --strict refused.
    const auto outsideAllowed = [&](const operations::Plan& plan) {
        for (const catalogue::OutsideValue& outside : plan.outside) {
            err << "quorvik-cli: " << (strict ? "" : "warning: ")
                << words::outsideLine(outside, codePage) << ".\n";
        }
        if (strict && !plan.outside.empty()) {
            err << "quorvik-cli: --strict saves no value outside what its help lists. Nothing was "
                   "written.\n";
            return false;
        }
        return true;
    };
    if (dryRun) {
        const operations::Plan plan = form.planOfSave();
        print(plan);
        out << "Dry run: nothing was written.\n";
        if (!outsideAllowed(plan)) return static_cast<int>(Exit::Usage);
        return static_cast<int>(session.outcome());
    }
    // Nothing is written that the console could not show first: a full disk
    // behind standard output stops the save. A reader that has gone (a broken
    // pipe) is no reason to stop; the output layer drops what it cannot take.
    bool refused = false;
    const auto printChecked = [&](const operations::Plan& plan) {
        refused = !outsideAllowed(plan);
        if (refused) return false;
        print(plan);
        return static_cast<bool>(out.flush());
    };
    const std::size_t before = session.problems();
    session.dialogs.printMessages = true;
    const operations::Report report = form.saveSettings(force, printChecked);
    if (refused) return static_cast<int>(Exit::Usage);
    if (report.outcome == operations::Report::Outcome::Withheld) {
        err << "quorvik-cli: the changes could not be written to standard output, so none was "
               "saved. Nothing was written.\n";
        return static_cast<int>(Exit::Failed);
    }
    if (report.outcome == operations::Report::Outcome::Changed) {
        err << "quorvik-cli: " << words::changedText(report.changed)
            << " Run the command again, or add --force to save over it (what it replaces is kept "
               "in the history).\n";
        return static_cast<int>(Exit::Failed);
    }
    return static_cast<int>(session.outcome(before));
}

}  // namespace quorvik::cli
