#pragma once

// The main window's state and its handlers, free of any toolkit. The Qt view
// copies the widgets into `panel` before every event, calls the handler and
// copies the panel back; tests call the handlers directly.

#include <string>
#include <vector>

#include "overrides/overrides.h"
#include "panel/panel.h"
#include "platform/dialogs.h"
#include "platform/system.h"
#include "app/tool_tip_api.h"

namespace quorvik::app {

// The pictures the window can show behind its controls.
enum class Picture { None, Moor, Black };

class Form1 {
public:
    Form1(platform::Dialogs& dialogs, platform::System& system,
          ToolTipApi* toolTips = nullptr);

    panel::Panel panel;
    std::string Caption;                    // the window's title bar
    Picture BackgroundPicture = Picture::Moor;
    Picture Image1 = Picture::None;         // filled at start-up with the window's picture
    Picture Image2 = Picture::Black;

    std::string OsVersion;    // UTF-8, as the registry gives it
    std::string GameVersion;  // UTF-8
    std::string GameExePath;  // UTF-8, the game's executable
    std::string ToolVersion;

    // The settings folder without a trailing separator (UTF-8), or a text shorter
    // than two characters while no folder is known ("1": detection declined).
    std::string SettingsPath;
    std::string VideoFilePath;
    std::string AudioFilePath;
    // Lines as last loaded, line n at position n; position 0 stays empty.
    std::vector<std::string> VideoLines;
    int VideoLineCount = 0;
    std::vector<std::string> AudioLines;
    int AudioLineCount = 0;

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void save_Click();
    void Backup_Click();
    void Launch_Click();
    void About_Click();
    void Label47_Click();
    void Exit_Click();

    void black_Click();
    void Red_Click();
    void Green_Click();
    void Yellow_Click();
    void blue_Click();
    void Magenta_Click();
    void Cyan_Click();
    void White_Click();
    void qm_Click();
    void bgblack_Click();

private:
    // A message box with the application title.
    int message(const std::string& text, int style);
    void detectSettingsPath();
    void showNotices(const std::vector<overrides::Notice>& notices);
    // Reads a settings file into lines (position 0 empty); false after telling why not.
    bool loadLines(const std::string& filePath, std::vector<std::string>& lines, int& count);
    void writeBackup(const char* name, const std::vector<std::string>& lines, int count,
                     std::string_view updateAddress);
    void writeSettingsFile(const char* name, const std::vector<std::string>& lines);
    void setLabelColors(panel::ColorNumber color);

    platform::Dialogs& dialogs_;
    platform::System& system_;
    ToolTipApi* toolTips_;
};

}  // namespace quorvik::app
