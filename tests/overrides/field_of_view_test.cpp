// The field of view on save and load: when the skills file is written, removed
// or left, what comes back, and what survives bad input and faults.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "overrides/overrides.h"
#include "overrides/skills_file.h"
#include "support/fake_system.h"
#include "support/shown.h"
#include "support/game_folder.h"

namespace quorvik::overrides {
namespace {

namespace fs = std::filesystem;

using quorvik::testing::kOddFolderName;
using quorvik::testing::FakeSystem;
using quorvik::testing::FileOp;
using quorvik::testing::readBytes;
using quorvik::testing::GameFolder;
using quorvik::testing::writeBytes;

const std::string kOld = "<level id=\"1\">\r\n<prop n=\"CameraDefaultFOV\" v=\"70.0\"/>\r\n";

panel::Panel withFieldOfView(const std::string& text) {
    panel::Panel panel;
    panel.Text15.Text = text;
    return panel;
}

using Notice = app::Message;
using quorvik::testing::shown;

std::vector<Notice> saveFieldOfView(FakeSystem& system, const fs::path& settings,
                                    const std::string& text) {
    panel::Panel panel = withFieldOfView(text);
    return shown(saveSkillsFile(system, settings, panel));
}

TEST(FieldOfViewSave, WritesAboveRemovesAtKeepsBelowRefusesNonNumbers) {
    enum Outcome { Written, Removed, Kept, Refused };
    struct Case {
        std::string text;
        Outcome outcome;
        std::string value = text;  // as written to the file: blanks around it trimmed
    };
    const Case cases[] = {
        {"62.5", Removed}, {"62.50", Removed},      {"62.6", Written}, {"75.0", Written},
        {"90", Written},   {"60.0", Kept},          {"", Refused},     {"abc", Refused},
        {"7\"5", Refused}, {"1e2", Refused},        {"6,5", Refused},  {"+75", Refused},
        {" 75 ", Written, "75"}, {" 62.5", Removed}, {"75.0\"/><x", Refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE('"' + c.text + '"');
        const GameFolder game;
        writeBytes(game.skills, kOld);
        FakeSystem system;
        const std::vector<Notice> notices = saveFieldOfView(system, game.settings, c.text);
        switch (c.outcome) {
            case Written:
                EXPECT_TRUE(notices.empty());
                EXPECT_EQ(readBytes(game.skills), skillsFileText(c.value));
                EXPECT_NE(readBytes(game.skills)
                              .find("\r\n<prop n=\"CameraDefaultFOV\" v=\"" + c.value + "\"/>\r\n"),
                          std::string::npos);
                break;
            case Removed:
                EXPECT_TRUE(notices.empty());
                EXPECT_FALSE(fs::exists(game.skills));
                EXPECT_EQ(system.fileLog.size(), 1u);
                break;
            case Kept:
                // Told once, as information: the value was not applied, and why.
                ASSERT_EQ(notices.size(), 1u);
                EXPECT_EQ(notices[0].style, 64);
                EXPECT_EQ(notices[0].text,
                          "The field of view 60.0 was not applied: Quorvik only writes a field of "
                          "view wider than the game's own 62.5, and 62.5 itself brings the game's "
                          "own back. The skills file was left as it is.");
                EXPECT_EQ(readBytes(game.skills), kOld);
                EXPECT_TRUE(system.fileLog.empty());
                break;
            case Refused:
                ASSERT_EQ(notices.size(), 1u);
                EXPECT_EQ(notices[0].style, 48);
                EXPECT_NE(notices[0].text.find("00.0"), std::string::npos) << notices[0].text;
                EXPECT_EQ(readBytes(game.skills), kOld);
                EXPECT_TRUE(system.fileLog.empty());
                break;
        }
    }
}

TEST(FieldOfViewSave, NamesTheRefusedTextInTheMessage) {
    const GameFolder game;
    FakeSystem system;
    EXPECT_EQ(saveFieldOfView(system, game.settings, "6,5"),
              (std::vector<Notice>{{"The field of view \"6,5\" is not a number. Enter it as 00.0, "
                                    "for example 75.0; the skills file was left as it is.",
                                    48}}));
    // 8-bit text from the panel is shown as the user typed it.
    const std::vector<Notice> notices = saveFieldOfView(system, game.settings, "\xbd");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("\"\xc2\xbd\""), std::string::npos) << notices[0].text;
}

TEST(FieldOfViewSave, LoadShowsWhatTheDiskHoldsAfterEachSave) {
    const GameFolder game;
    FakeSystem system;
    const auto saveThenLoad = [&](const std::string& saved, const std::string& shownBefore) {
        saveFieldOfView(system, game.settings, saved);
        panel::Panel panel = withFieldOfView(shownBefore);
        EXPECT_TRUE(loadFieldOfView(system, game.settings, panel).empty());
        return panel.Text15.Text;
    };
    EXPECT_EQ(saveThenLoad("75.0", "62.5"), "75.0");
    EXPECT_EQ(saveThenLoad("60.0", "62.5"), "75.0") << "below 62.5 leaves the written file";
    EXPECT_EQ(saveThenLoad("90", "62.5"), "90") << "up to the closing quote, not 90\"/";
    EXPECT_EQ(saveThenLoad("62.5", "80.0"), "80.0") << "no file: the text box keeps its text";
    EXPECT_FALSE(fs::exists(game.skills));
}

TEST(FieldOfViewLoad, TakesTheLastMatchingLineUpToItsQuote) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string shown;  // "kept" when the text box keeps its text
    };
    const std::string line75 = "<prop n=\"CameraDefaultFOV\" v=\"75.0\"/>";
    const std::string line80 = "<prop n=\"CameraDefaultFOV\" v=\"80.5\" />";
    const Case cases[] = {
        {"empty file", "", "kept"},
        {"no matching line", "<level id=\"1\">\r\n <prop n=\"FuryUsage\" v=\"0.0\" />\r\n", "kept"},
        {"the tool's own file", skillsFileText("75.0"), "75.0"},
        {"last of several", line75 + "\r\n" + line80 + "\r\n" + "x\r\n", "80.5"},
        {"last line without a line end", line80 + "\r\n" + line75, "75.0"},
        {"LF line ends", line80 + "\n" + line75 + "\n", "75.0"},
        {"CR line ends", line75 + "\r" + line80 + "\r", "80.5"},
        {"value 90", "<prop n=\"CameraDefaultFOV\" v=\"90\"/>\r\n", "90"},
        {"long value", "<prop n=\"CameraDefaultFOV\" v=\"100.25\"/>", "100.25"},
        {"no closing quote: four characters", "<prop n=\"CameraDefaultFOV\" v=\"77.77", "77.7"},
        {"no closing quote, short line", "<prop n=\"CameraDefaultFOV\" v=\"7", "7"},
        {"line ends before the value", "<prop n=\"CameraDefaultFOV\" v=\"", ""},
        {"indented line", " " + line75 + "\r\n", "kept"},
        {"other letter case", "<prop n=\"cameraDefaultFOV\" v=\"75.0\"/>\r\n", "kept"},
        {"line too short to match", "<prop n=\"CameraDefault\r\n", "kept"},
        {"binary bytes around", std::string("\0\xff\r\n", 4) + line75 + std::string(3, '\0'),
         "75.0"},
    };
    for (const Case& c : cases) {
        const GameFolder game;
        writeBytes(game.skills, c.bytes);
        FakeSystem system;
        panel::Panel panel = withFieldOfView("kept");
        EXPECT_TRUE(loadFieldOfView(system, game.settings, panel).empty()) << c.what;
        EXPECT_EQ(panel.Text15.Text, c.shown) << c.what;
    }
}

