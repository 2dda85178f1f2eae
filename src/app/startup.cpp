// The start-up sequence: runs once, before the window first shows.

#include "operations/startup.h"

#include <exception>

#include "app/form1.h"
#include "app/general.h"
#include "app/help_texts.h"
#include "app/identity.h"
#include "operations/game.h"
#include "panel/lists.h"
#include "platform/paths.h"

namespace quorvik::app {
namespace {

namespace game = operations::game;

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

void Form1::askStartUpQuestion() {
    if (startUpAnswer_) return;
    startUpAnswer_ = platform::kNo;
    // The player takes a moment to answer: the prefix and its registry are
    // read meanwhile.
    system_.prepare();
    step([&] {
        startUpAnswer_ = message("Would you like to try and automatically detect settings path?",
                                 platform::kYesNo);
    });
}

void Form1::Form_Load() {
    askStartUpQuestion();
    // The prefix is chosen before the registry is read: the registry is the prefix's.
    step([&] { system_.choosePrefix(); });
    readGameEntries();

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

    if (*startUpAnswer_ == platform::kNo) {
        SettingsPath = "1";
        return;
    }
    step([&] { detectSettingsPath(); });
}

void Form1::readGameEntries() {
    const auto read = [&](std::string& field, std::string_view keyPath, std::string_view valueName,
                          General::ViewPolicy policy, bool* found = nullptr) {
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
}

void Form1::detectSettingsPath() {
    const operations::FolderSearch search = operations::findSettingsFolder(system_);
    if (search.noDocuments) SettingsPath = "1";
    if (search.found) SettingsPath = platform::pathToUtf8(*search.found);
    tellFolderSearch(teller_, search, wording);
}

}  // namespace quorvik::app
