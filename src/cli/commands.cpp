#include "cli/commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "launch/launch.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "words/identity.h"
#include "words/messages.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;
namespace identity = words::identity;

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
bool loadedValue(const operations::Session& session, const catalogue::Setting& setting) {
    if (!session.placeLoaded(setting.place)) return false;
    if (setting.place == catalogue::Place::DataFolder) return true;
    const operations::LoadedFile& file =
        setting.place == catalogue::Place::Video ? session.video : session.audio;
    return std::none_of(file.missing.begin(), file.missing.end(),
                        [&](const auto& missing) { return missing.first == setting.id; });
}

// The JSON shape is versioned, so that scripts can rely on it: see the README.
void printJson(Console& console) {
    const operations::Session& session = console.session;
    const platform::CodePage& codePage = console.system().codePage();
    nlohmann::ordered_json shown = nlohmann::ordered_json::object();
    shown["format"] = "quorvik-settings";
    shown["version"] = 1;
    // Which files gave their settings: a setting of one that was not loaded is null.
    shown["files"]["Video.scr"]["loaded"] = session.videoLoaded();
    shown["files"]["Audio.scr"]["loaded"] = session.audioLoaded();
    shown["files"]["Data"]["loaded"] = session.data.read;
    nlohmann::ordered_json settings = nlohmann::ordered_json::object();
    for (const catalogue::Setting& setting : catalogue::settings()) {
        settings[std::string(setting.key)] =
            loadedValue(session, setting)
                ? jsonValue(setting, codePage.toUtf8(session.values.shown(setting.id)))
                : nlohmann::ordered_json(nullptr);
    }
    shown["settings"] = std::move(settings);
    console.out << shown.dump(2) << '\n';
}

// Puts files back, then loads both again, as the window then shows them.
void restoreFrom(Console& console, const operations::RestoreChoice& choice) {
    const operations::RestorePlan restore = console.session.planOfRestore(choice);
    const operations::Report report = console.session.restore(restore, nullptr);
    words::tellRecovered(console, report.recovered, console.wording);
    if (words::tellFailure(console, report)) return;
    words::tellRestored(console, choice, restore, report);
    if (!restore.plan.files.empty()) console.loadBoth();
}

// A value outside what its help lists is warned of, or with --strict refused.
bool outsideAllowed(Console& console, const operations::Plan& plan, bool strict) {
    for (const catalogue::OutsideValue& outside : plan.outside) {
        console.err << "quorvik-cli: " << (strict ? "" : "warning: ")
                    << words::outsideLine(outside, console.system().codePage()) << ".\n";
    }
    if (strict && !plan.outside.empty()) {
        console.err << "quorvik-cli: --strict saves no value outside what its help lists. Nothing "
                       "was written.\n";
        return false;
    }
    return true;
}

}  // namespace

Exit showCommand(Console& console, bool json) {
    // A file that could not be loaded is said on standard error; what was
    // loaded is still shown, and nothing when neither file was.
    const operations::Session& session = console.session;
    if (!session.videoLoaded() && !session.audioLoaded()) return console.outcome();
    if (json) {
        printJson(console);
        return console.outcome();
    }
    for (const catalogue::Setting& setting : catalogue::settings()) {
        if (!loadedValue(session, setting)) continue;
        console.out << setting.key << '='
                    << console.system().codePage().toUtf8(session.values.shown(setting.id)) << '\n';
    }
    return console.outcome();
}

Exit backupCommand(Console& console) {
    const std::size_t before = console.problems();
    console.printing = true;
    const operations::Plan plan =
        console.session.planOfBackup({identity::kToolVersion, identity::kMenuBackupUpdates});
    words::tellBackupRefusals(console, plan, console.wording);
    words::Announcer announcer(console, console.wording);
    const operations::Report report = console.session.backUp(plan, &announcer);
    if (!words::tellFailure(console, report))
        words::tellAfterBackup(console, report, console.wording);
    return console.outcome(before);
}

