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
#include "words/telling.h"

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

}  // namespace

void Form1::bindSession() {
    session.folder = folderKnown() ? std::optional(settingsFolder()) : std::nullopt;
    session.values = panel::valuesOf(panel);
}

bool Form1::folderKnown() const {
    // Fewer than two characters is no folder: empty, or "1" when detection was declined.
    return platform::utf8Length(SettingsPath) >= 2;
}

std::filesystem::path Form1::settingsFolder() const { return system_.nativePath(SettingsPath); }

void Form1::Command1_Click() {
    if (!folderKnown()) {
        SettingsPath = typedFolder(dialogs_.folderInputBox(kVideoPrompt, "Video.scr Path"));
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
    tellRecovered(teller_, loading.recovered, wording);
    panel.Label12.Caption = videoLoaded() ? "Set." : "NOT Set";
    if (session.video.problem) tellLoadProblem(teller_, *session.video.problem, "Video.scr");
    // The override scripts and the field of view live beside the settings folder.
    tellDataProblems(teller_, loading.dataProblems);
}

void Form1::Command2_Click() {
    if (!folderKnown()) {
        SettingsPath = typedFolder(dialogs_.folderInputBox(kAudioPrompt, "Audio.scr Path"));
        return;
    }
    AudioFilePath = inFolder(SettingsPath, "Audio.scr");
    loadAudio();
}

void Form1::loadAudio() {
    bindSession();
    const auto loading = session.loadAudio(system_.nativePath(AudioFilePath));
    panel::show(session.values, panel);
    tellRecovered(teller_, loading.recovered, wording);
    panel.Label29.Caption = audioLoaded() ? "Set." : "NOT Set";
    if (session.audio.problem) tellLoadProblem(teller_, *session.audio.problem, "Audio.scr");
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
    tellRefusals(teller_, plan, system_.codePage(), wording);
    Announcer announcer(teller_, wording);
    const operations::Report report = session.save(plan, force, &announcer);
    if (report.outcome == operations::Report::Outcome::Changed || tellFailure(teller_, report)) {
        return report;
    }
    tellAfterSave(teller_, plan, report, system_.codePage(), wording);
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
    tellBackupRefusals(teller_, plan, wording);
    Announcer announcer(teller_, wording);
    const operations::Report report = session.backUp(plan, &announcer);
    if (!tellFailure(teller_, report)) tellAfterBackup(teller_, report, wording);
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
    tellRecovered(teller_, report.recovered, wording);
    if (tellFailure(teller_, report)) return;
    tellRestored(teller_, choice, restore, report);
    if (restore.plan.files.empty()) return;

    // The window shows what the files hold now.
    VideoFilePath = inFolder(SettingsPath, "Video.scr");
    AudioFilePath = inFolder(SettingsPath, "Audio.scr");
    loadVideo();
    loadAudio();
}

}  // namespace quorvik::app
