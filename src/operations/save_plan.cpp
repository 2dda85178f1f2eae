#include "operations/save_plan.h"

#include <algorithm>
#include <map>
#include <set>

#include "overrides/overrides.h"
#include "overrides/skills_file.h"
#include "settings/lines.h"
#include "settings/setting_values.h"
#include "settings/settings_files.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kGameOwnView = "62.5 (the game's own)";

// The key a setting line begins with, as the setting's own key where its
// file may spell it another way (the game reads some keys in two spellings).
std::string keyOf(std::string_view line) {
    const std::string key(line.substr(0, line.find('(')));
    for (const Setting& setting : catalogue::settings()) {
        for (const std::string_view form : setting.readAs) {
            if (form.substr(0, form.find('(')) == key) return std::string(setting.key);
        }
    }
    return key;
}

// Lines of the loaded file the new one does not hold as they were: dropped
// (comments and keys the game's layout has no line for, and all but the last
// line of a key given twice) or rewritten (a key's line written another way
// though its setting does not change). A changed setting is listed as such.
void compareLines(const std::vector<std::string>& loaded, const std::vector<std::string>& written,
                  std::span<const settings::TemplateLine> layout, const std::vector<std::string>& changedKeys,
                  const platform::CodePage& codePage, FileChange& change) {
    std::map<std::string, std::size_t> lineOfKey;  // template position of every key with a line
    std::map<std::string, int> comments;           // the template's comment lines, by count
    std::set<std::string> commentedKeys;           // keys the template names in a comment
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const settings::TemplateLine& line = layout[i];
        if (!line.setting) {
            if (line.text.starts_with('!') || line.text.empty()) {
                ++comments[std::string(line.text)];
                if (!line.text.empty())
                    commentedKeys.insert(keyOf(std::string(line.text.substr(1))));
                continue;
            }
        }
        lineOfKey[keyOf(written[i])] = i;
    }
    std::map<std::string, std::size_t> lastOfKey;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (!loaded[i].starts_with('!')) lastOfKey[keyOf(loaded[i])] = i;
    }
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        const std::string& line = loaded[i];
        if (line.empty()) continue;
        if (line.starts_with('!')) {
            if (comments[line]-- > 0) continue;
        } else if (const auto slot = lineOfKey.find(keyOf(line));
                   slot != lineOfKey.end() && lastOfKey[slot->first] == i) {
            const std::string& now = written[slot->second];
            if (line == now) continue;
            const bool settingChanges =
                std::find(changedKeys.begin(), changedKeys.end(), slot->first) != changedKeys.end();
            if (!settingChanges) {
                change.rewritten.push_back({{}, codePage.toUtf8(line), codePage.toUtf8(now)});
            }
            continue;
        }
        change.dropped.push_back(codePage.toUtf8(line));
        // The game writes a value line for some keys the layout keeps only as
        // a comment (WindowOffset, Curves): dropping the game's own line is no
        // loss of the player's. A comment, an unknown key or a key given twice is theirs.
        const std::string key = keyOf(line);
        const bool gamesOwn = !line.starts_with('!') && commentedKeys.contains(key) &&
                              !lineOfKey.contains(key) && lastOfKey[key] == i;
        if (!gamesOwn) change.handEdited = true;
    }
}

struct SettingsFile {
    const char* name;
    const char* backup;
    Place place;
    const LoadedFile& loaded;
    std::vector<settings::BadNumber> badNumbers;
    std::span<const settings::TemplateLine> layout;
};

