// What a save may not lose or make up, through the window's handlers against
// real files: a file the player edited, a file the game changed after the
// load, lines the game's layout does not hold, settings a file lacks; and the
// history that keeps what a save replaces.

#include <gtest/gtest.h>

#include "operations/history.h"
#include "overrides/skills_file.h"
#include "platform/paths.h"
#include "support/game_folder.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::crlf;
using quorvik::testing::dataBytes;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;

struct Game : quorvik::testing::GameSession {
    Game() { copySamples(); }
    fs::path entry(const char* name) const { return settings / "Quorvik history" / name; }
    std::string allText() const {
        std::string text;
        for (const auto& box : dialogs.boxes) text += box.text + "\n";
        return text;
    }
};

// Scripts and a skills file the player wrote, then a save of an unrelated
// setting: the plan names each file it replaces, and the history keeps them.
TEST(NothingLost, FilesThePlayerEditedAreNamedAndKeptBeforeTheyAreReplaced) {
    Game game;
    const std::string ownBlur = "VarFloat(\"f_blur_camera_motion_factor\", 0.3)\r\n";
    const std::string ownSkills = overrides::skillsFileText("75.0") + "<level id=\"31\">\r\n";
    writeBytes(game.scripts / "varlist_blur_camera_motion.scr", ownBlur);
    writeBytes(game.skills, ownSkills);
    game.loadBoth();
    game.form.panel.Text5.Text = "2";  // FSAA
    game.dialogs.boxes.clear();
    game.form.Changes_Click();
    const std::string plan = game.dialogs.texts().at(0);
    EXPECT_NE(plan.find("    varlist_blur_camera_motion.scr was edited by hand: a save replaces it with "
                        "Quorvik's own"),
              std::string::npos)
        << plan;
    EXPECT_NE(plan.find("    default_levels.xml was edited by hand: a save replaces it with Quorvik's own"),
              std::string::npos)
        << plan;
    EXPECT_NE(plan.find("    varlist_blur.scr is written: it is missing"), std::string::npos) << plan;

    game.form.save_Click();
    const fs::path kept = game.entry("2026-12-07 13.45.00");
    EXPECT_EQ(readBytes(kept / "varlist_blur_camera_motion.scr"), ownBlur);
    EXPECT_EQ(readBytes(kept / "default_levels.xml"), ownSkills);
    EXPECT_EQ(readBytes(kept / "Video.scr"), dataBytes("Video.scr"));
    EXPECT_NE(game.allText().find("default_levels.xml) are kept in " + platform::pathToUtf8(kept)),
              std::string::npos)
        << game.allText();
}

// The game rewrites Video.scr while the window is open (Launch, a change in
// the game, quit): a save does not write the old values over it, and offers
// to load the files again.
TEST(NothingLost, AFileChangedAfterTheLoadIsNotOverwritten) {
    struct Row {
        const char* changed;  // under the game's "out" folder
        int answer;           // to "Load the files again now?"
    };
    for (const Row row : {Row{"Settings/Video.scr", platform::kNo}, Row{"Settings/Video.scr", platform::kYes},
                          Row{"Data/Skills/default_levels.xml", platform::kNo}}) {
        SCOPED_TRACE(std::string(row.changed) + (row.answer == platform::kYes ? ", Yes" : ", No"));
        Game game;
        game.loadBoth();
        game.form.panel.Text1.Text = "1920";
        game.form.panel.Text15.Text = "80.0";
        const std::string theGames = row.changed == std::string("Settings/Video.scr")
                                         ? dataBytes("edited/Video.scr")
                                         : overrides::skillsFileText("70.0");
        writeBytes(game.out / row.changed, theGames);
        const auto files = [&] {
            return std::vector{readBytes(game.settings / "Video.scr"), readBytes(game.settings / "Audio.scr")};
        };
        const auto before = files();
        game.dialogs.boxes.clear();
        game.dialogs.yesNoAnswers = {row.answer};
        game.form.save_Click();

        const std::string name = fs::path(row.changed).filename().string();
        ASSERT_EQ(game.dialogs.boxes.size(), 1u) << game.allText();
        EXPECT_EQ(game.dialogs.texts()[0],
                  (name == "Video.scr" ? name : "Data\\Skills\\" + name) +
                      " was changed on disk after Quorvik loaded it (perhaps by the game), so nothing "
                      "was saved: saving would overwrite that change.\r\n\r\nLoad the files again now? "
                      "What you changed in the window is replaced by what the files hold.");
        EXPECT_EQ(game.dialogs.boxes[0].style, platform::kYesNo | platform::kExclamation);
        EXPECT_EQ(files(), before);
        EXPECT_EQ(readBytes(game.out / row.changed), theGames);
        EXPECT_FALSE(fs::exists(game.settings / "Video.sc1"));
        // Yes shows what the disk holds; No keeps the window as it is.
        EXPECT_EQ(game.form.panel.Combo5.Text, row.answer == platform::kYes ? "XBOX360" : "SM 3.0");
    }
}

