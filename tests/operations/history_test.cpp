// The history's rules at the core: its entries ordered by their own numbers,
// not by the clock's name of the hour; only what Quorvik made removed, never
// through a link. (A save cut off between its replacements: save_faults.)

#include "operations/history.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/paths.h"
#include "support/game_folder.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;

struct Game : quorvik::testing::GameSession {
    Game() { copySamples(); }
    fs::path history() const { return settings / "Quorvik history"; }
    // A save of a new bits-per-pixel value, as File > Save Settings makes it.
    Report save(int bpp) {
        form.panel.Text4.Text = std::to_string(bpp);
        return form.saveSettings(false, {});
    }
};

TEST(History, ANewEntryIsTheNewestWhateverTheClockSays) {
    struct Row {
        const char* what;
        int clockMoves;     // seconds, before the last save
        bool olderQuorvik;  // the history holds entries an older Quorvik named later
    };
    for (const Row row : {Row{"a time zone an hour west", -3600, false},
                          Row{"a clock put back a minute", -60, false},
                          Row{"entries of an older Quorvik named later", 0, true}}) {
        SCOPED_TRACE(row.what);
        Game game;
        game.loadBoth();
        for (std::size_t i = 0; i < kHistoryKept; ++i) {
            if (!row.olderQuorvik) {
                game.save(8 + static_cast<int>(i));
                continue;
            }
            const fs::path entry = game.history() / ("2026-12-07 14.00." + std::to_string(10 + i));
            writeBytes(entry / "Video.scr", "older");
            writeBytes(entry / "Quorvik entry.txt",
                       "Quorvik history entry\r\nbefore: a save\r\nkept: Settings/Video.scr\r\n");
        }
        game.system.clockReadings += row.clockMoves;
        const Report last = game.save(99);
        ASSERT_FALSE(last.historyEntry.empty());
        EXPECT_TRUE(fs::exists(last.historyEntry / "Video.scr"))
            << "the entry the save names is there";
        const std::vector<HistoryEntry> entries = listHistory(game.system, game.settings);
        EXPECT_EQ(entries.size(), kHistoryKept);
        EXPECT_EQ(game.history() / entries.front().name, last.historyEntry);
    }
}

// What lies in or beside the history that Quorvik did not make, or that it
// reaches only through a link, stays; what it made and a kill left goes.
TEST(History, OnlyWhatQuorvikMadeIsRemoved) {
    const std::string beingWritten = "Quorvik history entry being written\r\n";
    struct Row {
        const char* what;
        std::function<void(Game&)> make;
        std::vector<std::string> stay;  // under the game's "out" folder
        std::vector<std::string> go;
        bool saves = true;  // a save after the load writes Video.scr
    };
    const std::vector<Row> rows = {
        {"a folder of the player's",
         [](Game& game) { writeBytes(game.history() / "mine/Video.scr", "x"); },
         {"Settings/Quorvik history/mine/Video.scr"},
         {}},
        {"a folder named as an entry is, without its list",
         [](Game& game) { writeBytes(game.history() / "2026-12-07 10.00.00/Video.scr", "x"); },
         {"Settings/Quorvik history/2026-12-07 10.00.00/Video.scr"},
         {}},
        {"an entry cut off while it was written",
         [&](Game& game) {
             writeBytes(game.history() / "2026-12-07 10.00.01/Video.scr", "x");
             writeBytes(game.history() / "2026-12-07 10.00.01/Quorvik entry.txt", beingWritten);
         },
         {},
         {"Settings/Quorvik history/2026-12-07 10.00.01"}},
#ifndef _WIN32
        {"a link in the history to the settings folder",
         [](Game& game) {
             fs::create_directories(game.history());
             fs::create_directory_symlink("..", game.history() / "2026-12-07 10.00.02");
         },
         {"Settings/Video.scr", "Settings/Audio.scr"},
         {}},
        {"a history that is a link to another folder",
         [&](Game& game) {
             writeBytes(game.out / "elsewhere/2026-12-07 10.00.03/Video.scr", "x");
             writeBytes(game.out / "elsewhere/2026-12-07 10.00.03/Quorvik entry.txt", beingWritten);
             fs::create_directory_symlink(game.out / "elsewhere", game.history());
         },
         {"elsewhere/2026-12-07 10.00.03/Video.scr"},
         {},
         false},
        {"a temporary file beside a linked Video.scr's target",
         [](Game& game) {
             fs::create_directories(game.history());
             writeBytes(game.out / "elsewhere/Video.scr", readBytes(game.settings / "Video.scr"));
             writeBytes(game.out / "elsewhere/.Video.scr.17-0-5.tmp", "x");
             writeBytes(game.out / "elsewhere/.Notes.txt.17-0-5.tmp", "x");
             fs::remove(game.settings / "Video.scr");
             fs::create_symlink(game.out / "elsewhere/Video.scr", game.settings / "Video.scr");
         },
         {"elsewhere/.Notes.txt.17-0-5.tmp"},
         {"elsewhere/.Video.scr.17-0-5.tmp"}},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        row.make(game);
        game.loadBoth();
        for (const std::string& path : row.stay) EXPECT_TRUE(fs::exists(game.out / path)) << path;
        for (const std::string& path : row.go) EXPECT_FALSE(fs::exists(game.out / path)) << path;
        EXPECT_EQ(readBytes(game.settings / "Video.scr"), dataBytes("Video.scr"));
        game.save(24);
        EXPECT_EQ(readBytes(game.settings / "Video.scr") != dataBytes("Video.scr"), row.saves);
        if (!row.saves) {
            EXPECT_NE(game.dialogs.texts().back().find("it is a link to another place"),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace quorvik::operations
