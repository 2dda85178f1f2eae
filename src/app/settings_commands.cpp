// "Set Video.scr", "Set Audio.scr", "Save Settings", "Backup", "Restore
// Backup..." and "Show Changes": each hands the work to an operation and
// tells the player what it did, in the order it happens.
//
// A save writes a settings file only when this session loaded it: a file that
// was missing, unreadable or held no setting the tool knows keeps its bytes,
// since the window holds none of its settings to write back. Numbers the game
// could not read, or settings the file lacks, stop their file's write too.
// Whatever a save replaces is kept in the history first.

#include <filesystem>
#include <functional>

#include "app/form1.h"
#include "app/identity.h"
#include "operations/history.h"
#include "operations/save_plan.h"
#include "overrides/skills_file.h"
#include "panel/binding.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "settings/lines.h"
#include "settings/settings_files.h"
#include "words/messages.h"

namespace quorvik::app {

using namespace words;
namespace {

using platform::Problem;

constexpr const char* kVideoPrompt =
    "Please enter the full path to your Video.scr file WITHOUT trailing \\ (Usually in My "
    "Documents\\QuellMoor\\out\\Settings)";
constexpr const char* kAudioPrompt =
    "Please enter the full path to your Audio.scr file WITHOUT trailing \\ (Usually in My "
    "Documents\\QuellMoor\\out\\Settings)";

std::string inFolder(const std::string& settingsPath, const char* name) {
    return settingsPath + static_cast<char>(std::filesystem::path::preferred_separator) + name;
}

// A path pasted with the quotes Windows' "Copy as path" adds, or with blanks
// around it, is the path without them.
std::string typedFolder(const std::string& typed) {
    std::string_view text = platform::trimBlanks(typed);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = platform::trimBlanks(text.substr(1, text.size() - 2));
    }
    return std::string(text);
}

// The messages the save and File > Backup show as each file is written.
class Announcer : public operations::Observer {
public:
    Announcer(std::function<void(const std::string&, int)> show, std::string toWrite,
              std::function<void(const operations::Recovery&)> recovered)
        : show_(std::move(show)), toWrite_(std::move(toWrite)), recovered_(std::move(recovered)) {}

    void backingUp(const operations::FileChange& change) override {
        show_("Creating Backup of Current Settings to " + change.shown, platform::kExclamation);
    }
    void writing(const operations::FileChange& change) override {
        if (change.announced) {
            show_("Config File Generated. " + toWrite_ + " " + change.shown + "!",
                  platform::kInformation);
        }
    }
    void written(const operations::FileChange& change) override {
        if (change.announced) show_("Settings written to " + change.shown + "!", platform::kInformation);
    }
    void recovered(const operations::Recovery& recovery) override { recovered_(recovery); }

private:
    std::function<void(const std::string&, int)> show_;
    std::string toWrite_;
    std::function<void(const operations::Recovery&)> recovered_;
};

bool dropsOrReplacesTheirOwn(const operations::Plan& plan) {
    for (const operations::FileChange& file : plan.files) {
        if (!file.dropped.empty() || file.handEdited) return true;
    }
    return false;
}

}  // namespace

void Form1::showRecovered(const std::vector<operations::Recovery>& recovered) {
    for (const operations::Recovery& recovery : recovered) {
        const Message shown = recoveryMessage(recovery, wording);
        notice(shown.text, shown.style);
    }
}

void Form1::bindSession() {
    session.folder = folderKnown() ? std::optional(settingsFolder()) : std::nullopt;
    session.values = panel::valuesOf(panel);
}

bool Form1::folderKnown() const {
    // Fewer than two characters is no folder: empty, or "1" when detection was declined.
    return platform::utf8Length(SettingsPath) >= 2;
}

std::filesystem::path Form1::settingsFolder() const { return system_.nativePath(SettingsPath); }