TEST(FieldOfViewLoad, NoFileNoReadAndAHugeFileIsRefused) {
    const GameFolder game;
    FakeSystem system;
    panel::Panel panel = withFieldOfView("70.0");
    EXPECT_TRUE(loadFieldOfView(system, game.settings, panel).empty());
    EXPECT_TRUE(system.fileLog.empty());
    EXPECT_EQ(panel.Text15.Text, "70.0");

    // Exactly 8 MiB is read; one byte more is not.
    const std::string line = "\r\n<prop n=\"CameraDefaultFOV\" v=\"80.0\"/>\r\n";
    std::string big(8u * 1024u * 1024u - line.size(), ' ');
    writeBytes(game.skills, big + line);
    EXPECT_TRUE(loadFieldOfView(system, game.settings, panel).empty());
    EXPECT_EQ(panel.Text15.Text, "80.0");

    writeBytes(game.skills, big + " " + line);
    panel.Text15.Text = "70.0";
    const std::vector<Notice> notices = shown(loadFieldOfView(system, game.settings, panel));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].style, 48);
    EXPECT_NE(notices[0].text.find("default_levels.xml"), std::string::npos) << notices[0].text;
    EXPECT_NE(notices[0].text.find("too large"), std::string::npos) << notices[0].text;
    EXPECT_EQ(panel.Text15.Text, "70.0");
}

