#include "words/telling.h"

#include "platform/dialogs.h"
#include "platform/paths.h"
#include "words/messages.h"

namespace quorvik::words {
namespace {

using operations::Action;
using operations::FileChange;
using operations::Note;
using operations::Plan;
using operations::Refusal;
using operations::Report;
using operations::RestoreChoice;
using platform::Problem;

bool dropsOrReplacesTheirOwn(const Plan& plan) {
    for (const FileChange& file : plan.files) {
        if (file.handEdited) return true;
    }
    return false;
}

}  // namespace

void tellFolderSearch(Teller& teller, const operations::FolderSearch& search,
                      const Wording& wording) {
    if (search.found) {
        teller.message(
            "Settings path auto-detected :) Click Video.scr and Audio.scr to detect values.\r\n" +
                platform::pathToUtf8(*search.found),
            platform::kOkOnly);
        return;
    }
    // Where the machine looked for the game itself, as under Wine: its prefixes.
    std::string prefixes;
    for (const std::string& place : search.prefixes) prefixes += "\r\n" + place;
    if (!prefixes.empty()) prefixes = "\r\nWine prefixes searched:" + prefixes;
    if (search.noDocuments) {
        teller.problem(
            "No settings folder was found: Quorvik could not find your Documents folder." +
                prefixes + "\r\n" + wording.noDocumentsFolder,
            platform::kExclamation);
        return;
    }
    std::string searched;
    for (const std::string& folder : search.searched) searched += "\r\n" + folder;
    teller.problem("No settings folder was found. Quorvik looked for Video.scr in:" + searched +
                       prefixes + "\r\n" + wording.noSettingsFolder,
                   platform::kExclamation);
}

void tellRecovered(Teller& teller, const std::vector<operations::Recovery>& recovered,
                   const Wording& wording) {
    for (const operations::Recovery& recovery : recovered) {
        const Message shown = recoveryMessage(recovery, wording);
        teller.notice(shown.text, shown.style);
    }
}

void tellLoadProblem(Teller& teller, const Problem& failure, const char* name) {
    switch (failure.kind) {
        case Problem::Kind::NotFound:
            teller.problem(std::string("File not found in folder! ") + name, platform::kCritical);
            break;
        case Problem::Kind::Unreadable:
            teller.problem("Could not read " + platform::pathToUtf8(failure.path) + ": " +
                               failure.reason + ". Nothing was loaded from it.",
                           platform::kCritical);
            break;
        default:
            teller.problem("No settings recognised in " + platform::pathToUtf8(failure.path) +
                               " \u2014 nothing was loaded.",
                           platform::kExclamation);
            break;
    }
}

void tellDataProblems(Teller& teller, const std::vector<Problem>& problems) {
    for (const Problem& found : problems) {
        const Message shown = dataFolderMessage(found);
        teller.problem(shown.text, shown.style);
    }
}

void Announcer::backingUp(const FileChange& change) {
    teller_.message("Creating Backup of Current Settings to " + change.shown,
                    platform::kExclamation);
}

void Announcer::writing(const FileChange& change) {
    if (!change.announced) return;
    teller_.message("Config File Generated. " + wording_.toWrite + " " + change.shown + "!",
                    platform::kInformation);
}

void Announcer::written(const FileChange& change) {
    if (change.announced)
        teller_.message("Settings written to " + change.shown + "!", platform::kInformation);
}

void Announcer::recovered(const operations::Recovery& recovery) {
    tellRecovered(teller_, {recovery}, wording_);
}

void tellRefusals(Teller& teller, const Plan& plan, const platform::CodePage& codePage,
                  const Wording& wording) {
    for (const Refusal& refusal : plan.refused) {
        if (refusal.kind == Refusal::Kind::NotLoaded && !refusal.problem) continue;
        const Message shown = refusalMessage(refusal, codePage, wording);
        teller.problem(shown.text, shown.style);
    }
}

bool tellFailure(Teller& teller, const Report& report) {
    const std::string text = failureText(report);
    if (text.empty()) return false;
    teller.problem(text, report.outcome == Report::Outcome::Busy ? platform::kExclamation
                                                                 : platform::kCritical);
    return true;
}

void tellAfterSave(Teller& teller, const Plan& plan, const Report& report,
                   const platform::CodePage& codePage, const Wording& wording) {
    for (const Note& note : plan.notes) {
        const Message shown = noteMessage(note, codePage, wording);
        // A value left alone on purpose is information, not a failure.
        if (note.kind == Note::Kind::BelowDefault) {
            teller.message(shown.text, shown.style);
        } else {
            teller.problem(shown.text, shown.style);
        }
    }
    if (!report.historyEntry.empty() && (dropsOrReplacesTheirOwn(plan) || !report.changed.empty() ||
                                         !report.theirBackups.empty())) {
        teller.message(keptText(report, wording), platform::kInformation);
    }
}

void tellBackupRefusals(Teller& teller, const Plan& plan, const Wording& wording) {
    for (const Refusal& refusal : plan.refused) {
        const std::string backup = refusal.file.substr(0, refusal.file.find('.')) + ".sc0";
        teller.problem(backup + " was not written: " + refusal.file +
                           " is not loaded, so there is nothing of it to back up. " +
                           wording.of(refusal.file).loadFirst,
                       platform::kExclamation);
    }
}

void tellAfterBackup(Teller& teller, const Report& report, const Wording& wording) {
    if (!report.theirBackups.empty())
        teller.message(keptBackupsText(report, wording), platform::kInformation);
}

void tellRestored(Teller& teller, const RestoreChoice& choice,
                  const operations::RestorePlan& restore, const Report& report) {
    std::string text = restoreHeading(choice);
    for (const FileChange& file : restore.plan.files) {
        if (file.action == Action::Delete) {
            text += "\r\n" + file.shown + " was removed: it was not there then.";
        } else if (choice.kind == RestoreChoice::Kind::History) {
            text += "\r\n" + file.shown + " was put back.";
        } else {
            text += "\r\n" + file.shown + " was restored from " +
                    file.shown.substr(0, file.shown.find('.')) +
                    (choice.kind == RestoreChoice::Kind::LastSave ? ".sc1." : ".sc0.");
        }
    }
    for (const auto& [file, why] : restore.leftAlone)
        text += "\r\n" + file + " was left as it is: " + why + ".";
    if (!report.historyEntry.empty()) {
        text += "\r\nWhat it replaced is kept in " + shownPath(report.historyEntry) + ".";
    }
    if (!restore.leftAlone.empty()) {
        teller.problem(
            text, restore.plan.files.empty() ? platform::kExclamation : platform::kInformation);
    } else {
        teller.message(text, platform::kInformation);
    }
}

}  // namespace quorvik::words
