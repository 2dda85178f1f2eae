#include "operations/restore.h"

#include <algorithm>

#include "operations/history.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;

struct SettingsFile {
    const char* stem;
    catalogue::Place place;
};

constexpr SettingsFile kSettingsFiles[] = {
    {"Video", catalogue::Place::Video},
    {"Audio", catalogue::Place::Audio},
};

const char* extensionOf(RestoreChoice::Kind kind) {
    return kind == RestoreChoice::Kind::LastSave ? ".sc1" : ".sc0";
}

bool holdsSettings(std::string_view bytes, std::span<const settings::KeyRule> keys) {
    catalogue::Values trial;
    const std::vector<std::string> lines = settings::settingsFileLines(bytes);
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return settings::applyLine(trial, line, keys); });
}

FileChange putBack(const fs::path& settingsFolder, const std::string& place, std::optional<std::string> bytes) {
    FileChange change;
    change.action = bytes ? Action::Write : Action::Delete;
    change.path = *placePath(settingsFolder, place);
    change.shown = shownPlace(place);
    change.place = place;
    change.bytes = bytes.value_or(std::string());
    // Settings files are kept read-only, as the game keeps them; their backups are not.
    if (place.starts_with("Settings/") && place.ends_with(".scr")) {
        change.options = {.readOnly = true, .replaceReadOnly = true};
    }
    return change;
}

}  // namespace

Plan planBackup(const fs::path& settingsFolder, const LoadedFile& video, const LoadedFile& audio,
                BackupMark mark) {
    Plan plan;
    plan.settingsFolder = settingsFolder;
    const std::pair<const char*, const LoadedFile*> files[] = {{"Video", &video}, {"Audio", &audio}};
    for (const auto& [stem, file] : files) {
        const std::string name = std::string(stem) + ".scr";
        if (!file->loaded()) {
            plan.refused.push_back({Refusal::Kind::NotLoaded, name, file->problem, {}, {}});
            continue;
        }
        FileChange backup;
        backup.action = Action::Backup;
        backup.path = settingsFolder / (std::string(stem) + ".sc0");
        backup.shown = std::string(stem) + ".sc0";
        backup.place = "Settings/" + backup.shown;
        backup.bytes = settings::backupContents(*file->bytes, mark.toolVersion, mark.updateAddress);
        plan.files.push_back(std::move(backup));
    }
    return plan;
}

std::vector<RestoreChoice> restoreChoices(platform::System& system, const fs::path& settingsFolder) {
    std::vector<RestoreChoice> choices;
    for (const auto kind : {RestoreChoice::Kind::LastSave, RestoreChoice::Kind::Menu}) {
        RestoreChoice choice{kind, kind == RestoreChoice::Kind::LastSave ? "sc1" : "sc0", {}, {}};
        for (const SettingsFile& file : kSettingsFiles) {
            const std::string name = std::string(file.stem) + extensionOf(kind);
            if (system.fileExists(settingsFolder / name)) choice.files.push_back(name);
        }
        if (!choice.files.empty()) choices.push_back(std::move(choice));
    }
    for (const HistoryEntry& entry : listHistory(system, settingsFolder)) {
        RestoreChoice choice{RestoreChoice::Kind::History, entry.name, entry.what, {}};
        for (const KeptFile& file : entry.files) choice.files.push_back(shownPlace(file.place));
        choices.push_back(std::move(choice));
    }
    return choices;
}

RestorePlan planRestore(platform::System& system, const fs::path& settingsFolder,
                        const RestoreChoice& choice) {
    RestorePlan restore;
    restore.plan.settingsFolder = settingsFolder;
    if (choice.kind == RestoreChoice::Kind::History) {
        restore.what = "restoring " + choice.id;
        auto entry = readHistoryEntry(system, settingsFolder, choice.id);
        if (!entry) {
            restore.leftAlone.push_back({choice.id, entry.problem().reason});
            return restore;
        }
        for (const KeptFile& file : entry->files) {
            restore.plan.files.push_back(putBack(settingsFolder, file.place, file.bytes));
        }
        return restore;
    }

    restore.what = choice.kind == RestoreChoice::Kind::LastSave ? "restoring the backups of the last save"
                                                                : "restoring the backups of File > Backup";
    for (const SettingsFile& file : kSettingsFiles) {
        const std::string name = std::string(file.stem) + ".scr";
        const std::string backupName = std::string(file.stem) + extensionOf(choice.kind);
        const fs::path backup = settingsFolder / backupName;
        if (!system.fileExists(backup)) {
            restore.leftAlone.push_back({name, "there is no backup " + backupName});
            continue;
        }
        const platform::ReadResult read = system.readFile(backup, settings::kMaxSettingsFileBytes);
        if (!read) {
            restore.leftAlone.push_back(
                {name, backupName + " could not be read (" + read.problem().reason + ")"});
            continue;
        }
        std::string bytes = settings::restoredBytes(*read);
        if (!holdsSettings(bytes, settings::keyRules(file.place))) {
            restore.leftAlone.push_back({name, backupName + " holds no settings"});
            continue;
        }
        restore.plan.files.push_back(putBack(settingsFolder, "Settings/" + name, std::move(bytes)));
    }
    return restore;
}

}  // namespace quorvik::operations