void planSettingsFile(const SaveInput& input, const Values& saved, const SettingsFile& file,
                      Plan& plan, std::vector<FileChange>& writes) {
    const LoadedFile& loaded = file.loaded;
    if (!loaded.loaded()) {
        plan.refused.push_back({Refusal::Kind::NotLoaded, file.name, loaded.problem, {}, {}});
        return;
    }
    if (!file.badNumbers.empty()) {
        plan.refused.push_back({Refusal::Kind::BadNumbers, file.name, {}, file.badNumbers, {}});
        return;
    }
    // A setting whose value is still as the load left it, with no value typed.
    const auto asLoaded = [&](SettingId setting, const std::string& atLoad) {
        const bool typed =
            std::find(input.typed.begin(), input.typed.end(), setting) != input.typed.end();
        return !typed && saved.shown(setting) == atLoad;
    };
    std::vector<std::string> missing;
    for (const auto& [setting, atLoad] : loaded.missing) {
        if (asLoaded(setting, atLoad)) missing.push_back(catalogue::setting(setting).caption());
    }
    if (!missing.empty()) {
        plan.refused.push_back({Refusal::Kind::MissingSettings, file.name, {}, {}, missing});
        return;
    }

    const fs::path folder = *input.settingsFolder;
    FileChange backup;
    backup.action = Action::Backup;
    backup.path = folder / file.backup;
    backup.shown = file.backup;
    backup.place = std::string("Settings/") + file.backup;
    backup.bytes = settings::backupContents(*loaded.bytes, input.mark.toolVersion, input.mark.updateAddress);
    const std::string onDisk = loaded.onDisk.value_or(std::string());
    plan.files.push_back(std::move(backup));

    std::vector<std::string> lines = settings::buildLines(saved, file.layout);
    // A value none of the drop-down's entries shows goes back as the file had
    // it: the template would write the field quoted, or a position of -1.
    for (const LoadedFile::KeptLine& kept : loaded.unlisted) {
        if (!asLoaded(kept.setting, kept.atLoad)) continue;
        for (std::size_t i = 0; i < file.layout.size(); ++i) {
            if (file.layout[i].setting == kept.setting) lines[i] = kept.line;
        }
    }
    FileChange write;
    write.action = Action::Write;
    write.path = loaded.path;
    write.shown = file.name;
    write.place = std::string("Settings/") + file.name;
    write.whenLoaded = loaded.onDisk;
    write.bytes = settings::joinLines(lines);
    // The game keeps its settings files read-only.
    write.options = {.readOnly = true, .replaceReadOnly = true};
    write.announced = true;

    const std::vector<std::string> before = settings::settingsFileLines(onDisk);
    std::vector<std::string> changedKeys;
    for (const Setting& setting : catalogue::settings()) {
        if (setting.place != file.place) continue;
        const std::optional<std::string> was = settings::fileText(before, setting);
        const std::string now = saved.shown(setting.id);
        if (was == now) continue;
        changedKeys.emplace_back(setting.key);
        write.settings.push_back({setting.caption(),
                                  was ? input.codePage.toUtf8(*was) : "(not in the file)",
                                  input.codePage.toUtf8(now)});
    }
    compareLines(before, lines, file.layout, changedKeys, input.codePage, write);
    write.reformatted = write.bytes != onDisk && write.settings.empty() &&
                        write.dropped.empty() && write.rewritten.empty();
    writes.push_back(std::move(write));
}

FileChange dataChange(Action action, const fs::path& path, std::string_view folder,
                      std::string_view name, const DataFile& file) {
    FileChange change;
    change.action = action;
    change.path = path;
    change.shown = "Data\\" + std::string(folder) + "\\" + std::string(name);
    change.place = "Data/" + std::string(folder) + "/" + std::string(name);
    change.whenLoaded = file ? *file : std::nullopt;
    return change;
}

