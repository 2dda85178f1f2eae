#include "words/messages.h"

#include <algorithm>

#include "platform/dialogs.h"
#include "platform/paths.h"

namespace quorvik::words {

using operations::Note;
using operations::Refusal;
using operations::Report;
using platform::Problem;

namespace {

const char* expectedForm(settings::Number number) {
    return number == settings::Number::Decimal ? "a number with a point, such as 1.0"
                                               : "a whole number, such as 60";
}

std::string joined(const std::vector<std::string>& names, std::string_view last = " and ") {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? std::string(last) : std::string(", ");
        text += names[i];
    }
    return text;
}

// What a failed load left the window without, as the rest of a sentence.
std::string whyNotLoaded(const Refusal& refusal) {
    const Problem& problem = *refusal.problem;
    return problem.kind == Problem::Kind::NotFound ? "it was not found"
           : problem.kind == Problem::Kind::Unreadable
               ? "it could not be read (" + problem.reason + ")"
               : std::string("no settings were recognised in it");
}

constexpr const char* kNothingSaved = " Nothing was saved, so every file keeps its bytes.";

}  // namespace

std::string shownPath(const std::filesystem::path& path) {
    return platform::pathToUtf8(path.lexically_normal());
}

Message dataFolderMessage(const Problem& problem) {
    const std::string path = shownPath(problem.path);
    if (problem.kind == Problem::Kind::Unreadable) {
        return {"Could not read the field of view from " + path + ": " + problem.reason,
                platform::kExclamation};
    }
    return {path + ": " + problem.reason, platform::kCritical};
}

Message refusalMessage(const Refusal& refusal, const platform::CodePage& codePage,
                       const Wording& wording) {
    switch (refusal.kind) {
        case Refusal::Kind::NotLoaded:
            return {refusal.file + " was left as it is: " + whyNotLoaded(refusal) + " " +
                        wording.of(refusal.file).whenLoaded + ", so " + wording.holder +
                        " holds none of its settings to save.",
                    platform::kExclamation};
        case Refusal::Kind::BadNumbers: {
            std::string text = refusal.file +
                               " was not saved and was left as it is, because the game cannot read "
                               "these values:";
            for (const settings::BadNumber& bad : refusal.numbers) {
                text += "\r\n" + std::string(bad.caption) + ": \"" + codePage.toUtf8(bad.text) +
                        "\" (enter " + expectedForm(bad.expected) + ")";
            }
            return {text, platform::kExclamation};
        }
        case Refusal::Kind::MissingSettings:
            return {refusal.file + " was not saved and was left as it is: it has no line for " +
                        joined(refusal.missing) +
                        ", and Quorvik does not make up a value the game never had. Set " +
                        (refusal.missing.size() == 1 ? "it" : "each") + " " + wording.setAgain +
                        ", or restore a backup.",
                    platform::kExclamation};
    }
    return {refusal.file, platform::kExclamation};
}

std::string refusalLine(const Refusal& refusal) {
    switch (refusal.kind) {
        case Refusal::Kind::NotLoaded:
            return refusal.file + " is not loaded, so a save leaves it as it is.";
        case Refusal::Kind::BadNumbers:
            return refusal.file +
                   " holds values the game cannot read, so a save leaves it as it is.";
        case Refusal::Kind::MissingSettings:
            return refusal.file + " has no line for " + joined(refusal.missing) +
                   ", so a save leaves it as it is until each is set.";
    }
    return refusal.file;
}

