#include "operations/apply.h"

#include "operations/history.h"
#include "settings/lines.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

// What the disk holds at a path: its bytes, or nothing when there is no file.
using Content = std::optional<std::string>;

// Large enough for anything Quorvik writes; a file far larger at a place of
// ours cannot be kept in the history, so it is not replaced.
constexpr std::uintmax_t kReadLimit = 64u * 1024u * 1024u;

bool replaces(const FileChange& change) {
    return change.action == Action::Write || change.action == Action::Delete;
}

Content after(const FileChange& change) {
    return change.action == Action::Write ? Content(change.bytes) : std::nullopt;
}

// What the disk holds at each of the plan's paths that a step replaces.
platform::Expected<std::vector<Content>> readNow(platform::System& system, const Plan& plan,
                                                 std::size_t& failing) {
    std::vector<Content> now(plan.files.size());
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (!replaces(change) || !system.fileExists(change.path)) continue;
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
    auto lock = lockSettingsFolder(system, plan.settingsFolder);
    if (!lock) {
        if (lock.problem().kind == Problem::Kind::Busy) {
            report.outcome = Report::Outcome::Busy;
            report.failure = lock.problem();
            return report;
        }
        return failed(Report::Step::Lock, nullptr, lock.problem());
    }

    // What the disk holds now, and whether anything else changed it.
    std::size_t failing = 0;
    auto read = readNow(system, plan, failing);
    if (!read) return failed(Report::Step::Read, &plan.files[failing], read.problem());
    const std::vector<Content>& now = *read;
    report.changed = changedOf(plan, now);
    if (!report.changed.empty() && !options.force) {
        report.outcome = Report::Outcome::Changed;
        return report;
    }

    // Nothing the player made is lost: what is replaced is kept first.
    std::vector<KeptFile> kept;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (!replaces(change) || now[i] == after(change) || change.place.empty()) continue;
        kept.push_back({change.place, now[i]});
        if (now[i]) report.kept.push_back(change.shown);
    }
    if (!kept.empty()) {
        auto entry = writeHistoryEntry(system, plan.settingsFolder, options.what, kept);
        if (!entry) return failed(Report::Step::History, nullptr, entry.problem());
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
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (change.action != Action::Write) continue;
        auto file = system.stageFile(change.path, change.bytes, change.options);
        if (!file) {
            discardAll();
            undoHistory();
            return failed(Report::Step::Write, &change,
                          {Problem::Kind::WriteFailed, change.path, file.problem().reason});
        }
        staged[i] = std::move(*file);
    }

    for (const FileChange& change : plan.files) {
        if (change.action != Action::Backup) continue;
        if (observer != nullptr) observer->backingUp(change);
        if (platform::Status written = system.writeFile(change.path, change.bytes, change.options); !written) {
            discardAll();
            undoHistory();
            return failed(Report::Step::Backup, &change,
                          {Problem::Kind::WriteFailed, change.path, written.reason()});
        }
    }

    std::vector<std::size_t> done;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const FileChange& change = plan.files[i];
        if (!replaces(change)) continue;
        if (observer != nullptr) observer->writing(change);
        platform::Status status = change.action == Action::Write ? system.commitFile(*staged[i])
                                                                 : system.deleteFile(change.path);
        if (!status) {
            discardAll();
            Report failure = failed(Report::Step::Replace, &change,
                                    {change.action == Action::Write ? Problem::Kind::WriteFailed
                                                                    : Problem::Kind::DeleteFailed,
                                     change.path, status.reason()});
            // Put back, newest first, what this plan already replaced.
            for (auto index = done.rbegin(); index != done.rend(); ++index) {
                const FileChange& back = plan.files[*index];
                platform::WriteOptions restore = back.options;
                restore.replaceReadOnly = true;
                const platform::Status putBack = now[*index]
                                                     ? system.writeFile(back.path, *now[*index], restore)
                                                     : system.deleteFile(back.path);
                if (!putBack) failure.notPutBack.push_back(back.shown);
            }
            failure.historyEntry = report.historyEntry;
            failure.kept = report.kept;
            return failure;
        }
        staged[i].reset();
        done.push_back(i);
        if (observer != nullptr) observer->written(change);
    }
    pruneHistory(system, plan.settingsFolder);
    return report;
}

}  // namespace quorvik::operations
