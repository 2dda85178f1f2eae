// The motion-blur and depth-of-field override scripts through the window's
// handlers: which box writes or removes which files in which order, their
// exact bytes (tests/data/scripts), and what faults and odd folder names do.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "overrides/overrides.h"
#include "support/game_folder.h"

namespace quorvik::overrides {
namespace {

namespace fs = std::filesystem;

using quorvik::testing::dataBytes;
using quorvik::testing::FileOp;
using quorvik::testing::GameSession;
using quorvik::testing::kOddFolderName;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;

using Log = std::vector<std::pair<FileOp, std::string>>;

std::string ours(std::string_view name) { return dataBytes("scripts/" + std::string(name)); }

// Both settings files loaded, so that "Set Video.scr" has read the Data folder.
struct Scripts : GameSession {
    explicit Scripts(std::string_view base = "Quell Moor", int data = AllData) : GameSession(base, data) {
        copySamples();
    }
    void plantAll(std::string_view bytes) const {
        for (const std::string_view name : scriptNames()) writeBytes(scripts / name, bytes);
    }
    void save(int check4, int check11) {
        loadBoth();
        form.panel.Check4.Value = check4;
        form.panel.Check11.Value = check11;
        dialogs.boxes.clear();
        system.fileLog.clear();
        form.save_Click();
    }
    // Each script put in place or removed, in order.
    Log replaced() const {
        Log log;
        for (const auto& [op, path] : system.fileLog) {
            if ((op == FileOp::Commit || op == FileOp::Delete) &&
                path.parent_path().lexically_normal() == scripts.lexically_normal()) {
                log.emplace_back(op, path.filename().string());
            }
        }
        return log;
    }
};

TEST(OverrideScripts, EachBoxWritesOrRemovesItsOwnFilesInItsOwnOrder) {
    const auto W = FileOp::Commit;
    const auto D = FileOp::Delete;
    struct Case {
        int check4, check11;
        Log log;
    };
    const Case cases[] = {
        {0, 0, {{W, "varlist_blur_camera_motion.scr"}, {W, "varlist_blur.scr"}, {W, "varlist_blur_radial.scr"},
                {W, "varlist_dof.scr"}, {W, "dof_def_qm.scr"}}},
        {0, 1, {{W, "varlist_blur_camera_motion.scr"}, {W, "varlist_blur.scr"}, {W, "varlist_blur_radial.scr"},
                {D, "dof_def_qm.scr"}, {D, "varlist_dof.scr"}}},
        {1, 0, {{D, "varlist_blur.scr"}, {D, "varlist_blur_camera_motion.scr"}, {D, "varlist_blur_radial.scr"},
                {W, "varlist_dof.scr"}, {W, "dof_def_qm.scr"}}},
        {1, 1, {{D, "varlist_blur.scr"}, {D, "varlist_blur_camera_motion.scr"}, {D, "varlist_blur_radial.scr"},
                {D, "dof_def_qm.scr"}, {D, "varlist_dof.scr"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Check4=" + std::to_string(c.check4) + " Check11=" + std::to_string(c.check11));
        Scripts game;
        game.plantAll("old bytes that are longer than some of the scripts\r\n");
        game.save(c.check4, c.check11);
        EXPECT_EQ(game.replaced(), c.log);
        for (const auto& [op, name] : c.log) {
            if (op == W) {
                EXPECT_EQ(readBytes(game.scripts / name), ours(name)) << name;
            } else {
                EXPECT_FALSE(fs::exists(game.scripts / name)) << name;
            }
        }
        // What is there already as Quorvik writes it, or not there, is left alone.
        game.save(c.check4, c.check11);
        EXPECT_EQ(game.replaced(), Log{});
    }
}

TEST(OverrideScripts, LoadLooksOnlyAtTheTwoMarkerFiles) {
    struct Case {
        std::vector<std::string> present;
        int check4, check11;
    };
    const Case cases[] = {
        {{}, 1, 1},
        {{"varlist_blur_camera_motion.scr"}, 0, 1},
        {{"varlist_blur.scr", "varlist_blur_radial.scr"}, 1, 1},
        {{"varlist_dof.scr"}, 1, 0},
        {{"dof_def_qm.scr"}, 1, 1},
        {{"varlist_blur_camera_motion.scr", "varlist_dof.scr"}, 0, 0},
    };
    for (const Case& c : cases) {
        Scripts game;
        for (const std::string& name : c.present) writeBytes(game.scripts / name, "x");
        // Start from the opposite state, so that both values are seen to be set.
        game.form.panel.Check4.Value = 1 - c.check4;
        game.form.panel.Check11.Value = 1 - c.check11;
        game.form.Command1_Click();
        EXPECT_EQ(game.form.panel.Check4.Value, c.check4) << ::testing::PrintToString(c.present);
        EXPECT_EQ(game.form.panel.Check11.Value, c.check11) << ::testing::PrintToString(c.present);
    }
    // A marker that is a folder is no file.
    Scripts game;
    fs::create_directories(game.scripts / "varlist_dof.scr");
    game.form.Command1_Click();
    EXPECT_EQ(game.form.panel.Check11.Value, 1);
}

TEST(OverrideScripts, FolderNamesWithBlanksAndQuotesReachOnlyTheNamedFiles) {
    Scripts game(kOddFolderName);
    const fs::path base = game.dir / kOddFolderName;
    game.plantAll("old\r\n");
    // Files a shell would have hit had the path been split at its blanks.
    const std::vector<fs::path> neighbours = {
        game.dir / "Quell",
        base / "out" / "Data" / "varlist_blur",
        game.scripts / "varlist_blur",
        game.scripts / "varlist_blur.scr.bak",
        game.scripts / "varlist_dof",
        game.scripts / "other.scr",
    };
    for (const fs::path& path : neighbours) writeBytes(path, "keep me");

    game.save(1, 1);
    for (const std::string_view name : scriptNames()) EXPECT_FALSE(fs::exists(game.scripts / name)) << name;
    game.save(0, 0);
    for (const std::string_view name : scriptNames()) EXPECT_EQ(readBytes(game.scripts / name), ours(name)) << name;
    for (const fs::path& path : neighbours) EXPECT_EQ(readBytes(path), "keep me") << path;
    EXPECT_EQ(std::distance(fs::directory_iterator(game.scripts), fs::directory_iterator()), 9);
    game.form.Command1_Click();
    EXPECT_EQ(game.form.panel.Check4.Value, 0);
    EXPECT_EQ(game.form.panel.Check11.Value, 0);
}

TEST(OverrideScripts, AMissingScriptsFolderIsNamedOnceAndNeverCreated) {
    struct Case {
        int check4, check11;
        const char* what;  // nothing when no message is due
    };
    const Case cases[] = {
        {0, 0, "Motion blur and depth of field could not be switched off."},
        {0, 1, "Motion blur could not be switched off."},
        {1, 0, "Depth of field could not be switched off."},
        {1, 1, nullptr},
    };
    for (const Case& c : cases) {
        Scripts game("Quell Moor", GameSession::Skills);
        game.save(c.check4, c.check11);
        const std::string message = "The game's scripts folder was not found:\r\n" +
                                    (game.out / "Data" / "Scripts").string() + "\r\n" +
                                    (c.what ? c.what : "");
        EXPECT_EQ(game.shown(message), c.what != nullptr) << ::testing::PrintToString(game.dialogs.texts());
        EXPECT_EQ(game.replaced(), Log{});
        EXPECT_FALSE(fs::exists(game.out / "Data" / "Scripts"));
    }
}

}  // namespace
}  // namespace quorvik::overrides
