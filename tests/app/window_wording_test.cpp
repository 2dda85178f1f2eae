// The window's messages that send the player to one of its buttons or menus,
// word for word. Their phrases are Form1's wording, which a front end without
// buttons replaces; the window's own must stay exactly as they were.

#include <gtest/gtest.h>

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
    struct Row {
        const char* name;
        std::function<void(GameSession&)> act;
        std::function<std::string(const GameSession&)> ending;  // of a box the window shows
    };
    const auto noFolder = [](GameSession& game) { game.form.SettingsPath = "1"; };
    const auto audioMissing = [](GameSession& game) {
        writeBytes(game.settings / "Video.scr", dataBytes("Video.scr"));
        game.loadBoth();
    };
    const Row rows[] = {
        {"File > Backup before the folder is known",
         [&](GameSession& game) {
             noFolder(game);
             game.form.Backup_Click();
         },
         [](const GameSession&) {
             return "The settings folder is not known yet, so no backup was written. Click \"Set "
                    "Video.scr\" and enter the folder first.";
         }},
        {"File > Restore Backup... before the folder is known",
         [&](GameSession& game) {
             noFolder(game);
             game.form.Restore_Click();
         },
         [](const GameSession&) {
             return "The settings folder is not known yet, so there is no backup to restore. Click "
                    "\"Set Video.scr\" and enter the folder first.";
         }},
        {"a save before the folder is known",
         [&](GameSession& game) {
             noFolder(game);
             game.form.save_Click();
         },
         [](const GameSession&) {
             return "The settings folder is not known yet, so motion blur, depth of field and the "
                    "field of view were not saved. Click \"Set Video.scr\" and enter the folder "
                    "first.";
         }},
        {"File > Backup with Audio.scr not loaded",
         [&](GameSession& game) {
             audioMissing(game);
             game.form.Backup_Click();
         },
         [](const GameSession&) {
             return "Audio.sc0 was not written: Audio.scr is not loaded, so there is nothing of it "
                    "to back up. Click \"Set Audio.scr\" first.";
         }},
        {"a save with Audio.scr not found",
         [&](GameSession& game) {
             audioMissing(game);
             game.form.save_Click();
         },
         [](const GameSession&) {
             return "Audio.scr was left as it is: it was not found when \"Set Audio.scr\" ran, so "
                    "the window holds none of its settings to save.";
         }},
        {"a save over a skills file that could not be read",
         [](GameSession& game) {
             game.copySamples();
             writeBytes(game.skills, "<prop n=\"CameraDefaultFOV\" v=\"70.0\"/>\r\n");
             game.system.fault = [](FileOp op,
                                    const fs::path& path) -> std::optional<platform::Status> {
                 if (op == FileOp::Read && path.filename() == "default_levels.xml") {
                     return platform::Status::failure("no access");
                 }
                 return std::nullopt;
             };
             game.loadBoth();
             game.form.panel.Text15.Text = "75.0";
             game.form.save_Click();
         },
         [](const GameSession& game) {
             return (game.out / "Data" / "Skills" / "default_levels.xml").string() +
                    " was left as it is: it could not be read when \"Set Video.scr\" ran (no "
                    "access), so Quorvik could not keep it before replacing it.";
         }},
        {"a save that drops lines",
         [](GameSession& game) {
             game.copySamples();
             game.loadBoth();
             game.form.save_Click();
         },
         [](const GameSession&) {
             return "; File > Restore Backup... puts them back.";
         }},
        {"Show Changes of a save that would drop lines",
         [](GameSession& game) {
             game.copySamples();
             game.loadBoth();
             game.form.Changes_Click();
         },
         [](const GameSession&) {
             return "\r\n\r\nWhat a save drops or replaces is kept in the history first; File > "
                    "Restore Backup... brings it back.";
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameSession game;
        row.act(game);
        const std::string ending = row.ending(game);
        const auto texts = game.dialogs.texts();
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [&](const std::string& text) { return text.ends_with(ending); }))
            << ::testing::PrintToString(texts);
    }
}

}  // namespace
}  // namespace quorvik::app
