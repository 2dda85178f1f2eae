// "Set Video.scr", "Set Audio.scr", "Save Settings" and "Backup".
//
// A save writes a settings file only when this session loaded it: a file that
// was missing, unreadable or held no setting the tool knows keeps its bytes,
// since the window holds none of its settings to write back. Numbers the game
// could not read stop their file's write too. Either way the player is told,
// and the rest of the save goes on.

#include <algorithm>
#include <filesystem>

#include "app/form1.h"
#include "app/identity.h"
#include "app/messages.h"
#include "overrides/overrides.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::app {
namespace {

using platform::Problem;

constexpr const char* kVideoPrompt =
    "Please enter the full path to your Video.scr file WITHOUT trailing \\ (Usually in My "
    "Documents\\QuellMoor\\out\\Settings)";
constexpr const char* kAudioPrompt =
    "Please enter the full path to your Audio.scr file WITHOUT trailing \\ (Usually in My "
    "Documents\\QuellMoor\\out\\Settings)";

// Fewer than two characters is no folder: empty, or "1" when detection was declined.
bool folderKnown(const std::string& settingsPath) {
    return platform::utf8Length(settingsPath) >= 2;
}

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

const char* expectedForm(settings::Number number) {
    return number == settings::Number::Decimal ? "a number with a point, such as 1.0"
                                               : "a whole number, such as 60";
}

}  // namespace

void Form1::showDataFolderProblems(const std::vector<Problem>& problems) {
    for (const Problem& problem : problems) {
        const Message shown = dataFolderMessage(problem, system_.codePage());
        // A value left alone on purpose is information, not a failure.
        if (problem.kind == Problem::Kind::NotApplied) {
            message(shown.text, shown.style);
        } else {
            this->problem(shown.text, shown.style);
        }
    }
}

std::optional<Problem> Form1::loadSettingsFile(const std::string& filePath,
                                               std::span<const settings::KeyRule> keys,
                                               std::vector<std::string>& lines, int& count) {
    const auto path = system_.nativePath(filePath);
    if (!system_.fileExists(path)) return Problem{Problem::Kind::NotFound, path, {}};
    const platform::ReadResult read = system_.readFile(path, settings::kMaxSettingsFileBytes);
    if (!read.status) return Problem{Problem::Kind::Unreadable, path, read.status.reason()};

    std::vector<std::string> loaded = settings::settingsFileLines(read.bytes);
    // Lines that are no setting change no control, so a file without any
    // leaves the window exactly as it was.
    bool recognised = false;
    for (const std::string& line : loaded) recognised |= settings::applyLine(panel, line, keys);
    if (!recognised) return Problem{Problem::Kind::Unrecognised, path, {}};

    count = static_cast<int>(loaded.size());
    lines.assign(1, std::string());
    lines.insert(lines.end(), std::make_move_iterator(loaded.begin()),
                 std::make_move_iterator(loaded.end()));
    return std::nullopt;
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
    if (!folderKnown(SettingsPath)) {
        SettingsPath = typedFolder(dialogs_.inputBox(kVideoPrompt, "Video.scr Path"));
    } else {
        VideoFilePath = inFolder(SettingsPath, "Video.scr");
    }
    if (platform::utf8Length(VideoFilePath) < 12) {
        panel.Label12.Caption = "NOT Set";
        return;
    }
    loadVideo();
}

void Form1::loadVideo() {
    VideoLoadProblem = loadSettingsFile(VideoFilePath, settings::videoKeys(), VideoLines,
                                        VideoLineCount);
    panel.Label12.Caption = VideoLoadProblem ? "NOT Set" : "Set.";
    if (VideoLoadProblem) {
        reportLoadProblem(*VideoLoadProblem, "Video.scr");
        // A file that could not be read stops here: nothing of this click changes.
        if (VideoLoadProblem->kind == Problem::Kind::Unreadable) return;
    }

    // The override scripts and the field of view live beside the settings folder.
    if (!folderKnown(SettingsPath)) return;
    const auto folder = system_.nativePath(SettingsPath);
    overrides::loadOverrideStates(system_, folder, panel);
    showDataFolderProblems(overrides::loadFieldOfView(system_, folder, panel));
}

void Form1::Command2_Click() {
    if (!folderKnown(SettingsPath)) {
        SettingsPath = typedFolder(dialogs_.inputBox(kAudioPrompt, "Audio.scr Path"));
        return;
    }
    AudioFilePath = inFolder(SettingsPath, "Audio.scr");
    loadAudio();
}

