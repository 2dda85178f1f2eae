// The start-up sequence, end to end through Form1, on Documents folders in a
// temporary folder.

#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/paths.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

namespace quorvik::app {
namespace {

using quorvik::testing::FakeDialogs;
using quorvik::testing::FakeSystem;
using quorvik::testing::ShownBox;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;

constexpr const char* kTitle = "Quorvik by Quorvik Team";
constexpr const char* kQuestion = "Would you like to try and automatically detect settings path?";
constexpr const char* kFound =
    "Settings path auto-detected :) Click Video.scr and Audio.scr to detect values.";
constexpr const char* kGameKey = "Software\\Wow6432Node\\Grenmark\\QuellMoor";

class StartUp : public ::testing::Test {
protected:
    TempDir dir;
    FakeDialogs dialogs;
    FakeSystem system;
    Form1 form{dialogs, system};

    std::filesystem::path documents() const { return dir / "My Documents"; }
    void settingsFile(const char* game, const char* name) {
        writeBytes(documents() / game / "out" / "Settings" / name, "x\r\n");
    }
    void load(int answer) {
        system.documents = documents();
        dialogs.yesNoAnswers = {answer};
        form.Form_Load();
    }
};

TEST_F(StartUp, NoLeavesTheMarkerAndShowsNothingMore) {
    settingsFile("QuellMoor", "Video.scr");
    form.panel.Check1.Value = form.panel.Check4.Value = form.panel.Check5.Value = 1;
    load(platform::kNo);

    EXPECT_EQ(dialogs.boxes, (std::vector<ShownBox>{{kQuestion, 4, kTitle}}));
    EXPECT_EQ(form.SettingsPath, "1");
    EXPECT_EQ(form.panel.Label12.Caption, "Not Set.");
    EXPECT_EQ(form.panel.Label29.Caption, "Not Set.");
    EXPECT_EQ(form.ToolVersion, "v0.7.9 Final");
    EXPECT_EQ(form.Caption, "Quorvik Tool v0.7.9 Final by Quorvik Team");
    EXPECT_EQ(form.panel.Check1.Value, 0);
    EXPECT_EQ(form.panel.Check4.Value, 0);
    EXPECT_EQ(form.panel.Check5.Value, 1) << "only the first four boxes are cleared";
    EXPECT_EQ(form.panel.Scriptlet1.Width, 7025);
    EXPECT_EQ(form.panel.Scriptlet1.Height, 905);
    EXPECT_EQ(form.Image1, Picture::Moor);
    EXPECT_TRUE(system.fileLog.empty());
}

TEST_F(StartUp, ListsAreFilledInOrderWithTheFirstEntrySelected) {
    load(platform::kNo);
    const std::vector<std::pair<const panel::ComboBox*, std::vector<std::string>>> lists = {
        {&form.panel.Combo1, {"Bilinear", "Trilinear", "Anisotropic", "AnisotropicTrilinear"}},
        {&form.panel.Combo2, {"VeryLow", "Low", "High"}},
        {&form.panel.Combo3, {"Low", "High"}},
        {&form.panel.Combo4, {"Static", "RareDynamic", "FullDynamic"}},
        {&form.panel.Combo5, {"SM 1.1", "SM 1.4", "SM 2.0", "SM 3.0", "XBOX360", "SM 4.0", "PS3"}},
        {&form.panel.Combo6, {"Simple", "Normal"}},
        {&form.panel.Combo7, {"aDS3D", "aOpenAL", "aXACT", "XAudio2", "NoSound"}},
        {&form.panel.Combo8, {"low", "medium", "high"}},
    };
    for (const auto& [combo, entries] : lists) {
        EXPECT_EQ(combo->List, entries);
        EXPECT_EQ(combo->ListIndex, 0);
        EXPECT_EQ(combo->Text, entries[0]);
    }
}

TEST_F(StartUp, FindsTheOneWordFolderFirst) {
    settingsFile("QuellMoor", "Video.scr");
    settingsFile("Quell Moor", "Video.scr");
    load(platform::kYes);
    const std::string found = platform::pathToUtf8(documents() / "QuellMoor" / "out" / "Settings");
    EXPECT_EQ(dialogs.boxes,
              (std::vector<ShownBox>{{kQuestion, 4, kTitle}, {kFound + ("\r\n" + found), 0, kTitle}}))
        << "the confirmation names the folder found";
    EXPECT_EQ(form.SettingsPath, found);
    EXPECT_EQ(form.panel.Label12.Caption, "Not Set.") << "found, but nothing loaded yet";
}

TEST_F(StartUp, FindsTheTwoWordFolderAndOnlyEverTestsVideoScr) {
    settingsFile("QuellMoor", "Audio.scr");
    settingsFile("Quell Moor", "Video.scr");
    load(platform::kYes);
    EXPECT_EQ(form.SettingsPath,
              platform::pathToUtf8(documents() / "Quell Moor" / "out" / "Settings"));
    EXPECT_FALSE(form.SettingsPath.ends_with('/') || form.SettingsPath.ends_with('\\'));
}

TEST_F(StartUp, NothingFoundStaysEmptyAndNamesWhereItLooked) {
    settingsFile("QuellMoor", "Audio.scr");
    std::filesystem::create_directories(documents() / "Quell Moor" / "out" / "Settings" /
                                        "Video.scr");  // a folder, not a file
    load(platform::kYes);
    EXPECT_EQ(form.SettingsPath, "");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1],
              (ShownBox{"No settings folder was found. Quorvik looked for Video.scr in:\r\n" +
                            platform::pathToUtf8(documents() / "QuellMoor" / "out" / "Settings") +
                            "\r\n" +
                            platform::pathToUtf8(documents() / "Quell Moor" / "out" / "Settings") +
                            "\r\nClick \"Set Video.scr\" to enter the folder that holds it.",
                        48, kTitle}));
}

