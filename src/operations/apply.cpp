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
        if (!read.status) {
            failing = i;
            return Problem{Problem::Kind::Unreadable, change.path, read.status.reason()};
        }
        now[i] = std::move(read.bytes);
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

Report apply(platform::System& system, const Plan& plan, const ApplyOptions& options,
             Observer* observer) {
    Report report;
    if (plan.files.empty()) return report;
    std::vector<Recovery> recovered;
    auto lock = lockSettingsFolder(system, plan.settingsFolder, &recovered);
    if (observer != nullptr) {
        for (const Recovery& recovery : recovered) observer->recovered(recovery);
    }
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
    report.recovered = recovered;

    // What the disk holds now, and whether anything else changed it.
    std::size_t failing = 0;
    auto read = readNow(system, plan, failing);
    if (!read)
        return withRecovered(failed(Report::Step::Read, &plan.files[failing], read.problem()));
    const std::vector<Content>& now = *read;
    report.changed = changedOf(plan, now);
    if (!report.changed.empty() && !options.force) {
        report.outcome = Report::Outcome::Changed;
        return report;
    }

    // Nothing the player made is lost: what is replaced is kept first. A
    // backup's old bytes are kept unless the history holds them already; a
    // backup that was not there is not recorded, as no restore should remove one.
    // The history is read before this save's entry is added to it.
    std::vector<KeptFile> kept;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (change.place.empty() || !changesBytes(change, now[i])) continue;
        if (change.action == Action::Backup) {
            if (!now[i] || backupKept(system, plan, change, *now[i])) continue;
            if (!isOwnBackup(*now[i])) {
                report.kept.push_back(change.shown);
                report.theirBackups.push_back(change.shown);
            }
        } else if (now[i]) {
            report.kept.push_back(change.shown);
        }
        kept.push_back({change.place, now[i]});
    }
    if (!kept.empty()) {
        auto entry = writeHistoryEntry(system, plan.settingsFolder, options.what, kept);
        if (!entry) return withRecovered(failed(Report::Step::History, nullptr, entry.problem()));
        report.historyEntry = *entry;
    }
    const auto undoHistory = [&] {
        if (!report.historyEntry.empty()) removeHistoryEntry(system, report.historyEntry);
    };

    // Every new file in full before any takes its place.
    std::vector<std::optional<platform::StagedFile>> staged(plan.files.size());
    const auto discardAll = [&] {
        for (auto& file : staged) {
            if (file) system.discardFile(*file);
            file.reset();
        }
    };
    // The game's files, then the backups, each announced as it is written.
    std::vector<std::size_t> stagingOrder;
    for (const bool backups : {false, true}) {
        for (std::size_t i = 0; i < plan.files.size(); ++i) {
            const Action action = plan.files[i].action;
            if (action != Action::Delete && (action == Action::Backup) == backups)
                stagingOrder.push_back(i);
        }
    }
    for (const std::size_t i : stagingOrder) {
        const FileChange& change = plan.files[i];
        const bool backup = change.action == Action::Backup;
        if (observer != nullptr && backup) observer->backingUp(change);
        auto file = system.stageFile(change.path, change.bytes, change.options);
        if (!file) {
            discardAll();
            undoHistory();
            return withRecovered(
                failed(backup ? Report::Step::Backup : Report::Step::Write, &change,
                       {Problem::Kind::WriteFailed, change.path, file.problem().reason}));
        }
        staged[i] = std::move(*file);
    }

    // From here a kill leaves a save the next Quorvik finishes from what the
    // entry records.
    const std::vector<std::size_t> order = replacementOrder(plan);
    std::vector<Replacement> replacements;
    for (const std::size_t i : order) {
        const FileChange& change = plan.files[i];
        if (change.place.empty() || !changesBytes(change, now[i])) continue;
        replacements.push_back({change.place, after(change), change.options.readOnly});
    }
    if (!replacements.empty() && !report.historyEntry.empty()) {
        if (platform::Status begun = beginReplacing(system, report.historyEntry, replacements);
            !begun) {
            discardAll();
            undoHistory();
            return withRecovered(failed(Report::Step::History, nullptr, begun.problem()));
        }
    }

    std::vector<std::size_t> done;
    for (const std::size_t i : order) {
        const FileChange& change = plan.files[i];
        const bool backup = change.action == Action::Backup;
        if (observer != nullptr && !backup) observer->writing(change);
        platform::Status status = platform::Status::success();
        if (change.action == Action::Delete) {
            // Only a file the command means to remove though read-only loses the attribute.
            if (change.options.replaceReadOnly && now[i]) system.setReadOnly(change.path, false);
            status = system.deleteFile(change.path);
        } else {
            status = system.commitFile(*staged[i]);
        }
        if (!status) {
            discardAll();
            Report failure = failed(backup ? Report::Step::Backup : Report::Step::Replace, &change,
                                    {change.action == Action::Delete ? Problem::Kind::DeleteFailed
                                                                     : Problem::Kind::WriteFailed,
                                     change.path, status.reason()});
            // Put back, newest first, what this plan already replaced, backups too.
            for (auto index = done.rbegin(); index != done.rend(); ++index) {
                const FileChange& back = plan.files[*index];
                platform::WriteOptions restore = back.options;
                restore.replaceReadOnly = true;
                platform::Status putBack = platform::Status::success();
                if (now[*index]) {
                    putBack = system.writeFile(back.path, *now[*index], restore);
                } else {
                    system.setReadOnly(back.path, false);
                    putBack = system.deleteFile(back.path);
                }
                if (!putBack) failure.notPutBack.push_back(back.shown);
            }
            if (!report.historyEntry.empty()) finishReplacing(system, report.historyEntry);
            // Nothing replaced yet: nothing to keep either, as before any replacement.
            if (done.empty()) {
                undoHistory();
            } else {
                failure.historyEntry = report.historyEntry;
                failure.kept = report.kept;
            }
            return withRecovered(std::move(failure));
        }
        staged[i].reset();
        done.push_back(i);
        if (observer != nullptr && !backup) observer->written(change);
    }
    if (!report.historyEntry.empty()) finishReplacing(system, report.historyEntry);
    pruneHistory(system, plan.settingsFolder, report.historyEntry);
    return report;
}

}  // namespace quorvik::operations
