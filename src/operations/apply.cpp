#include "operations/apply.h"

#include "operations/history.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

// What the disk holds at a path: its bytes, or nothing when there is no file.
using Content = std::optional<std::string>;

// Large enough for anything Quorvik writes; a file far larger at a place of
// ours cannot be kept in the history, so it is not replaced.
constexpr std::uintmax_t kReadLimit = 64u * 1024u * 1024u;

Content after(const FileChange& change) {
    return change.action == Action::Delete ? std::nullopt : Content(change.bytes);
}

// What the disk holds at each of the plan's paths that a step writes or removes.
platform::Expected<std::vector<Content>> readNow(platform::System& system, const Plan& plan,
                                                 std::size_t& failing) {
    std::vector<Content> now(plan.files.size());
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (!system.fileExists(change.path)) continue;
        platform::ReadResult read = system.readFile(change.path, kReadLimit);
        if (!read) {
            failing = i;
            return platform::unreadable(change.path, read.problem().reason);
        }
        now[i] = std::move(*read);
    }
    return now;
}

std::vector<std::string> changedOf(const Plan& plan, const std::vector<Content>& now) {
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (!change.whenLoaded || now[i] == *change.whenLoaded || now[i] == after(change)) continue;
        changed.push_back(change.shown);
    }
    return changed;
}

Report failed(Report::Step step, const FileChange* change, Problem problem) {
    Report report;
    report.outcome = Report::Outcome::Failed;
    report.failedStep = step;
    if (change != nullptr) report.failedFile = change->shown;
    report.failure = std::move(problem);
    return report;
}

// Whether the step changes what the disk holds. A backup Quorvik writes anew
// with the same bytes is none.
bool changesBytes(const FileChange& change, const Content& now) {
    return now != after(change);
}

// The order in which a plan's files take their places: the backups first.
std::vector<std::size_t> replacementOrder(const Plan& plan) {
    std::vector<std::size_t> order;
    for (const bool backups : {true, false}) {
        for (std::size_t i = 0; i < plan.files.size(); ++i) {
            if ((plan.files[i].action == Action::Backup) == backups) order.push_back(i);
        }
    }
    return order;
}

// A backup whose last line is Quorvik's mark is one Quorvik wrote.
bool isOwnBackup(const std::string& bytes) {
    return settings::restoredBytes(bytes) != bytes;
}

// Whether the history already holds what a backup about to be replaced
// holds: the same bytes, or for a backup Quorvik wrote, the bytes it backs up
// kept as its settings file ("Settings/Video.sc1" backs up "Settings/Video.scr").
bool backupKept(platform::System& system, const Plan& plan, const FileChange& backup,
                const std::string& bytes) {
    if (isKept(system, plan.settingsFolder, backup.place, bytes)) return true;
    if (!isOwnBackup(bytes)) return false;
    const std::string backsUp = backup.place.substr(0, backup.place.rfind('.')) + ".scr";
    return isKept(system, plan.settingsFolder, backsUp, settings::restoredBytes(bytes));
}

}  // namespace

std::vector<std::string> changedSinceLoaded(platform::System& system, const Plan& plan) {
    std::size_t failing = 0;
    auto now = readNow(system, plan, failing);
    // A file that cannot be read now is one a save cannot check either.
    if (!now) return {plan.files[failing].shown};
    return changedOf(plan, *now);
}

namespace {

// One plan being carried out: what the disk held before, what is staged, and
// the report so far. Each step returns the failure that stops the plan.
class Carrying {
public:
    Carrying(platform::System& system, const Plan& plan, Observer* observer, Report& report,
             const std::vector<Content>& now)
        : system_(system),
          plan_(plan),
          observer_(observer),
          report_(report),
          now_(now),
          staged_(plan.files.size()) {}

    // Nothing the player made is lost: what is replaced is kept first. A
    // backup's old bytes are kept unless the history holds them already; a
    // backup that was not there is not recorded, as no restore should remove
    // one. The history is read before this save's entry is added to it.
    std::optional<Report> keepWhatIsReplaced(std::string_view what) {
        std::vector<KeptFile> kept;
        for (std::size_t i = 0; i < plan_.files.size(); ++i) {
            const FileChange& change = plan_.files[i];
            if (change.place.empty() || !changesBytes(change, now_[i])) continue;
            if (change.action == Action::Backup) {
                if (!now_[i] || backupKept(system_, plan_, change, *now_[i])) continue;
                if (!isOwnBackup(*now_[i])) {
                    report_.kept.push_back(change.shown);
                    report_.theirBackups.push_back(change.shown);
                }
            } else if (now_[i]) {
                report_.kept.push_back(change.shown);
            }
            kept.push_back({change.place, now_[i]});
        }
        if (kept.empty()) return std::nullopt;
        auto entry = writeHistoryEntry(system_, plan_.settingsFolder, what, kept);
        if (!entry) return failed(Report::Step::History, nullptr, entry.problem());
        report_.historyEntry = *entry;
        return std::nullopt;
    }

    // Every new file in full before any takes its place: the game's files,
    // then the backups, each announced as it is written.
    std::optional<Report> stageEveryFile() {
        for (const bool backups : {false, true}) {
            for (std::size_t i = 0; i < plan_.files.size(); ++i) {
                const FileChange& change = plan_.files[i];
                if (change.action == Action::Delete || (change.action == Action::Backup) != backups)
                    continue;
                if (observer_ != nullptr && backups) observer_->backingUp(change);
                auto file = system_.stageFile(change.path, change.bytes, change.options);
                if (!file) {
                    giveUp();
                    return failed(backups ? Report::Step::Backup : Report::Step::Write, &change,
                                  {Problem::Kind::WriteFailed, change.path, file.problem().reason});
                }
                staged_[i] = std::move(*file);
            }
        }
        return std::nullopt;
    }

