// The window's messages that send the player to one of its buttons or menus,
// word for word. Their phrases are Form1's wording, which a front end without
// buttons replaces; the window's own must stay exactly as they were.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/game_folder.h"

namespace quorvik::app {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::FileOp;
using quorvik::testing::GameSession;
using quorvik::testing::writeBytes;

TEST(WindowWording, MessagesNameTheWindowsButtonsAndMenus) {
    const auto noFolder = [](GameSession& game) { game.form.SettingsPath = "1"; };
    const auto audioMissing = [](GameSession& game) {
        writeBytes(game.settings / "Video.scr", dataBytes("Video.scr"));
        game.loadBoth();
    };
    const auto samples = [](GameSession& game) {
        game.copySamples();
        game.loadBoth();
    };
    const auto unreadableSkills = [](GameSession& game) {
        game.copySamples();
        writeBytes(game.skills, "<prop n=\"CameraDefaultFOV\" v=\"70.0\"/>\r\n");
        game.system.fault = [](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
            if (op == FileOp::Read && path.filename() == "default_levels.xml") {
                return platform::Status::failure("no access");
            }
            return std::nullopt;
        };
        game.loadBoth();
        game.form.panel.Text15.Text = "75.0";
    };
    struct Row {
        const char* name;
        std::function<void(GameSession&)> setUp;
        void (Form1::*handler)();
        std::string ending;  // of a box the window shows; "$SKILLS": the skills file's path
    };
    const Row rows[] = {
        {"File > Backup before the folder is known", noFolder, &Form1::Backup_Click,
         "The settings folder is not known yet, so no backup was written. Click \"Set "
         "Video.scr\" and enter the folder first."},
        {"File > Restore Backup... before the folder is known", noFolder, &Form1::Restore_Click,
         "The settings folder is not known yet, so there is no backup to restore. Click "
         "\"Set Video.scr\" and enter the folder first."},
        {"a save before the folder is known", noFolder, &Form1::save_Click,
         "The settings folder is not known yet, so motion blur, depth of field and the "
         "field of view were not saved. Click \"Set Video.scr\" and enter the folder "
         "first."},
        {"File > Backup with Audio.scr not loaded", audioMissing, &Form1::Backup_Click,
         "Audio.sc0 was not written: Audio.scr is not loaded, so there is nothing of it "
         "to back up. Click \"Set Audio.scr\" first."},
        {"a save with Audio.scr not found", audioMissing, &Form1::save_Click,
         "Audio.scr was left as it is: it was not found when \"Set Audio.scr\" ran, so "
         "the window holds none of its settings to save."},
        {"a save over a skills file that could not be read", unreadableSkills, &Form1::save_Click,
         "$SKILLS was left as it is: it could not be read when \"Set Video.scr\" ran (no "
         "access), so Quorvik could not keep it before replacing it."},
        {"a save that drops lines", samples, &Form1::save_Click,
         "; File > Restore Backup... puts them back."},
        {"Show Changes of a save that would drop lines", samples, &Form1::Changes_Click,
         "\r\n\r\nWhat a save drops or replaces is kept in the history first; File > "
         "Restore Backup... brings it back."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameSession game;
        row.setUp(game);
        (game.form.*row.handler)();
        std::string ending = row.ending;
        if (ending.starts_with("$SKILLS")) {
            ending.replace(0, 7, (game.out / "Data" / "Skills" / "default_levels.xml").string());
        }
        const auto texts = game.dialogs.texts();
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [&](const std::string& text) { return text.ends_with(ending); }))
            << ::testing::PrintToString(texts);
    }
}

}  // namespace
}  // namespace quorvik::app
