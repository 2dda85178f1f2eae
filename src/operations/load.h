#pragma once

// Loading: a settings file into the values, and the Data folder as it stands,
// each kept as it was read so that a save can tell what it replaces and
// whether anything changed the disk since.

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "operations/values.h"
#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::operations {

// Video.scr or Audio.scr as "Set Video.scr" or "Set Audio.scr" last found it.
struct LoadedFile {
    std::filesystem::path path;
    // Exactly as read, while the file's settings are the values: what its
    // backups hold.
    std::optional<std::string> bytes;
    // What the disk holds as far as this session knows: the bytes loaded,
    // then what each save wrote.
    std::optional<std::string> onDisk;
    // Why the last load brought nothing into the window; nothing while the
    // file is loaded or before any load.
    std::optional<platform::Problem> problem;
    // The file's settings it had no line for, with their value right after
    // the load: a save does not invent them.
    std::vector<std::pair<SettingId, std::string>> missing;
    // The file's drop-down settings whose line selects none of the entries (a
    // newer game's value, a mod's, a hand edit's): the line as the file holds
    // it, and its value right after the load, the file's own. While the value
    // is still that, a save writes the line back rather than an entry.
    struct KeptLine {
        SettingId setting;
        std::string line;
        std::string atLoad;
    };
    std::vector<KeptLine> unlisted;

    bool loaded() const { return bytes.has_value(); }
};

// Reads the file of the place's settings and applies its lines to the
// values. A file that is missing, unreadable or holds no setting changes no
// value. A drop-down whose last line selects none of its entries takes that
// line's value as typed text.
LoadedFile loadSettingsFile(platform::System& system, const std::filesystem::path& path,
                            Place place, Values& values);

// One file of the Data folder as it was read: its bytes, nothing when it is
// not there, or why it could not be read.
using DataFile = platform::Expected<std::optional<std::string>>;

// The Data folder as the last "Set Video.scr" read it: what a save of motion
// blur, depth of field and the field of view starts from.
struct DataFolder {
    bool read = false;
    bool scriptsFolderExists = false;
    bool skillsFolderExists = false;
    std::map<std::string, DataFile, std::less<>> scripts;  // by name
    DataFile skills = std::optional<std::string>();
};

// Reads the override scripts and the skills file: motion blur and depth of
// field follow their marker files, the field of view the skills file (when it
// holds one). A skills file that cannot be read is reported and changes nothing.
DataFolder readDataFolder(platform::System& system, const std::filesystem::path& settingsFolder,
                          Values& values, std::vector<platform::Problem>& problems);

}  // namespace quorvik::operations
