// The field of view on save and load, through the window's handlers: when the
// skills file is written, removed or left, what comes back, and what survives
// bad input and faults.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "overrides/skills_file.h"
#include "support/game_folder.h"
#include "words/messages.h"

namespace quorvik::overrides {
namespace {

namespace fs = std::filesystem;

using quorvik::testing::FileOp;
using quorvik::testing::GameSession;
using quorvik::testing::kOddFolderName;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;
using Notice = words::Message;

const std::string kOld = "<level id=\"1\">\r\n<prop n=\"CameraDefaultFOV\" v=\"70.0\"/>\r\n";

// Video.scr loaded, so that the Data folder is read; then a save with the
// field of view as typed.
struct Skills : GameSession {
    explicit Skills(std::string_view base = "Quell Moor", int data = AllData) : GameSession(base, data) {
        copySamples();
    }
    // What the save said beyond the settings file's own messages.
    std::vector<Notice> save(const std::string& text) {
        form.Command1_Click();
        form.panel.Text15.Text = text;
        dialogs.boxes.clear();
        system.fileLog.clear();
        form.save_Click();
        std::vector<Notice> notices;
        for (const auto& box : dialogs.boxes) {
            if (box.text.starts_with("Creating Backup") || box.text.starts_with("Config File") ||
                box.text.starts_with("Settings written") || box.text.starts_with("The files this save replaced")) {
                continue;
            }
            notices.push_back({box.text, box.style});
        }
        return notices;
    }
    // The skills file's own steps: put in place or removed.
    std::size_t skillsSteps() const {
        std::size_t steps = 0;
        for (const auto& [op, path] : system.fileLog) {
            steps += (op == FileOp::Commit || op == FileOp::Delete) && path == skills;
        }
        return steps;
    }
};

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
        {"99.9", Written}, {"99.90", Written}, {"100.0", Refused}, {"500", Refused},
        {"100000000000000000000", Refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE('"' + c.text + '"');
        Skills game;
        writeBytes(game.skills, kOld);
        const std::vector<Notice> notices = game.save(c.text);
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
                EXPECT_EQ(game.skillsSteps(), 1u);
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
                EXPECT_EQ(game.skillsSteps(), 0u);
                break;
            case Refused:
                ASSERT_EQ(notices.size(), 1u);
                EXPECT_EQ(notices[0].style, 48);
                EXPECT_NE(notices[0].text.find("00.0"), std::string::npos) << notices[0].text;
                EXPECT_EQ(readBytes(game.skills), kOld);
                EXPECT_EQ(game.skillsSteps(), 0u);
                break;
        }
    }
}

TEST(FieldOfViewSave, NamesTheRefusedTextInTheMessage) {
    Skills game;
    EXPECT_EQ(game.save("6,5"),
              (std::vector<Notice>{{"The field of view \"6,5\" is not a number. Enter it as 00.0, "
                                    "for example 75.0; the skills file was left as it is.",
                                    48}}));
    EXPECT_EQ(game.save("120.0"),
              (std::vector<Notice>{{"The field of view 120.0 was not applied: the game reads it back "
                                    "as four characters in the form 00.0, so the widest is 99.9. "
                                    "Enter it as 00.0, for example 75.0; the skills file was left "
                                    "as it is.",
                                    48}}));
    // 8-bit text from the panel is shown as the user typed it.
    const std::vector<Notice> notices = game.save("\xbd");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("\"\xc2\xbd\""), std::string::npos) << notices[0].text;
}

TEST(FieldOfViewSave, LoadShowsWhatTheDiskHoldsAfterEachSave) {
    Skills game;
    const auto saveThenLoad = [&](const std::string& saved, const std::string& shownBefore) {
        game.save(saved);
        game.form.panel.Text15.Text = shownBefore;
        game.form.Command1_Click();
        return game.form.panel.Text15.Text;
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
        Skills game;
        writeBytes(game.skills, c.bytes);
        game.form.panel.Text15.Text = "kept";
        game.form.Command1_Click();
        EXPECT_EQ(game.dialogs.boxes.size(), 0u) << c.what;
        EXPECT_EQ(game.form.panel.Text15.Text, c.shown) << c.what;
    }
}