// Lines the game's layout does not hold are named before the save drops them,
// and survive in the history however many saves follow.
TEST(NothingLost, DroppedLinesAreNamedAndSurviveLaterSaves) {
    Game game;
    game.loadBoth();
    game.form.save_Click();
    for (int session = 0; session < 3; ++session) {
        quorvik::testing::GameSession next;
        next.form.SettingsPath = game.form.SettingsPath;
        next.system.clockReadings = 10 * (session + 1);
        next.loadBoth();
        next.form.panel.Text4.Text = std::to_string(16 + session);
        next.form.save_Click();
    }
    EXPECT_EQ(readBytes(game.entry("2026-12-07 13.45.00") / "Video.scr"), dataBytes("Video.scr"));
    EXPECT_EQ(readBytes(game.settings / "Video.sc1").find("MysteryKey(7)"), std::string::npos)
        << ".sc1 holds the last load, as ever";
}

// A setting the file has no line for is not made up from the window's
// start-up value; a value typed for it is written.
TEST(NothingLost, SettingsAFileLacksAreNotMadeUp) {
    Game game;
    std::string lacking = dataBytes("Video.scr");
    for (const char* line : {"Resolution(1680,1050)\r\n", "BPP(32)\r\n"}) lacking.erase(lacking.find(line), std::string_view(line).size());
    writeBytes(game.settings / "Video.scr", lacking);
    game.loadBoth();
    game.dialogs.boxes.clear();
    game.form.save_Click();
    EXPECT_EQ(game.dialogs.texts().at(0),
              "Video.scr was not saved and was left as it is: it has no line for Resolution and Bits "
              "per Pixel (BPP), and Quorvik does not make up a value the game never had. Set each in "
              "the window and save again, or restore a backup.");
    EXPECT_EQ(readBytes(game.settings / "Video.scr"), lacking);
    EXPECT_NE(readBytes(game.settings / "Audio.scr"), dataBytes("Audio.scr")) << "the rest is saved";

    game.form.panel.Text1.Text = "1280";
    game.form.panel.Text2.Text = "800";
    game.form.panel.Text4.Text = "32";
    game.form.save_Click();
    EXPECT_NE(readBytes(game.settings / "Video.scr").find("\r\nResolution(1280,800)\r\nMonitor(0)\r\nBPP(32)\r\n"),
              std::string::npos);
}

TEST(NothingLost, AnotherQuorvikSavingMakesThisOneWaitThenSaySo) {
    Game game;
    game.loadBoth();
    fs::create_directories(game.settings / "Quorvik history");
    // Another Quorvik's lock, as the machine takes it.
    auto held = game.system.tryLock(game.settings / "Quorvik history" / ".lock");
    ASSERT_TRUE(held);
    game.dialogs.boxes.clear();
    game.form.save_Click();
    EXPECT_EQ(game.dialogs.texts(),
              std::vector<std::string>{"Another Quorvik is saving to this settings folder right now, so "
                                       "nothing was saved. Try again in a moment."});
    EXPECT_GE(game.system.paused, std::chrono::seconds(2)) << "it waits a moment first";
    EXPECT_EQ(readBytes(game.settings / "Video.scr"), dataBytes("Video.scr"));
}

