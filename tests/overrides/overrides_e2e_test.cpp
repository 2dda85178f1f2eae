// Motion blur, depth of field and the field of view, through the window's
// handlers: the scripts and the skills file follow the controls on save, and
// "Set Video.scr" shows the disk's state again.

#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/paths.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
#include "support/game_folder.h"

namespace quorvik::app {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::crlf;
using quorvik::testing::FakeDialogs;
using quorvik::testing::FakeSystem;
using quorvik::testing::readBytes;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;

class Overrides : public ::testing::Test, protected quorvik::testing::GameFolder {
protected:
    FakeDialogs dialogs;
    FakeSystem system;
    Form1 form{dialogs, system};

    void SetUp() override {
        writeBytes(settings / "Video.scr", quorvik::testing::dataBytes("edited/Video.scr"));
        writeBytes(settings / "Audio.scr", quorvik::testing::dataBytes("edited/Audio.scr"));
        writeBytes(scripts / "varlist_player.scr", "the game's own");  // a neighbour
        system.documents = dir.path();
        dialogs.yesNoAnswers = {platform::kYes};
        form.Form_Load();
        ASSERT_EQ(form.SettingsPath, platform::pathToUtf8(settings));
        form.Command1_Click();
        form.Command2_Click();
        dialogs.boxes.clear();
    }
};

TEST_F(Overrides, SwitchingMotionBlurOffAndWidenTheView) {
    // A first load with no scripts shows both effects on.
    EXPECT_EQ(form.panel.Check4.Value, 1);
    EXPECT_EQ(form.panel.Check11.Value, 1);
    EXPECT_EQ(form.panel.Text15.Text, "62.5");

    form.panel.Check4.Value = 0;
    form.panel.Text15.Text = "75.0";
    form.save_Click();
    EXPECT_EQ(dialogs.boxes.at(0).text,
              "A value is outside what its help lists:\r\n    Post Processing Extreme is outside "
              "what its help lists (Simple, Normal)\r\n\r\nSave anyway?")
        << "the file's own value, kept";
    EXPECT_EQ(dialogs.boxes.size(), 7u) << "the overrides succeed silently";

    EXPECT_EQ(readBytes(scripts / "varlist_blur_camera_motion.scr"),
              crlf({"VarFloat(\"f_blur_camera_motion_factor\", 0.0)",
                    "VarFloat(\"f_blur_camera_motion_near\", 0.0)",
                    "VarFloat(\"f_blur_camera_motion_far\", 0.0)",
                    "VarFloat(\"f_blur_camera_motion_max\", 0.0)"}));
    EXPECT_TRUE(fs::exists(scripts / "varlist_blur.scr"));
    EXPECT_TRUE(fs::exists(scripts / "varlist_blur_radial.scr"));
    EXPECT_FALSE(fs::exists(scripts / "varlist_dof.scr"));
    const std::string skillsText = readBytes(skills);
    EXPECT_NE(skillsText.find("\r\n<prop n=\"CameraDefaultFOV\" v=\"75.0\"/>\r\n"),
              std::string::npos);
    EXPECT_EQ(std::count(skillsText.begin(), skillsText.end(), '\n'), 400);

    // Another session sees the same states.
    FakeDialogs otherDialogs;
    Form1 other{otherDialogs, system};
    otherDialogs.yesNoAnswers = {platform::kYes};
    other.Form_Load();
    other.Command1_Click();
    EXPECT_EQ(other.panel.Check4.Value, 0);
    EXPECT_EQ(other.panel.Check11.Value, 1);
    EXPECT_EQ(other.panel.Text15.Text, "75.0");

    // And back: the scripts and the skills file go, the game's own file stays.
    form.panel.Check4.Value = 1;
    form.panel.Text15.Text = "62.5";
    form.save_Click();
    for (const char* name : {"varlist_blur_camera_motion.scr", "varlist_blur.scr",
                             "varlist_blur_radial.scr"}) {
        EXPECT_FALSE(fs::exists(scripts / name)) << name;
    }
    EXPECT_FALSE(fs::exists(skills));
    EXPECT_EQ(readBytes(scripts / "varlist_player.scr"), "the game's own");
}

TEST_F(Overrides, DepthOfFieldOffWritesBothScripts) {
    form.panel.Check11.Value = 0;
    form.save_Click();
    EXPECT_TRUE(fs::exists(scripts / "varlist_dof.scr"));
    const std::string defaults = readBytes(scripts / "dof_def_qm.scr");
    EXPECT_TRUE(defaults.starts_with("\r\n// Depth of Field\r\n\r\nVarFloat( \"f_dof_strength_factor\", "
                                     "0.00000000000000000000 )\r\n"));
    EXPECT_TRUE(defaults.ends_with(")\r\n\r\n\r\n"));
    form.Command1_Click();
    EXPECT_EQ(form.panel.Check11.Value, 0);
}

TEST_F(Overrides, AnInvalidFieldOfViewLeavesTheSkillsFileAndTheRestIsSaved) {
    writeBytes(skills, "the player's own skills");
    form.panel.Text15.Text = "75\"/><x";
    form.panel.Check4.Value = 0;
    form.save_Click();
    EXPECT_EQ(readBytes(skills), "the player's own skills");
    EXPECT_TRUE(fs::exists(scripts / "varlist_blur.scr"));
    ASSERT_EQ(dialogs.boxes.size(), 8u);
    EXPECT_EQ(dialogs.boxes[7].style, 48);
}

TEST_F(Overrides, NoFolderKnownWritesNothingBesideTheWorkingFolder) {
    TempDir cwd;
    fs::create_directories(cwd / "Data" / "Scripts");
    const auto previous = fs::current_path();
    fs::current_path(cwd / "Data");
    FakeDialogs freshDialogs;
    Form1 fresh{freshDialogs, system};
    freshDialogs.yesNoAnswers = {platform::kNo};
    fresh.Form_Load();
    fresh.save_Click();
    fs::current_path(previous);
    EXPECT_TRUE(fs::is_empty(cwd / "Data" / "Scripts"));
    ASSERT_EQ(freshDialogs.boxes.size(), 2u);
    EXPECT_NE(freshDialogs.boxes[1].text.find("settings folder is not known"), std::string::npos);
}

}  // namespace
}  // namespace quorvik::app