void Form1::showNotes(const std::vector<operations::Note>& notes) {
    for (const operations::Note& note : notes) {
        const Message shown = noteMessage(note, system_.codePage(), wording);
        // A value left alone on purpose is information, not a failure.
        if (note.kind == operations::Note::Kind::BelowDefault) {
            message(shown.text, shown.style);
        } else {
            problem(shown.text, shown.style);
        }
    }
}

void Form1::showRefusal(const operations::Refusal& refusal) {
    const Message shown = refusalMessage(refusal, system_.codePage(), wording);
    problem(shown.text, shown.style);
}

bool Form1::showFailure(const operations::Report& report) {
    const std::string text = failureText(report);
    if (text.empty()) return false;
    problem(text, report.outcome == operations::Report::Outcome::Busy ? platform::kExclamation
                                                                      : platform::kCritical);
    return true;
}

void Form1::reportLoadProblem(const Problem& failure, const char* name) {
    switch (failure.kind) {
        case Problem::Kind::NotFound:
            problem(std::string("File not found in folder! ") + name, platform::kCritical);
            break;
        case Problem::Kind::Unreadable:
            problem("Could not read " + platform::pathToUtf8(failure.path) + ": " +
                        failure.reason + ". Nothing was loaded from it.",
                    platform::kCritical);
            break;
        default:
            problem("No settings recognised in " + platform::pathToUtf8(failure.path) +
                        " \u2014 nothing was loaded.",
                    platform::kExclamation);
            break;
    }
}

void Form1::Command1_Click() {
    if (!folderKnown()) {
        SettingsPath = typedFolder(dialogs_.inputBox(kVideoPrompt, "Video.scr Path"));
    } else {
        VideoFilePath = inFolder(SettingsPath, "Video.scr");
    }
    // After the prompt no path is assembled until the next click.
    if (VideoFilePath.empty()) {
        panel.Label12.Caption = "NOT Set";
        return;
    }
    loadVideo();
}

void Form1::loadVideo() {
    bindSession();
    const auto loading = session.loadVideo(system_.nativePath(VideoFilePath));
    panel::show(session.values, panel);
    showRecovered(loading.recovered);
    panel.Label12.Caption = videoLoaded() ? "Set." : "NOT Set";
    if (session.video.problem) reportLoadProblem(*session.video.problem, "Video.scr");
    // The override scripts and the field of view live beside the settings folder.
    for (const Problem& found : loading.dataProblems) {
        const Message shown = dataFolderMessage(found);
        problem(shown.text, shown.style);
    }
}

void Form1::Command2_Click() {
    if (!folderKnown()) {
        SettingsPath = typedFolder(dialogs_.inputBox(kAudioPrompt, "Audio.scr Path"));
        return;
    }
    AudioFilePath = inFolder(SettingsPath, "Audio.scr");
    loadAudio();
}

void Form1::loadAudio() {
    bindSession();
    const auto loading = session.loadAudio(system_.nativePath(AudioFilePath));
    panel::show(session.values, panel);
    showRecovered(loading.recovered);
    panel.Label29.Caption = audioLoaded() ? "Set." : "NOT Set";
    if (session.audio.problem) reportLoadProblem(*session.audio.problem, "Audio.scr");
}

operations::Plan Form1::planOfSave() {
    bindSession();
    return session.planOfSave({ToolVersion, identity::kSaveBackupUpdates});
}

