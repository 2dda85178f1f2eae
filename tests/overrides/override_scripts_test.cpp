// The motion-blur and depth-of-field override scripts: their exact bytes, which
// check box writes or removes which files in which order, and what survives
// faults and unusual folder names.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "overrides/overrides.h"
#include "support/fake_system.h"
#include "support/shown.h"
#include "support/game_folder.h"

namespace quorvik::overrides {
namespace {

namespace fs = std::filesystem;

using quorvik::testing::kOddFolderName;
using quorvik::testing::crlf;
using quorvik::testing::FakeSystem;
using quorvik::testing::FileOp;
using quorvik::testing::readBytes;
using quorvik::testing::GameFolder;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;
using quorvik::testing::shown;
using Notice = app::Message;

const std::string kCameraMotion = crlf({
    "VarFloat(\"f_blur_camera_motion_factor\", 0.0)",
    "VarFloat(\"f_blur_camera_motion_near\", 0.0)",
    "VarFloat(\"f_blur_camera_motion_far\", 0.0)",
    "VarFloat(\"f_blur_camera_motion_max\", 0.0)",
});
const std::string kBlur = crlf({
    "VarFloat(\"f_blur\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_opacity\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_bias\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_scale\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_center_offset_x\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_center_offset_y\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_scale_x\", 0.0)",
    "VarFloat(\"f_blur_mask_radial_scale_y\", 0.0)",
});
const std::string kRadial = crlf({
    "VarFloat(\"f_blur_radial_center_x\", 0.0)",
    "VarFloat(\"f_blur_radial_center_y\", 0.0)",
    "VarFloat(\"f_blur_radial_mask_bias\", 0.0)",
    "VarFloat(\"f_blur_radial_mask_scale\", 0.0)",
    "VarFloat(\"f_blur_radial_power\", 0.0)",
    "VarFloat(\"f_blur_radial_range\", 0.0)",
});
const std::string kVarlistDof = crlf({
    "VarFloat(\"f_dof_strength_factor\", 0.0)",
    "VarFloat(\"f_dof_near_strength\", 0.0)",
    "VarFloat(\"f_dof_near_offset\", 0.0)",
    "VarFloat(\"f_dof_near_range\", 0.0)",
    "VarFloat(\"f_dof_distance\", 0.0)",
    "VarFloat(\"f_dof_far_offset\", 0.0)",
    "VarFloat(\"f_dof_far_range\", 0.0)",
    "VarFloat(\"f_dof_far_strength\", 0.0)",
    "",
    "VarFloat(\"f_bokeh_size\", 0.0)",
    "VarFloat(\"f_bokeh_strength\", 0.0)",
});
const std::string kDofDefQm = crlf({
    "",
    "// Depth of Field",
    "",
    "VarFloat( \"f_dof_strength_factor\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_near_strength\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_near_range\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_near_offset\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_far_strength\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_far_range\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_far_offset\", 0.00000000000000000000 )",
    "VarFloat( \"f_dof_distance\", 0.00000000000000000000 )",
    "",
    "",
});

const std::map<std::string, const std::string*> kScripts = {
    {"varlist_blur_camera_motion.scr", &kCameraMotion},
    {"varlist_blur.scr", &kBlur},
    {"varlist_blur_radial.scr", &kRadial},
    {"varlist_dof.scr", &kVarlistDof},
    {"dof_def_qm.scr", &kDofDefQm},
};

using Log = std::vector<std::pair<FileOp, fs::path>>;

void plantAll(const GameFolder& game, std::string_view bytes) {
    for (const auto& [name, text] : kScripts) writeBytes(game.scripts / name, bytes);
}

panel::Panel boxes(int check4, int check11) {
    panel::Panel panel;
    panel.Check4.Value = check4;
    panel.Check11.Value = check11;
    return panel;
}

TEST(OverrideScripts, EffectsOffWriteTheFiveScriptsByteForByteInOrder) {
    const GameFolder game;
    FakeSystem system;
    EXPECT_TRUE(saveOverrideScripts(system, game.settings, boxes(0, 0)).empty());
    for (const auto& [name, text] : kScripts)
        EXPECT_EQ(readBytes(game.scripts / name), *text) << name;
    EXPECT_EQ(system.fileLog, (Log{{FileOp::Write, game.scripts / "varlist_blur_camera_motion.scr"},
                                   {FileOp::Write, game.scripts / "varlist_blur.scr"},
                                   {FileOp::Write, game.scripts / "varlist_blur_radial.scr"},
                                   {FileOp::Write, game.scripts / "varlist_dof.scr"},
                                   {FileOp::Write, game.scripts / "dof_def_qm.scr"}}));
}

TEST(OverrideScripts, EachBoxWritesOrRemovesItsOwnFilesInItsOwnOrder) {
    const auto W = FileOp::Write;
    const auto D = FileOp::Delete;
    struct Case {
        int check4, check11;
        std::vector<std::pair<FileOp, std::string>> log;
    };
    const Case cases[] = {
        {0,
         0,
         {{W, "varlist_blur_camera_motion.scr"},
          {W, "varlist_blur.scr"},
          {W, "varlist_blur_radial.scr"},
          {W, "varlist_dof.scr"},
          {W, "dof_def_qm.scr"}}},
        {0,
         1,
         {{W, "varlist_blur_camera_motion.scr"},
          {W, "varlist_blur.scr"},
          {W, "varlist_blur_radial.scr"},
          {D, "dof_def_qm.scr"},
          {D, "varlist_dof.scr"}}},
        {1,
         0,
         {{D, "varlist_blur.scr"},
          {D, "varlist_blur_camera_motion.scr"},
          {D, "varlist_blur_radial.scr"},
          {W, "varlist_dof.scr"},
          {W, "dof_def_qm.scr"}}},
        {1,
         1,
         {{D, "varlist_blur.scr"},
          {D, "varlist_blur_camera_motion.scr"},
          {D, "varlist_blur_radial.scr"},
          {D, "dof_def_qm.scr"},
          {D, "varlist_dof.scr"}}},
    };
    for (const Case& c : cases) {
        // Once over old files (a second save rewrites them whole), once over none.
        for (const bool filesThere : {true, false}) {
            SCOPED_TRACE("Check4=" + std::to_string(c.check4) + " Check11=" +
                         std::to_string(c.check11) + (filesThere ? ", files there" : ", none"));
            const GameFolder game;
            if (filesThere) plantAll(game, "old bytes that are longer than some of the scripts\r\n");
            FakeSystem system;
            EXPECT_TRUE(
                saveOverrideScripts(system, game.settings, boxes(c.check4, c.check11)).empty());
            Log expected;
            for (const auto& [op, name] : c.log) {
                expected.emplace_back(op, game.scripts / name);
                if (op == W) {
                    EXPECT_EQ(readBytes(game.scripts / name), *kScripts.at(name)) << name;
                } else {
                    EXPECT_FALSE(fs::exists(game.scripts / name)) << name;
                }
            }
            EXPECT_EQ(system.fileLog, expected);
        }
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
        const GameFolder game;
        for (const std::string& name : c.present) writeBytes(game.scripts / name, "x");
        FakeSystem system;
        // Start from the opposite state, so that both values are seen to be set.
        panel::Panel panel = boxes(1 - c.check4, 1 - c.check11);
        loadOverrideStates(system, game.settings, panel);
        EXPECT_EQ(panel.Check4.Value, c.check4) << ::testing::PrintToString(c.present);
        EXPECT_EQ(panel.Check11.Value, c.check11) << ::testing::PrintToString(c.present);
    }
    // A marker that is a folder is no file.
    const GameFolder game;
    fs::create_directories(game.scripts / "varlist_dof.scr");
    FakeSystem system;
    panel::Panel panel = boxes(0, 0);
    loadOverrideStates(system, game.settings, panel);
    EXPECT_EQ(panel.Check11.Value, 1);
}

TEST(OverrideScripts, FolderNamesWithBlanksAndQuotesReachOnlyTheNamedFiles) {
    const GameFolder game(kOddFolderName);
    const fs::path base = game.dir / kOddFolderName;
    plantAll(game, "old\r\n");
    // Files a shell would have hit had the path been split at its blanks.
    const std::vector<fs::path> neighbours = {
        game.dir / "Quell",
        base / "out" / "Data" / "varlist_blur",
        game.scripts / "varlist_blur",
        game.scripts / "varlist_blur.scr.bak",
        game.scripts / "varlist_dof",
        game.scripts / "other.scr",
        base / "out" / "Settings" / "Video.scr",
    };
    for (const fs::path& path : neighbours) writeBytes(path, "keep me");

    FakeSystem system;
    EXPECT_TRUE(saveOverrideScripts(system, game.settings, boxes(1, 1)).empty());
    for (const auto& [name, text] : kScripts) EXPECT_FALSE(fs::exists(game.scripts / name)) << name;
    EXPECT_TRUE(saveOverrideScripts(system, game.settings, boxes(0, 0)).empty());
    for (const auto& [name, text] : kScripts)
        EXPECT_EQ(readBytes(game.scripts / name), *text) << name;
    for (const fs::path& path : neighbours) EXPECT_EQ(readBytes(path), "keep me") << path;
    EXPECT_EQ(std::distance(fs::directory_iterator(game.scripts), fs::directory_iterator()), 9);

    panel::Panel panel = boxes(1, 1);
    loadOverrideStates(system, game.settings, panel);
    EXPECT_EQ(panel.Check4.Value, 0);
    EXPECT_EQ(panel.Check11.Value, 0);
}

TEST(OverrideScripts, AFailedWriteKeepsTheOldBytesAndTheRestIsWritten) {
    const GameFolder game;
    plantAll(game, "old\r\n");
    FakeSystem system;
    system.fault = [](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
        if (op == FileOp::Write && path.filename() == "varlist_blur.scr") {
            return platform::Status::failure("the disk is full");
        }
        return std::nullopt;
    };
    // A read-only file refuses the write for real.
    fs::permissions(game.scripts / "dof_def_qm.scr", fs::perms::all, fs::perm_options::remove);
    fs::permissions(game.scripts / "dof_def_qm.scr", fs::perms::owner_read, fs::perm_options::add);

    const std::vector<Notice> notices = shown(saveOverrideScripts(system, game.settings, boxes(0, 0)));
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].style, 16);
    EXPECT_NE(notices[0].text.find("varlist_blur.scr"), std::string::npos) << notices[0].text;
    EXPECT_NE(notices[0].text.find("the disk is full"), std::string::npos) << notices[0].text;
    EXPECT_EQ(notices[1].style, 16);
    EXPECT_NE(notices[1].text.find("dof_def_qm.scr"), std::string::npos) << notices[1].text;
    EXPECT_EQ(readBytes(game.scripts / "varlist_blur.scr"), "old\r\n");
    EXPECT_EQ(readBytes(game.scripts / "dof_def_qm.scr"), "old\r\n");
    for (const char* name :
         {"varlist_blur_camera_motion.scr", "varlist_blur_radial.scr", "varlist_dof.scr"}) {
        EXPECT_EQ(readBytes(game.scripts / name), *kScripts.at(name)) << name;
    }
}