    // From here a kill leaves a save the next Quorvik finishes from what the
    // entry records.
    std::optional<Report> recordTheReplacements() {
        std::vector<Replacement> replacements;
        for (const std::size_t i : replacementOrder(plan_)) {
            const FileChange& change = plan_.files[i];
            if (change.place.empty() || !changesBytes(change, now_[i])) continue;
            replacements.push_back({change.place, after(change), change.options.readOnly});
        }
        if (replacements.empty() || report_.historyEntry.empty()) return std::nullopt;
        if (platform::Status begun = beginReplacing(system_, report_.historyEntry, replacements);
            !begun) {
            giveUp();
            return failed(Report::Step::History, nullptr, begun.problem());
        }
        return std::nullopt;
    }

    // Each file in its place, the backups first; a failure puts back what
    // this plan already replaced.
    std::optional<Report> replaceInOrder() {
        std::vector<std::size_t> done;
        for (const std::size_t i : replacementOrder(plan_)) {
            const FileChange& change = plan_.files[i];
            const bool backup = change.action == Action::Backup;
            if (observer_ != nullptr && !backup) observer_->writing(change);
            platform::Status status = platform::Status::success();
            if (change.action == Action::Delete) {
                // Only a file the command means to remove though read-only loses the attribute.
                if (change.options.replaceReadOnly && now_[i])
                    system_.setReadOnly(change.path, false);
                status = system_.deleteFile(change.path);
            } else {
                status = system_.commitFile(*staged_[i]);
            }
            if (!status) {
                Report failure =
                    failed(backup ? Report::Step::Backup : Report::Step::Replace, &change,
                           {change.action == Action::Delete ? Problem::Kind::DeleteFailed
                                                            : Problem::Kind::WriteFailed,
                            change.path, status.reason()});
                putBack(done, failure);
                return failure;
            }
            staged_[i].reset();
            done.push_back(i);
            if (observer_ != nullptr && !backup) observer_->written(change);
        }
        if (!report_.historyEntry.empty()) finishReplacing(system_, report_.historyEntry);
        return std::nullopt;
    }

private:
    // Nothing replaced: the staged files and the entry go, as before any step.
    void giveUp() {
        for (auto& file : staged_) {
            if (file) system_.discardFile(*file);
            file.reset();
        }
        if (!report_.historyEntry.empty()) removeHistoryEntry(system_, report_.historyEntry);
    }

    // Puts back, newest first, what this plan already replaced, backups too.
    void putBack(const std::vector<std::size_t>& done, Report& failure) {
        for (auto& file : staged_) {
            if (file) system_.discardFile(*file);
            file.reset();
        }
        for (auto index = done.rbegin(); index != done.rend(); ++index) {
            const FileChange& back = plan_.files[*index];
            platform::WriteOptions restore = back.options;
            restore.replaceReadOnly = true;
            platform::Status putBack = platform::Status::success();
            if (now_[*index]) {
                putBack = system_.writeFile(back.path, *now_[*index], restore);
            } else {
                system_.setReadOnly(back.path, false);
                putBack = system_.deleteFile(back.path);
            }
            if (!putBack) failure.notPutBack.push_back(back.shown);
        }
        if (report_.historyEntry.empty()) return;
        finishReplacing(system_, report_.historyEntry);
        // Nothing replaced yet: nothing to keep either, as before any replacement.
        if (done.empty()) {
            removeHistoryEntry(system_, report_.historyEntry);
            return;
        }
        failure.historyEntry = report_.historyEntry;
        failure.kept = report_.kept;
    }

    platform::System& system_;
    const Plan& plan_;
    Observer* observer_;
    Report& report_;
    const std::vector<Content>& now_;
    std::vector<std::optional<platform::StagedFile>> staged_;
};

}  // namespace

Report apply(platform::System& system, const Plan& plan, const ApplyOptions& options,
             Observer* observer) {
    Report report;
    if (plan.files.empty()) return report;
    std::vector<Recovery> recovered;
    auto lock = lockSettingsFolder(system, plan.settingsFolder, &recovered);
    if (observer != nullptr) {
        for (const Recovery& recovery : recovered) observer->recovered(recovery);
    }
    report.recovered = recovered;
    const auto withRecovered = [&](Report result) {
        result.recovered = recovered;
        return result;
    };
    if (!lock) {
        if (lock.problem().kind != Problem::Kind::Busy) {
            return withRecovered(failed(Report::Step::Lock, nullptr, lock.problem()));
        }
        report.outcome = Report::Outcome::Busy;
        report.failure = lock.problem();
        return report;
    }

    // What the disk holds now, and whether anything else changed it.
    std::size_t failing = 0;
    auto read = readNow(system, plan, failing);
    if (!read)
        return withRecovered(failed(Report::Step::Read, &plan.files[failing], read.problem()));
    report.changed = changedOf(plan, *read);
    if (!report.changed.empty() && !options.force) {
        report.outcome = Report::Outcome::Changed;
        return report;
    }

    Carrying carrying(system, plan, observer, report, *read);
    if (auto stopped = carrying.keepWhatIsReplaced(options.what))
        return withRecovered(std::move(*stopped));
    if (auto stopped = carrying.stageEveryFile()) return withRecovered(std::move(*stopped));
    if (auto stopped = carrying.recordTheReplacements()) return withRecovered(std::move(*stopped));
    if (auto stopped = carrying.replaceInOrder()) return withRecovered(std::move(*stopped));
    pruneHistory(system, plan.settingsFolder, report.historyEntry);
    return report;
}

}  // namespace quorvik::operations