void Form1::loadAudio() {
    AudioLoadProblem = loadSettingsFile(AudioFilePath, settings::audioKeys(), AudioLines,
                                        AudioLineCount);
    panel.Label29.Caption = AudioLoadProblem ? "NOT Set" : "Set.";
    if (AudioLoadProblem) reportLoadProblem(*AudioLoadProblem, "Audio.scr");
}

void Form1::writeBackup(const char* name, const std::vector<std::string>& lines, int count,
                        std::string_view updateAddress) {
    message(std::string("Creating Backup of Current Settings to ") + name, platform::kExclamation);
    const auto first = lines.begin() + (count > 0 ? 1 : 0);
    const std::vector<std::string> loaded(first, first + count);
    const auto path = system_.nativePath(inFolder(SettingsPath, name));
    const platform::Status written =
        system_.writeFile(path, settings::backupContents(loaded, ToolVersion, updateAddress));
    if (!written) {
        problem(std::string("Could not write the backup ") + name + " (" +
                    platform::pathToUtf8(path) + "): " + written.reason() + ".",
                platform::kCritical);
    }
}

void Form1::writeSettingsFile(const char* name, const std::vector<std::string>& lines) {
    const auto path = system_.nativePath(inFolder(SettingsPath, name));
    // The game's settings files are kept read-only; lift that just for the write.
    const bool existed = system_.fileExists(path);
    if (existed) system_.setReadOnly(path, false);
    message(std::string("Config File Generated. Press OK to write file ") + name + "!",
            platform::kInformation);
    const platform::Status written = system_.writeFile(path, settings::joinLines(lines));
    if (written) {
        message(std::string("Settings written to ") + name + "!", platform::kInformation);
        system_.setReadOnly(path, true);
        return;
    }
    if (existed) system_.setReadOnly(path, true);
    problem(std::string("Could not write ") + name + " (" + platform::pathToUtf8(path) +
                "): " + written.reason() + ". The file was left as it was.",
            platform::kCritical);
}

bool Form1::mayWrite(const char* name, const char* button, bool loaded,
                     const std::optional<Problem>& loadProblem,
                     const std::vector<settings::BadNumber>& badNumbers) {
    if (!loaded) {
        // Never tried: nothing to say, as before any load.
        if (!loadProblem) return false;
        const std::string why =
            loadProblem->kind == Problem::Kind::NotFound ? "it was not found"
            : loadProblem->kind == Problem::Kind::Unreadable
                ? "it could not be read (" + loadProblem->reason + ")"
                : std::string("no settings were recognised in it");
        problem(std::string(name) + " was left as it is: " + why + " when \"" + button +
                    "\" ran, so the window holds none of its settings to save.",
                platform::kExclamation);
        return false;
    }
    if (badNumbers.empty()) return true;
    std::string text = std::string(name) +
                       " was not saved and was left as it is, because the game cannot read these "
                       "values:";
    for (const settings::BadNumber& bad : badNumbers) {
        text += "\r\n" + std::string(bad.caption) + ": \"" + system_.codePage().toUtf8(bad.text) +
                "\" (enter " + expectedForm(bad.expected) + ")";
    }
    problem(text, platform::kExclamation);
    return false;
}

void Form1::save_Click() {
    // The status labels read "Set." only while the last load brought the
    // file's settings into the window.
    const bool video = mayWrite("Video.scr", "Set Video.scr", panel.Label12.Caption == "Set.",
                                VideoLoadProblem, settings::tidyVideoNumbers(panel));
    const bool audio = mayWrite("Audio.scr", "Set Audio.scr", panel.Label29.Caption == "Set.",
                                AudioLoadProblem, settings::tidyAudioNumbers(panel));
    if (video) {
        writeBackup("Video.sc1", VideoLines, VideoLineCount, identity::kSaveBackupUpdates);
    }
    if (audio) {
        writeBackup("Audio.sc1", AudioLines, AudioLineCount, identity::kSaveBackupUpdates);
    }
    if (video) writeSettingsFile("Video.scr", settings::videoFileLines(panel));
    if (audio) writeSettingsFile("Audio.scr", settings::audioFileLines(panel));

    if (!folderKnown(SettingsPath)) {
        problem("The settings folder is not known yet, so motion blur, depth of field and the "
                "field of view were not saved. Click \"Set Video.scr\" and enter the folder "
                "first.",
                platform::kExclamation);
        return;
    }
    const auto folder = system_.nativePath(SettingsPath);
    showDataFolderProblems(overrides::saveOverrideScripts(system_, folder, panel));
    showDataFolderProblems(overrides::saveSkillsFile(system_, folder, panel));
}

