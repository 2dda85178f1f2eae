#pragma once

// src/app: the tool itself, free of any toolkit. Form1 (here) holds the
// window's state and every handler; commands.h maps each clickable control to
// its handler; messages.h words the problems the domain reports; start-up,
// the registry rules (General), help texts, identity and the game's registry
// key live beside it. The views sit below: app/qt (Linux) and app/win32
// (Windows) each build their widgets from the panel's layout and, around every
// event, copy the widgets into `panel`, dispatch through the command table and
// copy the panel back. Tests call the handlers directly.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/tool_tip_api.h"
#include "operations/apply.h"
#include "operations/load.h"
#include "operations/plan.h"
#include "operations/presets.h"
#include "operations/profiles.h"
#include "operations/restore.h"
#include "operations/session.h"
#include "operations/values.h"
#include "panel/panel.h"
#include "platform/dialogs.h"
#include "platform/result.h"
#include "platform/system.h"
#include "words/telling.h"
#include "words/wording.h"

namespace quorvik::app {

// The phrases by which messages say what to do next.
using words::Wording;

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

    std::string GameVersion;  // UTF-8
    std::string GameExePath;  // UTF-8, the game's executable
    bool GameExeFound = false;  // whether the registry gave GameExePath
    std::string ToolVersion;

    // The settings folder without a trailing separator (UTF-8), or a text shorter
    // than two characters while no folder is known ("1": detection declined).
    std::string SettingsPath;
    std::string VideoFilePath;
    std::string AudioFilePath;
    // The work on the game's files: what "Set Video.scr" and "Set Audio.scr"
    // loaded, and the commands on it. The panel shows its values.
    operations::Session session;
    // How messages say what to do next: the window's buttons and menus, unless
    // the front end has none and sets its own before Form_Load.
    Wording wording;

    bool folderKnown() const;
    bool videoLoaded() const { return session.videoLoaded(); }
    bool audioLoaded() const { return session.audioLoaded(); }
    bool placeLoaded(catalogue::Place place) const { return session.placeLoaded(place); }

    // Start-up, in the order the player meets it, run by the window: the
    // question first, before any of the window is made; then the window its
    // controls; then Form_Load: the game's prefix, its registry entries, the
    // window's first state and the settings folder. Form_Load asks the
    // question itself when no one asked it first.
    void askStartUpQuestion();
    void Form_Load();

    // What File > Save Settings would do now: the plan Show Changes shows,
    // the console prints and the save carries out. Writes nothing.
    operations::Plan planOfSave();
    // The save itself, every message shown as it happens. A file changed on
    // disk since it was loaded is overwritten only when forced; otherwise
    // nothing is saved and the report says which (the caller tells the player).
    // `shown`, when given, sees the plan before it is carried out; when it
    // says the plan could not be shown, nothing is done (Outcome::Withheld).
    operations::Report saveSettings(bool force,
                                    const std::function<bool(const operations::Plan&)>& shown = {});
    // What File > Restore Backup... offers, and putting one of them back; the
    // window then shows what the files hold.
    std::vector<operations::RestoreChoice> restoreChoices();
    void restoreFrom(const operations::RestoreChoice& choice);

    void Command1_Click();
    void Command2_Click();
    void save_Click();
    void Backup_Click();
    void Launch_Click();
    void About_Click();
    // What's this? in a control's own menu, and Shift+F1 on it: its tooltip's
    // text in a box. False, and nothing shown, for a control without one.
    bool WhatsThis_Click(std::string_view control);
    void Label47_Click();
    void Exit_Click();
    // Beyond the designed window: put a backup back, and see what a save would do.
    void Restore_Click();
    void Changes_Click();
    // Settings > Reset All to Defaults, and the Presets menu: each shows what it
    // sets in the window and asks first; a save writes it.
    void ResetAll_Click();
    void Performance_Click();
    void Quality_Click();
    void Handheld_Click();
    // The Profiles menu.
    void ProfileSave_Click();
    void ProfileApply_Click();
    void ProfileDelete_Click();
    void ProfileExport_Click();
    void ProfileImport_Click();

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
    // The answer to start-up's question, once it is asked.
    std::optional<int> startUpAnswer_;
    // A message box with the application title.
    int message(const std::string& text, int style);
    // The same, for something that could not be done.
    int problem(const std::string& text, int style);
    // The session's folder and values from the window, before one of its commands.
    void bindSession();
    // The game's version and executable from the registry.
    void readGameEntries();
    void detectSettingsPath();
    std::filesystem::path settingsFolder() const;
    // The part of "Set Video.scr" / "Set Audio.scr" after the file's path is known.
    void loadVideo();
    void loadAudio();
    void setLabelColors(panel::ColorNumber color);
    void offerValues(const std::string& what, const std::vector<operations::PresetValue>& values);
    void offerPreset(std::string_view name);
    // The configuration folder profiles live in; the player is told when there is none.
    std::optional<std::filesystem::path> profilesConfig();
    // Whether a profile may have the name; the player is told why not.
    bool profileNameWillDo(const std::string& name);
    struct ChosenProfile {
        std::string name;
        std::filesystem::path path;
    };
    std::optional<ChosenProfile> chooseProfile(const std::string& question,
                                               const std::string& button, const std::string& title);
    std::optional<operations::Profile> readProfileFile(const std::filesystem::path& file);
    bool keepProfile(const std::filesystem::path& config, operations::Profile profile);

    // The session's reports told in message boxes.
    class BoxTeller : public words::Teller {
    public:
        explicit BoxTeller(Form1& form) : form_(form) {}
        void message(const std::string& text, int style) override { form_.message(text, style); }
        void problem(const std::string& text, int style) override { form_.problem(text, style); }
        void notice(const std::string& text, int style) override { form_.message(text, style); }

    private:
        Form1& form_;
    };

    platform::Dialogs& dialogs_;
    platform::System& system_;
    BoxTeller teller_{*this};
    ToolTipApi* toolTips_;
};

}  // namespace quorvik::app