operations::Report Form1::saveSettings(bool force,
                                       const std::function<bool(const operations::Plan&)>& shown) {
    // The window shows numbers as the save writes them: without blanks around.
    catalogue::Values values = panel::valuesOf(panel);
    settings::tidyVideoNumbers(values);
    settings::tidyAudioNumbers(values);
    std::string& view = values[overrides::kSkillsSetting];
    view = std::string(platform::trimBlanks(view));
    panel::show(values, panel);
    const operations::Plan plan = planOfSave();
    if (shown && !shown(plan)) {
        operations::Report withheld;
        withheld.outcome = operations::Report::Outcome::Withheld;
        return withheld;
    }
    for (const operations::Refusal& refusal : plan.refused) {
        // A file never loaded is skipped without a word, as before any load.
        if (refusal.kind != operations::Refusal::Kind::NotLoaded || refusal.problem) showRefusal(refusal);
    }

    Announcer announcer(
        [this](const std::string& text, int style) { message(text, style); }, wording.toWrite,
        [this](const operations::Recovery& recovery) { showRecovered({recovery}); });
    const operations::Report report = session.save(plan, force, &announcer);
    if (report.outcome == operations::Report::Outcome::Changed || showFailure(report))
        return report;
    showNotes(plan.notes);
    if (!report.historyEntry.empty() && (dropsOrReplacesTheirOwn(plan) || !report.changed.empty() ||
                                         !report.theirBackups.empty())) {
        message(keptText(report, wording), platform::kInformation);
    }
    return report;
}

void Form1::save_Click() {
    // A value the game's help does not list is saved only when the player says so.
    const auto askFirst = [this](const operations::Plan& plan) {
        return plan.outside.empty() ||
               message(saveAnywayText(plan.outside, system_.codePage()),
                       platform::kYesNo | platform::kQuestion) == platform::kYes;
    };
    const operations::Report report = saveSettings(false, askFirst);
    if (report.outcome != operations::Report::Outcome::Changed) return;
    const int answer = problem(changedText(report.changed) +
                                   "\r\n\r\nLoad the files again now? What you changed in the "
                                   "window is replaced by what the files hold.",
                               platform::kYesNo | platform::kExclamation);
    if (answer != platform::kYes) return;
    if (videoLoaded() || session.video.problem) loadVideo();
    if (audioLoaded() || session.audio.problem) loadAudio();
}

void Form1::Changes_Click() {
    const operations::Plan plan = planOfSave();
    std::string text = planText(plan, system_.codePage(), "\u2192", wording);
    if (const auto changed = session.changedSinceLoaded(plan); !changed.empty()) {
        text += "\r\n\r\n" + changedText(changed) + "\r\n\r\nClick \"Set Video.scr\" and \"Set Audio.scr\" to load them again.";
    }
    message(text, platform::kInformation);
}

void Form1::offerValues(const std::string& what,
                        const std::vector<operations::PresetValue>& values) {
    const platform::CodePage& codePage = system_.codePage();
    std::string changes;
    for (const auto& [setting, value] : values) {
        const std::string before = panel::valueOf(panel, setting->id);
        if (before == value) continue;
        changes +=
            "\r\n    " + setting->caption() + ": " + codePage.toUtf8(before) + " \u2192 " + value;
    }
    if (changes.empty()) {
        message(what + " changes nothing: the window already holds its values.",
                platform::kInformation);
        return;
    }
    const int answer = message(what + " sets, in the window:" + changes +
                                   "\r\n\r\nNothing is written until File > Save Settings; File > "
                                   "Show Changes shows what it would write.\r\n\r\nSet these now?",
                               platform::kYesNo | platform::kQuestion);
    if (answer != platform::kYes) return;
    catalogue::Values now = panel::valuesOf(panel);
    for (const auto& [setting, value] : values) operations::setValue(now, *setting, value);
    panel::show(now, panel);
}

void Form1::ResetAll_Click() {
    offerValues("Reset All to Defaults", operations::defaultValues());
}

void Form1::offerPreset(std::string_view name) {
    const operations::Preset& preset = *operations::findPreset(name);
    offerValues("The " + std::string(preset.name) + " preset", operations::presetValues(preset));
}

void Form1::Performance_Click() {
    offerPreset("Performance");
}
void Form1::Quality_Click() {
    offerPreset("Quality");
}
void Form1::Handheld_Click() {
    offerPreset("Handheld");
}

