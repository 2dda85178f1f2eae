#pragma once

// The console's commands, one function each, over the session: each loads
// what it needs, tells what happened through the console, and returns its
// exit status from what the session reported.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/console.h"
#include "operations/presets.h"
#include "operations/profiles.h"

namespace quorvik::cli {

// show [--json]: the settings the files gave, nothing made up.
Exit showCommand(Console& console, bool json);
// backup: File > Backup.
Exit backupCommand(Console& console);
// restore --list, or restore --from ID.
Exit restoreCommand(Console& console, const std::string& from, bool list);
// launch: the game without its intro videos.
Exit launchCommand(Console& console);

// How a command that saves makes its save.
struct SaveFlags {
    bool dryRun = false;
    bool force = false;
    bool strict = false;
};
// The values a command gives (set, reset, preset, profile apply) set as typed,
// then saved as File > Save Settings saves, its plan printed first.
Exit saveCommand(Console& console, const std::vector<operations::PresetValue>& values,
                 SaveFlags flags);

// The profiles' own files, which need no game.
struct ProfileFiles {
    platform::System& system;
    std::filesystem::path configFolder;
    std::ostream& out;
    std::ostream& err;

    std::filesystem::path at(const std::string& name) const;
    // A profile file read and checked; nothing when it cannot be used (said why).
    std::optional<operations::Profile> read(const std::filesystem::path& file);
    // A profile written whole to `path`, then said so under `name`.
    Exit write(const std::filesystem::path& path, const operations::Profile& profile,
               const std::string& name, const std::string& done);
    Exit noProfile(const std::string& name);
};
Exit profileListCommand(ProfileFiles& files);
Exit profileDeleteCommand(ProfileFiles& files, const std::string& name);
Exit profileExportCommand(ProfileFiles& files, const std::string& name, const std::string& file);
Exit profileImportCommand(ProfileFiles& files, std::string name, const std::string& file);
// profile save NAME: the settings the files hold now.
Exit profileSaveCommand(Console& console, ProfileFiles& files, const std::string& name);

}  // namespace quorvik::cli
