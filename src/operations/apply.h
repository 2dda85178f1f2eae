#pragma once

// Carrying out a plan whole: with the settings folder locked, every file is
// checked against what it held when loaded, what will be replaced (a backup
// too) is kept in the history, every new file is written in full under a
// temporary name, the history records what is about to be replaced, and only
// then are they put in place, one by one, the backups first. A failure before
// that last step replaces nothing; a failure during it puts back what was
// already replaced, backups included; a kill during it leaves a save the next
// Quorvik finishes.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "operations/history.h"
#include "operations/plan.h"
#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::operations {

// Told of each step as it happens, in order, so that the player can be told
// too.
class Observer {
public:
    virtual ~Observer() = default;
    virtual void backingUp(const FileChange&) {}
    virtual void writing(const FileChange&) {}
    virtual void written(const FileChange&) {}
    // Taking the folder, a save that a kill had cut off was finished (or undone).
    virtual void recovered(const Recovery&) {}
};

struct ApplyOptions {
    // Replace files changed on disk since they were loaded (kept in the
    // history all the same).
    bool force = false;
    std::string what;  // what the history says came after its entry: "a save"
};

struct Report {
    enum class Outcome {
        Done,      // everything in the plan was carried out
        Busy,      // another Quorvik held the folder: nothing was done
        Changed,   // files changed on disk since they were loaded: nothing was done
        Failed,    // a step failed: see failedStep
        Withheld,  // the plan could not be shown where it was to be: nothing was done
    };
    // Where a failure happened. Up to Write nothing of the game's was replaced
    // (the backups written before stay); at Replace, what was replaced was
    // put back, but for notPutBack.
    enum class Step { None, Lock, Read, History, Backup, Write, Replace };

    Outcome outcome = Outcome::Done;
    std::vector<std::string> changed;  // shown names
    Step failedStep = Step::None;
    std::string failedFile;  // shown name
    std::optional<platform::Problem> failure;
    std::vector<std::string> notPutBack;  // shown names
    // The history entry that keeps what was replaced; empty when nothing was.
    std::filesystem::path historyEntry;
    std::vector<std::string> kept;  // shown names of the files whose bytes it keeps
    // Of those, the backups Quorvik did not write (another tool's, or the
    // player's own): the player is told where they went.
    std::vector<std::string> theirBackups;
    // Saves cut off earlier that taking the folder finished first.
    std::vector<Recovery> recovered;

    bool done() const { return outcome == Outcome::Done; }
};

// The files of the plan that changed on disk since they were loaded, as
// shown: what apply() would refuse to overwrite. Reads, writes nothing.
std::vector<std::string> changedSinceLoaded(platform::System& system, const Plan& plan);

Report apply(platform::System& system, const Plan& plan, const ApplyOptions& options,
             Observer* observer = nullptr);

}  // namespace quorvik::operations