void Form1::Restore_Click() {
    if (!folderKnown(SettingsPath)) {
        problem("The settings folder is not known yet, so there is no backup to restore. Click "
                "\"Set Video.scr\" and enter the folder first.",
                platform::kExclamation);
        return;
    }
    const int answer = message(
        "Restore Video.scr and Audio.scr from which backups?\r\n\r\n"
        "Yes: the backups the last save made (Video.sc1, Audio.sc1)\r\n"
        "No: the backups File > Backup made (Video.sc0, Audio.sc0)\r\n"
        "Cancel: restore nothing\r\n\r\n"
        "The files they replace are kept as Video.sc2 and Audio.sc2.",
        platform::kYesNoCancel | platform::kQuestion);
    if (answer == platform::kYes) restoreBackup(BackupSet::LastSave);
    if (answer == platform::kNo) restoreBackup(BackupSet::Menu);
}

void Form1::restoreBackup(BackupSet set) {
    if (!folderKnown(SettingsPath)) {
        problem("The settings folder is not known yet, so there is no backup to restore.",
                platform::kExclamation);
        return;
    }
    const char* extension = set == BackupSet::LastSave ? ".sc1" : ".sc0";
    std::string report;
    bool restoredAny = false;
    bool leftAlone = false;
    for (const std::string stem : {"Video", "Audio"}) {
        const std::string name = stem + ".scr";
        const std::string backupName = stem + extension;
        const auto path = system_.nativePath(inFolder(SettingsPath, name.c_str()));
        const auto backup = system_.nativePath(inFolder(SettingsPath, backupName.c_str()));
        const auto kept = system_.nativePath(inFolder(SettingsPath, (stem + ".sc2").c_str()));
        const auto notRestored = [&](const std::string& why) {
            report += "\r\n" + name + " was left as it is: " + why + ".";
            leftAlone = true;
        };

        if (!system_.fileExists(backup)) {
            notRestored("there is no backup " + backupName);
            continue;
        }
        const platform::ReadResult read = system_.readFile(backup, settings::kMaxSettingsFileBytes);
        if (!read.status) {
            notRestored(backupName + " could not be read (" + read.status.reason() + ")");
            continue;
        }
        std::vector<std::string> lines = settings::settingsFileLines(read.bytes);
        if (!lines.empty() && lines.back().starts_with(settings::kBackupMarkStart)) lines.pop_back();
        panel::Panel trial = panel;
        const auto keys = stem == "Video" ? settings::videoKeys() : settings::audioKeys();
        if (std::none_of(lines.begin(), lines.end(),
                         [&](const std::string& line) { return settings::applyLine(trial, line, keys); })) {
            notRestored(backupName + " holds no settings");
            continue;
        }

        // The file being replaced is kept first, so that a restore can be undone.
        if (system_.fileExists(path)) {
            const platform::ReadResult current = system_.readFile(path, settings::kMaxSettingsFileBytes);
            const platform::Status keptWritten =
                current.status ? system_.writeFile(kept, current.bytes) : current.status;
            if (!keptWritten) {
                notRestored("its current content could not be kept as " + stem + ".sc2 (" +
                            keptWritten.reason() + ")");
                continue;
            }
            system_.setReadOnly(path, false);
        }
        const platform::Status written = system_.writeFile(path, settings::joinLines(lines));
        system_.setReadOnly(path, true);
        if (!written) {
            notRestored("it could not be written (" + written.reason() + ")");
            continue;
        }
        restoredAny = true;
        report += "\r\n" + name + " was restored from " + backupName + "; the file it replaced is kept as " +
                  stem + ".sc2.";
    }
    const std::string text = (set == BackupSet::LastSave ? "Restore from the backups of the last save:"
                                                         : "Restore from the backups of File > Backup:") +
                             report;
    if (leftAlone) {
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

void Form1::Backup_Click() {
    if (!folderKnown(SettingsPath)) {
        problem("The settings folder is not known yet, so no backup was written. Click \"Set "
                "Video.scr\" and enter the folder first.",
                platform::kExclamation);
        return;
    }
    writeBackup("Video.sc0", VideoLines, VideoLineCount, identity::kMenuBackupUpdates);
    writeBackup("Audio.sc0", AudioLines, AudioLineCount, identity::kMenuBackupUpdates);
}

}  // namespace quorvik::app
