#pragma once

// One player's work on the game's files, as both front ends do it: the
// settings folder, what was loaded from it, the settings' values, and the
// commands on them (load, plan and carry out a save, back up, restore). It
// shows nothing: each command returns what happened, and the window's
// presenter or the console tells the player in its own way.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "operations/apply.h"
#include "operations/load.h"
#include "operations/plan.h"
#include "operations/restore.h"
#include "operations/save_plan.h"
#include "operations/values.h"
#include "platform/system.h"

namespace quorvik::operations {

class Session {
public:
    explicit Session(platform::System& system) : system_(system) {}

    platform::System& system() { return system_; }

    // The settings folder; nothing while none is known.
    std::optional<std::filesystem::path> folder;
    // The settings' values as the player has them now.
    Values values;
    // Each file as its last load found it, and the Data folder as the last
    // load of Video.scr read it: what a save starts from and checks the disk against.
    LoadedFile video;
    LoadedFile audio;
    DataFolder data;
    // Settings given a value on purpose (the console's KEY=VALUE), so that a
    // save writes them even where the file had no line for them.
    std::vector<SettingId> typed;

    // What loading a settings file brought besides the file itself.
    struct Loading {
        // A save cut off earlier, finished before anything was read.
        std::vector<Recovery> recovered;
        // The Data folder's own problems, when it was read with the file.
        std::vector<platform::Problem> dataProblems;
    };
    // Loads Video.scr from `file` into the values; with the folder known, a
    // save cut off earlier is finished first, and unless the file could not
    // be read the Data folder beside it is read too.
    Loading loadVideo(const std::filesystem::path& file);
    // Loads Audio.scr from `file`, the cut-off save finished first likewise.
    Loading loadAudio(const std::filesystem::path& file);

    bool videoLoaded() const { return video.loaded(); }
    bool audioLoaded() const { return audio.loaded(); }
    // Whether the settings saved in `place` were read in this session: their
    // file loaded, or for the Data folder's, the folder read.
    bool placeLoaded(Place place) const;

    // What a save would do now. Writes nothing.
    Plan planOfSave(BackupMark mark) const;
    // Carries a save's plan out; what the session knows of the disk then
    // follows what it wrote.
    Report save(const Plan& plan, bool force, Observer* observer);
    // The files of a plan changed on disk since they were loaded.
    std::vector<std::string> changedSinceLoaded(const Plan& plan);

    // File > Backup: the backups of what was loaded.
    Plan planOfBackup(BackupMark mark) const;
    Report backUp(const Plan& plan, Observer* observer);

    // What can be put back, and putting one of them back.
    std::vector<RestoreChoice> restoreChoices();
    RestorePlan planOfRestore(const RestoreChoice& choice);
    Report restore(const RestorePlan& restore, Observer* observer);

private:
    std::vector<Recovery> tidy();

    platform::System& system_;
};

}  // namespace quorvik::operations
