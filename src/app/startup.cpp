// The start-up sequence: runs once, before the window first shows.

#include <exception>

#include "app/form1.h"
#include "app/game.h"
#include "app/general.h"
#include "app/help_texts.h"
#include "app/identity.h"
#include "panel/lists.h"
#include "platform/paths.h"

namespace quorvik::app {
namespace {

// Start-up never dies: a step that fails is skipped and the next one runs.
template <typename Step>
void step(Step&& body) {
    try {
        body();
    } catch (const std::exception&) {
    }
}

std::string cutAtNul(std::string text) {
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.erase(nul);
    return text;
}

}  // namespace

void Form1::Form_Load() {
    int answer = platform::kNo;
    step([&] {
        answer = message("Would you like to try and automatically detect settings path?",
                         platform::kYesNo);
    });

    const auto read = [&](std::string& field, std::string_view keyPath,
                          std::string_view valueName, General::ViewPolicy policy,
                          bool* found = nullptr) {
        step([&] {
            std::string path(keyPath);
            auto value = General::ReadRegistryValue(system_.registry(), dialogs_, path,
                                                    std::string(valueName), policy, found);
            if (value) field = cutAtNul(std::move(*value));
        });
    };
    using General::ViewPolicy;
    read(GameVersion, game::kKeyPath, game::kVersionValue, ViewPolicy::Prefer32Bit);
    read(GameExePath, game::kKeyPath, game::kExePathValue, ViewPolicy::Prefer32Bit, &GameExeFound);

    // The panel holds 8-bit text, as the window shows it.
    panel.Label2.Caption = system_.codePage().fromUtf8(GameVersion);
    panel.Label12.Caption = "Not Set.";
    panel.Label29.Caption = "Not Set.";
    ToolVersion = identity::kToolVersion;
    Caption = "Quorvik Tool " + ToolVersion + " by " + std::string(identity::kAuthor);
    panel.Check1.Value = 0;
    panel.Check2.Value = 0;
    panel.Check3.Value = 0;
    panel.Check4.Value = 0;
    panel.Scriptlet1 = {7025, 905};
    Image1 = BackgroundPicture;

    panel::addListEntries(panel);
    for (const auto& combo : panel::kComboBoxes) (panel.*combo.member).select(0);

    if (toolTips_ != nullptr) step([&] { setUpToolTips(*toolTips_); });

    if (answer == platform::kNo) {
        SettingsPath = "1";
        return;
    }
    step([&] { detectSettingsPath(); });
}

void Form1::detectSettingsPath() {
    // Where the machine looked for the game itself, as under Wine: its prefixes.
    std::string prefixes;
    for (const std::string& place : system_.searchedPlaces()) prefixes += "\r\n" + place;
    if (!prefixes.empty()) prefixes = "\r\nWine prefixes searched:" + prefixes;

    const auto documents = system_.documentsFolder();
    if (!documents) {
        SettingsPath = "1";
        problem("No settings folder was found: Quorvik could not find your Documents folder." +
                    prefixes + "\r\n" + wording.noDocumentsFolder,
                platform::kExclamation);
        return;
    }
    std::string searched;
    for (const std::string_view gameFolder : game::kGameFolders) {
        const auto folder = *documents / game::settingsFolder(gameFolder);
        if (system_.fileExists(folder / "Video.scr")) {
            // Spelt as it is on disk, which under Wine may differ in case.
            SettingsPath = platform::pathToUtf8(system_.nativePath(platform::pathToUtf8(folder)));
            message("Settings path auto-detected :) Click Video.scr and Audio.scr to detect "
                    "values.\r\n" +
                        SettingsPath,
                    platform::kOkOnly);
            return;
        }
        searched += "\r\n" + platform::pathToUtf8(folder);
    }
    problem("No settings folder was found. Quorvik looked for Video.scr in:" + searched + prefixes +
                "\r\n" + wording.noSettingsFolder,
            platform::kExclamation);
}

}  // namespace quorvik::app