Message noteMessage(const Note& note, const platform::CodePage& codePage, const Wording& wording) {
    const std::string path = shownPath(note.path);
    const std::string value = codePage.toUtf8(note.detail);
    switch (note.kind) {
        case Note::Kind::FolderUnknown:
            return {
                "The settings folder is not known yet, so motion blur, depth of field and the "
                "field of view were not saved. " +
                    wording.folderFirst,
                platform::kExclamation};
        case Note::Kind::DataNotRead:
            return {"Motion blur, depth of field and the field of view were not saved: " +
                        wording.dataReader +
                        " has not read them from the game's Data folder in this session, so " +
                        wording.holder + " does not show what they are. " + wording.video.loadFirst,
                    platform::kExclamation};
        case Note::Kind::FolderMissing: {
            // "Scripts" or "Skills": the folder names what it holds.
            std::string folder = platform::pathToUtf8(note.path.lexically_normal().filename());
            std::transform(folder.begin(), folder.end(), folder.begin(), [](char c) {
                return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
            });
            return {
                "The game's " + folder + " folder was not found:\r\n" + path + "\r\n" + note.detail,
                platform::kExclamation};
        }
        case Note::Kind::FileUnreadable:
            return {path + " was left as it is: it could not be read " + wording.video.whenLoaded +
                        " (" + note.detail + "), so Quorvik could not keep it before replacing it.",
                    platform::kExclamation};
        case Note::Kind::NotANumber: {
            const std::string what = note.detail.empty()
                                         ? "The field of view is empty."
                                         : "The field of view \"" + value + "\" is not a number.";
            return {
                what + " Enter it as 00.0, for example 75.0; the skills file was left as it is.",
                platform::kExclamation};
        }
        case Note::Kind::BelowDefault:
            return {"The field of view " + value +
                        " was not applied: Quorvik only writes a field of view wider than the "
                        "game's own 62.5, and 62.5 itself brings the game's own back. The skills "
                        "file was left as it is.",
                    platform::kInformation};
        case Note::Kind::TooWide:
            return {"The field of view " + value +
                        " was not applied: the game reads it back as four characters in the form "
                        "00.0, so the widest is 99.9. Enter it as 00.0, for example 75.0; the "
                        "skills file was left as it is.",
                    platform::kExclamation};
    }
    return {path, platform::kExclamation};
}

std::string noteLine(const Note& note, const platform::CodePage& codePage, const Wording& wording) {
    const std::string value = codePage.toUtf8(note.detail);
    switch (note.kind) {
        case Note::Kind::FolderUnknown:
            return "The settings folder is not known, so a save leaves motion blur, depth of field "
                   "and the field of view as they are.";
        case Note::Kind::DataNotRead:
            return wording.dataReader +
                   " has not read the Data folder in this session, so a save leaves motion blur, "
                   "depth of field and the field of view as they are.";
        case Note::Kind::FolderMissing:
            return "The folder " + shownPath(note.path) + " is missing: " + note.detail;
        case Note::Kind::FileUnreadable:
            return shownPath(note.path) + " could not be read, so a save leaves it as it is.";
        case Note::Kind::NotANumber:
            return "The field of view \"" + value +
                   "\" is not a number, so a save leaves the skills file as it is.";
        case Note::Kind::BelowDefault:
            return "The field of view " + value +
                   " is below the game's own 62.5, so a save leaves the skills file as it is.";
        case Note::Kind::TooWide:
            return "The field of view " + value +
                   " is wider than 99.9, the widest the game reads back, so a save leaves the "
                   "skills file as it is.";
    }
    return value;
}

std::string outsideLine(const catalogue::OutsideValue& outside,
                        const platform::CodePage& codePage) {
    return outside.setting->caption() + " " + codePage.toUtf8(outside.value) +
           " is outside what its help lists (" + outside.valid + ")";
}

std::string saveAnywayText(const std::vector<catalogue::OutsideValue>& outside,
                           const platform::CodePage& codePage) {
    std::string text = "A value is outside what its help lists:";
    for (const catalogue::OutsideValue& value : outside) {
        text += "\r\n    " + outsideLine(value, codePage);
    }
    return text + "\r\n\r\nSave anyway?";
}

