#include "operations/load.h"

#include "overrides/overrides.h"
#include "overrides/skills_file.h"
#include "settings/lines.h"
#include "settings/scr_format.h"
#include "settings/setting_values.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

// The skills file the tool writes is about 14 KB and a script far less; a
// file far larger is not one to read into memory.
constexpr std::uintmax_t kDataFileLimit = 8u * 1024u * 1024u;

DataFile readDataFile(platform::System& system, const fs::path& path) {
    if (!system.fileExists(path)) return std::optional<std::string>();
    platform::ReadResult read = system.readFile(path, kDataFileLimit);
    if (!read) return platform::unreadable(path, read.problem().reason);
    return std::optional<std::string>(std::move(*read));
}

}  // namespace

LoadedFile loadSettingsFile(platform::System& system, const fs::path& path, Place place,
                            Values& values) {
    const std::span<const settings::KeyRule> keys = settings::keyRules(place);
    LoadedFile file{path, std::nullopt, std::nullopt, std::nullopt, {}, {}};
    if (!system.fileExists(path)) {
        file.problem = Problem{Problem::Kind::NotFound, path, {}};
        return file;
    }
    platform::ReadResult read = system.readFile(path, settings::kMaxSettingsFileBytes);
    if (!read) {
        file.problem = platform::unreadable(path, read.problem().reason);
        return file;
    }
    const std::vector<std::string> lines = settings::settingsFileLines(*read);
    // Lines that are no setting change no value, so a file without any
    // leaves the values exactly as they were.
    Values loaded = values;
    bool recognised = false;
    for (const std::string& line : lines) recognised |= settings::applyLine(loaded, line, keys);
    if (!recognised) {
        file.problem = Problem{Problem::Kind::Unrecognised, path, {}};
        return file;
    }
    const std::vector<settings::UnlistedChoice> unlisted = settings::unlistedChoices(lines, keys);
    for (const settings::UnlistedChoice& choice : unlisted)
        loaded[choice.rule->setting] = choice.value;
    values = std::move(loaded);
    for (const Setting& setting : catalogue::settings()) {
        if (setting.place != place) continue;
        for (const settings::UnlistedChoice& choice : unlisted) {
            if (choice.rule->setting != setting.id) continue;
            file.unlisted.push_back({setting.id, choice.line, values.shown(setting.id)});
        }
        if (settings::fileText(lines, setting)) continue;
        file.missing.emplace_back(setting.id, values.shown(setting.id));
    }
    file.onDisk = *read;
    file.bytes = std::move(*read);
    return file;
}

DataFolder readDataFolder(platform::System& system, const fs::path& settingsFolder, Values& values,
                          std::vector<Problem>& problems) {
    DataFolder data;
    data.read = true;
    const fs::path scripts = overrides::scriptsFolder(settingsFolder);
    data.scriptsFolderExists = system.folderExists(scripts);
    data.skillsFolderExists = system.folderExists(overrides::skillsFolder(settingsFolder));
    for (const std::string_view name : overrides::scriptNames()) {
        data.scripts.emplace(std::string(name), readDataFile(system, scripts / name));
    }
    // Only the marker decides whether an effect shows on; a script that could
    // not be read is there all the same.
    for (const overrides::Effect& effect : overrides::effects()) {
        const DataFile& marker = data.scripts.find(effect.marker)->second;
        values[effect.setting] = marker && !*marker ? "on" : "off";
    }
    const fs::path skills = overrides::skillsFile(settingsFolder);
    data.skills = readDataFile(system, skills);
    if (!data.skills) {
        problems.push_back(data.skills.problem());
    } else if (*data.skills) {
        if (std::optional<std::string> value = overrides::fieldOfViewIn(**data.skills)) {
            values[overrides::kSkillsSetting] = std::move(*value);
        }
    }
    return data;
}

}  // namespace quorvik::operations
