#pragma once

// src/app: the tool itself, free of any toolkit. Form1 (here) holds the
// window's state and every handler; commands.h maps each clickable control to
// its handler; messages.h words the problems the domain reports; start-up,
// the registry rules (General), help texts, identity and the game's registry
// key live beside it. The views sit below: app/qt (Linux) and app/win32
// (Windows) each build their widgets from the panel's layout and, around every
// event, copy the widgets into `panel`, dispatch through the command table and
// copy the panel back. Tests call the handlers directly.

#include <string>
#include <vector>

#include <optional>
#include <span>

#include "panel/panel.h"
#include "platform/dialogs.h"
#include "platform/result.h"
#include "platform/system.h"
#include "settings/scr_format.h"
#include "app/tool_tip_api.h"

namespace quorvik::app {

// The pictures the window can show behind its controls.
enum class Picture { None, Moor, Black };

// The two sets of backups: the one every save makes, and File > Backup's.
enum class BackupSet { LastSave, Menu };

// One setting that a save would change, in the window's terms.
struct Change {
    std::string file;     // "Video.scr", "Audio.scr" or the Data folder's file
    std::string caption;  // the caption beside the control
    std::string before;   // UTF-8, as the disk holds it now
    std::string after;    // UTF-8, as the save would write it

    bool operator==(const Change&) const = default;
};

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
    // Why the last "Set Video.scr" / "Set Audio.scr" brought nothing into the
    // window; nothing while the file is loaded or no load was tried.
    std::optional<platform::Problem> VideoLoadProblem;
    std::optional<platform::Problem> AudioLoadProblem;
    // Every message that told of something not done, in order: what a front
    // end without a window reports as failure.
    std::vector<std::string> ProblemsShown;

    void Form_Load();

    // Puts Video.scr and Audio.scr back from a backup set, keeping each file it
    // replaces as .sc2, then loads them; a file without its backup is left as
    // it is. What the restore menu item and the console's restore run.
    void restoreBackup(BackupSet set);
    // What a save would change, file by file, against the disk now. Writes
    // nothing. Notes say what a save would leave alone and why.
    std::vector<Change> changesOfSave(std::vector<std::string>* notes = nullptr);
    void Command1_Click();
    void Command2_Click();
    void save_Click();
    void Backup_Click();
    void Launch_Click();
    void About_Click();
    void Label47_Click();
    void Exit_Click();
    // Beyond the designed window: put a backup back, and see what a save would do.
    void Restore_Click();
    void Changes_Click();

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
    // The same, for something that could not be done; it is also kept in ProblemsShown.
    int problem(const std::string& text, int style);
    void detectSettingsPath();
    void showDataFolderProblems(const std::vector<platform::Problem>& problems);
    // Reads a settings file into the controls and its lines (position 0 empty);
    // the problem when nothing was loaded, and then nothing changed.
    std::optional<platform::Problem> loadSettingsFile(const std::string& filePath,
                                                      std::span<const settings::KeyRule> keys,
                                                      std::vector<std::string>& lines,
                                                      int& count);
    void reportLoadProblem(const platform::Problem& failure, const char* name);
    // The part of "Set Video.scr" / "Set Audio.scr" after the file's path is known.
    void loadVideo();
    void loadAudio();
    // Whether the save may write this settings file; tells the player why not.
    bool mayWrite(const char* name, const char* button, bool loaded,
                  const std::optional<platform::Problem>& loadProblem,
                  const std::vector<settings::BadNumber>& badNumbers);
    void writeBackup(const char* name, const std::vector<std::string>& lines, int count,
                     std::string_view updateAddress);
    void writeSettingsFile(const char* name, const std::vector<std::string>& lines);
    void setLabelColors(panel::ColorNumber color);

    platform::Dialogs& dialogs_;
    platform::System& system_;
    ToolTipApi* toolTips_;
};

}  // namespace quorvik::app