TEST_F(StartUp, NoDocumentsFolderGivesTheMarkerAndSaysSo) {
    dialogs.yesNoAnswers = {platform::kYes};
    form.Form_Load();  // system.documents left empty
    EXPECT_EQ(form.SettingsPath, "1");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text,
              "No settings folder was found: Quorvik could not find your Documents folder.\r\n"
              "Click \"Set Video.scr\" to enter the folder that holds Video.scr.");
}

TEST_F(StartUp, RegistryValuesFillTheFields) {
    auto& registry = system.memoryRegistry;
    // A value with a NUL inside is cut before it.
    registry.setBytes(platform::kHkeyLocalMachine, kGameKey, "Version", platform::kRegSz,
                      quorvik::testing::utf16Bytes(std::string("1.4.2 \xC3\xA9\0junk\0", 14)));
    // Letters outside the 8-bit code page stay what they are.
    const std::string exe = "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\Quell Moor\\QuellMoor.exe";
    registry.setString(platform::kHkeyLocalMachine, kGameKey, "Exe_Path", exe);
    load(platform::kNo);
    EXPECT_EQ(form.GameVersion, "1.4.2 \xC3\xA9");
    EXPECT_EQ(form.panel.Label2.Caption, "1.4.2 \xE9") << "the panel's 8-bit text";
    EXPECT_EQ(form.GameExePath, exe);
}

TEST_F(StartUp, MissingGameKeyShowsError) {
    load(platform::kNo);
    EXPECT_EQ(form.panel.Label2.Caption, "Error");
    EXPECT_EQ(form.GameExePath, "Error");
}

// Start-up never dies: a step that throws is skipped and the rest runs.
class ThrowingDocuments : public FakeSystem {
public:
    std::optional<std::filesystem::path> documentsFolder() override {
        throw std::runtime_error("no profile");
    }
};

TEST(StartUpFailures, AFailingStepIsSkipped) {
    FakeDialogs dialogs;
    ThrowingDocuments system;
    Form1 form{dialogs, system};
    form.Form_Load();
    EXPECT_EQ(form.Caption, "Quorvik Tool v0.7.9 Final by Quorvik Team");
    EXPECT_EQ(form.panel.Combo8.ListIndex, 0);
    EXPECT_EQ(form.SettingsPath, "");
}

}  // namespace
}  // namespace quorvik::app
