#include "support/game_folder.h"

#include <algorithm>

#include "platform/paths.h"

namespace quorvik::testing {

namespace fs = std::filesystem;

GameFolder::GameFolder(std::string_view base, int data)
    : out(dir.path() / platform::pathFromUtf8(base) / "out"),
      settings(out / "Settings"),
      scripts(settings / ".." / "Data" / "Scripts"),
      skills(settings / ".." / "Data" / "Skills" / "default_levels.xml") {
    fs::create_directories(settings);
    if (data & Scripts) fs::create_directories(out / "Data" / "Scripts");
    if (data & Skills) fs::create_directories(out / "Data" / "Skills");
}

void GameFolder::copySamples() const {
    writeBytes(settings / "Video.scr", dataBytes("Video.scr"));
    writeBytes(settings / "Audio.scr", dataBytes("Audio.scr"));
}

std::string GameFolder::settingsPathText() const { return platform::pathToUtf8(settings); }

GameSession::GameSession(std::string_view base, int data) : GameFolder(base, data) {
    dialogs.yesNoAnswers = {platform::kNo};
    form.Form_Load();
    form.SettingsPath = settingsPathText();
    dialogs.boxes.clear();
}

void GameSession::loadBoth() {
    form.Command1_Click();
    form.Command2_Click();
}

void GameSession::makeSampleEdits() {
    form.panel.Text1.Text = "1920";
    form.panel.Text2.Text = "1080";
    form.panel.Combo6.setText("Extreme");
    form.panel.Combo5.select(4);
    form.panel.Check2.Value = 0;
    form.panel.Text20.Text = "25";
    form.panel.Check9.Value = 1;
    form.panel.Combo8.setText("high");
}

bool GameSession::shown(const std::string& text) const {
    const auto texts = dialogs.texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

}  // namespace quorvik::testing
