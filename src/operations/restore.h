#pragma once

// File > Backup and File > Restore Backup... as plans: the backups of what
// was loaded, and putting files back from the backups or from an entry of the
// history.

#include <filesystem>
#include <string>
#include <vector>

#include "operations/load.h"
#include "operations/plan.h"
#include "operations/save_plan.h"
#include "platform/system.h"

namespace quorvik::operations {

// File > Backup: Video.sc0 and Audio.sc0 from the bytes loaded; a file that
// is not loaded gets no backup, and a NotLoaded refusal says so.
Plan planBackup(const std::filesystem::path& settingsFolder, const LoadedFile& video,
                const LoadedFile& audio, BackupMark mark);

// Something that can be put back.
struct RestoreChoice {
    enum class Kind { LastSave, Menu, History };
    Kind kind;
    std::string id;                  // "sc1", "sc0", or the history entry's name
    std::string what;                // History: what came after the entry
    std::vector<std::string> files;  // the backups, or the entry's files as shown
};

// The last save's backups and File > Backup's (when either file of a set is
// there), then the history's entries, newest first.
std::vector<RestoreChoice> restoreChoices(platform::System& system,
                                          const std::filesystem::path& settingsFolder);

struct RestorePlan {
    Plan plan;
    // Files a restore leaves as they are: the file and why.
    std::vector<std::pair<std::string, std::string>> leftAlone;
    // What the history will say came after the entry that keeps what is replaced.
    std::string what;
};

// Settings files are put back read-only, as the game keeps them; a backup is
// put back without its mark, byte for byte as it was loaded. A backup that is
// missing, unreadable or holds no setting leaves its file as it is. Reads the
// backups or the entry; writes nothing.
RestorePlan planRestore(platform::System& system, const std::filesystem::path& settingsFolder,
                        const RestoreChoice& choice);

}  // namespace quorvik::operations