TEST(FieldOfViewSave, FaultsKeepTheOldFileAndNameIt) {
    struct Case {
        const char* text;
        FileOp failing;
    };
    for (const Case& c : {Case{"75.0", FileOp::Write}, Case{"62.5", FileOp::Delete}}) {
        const GameFolder game;
        writeBytes(game.skills, kOld);
        FakeSystem system;
        system.fault = [&](FileOp op, const fs::path&) -> std::optional<platform::Status> {
            if (op == c.failing) return platform::Status::failure("access is denied");
            return std::nullopt;
        };
        const std::vector<Notice> notices =
            saveFieldOfView(system, game.settings, c.text);
        ASSERT_EQ(notices.size(), 1u) << c.text;
        EXPECT_EQ(notices[0].style, 16);
        EXPECT_NE(notices[0].text.find("default_levels.xml"), std::string::npos);
        EXPECT_NE(notices[0].text.find("access is denied"), std::string::npos);
        EXPECT_EQ(readBytes(game.skills), kOld) << c.text;
    }
    // A read-only file refuses the write for real.
    const GameFolder game;
    writeBytes(game.skills, kOld);
    fs::permissions(game.skills, fs::perms::owner_read);
    FakeSystem system;
    const std::vector<Notice> notices =
        saveFieldOfView(system, game.settings, "75.0");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("default_levels.xml"), std::string::npos);
    EXPECT_EQ(readBytes(game.skills), kOld);
}

TEST(FieldOfViewSave, AMissingSkillsFolderIsNamedOnlyWhenThereIsSomethingToWrite) {
    for (const std::string text : {"75.0", "62.5", "60.0"}) {
        const GameFolder game("Quell Moor", GameFolder::NoData);
        FakeSystem system;
        const std::vector<Notice> notices =
            saveFieldOfView(system, game.settings, text);
        if (text == "75.0") {
            EXPECT_EQ(notices,
                      (std::vector<Notice>{{"The game's skills folder was not found:\r\n" +
                                                (game.out / "Data" / "Skills").string() +
                                                "\r\nThe field of view was not saved.",
                                            48}}));
        } else if (text == "62.5") {
            EXPECT_TRUE(notices.empty()) << text;
        } else {
            ASSERT_EQ(notices.size(), 1u);
            EXPECT_EQ(notices[0].style, 64) << "below 62.5: not applied, as information";
        }
        EXPECT_TRUE(system.fileLog.empty()) << text;
        EXPECT_FALSE(fs::exists(game.out / "Data")) << text;
    }
}

TEST(FieldOfViewSave, FolderNamesWithBlanksAndQuotesReachOnlyTheSkillsFile) {
    const GameFolder game(kOddFolderName);
    const fs::path base = game.dir / kOddFolderName;
    const std::vector<fs::path> neighbours = {
        game.dir / "Quell",
        base / "out" / "Data" / "default_levels",
        base / "out" / "Data" / "Skills" / "default_levels",
        base / "out" / "Data" / "Skills" / "default_levels.xml.bak",
    };
    for (const fs::path& path : neighbours) writeBytes(path, "keep me");
    FakeSystem system;
    EXPECT_TRUE(saveFieldOfView(system, game.settings, "75.0").empty());
    EXPECT_EQ(readBytes(game.skills), skillsFileText("75.0"));
    EXPECT_TRUE(saveFieldOfView(system, game.settings, "62.5").empty());
    EXPECT_FALSE(fs::exists(game.skills));
    for (const fs::path& path : neighbours) EXPECT_EQ(readBytes(path), "keep me") << path;
    ASSERT_EQ(system.fileLog.size(), 2u);
    EXPECT_EQ(system.fileLog[1].second, game.skills);
}

}  // namespace
}  // namespace quorvik::overrides