// A backup Quorvik did not write (another tool's, one the player put back by
// hand) is kept in the history before a save or File > Backup replaces it,
// and the player is told where; one whose bytes the history holds already is
// not kept twice.
TEST(NothingLost, BackupsQuorvikDidNotWriteAreKeptBeforeTheyAreReplaced) {
    struct Row {
        const char* what;
        const char* backup;  // what is there before
        bool menuBackup;     // File > Backup (.sc0), not a save (.sc1)
        const char* told;    // the message that says where it went; empty: none
    };
    for (const Row row :
         {Row{"another tool's .sc1, by a save", "Video.sc1", false,
              "The files this save replaced (Video.sc1, Video.scr and Audio.scr) are kept in "},
          Row{"another tool's .sc0, by File > Backup", "Video.sc0", true,
              "The backups this replaced (Video.sc0) are kept in "},
          Row{"Quorvik's own .sc1 of bytes kept already", nullptr, false, ""}}) {
        SCOPED_TRACE(row.what);
        Game game;
        std::string theirs = "Resolution(640,480)\r\n";
        if (row.backup != nullptr) {
            writeBytes(game.settings / row.backup, theirs);
        } else {
            // A first save keeps the loaded Video.scr; the next session's save
            // replaces the .sc1 that backs up those very bytes.
            game.loadBoth();
            game.form.panel.Text4.Text = "16";
            game.form.save_Click();
            theirs = readBytes(game.settings / "Video.sc1");
        }
        const std::string name = row.backup != nullptr ? row.backup : "Video.sc1";
        quorvik::testing::GameSession next;
        next.form.SettingsPath = game.form.SettingsPath;
        next.system.clockReadings = 10;
        next.loadBoth();
        next.form.panel.Text4.Text = "24";
        next.dialogs.boxes.clear();
        row.menuBackup ? next.form.Backup_Click() : next.form.save_Click();
        bool kept = false;
        for (const auto& entry : fs::directory_iterator(game.settings / "Quorvik history")) {
            kept |= fs::exists(entry.path() / name) && readBytes(entry.path() / name) == theirs;
        }
        EXPECT_EQ(kept, row.backup != nullptr);
        std::string told;
        for (const auto& box : next.dialogs.boxes)
            told += box.text.find(" are kept in ") != std::string::npos ? box.text : "";
        EXPECT_EQ(told.substr(0, std::string_view(row.told).size()), row.told) << told;
    }
}

// A save says where the history keeps what it replaced only when something
// of the player's own was replaced; the game's own lines the layout keeps as
// a comment only are not the player's.
TEST(NothingLost, TheSaveNamesTheHistoryOnlyWhenThePlayersOwnWasReplaced) {
    const std::string gameOwn = dataBytes("game/Video.scr");
    struct Row {
        const char* what;
        std::string video;
        const char* script;  // a hand-written varlist_blur.scr; none: not there
        bool told;
    };
    for (const Row& row :
         {Row{"the game's own files", gameOwn, nullptr, false},
          Row{"a key the game does not know", dataBytes("Video.scr"), nullptr, true},
          Row{"a comment of the player's", gameOwn + "!fps cap off\r\n", nullptr, true},
          Row{"a key given twice", gameOwn + "WindowOffset(5,5)\r\n", nullptr, true},
          Row{"a hand-edited override", gameOwn, "VarFloat(\"f\", 1)\r\n", true}}) {
        SCOPED_TRACE(row.what);
        Game game;
        writeBytes(game.settings / "Video.scr", row.video);
        if (row.script != nullptr) writeBytes(game.scripts / "varlist_blur.scr", row.script);
        game.loadBoth();
        game.dialogs.boxes.clear();
        game.form.save_Click();
        EXPECT_EQ(game.allText().find("are kept in") != std::string::npos, row.told)
            << game.allText();
    }
}

// What a killed Quorvik left is removed by the next one; nothing else is, and
// the history keeps its newest entries.
TEST(NothingLost, LeftoversGoAndTheHistoryKeepsTheNewestEntries) {
    Game game;
    game.loadBoth();
    for (std::size_t save = 0; save < kHistoryKept + 2; ++save) {
        game.form.panel.Text4.Text = std::to_string(8 + save);
        game.form.save_Click();
    }
    const auto entries = listHistory(game.system, game.settings);
    ASSERT_EQ(entries.size(), kHistoryKept);
    EXPECT_EQ(entries.front().name, "2026-12-07 13.45.21");
    EXPECT_EQ(entries.back().name, "2026-12-07 13.45.02");

    const std::vector<fs::path> leftovers = {
        game.settings / ".Video.scr.4711-0-123.tmp", game.scripts / ".varlist_dof.scr.4711-3-9.tmp",
        game.entry("2026-12-07 13.45.21") / ".Video.scr.1-2-3.tmp"};
    const std::vector<fs::path> theirs = {game.settings / ".Video.scr.bak", game.settings / "x.tmp",
                                          game.scripts / ".varlist_dof.scr.tmp"};
    for (const fs::path& path : leftovers) writeBytes(path, "x");
    for (const fs::path& path : theirs) writeBytes(path, "x");
    game.form.Command1_Click();
    for (const fs::path& path : leftovers) EXPECT_FALSE(fs::exists(path)) << path;
    for (const fs::path& path : theirs) EXPECT_TRUE(fs::exists(path)) << path;
}

}  // namespace
}  // namespace quorvik::operations