void Form1::Backup_Click() {
    if (!folderKnown()) {
        problem("The settings folder is not known yet, so no backup was written. " +
                    wording.folderFirst,
                platform::kExclamation);
        return;
    }
    bindSession();
    const operations::Plan plan = session.planOfBackup({ToolVersion, identity::kMenuBackupUpdates});
    for (const operations::Refusal& refusal : plan.refused) {
        const std::string backup = refusal.file.substr(0, refusal.file.find('.')) + ".sc0";
        problem(backup + " was not written: " + refusal.file +
                    " is not loaded, so there is nothing of it to back up. " +
                    wording.of(refusal.file).loadFirst,
                platform::kExclamation);
    }
    Announcer announcer(
        [this](const std::string& text, int style) { message(text, style); }, wording.toWrite,
        [this](const operations::Recovery& recovery) { showRecovered({recovery}); });
    const operations::Report report = session.backUp(plan, &announcer);
    if (showFailure(report)) return;
    if (!report.theirBackups.empty())
        message(keptBackupsText(report, wording), platform::kInformation);
}

std::vector<operations::RestoreChoice> Form1::restoreChoices() {
    bindSession();
    return session.restoreChoices();
}

void Form1::Restore_Click() {
    if (!folderKnown()) {
        problem("The settings folder is not known yet, so there is no backup to restore. " +
                    wording.folderFirst,
                platform::kExclamation);
        return;
    }
    const std::vector<operations::RestoreChoice> choices = restoreChoices();
    if (choices.empty()) {
        problem("There is nothing to restore yet: no backup (Video.sc1, Audio.sc1, Video.sc0, "
                "Audio.sc0) and no history in " + shownPath(settingsFolder()) + ".",
                platform::kExclamation);
        return;
    }
    std::vector<std::string> items;
    for (const operations::RestoreChoice& choice : choices) items.push_back(restoreChoiceText(choice));
    const int chosen = dialogs_.chooseItem(
        "Put which files back? What a restore replaces is kept in the history first, so a restore "
        "can be undone too.",
        items, "Restore", "Restore Backup");
    if (chosen < 0 || chosen >= static_cast<int>(choices.size())) return;
    restoreFrom(choices[static_cast<std::size_t>(chosen)]);
}

void Form1::restoreFrom(const operations::RestoreChoice& choice) {
    if (!folderKnown()) {
        problem("The settings folder is not known yet, so there is no backup to restore.",
                platform::kExclamation);
        return;
    }
    bindSession();
    const operations::RestorePlan restore = session.planOfRestore(choice);
    const operations::Report report = session.restore(restore, nullptr);
    showRecovered(report.recovered);
    if (showFailure(report)) return;

    std::string text = restoreHeading(choice);
    for (const operations::FileChange& file : restore.plan.files) {
        if (file.action == operations::Action::Delete) {
            text += "\r\n" + file.shown + " was removed: it was not there then.";
        } else if (choice.kind == operations::RestoreChoice::Kind::History) {
            text += "\r\n" + file.shown + " was put back.";
        } else {
            text += "\r\n" + file.shown + " was restored from " + file.shown.substr(0, file.shown.find('.')) +
                    (choice.kind == operations::RestoreChoice::Kind::LastSave ? ".sc1." : ".sc0.");
        }
    }
    for (const auto& [file, why] : restore.leftAlone) text += "\r\n" + file + " was left as it is: " + why + ".";
    if (!report.historyEntry.empty()) {
        text += "\r\nWhat it replaced is kept in " + shownPath(report.historyEntry) + ".";
    }
    const bool restoredAny = !restore.plan.files.empty();
    if (!restore.leftAlone.empty()) {
        problem(text, restoredAny ? platform::kInformation : platform::kExclamation);
    } else {
        message(text, platform::kInformation);
    }
    if (!restoredAny) return;

    // The window shows what the files hold now.
    VideoFilePath = inFolder(SettingsPath, "Video.scr");
    AudioFilePath = inFolder(SettingsPath, "Audio.scr");
    loadVideo();
    loadAudio();
}

}  // namespace quorvik::app