std::string planText(const operations::Plan& plan, const platform::CodePage& codePage,
                     std::string_view arrow, const Wording& wording) {
    const std::string to = " " + std::string(arrow) + " ";
    std::string body;
    std::string group;
    const auto heading = [&](const std::string& name) {
        if (name == group) return;
        group = name;
        body += "\r\n\r\n" + name;
    };
    bool keptNote = false;
    for (const operations::FileChange& file : plan.files) {
        if (file.action == operations::Action::Backup || file.place.starts_with("Data/")) continue;
        const bool listed = !file.settings.empty() || !file.dropped.empty() ||
                            !file.rewritten.empty() || file.reformatted;
        if (!listed) continue;
        heading(file.shown);
        for (const auto& change : file.settings) {
            body += "\r\n    " + change.caption + ": " + change.before + to + change.after;
        }
        for (const auto& line : file.rewritten) {
            body += "\r\n    Line rewritten: " + line.before + to + line.after;
        }
        for (const auto& line : file.dropped) body += "\r\n    Line dropped: " + line;
        if (file.reformatted)
            body += "\r\n    Line ends and blank lines written as the game writes them";
        keptNote |= !file.dropped.empty();
    }
    for (const auto& [where, change] : plan.dataSettings) {
        heading(where);
        body += "\r\n    " + change.caption + ": " + change.before + to + change.after;
    }
    for (const operations::FileChange& file : plan.files) {
        if (!file.place.starts_with("Data/") || file.implied) continue;
        const bool writes = file.action == operations::Action::Write;
        heading(file.shown.substr(0, file.shown.rfind('\\')));
        const std::string name = file.shown.substr(file.shown.rfind('\\') + 1);
        if (file.handEdited) {
            body += "\r\n    " + name + " was edited by hand: a save " +
                    (writes ? "replaces it with Quorvik's own" : "removes it");
            keptNote = true;
        } else if (writes) {
            body += "\r\n    " + name + " is written: " +
                    (file.whenLoaded && *file.whenLoaded ? "it is not what Quorvik writes"
                                                         : "it is missing");
        } else {
            body += "\r\n    " + name + " is removed: a leftover of an effect switched off";
        }
    }

    std::string text = body.empty() ? "File > Save Settings would change nothing."
                                    : "File > Save Settings would change:" + body;
    std::string notes;
    if (keptNote) {
        notes += "\r\nWhat a save drops or replaces is kept in the history first; " +
                 wording.restore + " brings it back.";
    }
    for (const Refusal& refusal : plan.refused) notes += "\r\n" + refusalLine(refusal);
    for (const Note& note : plan.notes) notes += "\r\n" + noteLine(note, codePage, wording);
    for (const auto& outside : plan.outside) notes += "\r\n" + outsideLine(outside, codePage) + ".";
    if (!notes.empty()) text += "\r\n" + notes;
    return text;
}

std::string changedText(const std::vector<std::string>& files) {
    return joined(files) + (files.size() == 1 ? " was" : " were") +
           " changed on disk after Quorvik loaded " + (files.size() == 1 ? "it" : "them") +
           " (perhaps by the game), so nothing was saved: saving would overwrite that change.";
}

std::string failureText(const Report& report) {
    const std::string path = report.failure ? shownPath(report.failure->path) : std::string();
    const std::string reason = report.failure ? report.failure->reason : std::string();
    switch (report.failedStep) {
        case Report::Step::None:
            break;
        case Report::Step::Lock:
            return "Could not make or lock Quorvik's history folder beside the settings (" + path +
                   "): " + reason + "." + kNothingSaved;
        case Report::Step::Read:
            return "Could not read " + report.failedFile + " (" + path + "): " + reason +
                   ", so it could not be kept before it is replaced." + kNothingSaved;
        case Report::Step::History:
            return "Could not keep the files to be replaced in the history (" + path +
                   "): " + reason + "." + kNothingSaved;
        case Report::Step::Backup:
            if (!report.notPutBack.empty()) break;
            return "Could not write the backup " + report.failedFile + " (" + path +
                   "): " + reason + "." + kNothingSaved;
        case Report::Step::Write:
            return "Could not write " + report.failedFile + " (" + path + "): " + reason + "." +
                   kNothingSaved;
        case Report::Step::Replace:
            break;
    }
    if (report.failedStep == Report::Step::Backup || report.failedStep == Report::Step::Replace) {
        const bool removing = report.failure && report.failure->kind == Problem::Kind::DeleteFailed;
        std::string text =
            std::string(report.failedStep == Report::Step::Backup ? "Could not write the backup "
                        : removing                                ? "Could not remove "
                                                                  : "Could not replace ") +
            report.failedFile + " (" + path + "): " + reason + ". ";
        if (report.notPutBack.empty()) {
            return text +
                   "The files already replaced were put back, so every file keeps its bytes.";
        }
        return text + joined(report.notPutBack) + " could not be put back; " +
               (report.notPutBack.size() == 1 ? "its" : "their") + " bytes are kept in " +
               shownPath(report.historyEntry) + ".";
    }
    if (report.outcome == Report::Outcome::Busy) {
        return "Another Quorvik is saving to this settings folder right now, so nothing was saved. "
               "Try again in a moment.";
    }
    return {};
}