TEST(OverrideScripts, AFailedDeletionIsReportedAndTheRestIsRemoved) {
    const GameFolder game;
    plantAll(game, "old\r\n");
    FakeSystem system;
    system.fault = [](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
        if (op == FileOp::Delete && path.filename() == "varlist_blur.scr") {
            return platform::Status::failure("access is denied");
        }
        return std::nullopt;
    };
    const std::vector<Notice> notices = shown(saveOverrideScripts(system, game.settings, boxes(1, 1)));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].style, 16);
    EXPECT_NE(notices[0].text.find("varlist_blur.scr"), std::string::npos) << notices[0].text;
    EXPECT_NE(notices[0].text.find("access is denied"), std::string::npos) << notices[0].text;
    EXPECT_EQ(readBytes(game.scripts / "varlist_blur.scr"), "old\r\n");
    for (const char* name : {"varlist_blur_camera_motion.scr", "varlist_blur_radial.scr",
                             "varlist_dof.scr", "dof_def_qm.scr"}) {
        EXPECT_FALSE(fs::exists(game.scripts / name)) << name;
    }
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
        TempDir temp;
        const fs::path settings = temp / "out" / "Settings";
        fs::create_directories(settings);
        FakeSystem system;
        const std::vector<Notice> notices =
            shown(saveOverrideScripts(system, settings, boxes(c.check4, c.check11)));
        if (c.what) {
            const std::string folder = (temp / "out" / "Data" / "Scripts").string();
            EXPECT_EQ(notices,
                      (std::vector<Notice>{{"The game's scripts folder was not found:\r\n" +
                                                folder + "\r\n" + c.what,
                                            48}}));
        } else {
            EXPECT_TRUE(notices.empty());
        }
        EXPECT_TRUE(system.fileLog.empty());
        EXPECT_FALSE(fs::exists(temp / "out" / "Data"));
    }
}

}  // namespace
}  // namespace quorvik::overrides