void planScripts(const SaveInput& input, const Values& saved, Plan& plan) {
    const fs::path folder = overrides::scriptsFolder(*input.settingsFolder);
    // "Motion blur and depth of field", as a sentence begins.
    std::string notSwitchedOff;
    for (const overrides::Effect& effect : overrides::effects()) {
        const std::string caption = catalogue::setting(effect.setting).caption();
        const int value = saved[effect.setting] == "on" ? 1 : 0;
        const std::string after = value != 0 ? "on" : "off";
        // The marker there means the effect is off.
        const DataFile& marker = input.data.scripts.find(effect.marker)->second;
        const bool markerThere = !marker || marker->has_value();
        const std::string before = markerThere ? "off" : "on";
        const bool changes = before != after;
        if (value == 0 && !input.data.scriptsFolderExists) {
            // Writing needs the folder, and the tool never creates the game's folders.
            std::string inWords = caption;
            for (char& c : inWords) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
            notSwitchedOff += (notSwitchedOff.empty() ? "" : " and ") + inWords;
            continue;
        }
        if (changes) plan.dataSettings.push_back({"Data\\Scripts", {caption, before, after}});
        const auto names = value == 0 ? effect.written : effect.deleted;
        for (const std::string_view name : names) {
            const DataFile& file = input.data.scripts.find(name)->second;
            const std::string ours = overrides::scriptText(name);
            if (!file) {
                plan.notes.push_back(
                    {Note::Kind::FileUnreadable, folder / name, file.problem().reason});
                continue;
            }
            const bool present = file->has_value();
            if (value == 0 && present && **file == ours) continue;
            if (value != 0 && !present) continue;
            FileChange change =
                dataChange(value == 0 ? Action::Write : Action::Delete, folder / name, "Scripts", name, file);
            if (value == 0) change.bytes = ours;
            change.handEdited = present && **file != ours;
            change.implied = changes && !change.handEdited;
            plan.files.push_back(std::move(change));
        }
    }
    if (!notSwitchedOff.empty()) {
        notSwitchedOff[0] = static_cast<char>(notSwitchedOff[0] - 'a' + 'A');
        plan.notes.push_back({Note::Kind::FolderMissing, folder, notSwitchedOff + " could not be switched off."});
    }
}

void planSkillsFile(const SaveInput& input, const Values& saved, Plan& plan) {
    const fs::path path = overrides::skillsFile(*input.settingsFolder);
    const std::string& view = saved[overrides::kSkillsSetting];
    const std::optional<int> order = overrides::compareWithTheGamesView(view);
    // The text goes into an XML attribute of the game's file: only a plain
    // number is safe there.
    if (!order) {
        plan.notes.push_back({Note::Kind::NotANumber, path, view});
        return;
    }
    if (*order < 0) {
        plan.notes.push_back({Note::Kind::BelowDefault, path, view});
        return;
    }
    if (!overrides::gameTakesFieldOfView(view)) {
        plan.notes.push_back({Note::Kind::TooWide, path, view});
        return;
    }
    const DataFile& file = input.data.skills;
    if (!file) {
        plan.notes.push_back({Note::Kind::FileUnreadable, path, file.problem().reason});
        return;
    }
    if (!input.data.skillsFolderExists) {
        // Nothing to remove from a folder that is not there.
        if (*order > 0) {
            plan.notes.push_back({Note::Kind::FolderMissing, overrides::skillsFolder(*input.settingsFolder),
                                  "The field of view was not saved."});
        }
        return;
    }
    const bool present = file->has_value();
    const std::optional<std::string> onDisk =
        present ? overrides::fieldOfViewIn(**file) : std::nullopt;
    const std::string before = onDisk ? input.codePage.toUtf8(*onDisk) : std::string(kGameOwnView);
    const std::string after = *order == 0 ? std::string(kGameOwnView) : input.codePage.toUtf8(view);
    const bool changes = before != after;
    if (changes) {
        plan.dataSettings.push_back(
            {"Data\\Skills\\default_levels.xml",
             {catalogue::setting(overrides::kSkillsSetting).caption(), before, after}});
    }

    // What the tool writes for the value the file holds: anything else is the player's own.
    const bool handEdited = present && **file != overrides::skillsFileText(onDisk.value_or(""));
    if (*order == 0) {
        if (!present) return;
        FileChange change = dataChange(Action::Delete, path, "Skills", "default_levels.xml", file);
        change.handEdited = handEdited;
        change.implied = changes && !handEdited;
        plan.files.push_back(std::move(change));
        return;
    }
    const std::string ours = overrides::skillsFileText(view);
    if (present && **file == ours) return;
    FileChange change = dataChange(Action::Write, path, "Skills", "default_levels.xml", file);
    change.bytes = ours;
    change.handEdited = handEdited;
    change.implied = changes && !handEdited;
    plan.files.push_back(std::move(change));
}

}  // namespace