Exit restoreCommand(Console& console, const std::string& from, bool list) {
    console.session.folder = console.system().nativePath(console.settingsPath);
    const std::vector<operations::RestoreChoice> choices = console.session.restoreChoices();
    if (list) {
        for (const operations::RestoreChoice& choice : choices) {
            std::string text = words::restoreChoiceText(choice);
            if (text.starts_with(choice.id + ": ")) text.erase(0, choice.id.size() + 2);
            console.out << choice.id << "\t" << text << '\n';
        }
        return Exit::Done;
    }
    const auto chosen =
        std::find_if(choices.begin(), choices.end(),
                     [&](const operations::RestoreChoice& choice) { return choice.id == from; });
    console.printing = true;
    if (chosen != choices.end()) {
        restoreFrom(console, *chosen);
        return console.outcome();
    }
    // Nothing to put back from a backup set that is not there: the restore says so.
    if (from == "sc1" || from == "sc0") {
        restoreFrom(console, {from == "sc1" ? operations::RestoreChoice::Kind::LastSave
                                            : operations::RestoreChoice::Kind::Menu,
                              from,
                              {},
                              {}});
        return console.outcome();
    }
    console.err << "quorvik-cli: there is nothing to restore called \"" << from
                << "\"; quorvik-cli restore --list shows what there is. Nothing was written.\n";
    return Exit::Usage;
}

Exit launchCommand(Console& console) {
    const std::size_t before = console.problems();
    // What the player must do for the game to start as asked is printed like
    // every other message that is not a failure.
    console.printing = true;
    const launch::Launched told = launch::launchGame(console.system(), console.gameExePath);
    if (!told) {
        console.problem(told.problem().reason, platform::kCritical);
    } else if (*told) {
        console.message(**told, platform::kInformation);
    }
    return console.outcome(before);
}

Exit saveCommand(Console& console, const std::vector<operations::PresetValue>& values,
                 SaveFlags flags) {
    operations::Session& session = console.session;
    // Values a command gives count as typed: a save writes them even where
    // the file had no line.
    for (const auto& [setting, value] : values) {
        operations::setValue(session.values, *setting, value);
        session.typed.push_back(setting->id);
    }
    const operations::BackupMark mark{identity::kToolVersion, identity::kSaveBackupUpdates};
    // What is printed is the plan the save carries out.
    const auto print = [&](const operations::Plan& plan) {
        console.out << consoleText(words::planText(plan, console.system().codePage(), "->",
                                                   console.wording))
                    << '\n';
    };
    if (flags.dryRun) {
        const operations::Plan plan = session.planOfSave(mark);
        print(plan);
        console.out << "Dry run: nothing was written.\n";
        if (!outsideAllowed(console, plan, flags.strict)) return Exit::Usage;
        return console.outcome();
    }
    const std::size_t before = console.problems();
    console.printing = true;
    const operations::Plan plan = session.planOfSave(mark);
    if (!outsideAllowed(console, plan, flags.strict)) return Exit::Usage;
    // Nothing is written that the console could not show first: a full disk
    // behind standard output stops the save. A reader that has gone (a broken
    // pipe) is no reason to stop; the output layer drops what it cannot take.
    print(plan);
    if (!console.out.flush()) {
        console.err
            << "quorvik-cli: the changes could not be written to standard output, so none was "
               "saved. Nothing was written.\n";
        return Exit::Failed;
    }
    words::tellRefusals(console, plan, console.system().codePage(), console.wording);
    words::Announcer announcer(console, console.wording);
    const operations::Report report = session.save(plan, flags.force, &announcer);
    if (report.outcome == operations::Report::Outcome::Changed) {
        console.err
            << "quorvik-cli: " << words::changedText(report.changed)
            << " Run the command again, or add --force to save over it (what it replaces is kept "
               "in the history).\n";
        return Exit::Failed;
    }
    if (!words::tellFailure(console, report)) {
        words::tellAfterSave(console, plan, report, console.system().codePage(), console.wording);
    }
    return console.outcome(before);
}

fs::path ProfileFiles::at(const std::string& name) const {
    return operations::profilePath(configFolder, name);
}

