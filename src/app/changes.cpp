// "Show Changes": what File > Save Settings would change, setting by setting,
// against what the disk holds now. It writes nothing.

#include <filesystem>

#include "app/form1.h"
#include "overrides/overrides.h"
#include "overrides/skills_file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "settings/lines.h"
#include "settings/setting_values.h"
#include "settings/settings_files.h"

namespace quorvik::app {
namespace {

constexpr const char* kGameOwnView = "62.5 (the game's own)";

std::string onOff(int value) { return value != 0 ? "on" : "off"; }

}  // namespace

std::vector<Change> Form1::changesOfSave(std::vector<std::string>* notes) {
    std::vector<Change> changes;
    const auto note = [&](std::string text) {
        if (notes != nullptr) notes->push_back(std::move(text));
    };
    const platform::CodePage& codePage = system_.codePage();
    const bool folderKnown = platform::utf8Length(SettingsPath) >= 2;

    // The values as the save would write them: numbers trimmed.
    panel::Panel saved = panel;
    struct File {
        const char* name;
        bool loaded;
        std::vector<const settings::TemplateLine*> settings;
        std::vector<settings::BadNumber> badNumbers;
    };
    const File files[] = {
        {"Video.scr", panel.Label12.Caption == "Set.", settings::videoSettings(),
         settings::tidyVideoNumbers(saved)},
        {"Audio.scr", panel.Label29.Caption == "Set.", settings::audioSettings(),
         settings::tidyAudioNumbers(saved)},
    };
    for (const File& file : files) {
        if (!file.loaded) {
            note(std::string(file.name) + " is not loaded, so a save leaves it as it is.");
            continue;
        }
        if (!file.badNumbers.empty()) {
            note(std::string(file.name) +
                 " holds values the game cannot read, so a save leaves it as it is.");
            continue;
        }
        const auto path = system_.nativePath(SettingsPath) / file.name;
        std::vector<std::string> lines;
        if (system_.fileExists(path)) {
            const platform::ReadResult read = system_.readFile(path, settings::kMaxSettingsFileBytes);
            if (!read.status) {
                note(std::string(file.name) + " could not be read: " + read.status.reason() + ".");
                continue;
            }
            lines = settings::settingsFileLines(read.bytes);
        }
        for (const settings::TemplateLine* line : file.settings) {
            const std::optional<std::string> before = settings::fileText(lines, *line);
            const std::string after = settings::windowText(saved, *line);
            if (before == after) continue;
            changes.push_back({file.name, std::string(line->caption),
                               before ? codePage.toUtf8(*before) : "(not in the file)",
                               codePage.toUtf8(after)});
        }
    }

    if (!folderKnown) return changes;
    // The Data folder as the disk holds it, read the way "Set Video.scr" reads it.
    const auto folder = system_.nativePath(SettingsPath);
    panel::Panel disk = panel;
    disk.Text15.Text = "62.5";
    overrides::loadOverrideStates(system_, folder, disk);
    const bool skillsReadable = overrides::loadFieldOfView(system_, folder, disk).empty();
    const char* scripts = "Data\\Scripts";
    if (disk.Check4.Value != panel.Check4.Value) {
        changes.push_back({scripts, "Motion Blur", onOff(disk.Check4.Value), onOff(panel.Check4.Value)});
    }
    if (disk.Check11.Value != panel.Check11.Value) {
        changes.push_back(
            {scripts, "Depth of Field", onOff(disk.Check11.Value), onOff(panel.Check11.Value)});
    }

    const std::string view(platform::trimBlanks(saved.Text15.Text));
    const std::optional<int> order = overrides::compareWithDefaultFieldOfView(view);
    const std::string before = disk.Text15.Text == "62.5" ? kGameOwnView : codePage.toUtf8(disk.Text15.Text);
    if (!order) {
        note("The field of view \"" + codePage.toUtf8(view) +
             "\" is not a number, so a save leaves the skills file as it is.");
    } else if (*order < 0) {
        note("The field of view " + codePage.toUtf8(view) +
             " is below the game's own 62.5, so a save leaves the skills file as it is.");
    } else if (!skillsReadable) {
        note("The skills file could not be read.");
    } else {
        const std::string after = *order == 0 ? kGameOwnView : codePage.toUtf8(view);
        if (after != before) changes.push_back({"Data\\Skills\\default_levels.xml", "Field of View", before, after});
    }
    return changes;
}

void Form1::Changes_Click() {
    std::vector<std::string> notes;
    const std::vector<Change> changes = changesOfSave(&notes);
    std::string text = changes.empty() ? "File > Save Settings would change nothing."
                                       : "File > Save Settings would change:";
    std::string file;
    for (const Change& change : changes) {
        if (change.file != file) {
            file = change.file;
            text += "\r\n\r\n" + file;
        }
        text += "\r\n    " + change.caption + ": " + change.before + " \u2192 " + change.after;
    }
    if (!notes.empty()) text += "\r\n";
    for (const std::string& line : notes) text += "\r\n" + line;
    message(text, platform::kInformation);
}

}  // namespace quorvik::app