std::string keptText(const Report& report, const Wording& wording) {
    return "The files this save replaced (" + joined(report.kept) + ") are kept in " +
           shownPath(report.historyEntry) + "; " + wording.restore + " puts them back.";
}

std::string keptBackupsText(const Report& report, const Wording& wording) {
    return "The backups this replaced (" + joined(report.kept) + ") are kept in " +
           shownPath(report.historyEntry) + "; " + wording.restore + " puts them back.";
}

Message recoveryMessage(const operations::Recovery& recovery, const Wording& wording) {
    const auto are = [](const std::vector<std::string>& files, const char* one, const char* many) {
        return joined(files) + (files.size() == 1 ? one : many);
    };
    const std::string entry = shownPath(recovery.entry);
    std::string text = "A save was cut off before it ended (Quorvik or the machine stopped)";
    if (!recovery.undone) {
        text += "; Quorvik has now finished it.";
        if (!recovery.done.empty()) {
            text += " " + are(recovery.done, " holds", " hold") + " what that save wrote; what " +
                    (recovery.done.size() == 1 ? "it" : "they") + " held before is kept in " +
                    entry + ", and " + wording.restore + " puts it back.";
        }
    } else {
        text += ", and what it was to write could no longer be read from " + entry +
                ", so Quorvik has undone it.";
        if (!recovery.done.empty()) {
            text += " " + are(recovery.done, " holds", " hold") + " again what it held before.";
        }
    }
    if (!recovery.leftAlone.empty()) {
        const bool one = recovery.leftAlone.size() == 1;
        text += "\r\n\r\n" + are(recovery.leftAlone, " was", " were") +
                " changed since (perhaps by the game), so " + (one ? "it was" : "they were") +
                " left as " + (one ? "it is." : "they are.");
    }
    for (const auto& [file, why] : recovery.failed) {
        text += "\r\n\r\n" + file + " could not be written now (" + why +
                "); Quorvik tries again the next time it loads or saves the settings.";
    }
    const bool whole = recovery.leftAlone.empty() && recovery.failed.empty();
    return {text, whole ? platform::kInformation : platform::kExclamation};
}

std::string restoreChoiceText(const operations::RestoreChoice& choice) {
    const std::string files = " (" + joined(choice.files, ", ") + ")";
    switch (choice.kind) {
        case operations::RestoreChoice::Kind::LastSave:
            return "The backups the last save made" + files;
        case operations::RestoreChoice::Kind::Menu:
            return "The backups File > Backup made" + files;
        case operations::RestoreChoice::Kind::History:
            break;
    }
    return choice.id + ": the files as they were before " + choice.what + files;
}

std::string restoreHeading(const operations::RestoreChoice& choice) {
    switch (choice.kind) {
        case operations::RestoreChoice::Kind::LastSave:
            return "Restore from the backups of the last save:";
        case operations::RestoreChoice::Kind::Menu:
            return "Restore from the backups of File > Backup:";
        case operations::RestoreChoice::Kind::History:
            break;
    }
    return "Restore from the history, " + choice.id + " (the files as they were before " +
           choice.what + "):";
}

}  // namespace quorvik::words
