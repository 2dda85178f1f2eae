// "Set Video.scr", "Set Audio.scr", "Save Settings" and "Backup".

#include <filesystem>

#include "app/form1.h"
#include "overrides/overrides.h"
#include "app/identity.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::app {
namespace {

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

}  // namespace

void Form1::showNotices(const std::vector<overrides::Notice>& notices) {
    for (const auto& notice : notices) message(notice.text, notice.style);
}

bool Form1::loadLines(const std::string& filePath, std::vector<std::string>& lines, int& count) {
    const auto path = system_.nativePath(filePath);
    const platform::ReadResult read = system_.readFile(path, settings::kMaxSettingsFileBytes);
    if (!read.status) {
        message("Could not read " + filePath + ": " + read.status.reason() +
                    ". Nothing was loaded from it.",
                platform::kCritical);
        return false;
    }
    std::vector<std::string> loaded = settings::splitLines(read.bytes);
    count = static_cast<int>(loaded.size());
    lines.assign(1, std::string());
    lines.insert(lines.end(), std::make_move_iterator(loaded.begin()),
                 std::make_move_iterator(loaded.end()));
    return true;
}

void Form1::Command1_Click() {
    if (!folderKnown(SettingsPath)) {
        SettingsPath = dialogs_.inputBox(kVideoPrompt, "Video.scr Path");
    } else {
        VideoFilePath = inFolder(SettingsPath, "Video.scr");
        panel.Label12.Caption = "Set.";
    }
    if (platform::utf8Length(VideoFilePath) < 12) {
        panel.Label12.Caption = "NOT Set";
        return;
    }

    if (system_.fileExists(system_.nativePath(VideoFilePath))) {
        if (!loadLines(VideoFilePath, VideoLines, VideoLineCount)) return;
        for (int n = 1; n <= VideoLineCount; ++n) {
            settings::applyLine(panel, VideoLines[static_cast<std::size_t>(n)],
                                settings::videoKeys());
        }
    } else {
        message("File not found in folder! Video.scr", platform::kCritical);
    }

    // The override scripts and the field of view live beside the settings folder.
    if (!folderKnown(SettingsPath)) return;
    const auto folder = system_.nativePath(SettingsPath);
    showNotices(overrides::loadOverrideStates(system_, folder, panel));
    showNotices(overrides::loadFieldOfView(system_, folder, panel));
}

void Form1::Command2_Click() {
    if (!folderKnown(SettingsPath)) {
        SettingsPath = dialogs_.inputBox(kAudioPrompt, "Audio.scr Path");
        return;
    }
    AudioFilePath = inFolder(SettingsPath, "Audio.scr");
    panel.Label29.Caption = "Set.";
    if (!system_.fileExists(system_.nativePath(AudioFilePath))) return;
    if (!loadLines(AudioFilePath, AudioLines, AudioLineCount)) return;
    for (int n = 1; n <= AudioLineCount; ++n) {
        settings::applyLine(panel, AudioLines[static_cast<std::size_t>(n)], settings::audioKeys());
    }
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
        message(std::string("Could not write the backup ") + name + " (" +
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
    message(std::string("Could not write ") + name + " (" + platform::pathToUtf8(path) +
                "): " + written.reason() + ". The file was left as it was.",
            platform::kCritical);
}

void Form1::save_Click() {
    const bool video = panel.Label12.Caption == "Set.";
    const bool audio = panel.Label29.Caption == "Set.";
    if (video) {
        writeBackup("Video.sc1", VideoLines, VideoLineCount, identity::kSaveBackupUpdates);
    }
    if (audio) {
        writeBackup("Audio.sc1", AudioLines, AudioLineCount, identity::kSaveBackupUpdates);
    }
    if (video) writeSettingsFile("Video.scr", settings::videoFileLines(panel));
    if (audio) writeSettingsFile("Audio.scr", settings::audioFileLines(panel));

    if (!folderKnown(SettingsPath)) {
        message("The settings folder is not known yet, so motion blur, depth of field and the "
                "field of view were not saved. Click \"Set Video.scr\" and enter the folder "
                "first.",
                platform::kExclamation);
        return;
    }
    const auto folder = system_.nativePath(SettingsPath);
    showNotices(overrides::saveOverrideScripts(system_, folder, panel));
    showNotices(overrides::saveSkillsFile(system_, folder, panel));
}

void Form1::Backup_Click() {
    if (!folderKnown(SettingsPath)) {
        message("The settings folder is not known yet, so no backup was written. Click \"Set "
                "Video.scr\" and enter the folder first.",
                platform::kExclamation);
        return;
    }
    writeBackup("Video.sc0", VideoLines, VideoLineCount, identity::kMenuBackupUpdates);
    writeBackup("Audio.sc0", AudioLines, AudioLineCount, identity::kMenuBackupUpdates);
}

}  // namespace quorvik::app