void recordWritten(const Plan& plan, LoadedFile& video, LoadedFile& audio, DataFolder& data) {
    for (const FileChange& change : plan.files) {
        if (change.action == Action::Backup) continue;
        const bool writes = change.action == Action::Write;
        if (change.place == "Settings/Video.scr" || change.place == "Settings/Audio.scr") {
            LoadedFile& file = change.place == "Settings/Video.scr" ? video : audio;
            file.onDisk = writes ? std::optional<std::string>(change.bytes) : std::nullopt;
            // The file now holds a line for every setting.
            file.missing.clear();
            // A value written back stays the file's own; one replaced by an entry is gone.
            const std::vector<std::string> now =
                settings::settingsFileLines(file.onDisk.value_or(""));
            std::erase_if(file.unlisted, [&](const LoadedFile::KeptLine& kept) {
                return std::find(now.begin(), now.end(), kept.line) == now.end();
            });
            continue;
        }
        DataFile* file = nullptr;
        if (change.place.starts_with("Data/Scripts/")) {
            const auto found = data.scripts.find(change.place.substr(std::string_view("Data/Scripts/").size()));
            if (found != data.scripts.end()) file = &found->second;
        } else if (change.place == "Data/Skills/default_levels.xml") {
            file = &data.skills;
        }
        if (file != nullptr) {
            *file = DataFile(writes ? std::optional<std::string>(change.bytes) : std::nullopt);
        }
    }
}

Plan planSave(const SaveInput& input) {
    Plan plan;
    // The values as the save writes them: blanks around numbers dropped.
    Values saved = input.values;
    std::vector<settings::BadNumber> videoBad = settings::tidyVideoNumbers(saved);
    std::vector<settings::BadNumber> audioBad = settings::tidyAudioNumbers(saved);
    std::string& view = saved[overrides::kSkillsSetting];
    view = std::string(platform::trimBlanks(view));
    if (input.settingsFolder) plan.settingsFolder = *input.settingsFolder;

    // Both backups come before either settings file is written.
    std::vector<FileChange> writes;
    const SettingsFile files[] = {
        {"Video.scr", "Video.sc1", Place::Video, input.video, std::move(videoBad),
         settings::videoTemplate()},
        {"Audio.scr", "Audio.sc1", Place::Audio, input.audio, std::move(audioBad),
         settings::audioTemplate()},
    };
    for (const SettingsFile& file : files) {
        // Without a folder there is nowhere to keep backups and history: a file
        // is written only into a known one (as it is loaded only from one).
        if (!input.settingsFolder && file.loaded.loaded()) continue;
        planSettingsFile(input, saved, file, plan, writes);
    }
    for (FileChange& write : writes) plan.files.push_back(std::move(write));
    // The values a written file holds that its help texts do not list.
    std::vector<Place> written;
    for (const FileChange& change : plan.files) {
        if (change.action != Action::Write) continue;
        if (change.place == "Settings/Video.scr") written.push_back(Place::Video);
        if (change.place == "Settings/Audio.scr") written.push_back(Place::Audio);
    }
    plan.outside = catalogue::valuesOutsideValid(saved, written);

    if (!input.settingsFolder) {
        plan.notes.push_back({Note::Kind::FolderUnknown, {}, {}});
        return plan;
    }
    if (!input.data.read) {
        plan.notes.push_back({Note::Kind::DataNotRead, {}, {}});
        return plan;
    }
    planScripts(input, saved, plan);
    planSkillsFile(input, saved, plan);
    return plan;
}

}  // namespace quorvik::operations