std::optional<operations::Profile> ProfileFiles::read(const fs::path& file) {
    operations::ProfileRead checked = operations::readProfileFile(system, file);
    if (!checked.profile) {
        err << "quorvik-cli: " << platform::pathToUtf8(file) << ": "
            << checked.profile.problem().reason << ". Nothing was written.\n";
        return std::nullopt;
    }
    if (!checked.unknownKeys.empty()) {
        err << "quorvik-cli: warning: " << platform::pathToUtf8(file)
            << " holds settings Quorvik does not know, left out: "
            << platform::joined(checked.unknownKeys) << ".\n";
    }
    return std::move(*checked.profile);
}

Exit ProfileFiles::write(const fs::path& path, const operations::Profile& profile,
                         const std::string& name, const std::string& done) {
    const platform::Status status =
        operations::writeWhole(system, path, operations::profileBytes(profile, system.codePage()));
    if (!status) {
        err << "quorvik-cli: could not write " << platform::pathToUtf8(status.problem().path)
            << ": " << status.problem().reason << ". Nothing was written.\n";
        return Exit::Failed;
    }
    out << "Profile \"" << name << "\" " << done << ".\n";
    return Exit::Done;
}

Exit ProfileFiles::noProfile(const std::string& name) {
    err << "quorvik-cli: there is no profile called \"" << name
        << "\"; quorvik-cli profile list shows what there is. Nothing was written.\n";
    return Exit::Usage;
}

Exit profileListCommand(ProfileFiles& files) {
    for (const std::string& name : operations::profileNames(files.system, files.configFolder)) {
        files.out << name << '\n';
    }
    return Exit::Done;
}

Exit profileDeleteCommand(ProfileFiles& files, const std::string& name) {
    if (!files.system.fileExists(files.at(name))) return files.noProfile(name);
    if (const platform::Status deleted = files.system.deleteFile(files.at(name)); !deleted) {
        files.err << "quorvik-cli: could not delete " << platform::pathToUtf8(files.at(name))
                  << ": " << deleted.problem().reason << ".\n";
        return Exit::Failed;
    }
    files.out << "Profile \"" << name << "\" deleted.\n";
    return Exit::Done;
}

Exit profileExportCommand(ProfileFiles& files, const std::string& name, const std::string& file) {
    if (!files.system.fileExists(files.at(name))) return files.noProfile(name);
    auto kept = files.read(files.at(name));
    if (!kept) return Exit::Failed;
    const fs::path target = fs::absolute(platform::pathFromUtf8(file));
    return files.write(target, *kept, name, "written to " + platform::pathToUtf8(target));
}

Exit profileImportCommand(ProfileFiles& files, std::string name, const std::string& file) {
    auto imported = files.read(fs::absolute(platform::pathFromUtf8(file)));
    if (!imported) return Exit::Usage;
    if (name.empty()) name = imported->name;
    if (const platform::Status taken = operations::checkProfileName(name); !taken) {
        files.err << "quorvik-cli: the profile's name \"" << name
                  << "\" will not do: " << taken.reason()
                  << "; give one with --name. Nothing was written.\n";
        return Exit::Usage;
    }
    if (files.system.fileExists(files.at(name))) {
        files.err << "quorvik-cli: there is a profile called \"" << name
                  << "\" already; delete it first, or give another name with --name. Nothing was "
                     "written.\n";
        return Exit::Usage;
    }
    imported->name = name;
    return files.write(files.at(name), *imported, name,
                       "imported: " + platform::pathToUtf8(files.at(name)));
}

Exit profileSaveCommand(Console& console, ProfileFiles& files, const std::string& name) {
    const operations::Session& session = console.session;
    if (!session.videoLoaded() && !session.audioLoaded()) return Exit::Failed;
    std::vector<std::string> leftOut;
    const operations::Profile kept = operations::profileOf(
        name, session.values,
        [&](const catalogue::Setting& setting) { return loadedValue(session, setting); }, leftOut);
    for (const std::string& value : leftOut) {
        console.err << "quorvik-cli: warning: " << console.system().codePage().toUtf8(value)
                    << " is left out of the profile: its setting does not take it.\n";
    }
    const Exit written =
        files.write(files.at(name), kept, name, "saved: " + platform::pathToUtf8(files.at(name)));
    return written != Exit::Done ? written : console.outcome();
}

}  // namespace quorvik::cli