TEST(FieldOfViewLoad, NoFileNoReadAndAHugeFileIsRefused) {
    Skills game;
    const auto load = [&] {
        game.form.panel.Text15.Text = "70.0";
        game.dialogs.boxes.clear();
        game.form.Command1_Click();
        return game.form.panel.Text15.Text;
    };
    EXPECT_EQ(load(), "70.0");

    // Exactly 8 MiB is read; one byte more is not.
    const std::string line = "\r\n<prop n=\"CameraDefaultFOV\" v=\"80.0\"/>\r\n";
    std::string big(8u * 1024u * 1024u - line.size(), ' ');
    writeBytes(game.skills, big + line);
    EXPECT_EQ(load(), "80.0");

    writeBytes(game.skills, big + " " + line);
    EXPECT_EQ(load(), "70.0");
    ASSERT_EQ(game.dialogs.boxes.size(), 1u);
    EXPECT_EQ(game.dialogs.boxes[0].style, 48);
    EXPECT_NE(game.dialogs.boxes[0].text.find("default_levels.xml"), std::string::npos);
    EXPECT_NE(game.dialogs.boxes[0].text.find("too large"), std::string::npos);
    // A skills file that could not be read is not replaced: it could not be kept.
    EXPECT_NE(game.save("75.0").at(0).text.find("could not be read"), std::string::npos);
    EXPECT_EQ(readBytes(game.skills), big + " " + line);
}

TEST(FieldOfViewSave, FaultsKeepTheOldFileAndNameIt) {
    struct Case {
        const char* text;
        FileOp failing;
    };
    for (const Case& c : {Case{"75.0", FileOp::Write}, Case{"62.5", FileOp::Delete}}) {
        Skills game;
        writeBytes(game.skills, kOld);
        game.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
            if (op == c.failing && path.filename() == "default_levels.xml") {
                return platform::Status::failure("access is denied");
            }
            return std::nullopt;
        };
        const std::vector<Notice> notices = game.save(c.text);
        ASSERT_EQ(notices.size(), 1u) << c.text;
        EXPECT_EQ(notices[0].style, 16);
        EXPECT_NE(notices[0].text.find("default_levels.xml"), std::string::npos);
        EXPECT_NE(notices[0].text.find("access is denied"), std::string::npos);
        EXPECT_EQ(readBytes(game.skills), kOld) << c.text;
        EXPECT_EQ(readBytes(game.settings / "Video.scr"), quorvik::testing::dataBytes("Video.scr"))
            << "a save is carried out whole or not at all";
    }
    // A read-only file refuses the write for real.
    Skills game;
    writeBytes(game.skills, kOld);
    fs::permissions(game.skills, fs::perms::owner_read);
    const std::vector<Notice> notices = game.save("75.0");
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("default_levels.xml"), std::string::npos);
    EXPECT_EQ(readBytes(game.skills), kOld);
}

TEST(FieldOfViewSave, AMissingSkillsFolderIsNamedOnlyWhenThereIsSomethingToWrite) {
    for (const std::string text : {"75.0", "62.5", "60.0"}) {
        Skills game("Quell Moor", GameSession::Scripts);
        const std::vector<Notice> notices = game.save(text);
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
        EXPECT_EQ(game.skillsSteps(), 0u) << text;
        EXPECT_FALSE(fs::exists(game.out / "Data" / "Skills")) << text;
    }
}

TEST(FieldOfViewSave, FolderNamesWithBlanksAndQuotesReachOnlyTheSkillsFile) {
    Skills game(kOddFolderName);
    const fs::path base = game.dir / kOddFolderName;
    const std::vector<fs::path> neighbours = {
        game.dir / "Quell",
        base / "out" / "Data" / "default_levels",
        base / "out" / "Data" / "Skills" / "default_levels",
        base / "out" / "Data" / "Skills" / "default_levels.xml.bak",
    };
    for (const fs::path& path : neighbours) writeBytes(path, "keep me");
    EXPECT_TRUE(game.save("75.0").empty());
    EXPECT_EQ(readBytes(game.skills), skillsFileText("75.0"));
    EXPECT_TRUE(game.save("62.5").empty());
    EXPECT_FALSE(fs::exists(game.skills));
    for (const fs::path& path : neighbours) EXPECT_EQ(readBytes(path), "keep me") << path;
}

}  // namespace
}  // namespace quorvik::overrides
