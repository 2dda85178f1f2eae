#include "operations/load.h"

#include "overrides/overrides.h"
#include "overrides/skills_file.h"
#include "settings/lines.h"
#include "settings/setting_values.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

// The skills file the tool writes is about 14 KB and a script far less; a
// file far larger is not one to read into memory.
constexpr std::uintmax_t kDataFileLimit = 8u * 1024u * 1024u;

DataFile readDataFile(platform::System& system, const fs::path& path) {
    if (!system.fileExists(path)) return {};
    platform::ReadResult read = system.readFile(path, kDataFileLimit);
    if (!read.status) return {DataFile::State::Unreadable, {}, read.status.reason()};
    return {DataFile::State::Present, std::move(read.bytes), {}};
}

}  // namespace

LoadedFile loadSettingsFile(platform::System& system, const fs::path& path,
                            std::span<const settings::KeyRule> keys, Place place,
                            panel::Panel& panel) {
    LoadedFile file{path, std::nullopt, std::nullopt, std::nullopt, {}, {}};
    if (!system.fileExists(path)) {
        file.problem = Problem{Problem::Kind::NotFound, path, {}};
        return file;
    }
    platform::ReadResult read = system.readFile(path, settings::kMaxSettingsFileBytes);
    if (!read.status) {
        file.problem = Problem{Problem::Kind::Unreadable, path, read.status.reason()};
        return file;
    }
    const std::vector<std::string> lines = settings::settingsFileLines(read.bytes);
    // Lines that are no setting change no control, so a file without any
    // leaves the window exactly as it was.
    panel::Panel loaded = panel;
    bool recognised = false;
    for (const std::string& line : lines) recognised |= settings::applyLine(loaded, line, keys);
    if (!recognised) {
        file.problem = Problem{Problem::Kind::Unrecognised, path, {}};
        return file;
    }
    const std::vector<settings::UnlistedChoice> unlisted = settings::unlistedChoices(lines, keys);
    for (const settings::UnlistedChoice& choice : unlisted) {
        (loaded.*choice.rule->combo).setText(choice.value);
    }
    panel = std::move(loaded);
    for (const Setting& setting : allSettings()) {
        if (setting.place != place) continue;
        for (const settings::UnlistedChoice& choice : unlisted) {
            if (choice.rule->combo != setting.line->combo) continue;
            file.unlisted.push_back({&setting, choice.line, valueOf(panel, setting)});
        }
        if (settings::fileText(lines, *setting.line)) continue;
        file.missing.emplace_back(&setting, valueOf(panel, setting));
    }
    file.onDisk = read.bytes;
    file.bytes = std::move(read.bytes);
    return file;
}

DataFolder readDataFolder(platform::System& system, const fs::path& settingsFolder,
                          panel::Panel& panel, std::vector<Problem>& problems) {
    DataFolder data;
    data.read = true;
    const fs::path scripts = overrides::scriptsFolder(settingsFolder);
    data.scriptsFolderExists = system.folderExists(scripts);
    data.skillsFolderExists = system.folderExists(overrides::skillsFolder(settingsFolder));
    for (const std::string_view name : overrides::scriptNames()) {
        data.scripts.emplace(std::string(name), readDataFile(system, scripts / name));
    }
    // Only the marker decides what the box shows; a script that could not be
    // read is there all the same.
    for (const overrides::Effect& effect : overrides::effects()) {
        const DataFile& marker = data.scripts.find(effect.marker)->second;
        (panel.*effect.box).Value = marker.state == DataFile::State::Absent ? 1 : 0;
    }
    const fs::path skills = overrides::skillsFile(settingsFolder);
    data.skills = readDataFile(system, skills);
    if (data.skills.state == DataFile::State::Unreadable) {
        problems.push_back({Problem::Kind::Unreadable, skills, data.skills.reason});
    } else if (data.skills.state == DataFile::State::Present) {
        if (std::optional<std::string> value = overrides::fieldOfViewIn(data.skills.bytes)) {
            panel.Text15.Text = std::move(*value);
        }
    }
    return data;
}

}  // namespace quorvik::operations
