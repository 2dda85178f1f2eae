// A save in which one write or deletion fails, each in turn: every file on disk
// then holds either its old bytes or its complete new bytes, the user is told
// which file failed and why, and the rest of the save is done.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <map>

#include "app/form1.h"
#include "platform/paths.h"
#include "support/game_folder.h"

namespace quorvik::app {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::crlf;
using quorvik::testing::FakeDialogs;
using quorvik::testing::FakeSystem;
using quorvik::testing::FileOp;
using quorvik::testing::readBytes;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;

// Every file a save may write or delete, relative to the game's "out" folder.
const std::vector<std::string> kFiles = {
    "Settings/Video.sc1",
    "Settings/Audio.sc1",
    "Settings/Video.scr",
    "Settings/Audio.scr",
    "Data/Scripts/varlist_blur_camera_motion.scr",
    "Data/Scripts/varlist_blur.scr",
    "Data/Scripts/varlist_blur_radial.scr",
    "Data/Scripts/varlist_dof.scr",
    "Data/Scripts/dof_def_qm.scr",
    "Data/Skills/default_levels.xml",
};

using Disk = std::map<std::string, std::optional<std::string>>;  // nullopt: no file

struct Game : quorvik::testing::GameSession {
    // Old versions of every file, then both settings files loaded.
    explicit Game(bool effectsOn) {
        for (const auto& name : kFiles) writeBytes(out / name, "old " + name + "\r\n");
        writeBytes(out / "Settings" / "Video.scr", crlf({"BPP(16)"}));
        writeBytes(out / "Settings" / "Audio.scr", crlf({"Channels(8)"}));
        loadBoth();
        form.panel.Check4.Value = effectsOn ? 1 : 0;
        form.panel.Check11.Value = effectsOn ? 1 : 0;
        form.panel.Text15.Text = effectsOn ? "62.5" : "75.0";
        form.panel.Text4.Text = "32";
        dialogs.boxes.clear();
    }

    Disk disk() const {
        Disk files;
        for (const auto& name : kFiles) {
            files[name] = fs::exists(out / name) ? std::optional(readBytes(out / name)) : std::nullopt;
        }
        return files;
    }

    std::string allText() const {
        std::string text;
        for (const auto& box : dialogs.boxes) text += box.text + "\n";
        return text;
    }
};

// What a save without faults leaves, to compare each faulty save with.
Disk cleanSave(bool effectsOn) {
    Game game(effectsOn);
    game.form.save_Click();
    return game.disk();
}

void expectOldOrNew(const Disk& before, const Disk& after, const Disk& expected,
                    const std::string& failed) {
    for (const auto& name : kFiles) {
        if (name == failed) {
            EXPECT_EQ(after.at(name), before.at(name)) << name << " failed, so it keeps its old bytes";
        } else {
            EXPECT_EQ(after.at(name), expected.at(name)) << name << " is saved all the same";
        }
    }
}

class EachWriteFailing : public ::testing::TestWithParam<std::string> {};

TEST_P(EachWriteFailing, LeavesThatFileAsItWasAndSavesTheRest) {
    const Disk expected = cleanSave(false);
    for (const auto& name : kFiles) ASSERT_TRUE(expected.at(name)) << name << " is written";

    for (std::size_t failing = 0; failing < kFiles.size(); ++failing) {
        SCOPED_TRACE(kFiles[failing] + ": " + GetParam());
        Game game(false);
        const Disk before = game.disk();
        const fs::path target = game.out / kFiles[failing];
        game.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
            if (op == FileOp::Write && path.lexically_normal() == target.lexically_normal()) {
                return platform::Status::failure(GetParam());
            }
            return std::nullopt;
        };
        game.form.save_Click();
        expectOldOrNew(before, game.disk(), expected, kFiles[failing]);
        const std::string shown = game.allText();
        EXPECT_NE(shown.find(fs::path(kFiles[failing]).filename().string()), std::string::npos);
        EXPECT_NE(shown.find(GetParam()), std::string::npos) << shown;
    }
}

INSTANTIATE_TEST_SUITE_P(Reasons, EachWriteFailing,
                         ::testing::Values("Permission denied", "No space left on device",
                                           "the temporary file could not be renamed"));

TEST(EachDeletionFailing, LeavesThatFileAndRemovesTheRest) {
    const Disk expected = cleanSave(true);
    const std::vector<std::string> deleted(kFiles.begin() + 4, kFiles.end());
    for (const auto& name : deleted) ASSERT_FALSE(expected.at(name)) << name << " is removed";

    for (const auto& failing : deleted) {
        SCOPED_TRACE(failing);
        Game game(true);
        const Disk before = game.disk();
        const fs::path target = game.out / failing;
        game.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
            if (op == FileOp::Delete && path.lexically_normal() == target.lexically_normal()) {
                return platform::Status::failure("Permission denied");
            }
            return std::nullopt;
        };
        game.form.save_Click();
        expectOldOrNew(before, game.disk(), expected, failing);
        EXPECT_NE(game.allText().find(fs::path(failing).filename().string() + ": Permission denied"),
                  std::string::npos)
            << game.allText();
    }
}

TEST(SaveFaults, MissingDataFoldersAreNamedAndTheSettingsAreSaved) {
    Game game(false);
    fs::remove_all(game.out / "Data");
    game.form.save_Click();
    EXPECT_EQ(readBytes(game.out / "Settings" / "Video.scr").find("BPP(32)") != std::string::npos,
              true);
    const std::string shown = game.allText();
    EXPECT_NE(shown.find("Scripts"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Skills"), std::string::npos) << shown;
    EXPECT_FALSE(fs::exists(game.out / "Data")) << "the game's folders are never created";
}

#ifndef _WIN32
// A disk that fills up halfway through a file: the write really fails midway
// (the process may not write files beyond 8 KiB), and the old file survives.
TEST(SaveFaults, DiskFullHalfwayThroughTheSkillsFile) {
    const Disk expected = cleanSave(false);
    Game game(false);
    const Disk before = game.disk();

    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 8 * 1024;  // the skills file is about 14 KB, the others far smaller
    setrlimit(RLIMIT_FSIZE, &small);
    game.form.save_Click();
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);

    expectOldOrNew(before, game.disk(), expected, "Data/Skills/default_levels.xml");
    EXPECT_NE(game.allText().find("default_levels.xml"), std::string::npos) << game.allText();
    for (const auto& entry : fs::directory_iterator(game.out / "Data" / "Skills")) {
        EXPECT_EQ(entry.path().filename(), "default_levels.xml") << "no temporary file is left";
    }
}
#endif

}  // namespace
}  // namespace quorvik::app
