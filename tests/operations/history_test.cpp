// The history's rules at the core: its entries ordered by their own numbers,
// not by the clock's name of the hour; only what Quorvik made removed, never
// through a link; and a save cut off between its replacements finished by the
// next Quorvik to take the folder, every file then of one save.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>
#include <map>

#include "operations/history.h"
#include "platform/paths.h"
#include "support/game_folder.h"
#ifndef _WIN32
#include "support/wine_test_process.h"
#endif

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::FileOp;
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

#ifndef _WIN32
// Every file a save may replace, by its place under the game's "out" folder.
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
using Disk = std::map<std::string, std::optional<std::string>>;

struct Cut : Game {
    // Old files everywhere (backups another tool wrote), then a save that
    // writes, replaces and removes: motion blur on, depth of field off.
    Cut() {
        for (const std::string& name : kFiles) {
            if (!name.ends_with(".scr") || name.starts_with("Data"))
                writeBytes(out / name, "old " + name + "\r\n");
        }
        loadBoth();
        form.panel.Check4.Value = 1;
        form.panel.Check11.Value = 0;
        form.panel.Text15.Text = "75.0";
        form.panel.Text4.Text = "16";
        dialogs.boxes.clear();
    }
    Disk disk() const {
        Disk files;
        for (const std::string& name : kFiles) {
            files[name] =
                fs::exists(out / name) ? std::optional(readBytes(out / name)) : std::nullopt;
        }
        return files;
    }
    static bool replacing(FileOp op, const fs::path& path) {
        return (op == FileOp::Commit || op == FileOp::Delete) &&
               path.string().find("Quorvik history") == std::string::npos;
    }
};

// A save killed before each of its replacements in turn (a backup or a file
// of the game's put in place or removed): the next Quorvik to load finishes
// it, so every file holds what that save wrote, says so, and the history
// still holds every byte the save replaced. A file the game rewrote in
// between is left alone and named. The last row's next Quorvik is the
// console's show, which says so on standard error and succeeds.
TEST(History, ASaveKilledAtEachReplacementIsFinishedByTheNextRun) {
    Cut whole;
    const Disk before = whole.disk();
    int replacements = 0;
    whole.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
        replacements += Cut::replacing(op, path) ? 1 : 0;
        return std::nullopt;
    };
    whole.form.save_Click();
    const Disk saved = whole.disk();
    ASSERT_GE(replacements, 8);

    for (int killedAt = 1; killedAt <= replacements; ++killedAt) {
        enum class Between { Nothing, GameWrites, JournalDamaged };
        for (const Between between :
             {Between::Nothing, Between::GameWrites, Between::JournalDamaged}) {
            const bool gameWritesBetween = between == Between::GameWrites;
            if (between != Between::Nothing && killedAt != (gameWritesBetween ? 1 : 3)) continue;
            SCOPED_TRACE("killed before replacement " + std::to_string(killedAt) +
                         (gameWritesBetween ? ", then the game rewrote Video.scr"
                          : between == Between::JournalDamaged
                              ? ", then the disk lost the journal's end"
                              : ""));
            Cut game;
            const pid_t pid = ::fork();
            if (pid == 0) {
                int seen = 0;
                game.system.fault = [&](FileOp op,
                                        const fs::path& path) -> std::optional<platform::Status> {
                    if (Cut::replacing(op, path) && ++seen == killedAt) ::_exit(0);
                    return std::nullopt;
                };
                game.form.save_Click();
                ::_exit(1);
            }
            int status = -1;
            ::waitpid(pid, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "killed where meant";
            const std::string theGames = "Resolution(800,600)\r\n";
            if (gameWritesBetween) writeBytes(game.settings / "Video.scr", theGames);
            if (between == Between::JournalDamaged) {
                for (const auto& entry : fs::directory_iterator(game.history())) {
                    const fs::path journal = entry.path() / "Quorvik unfinished save.txt";
                    if (fs::exists(journal)) fs::resize_file(journal, fs::file_size(journal) - 10);
                }
            }

            std::string told;
            if (killedAt == replacements) {
                const auto shown = quorvik::testing::runProgram(
                    {QUORVIK_CLI, "--settings", game.settings.string(), "show"},
                    {{"HOME", (game.dir / "home").string()},
                     {"WINEPREFIX", (game.dir / "none").string()}},
                    std::chrono::seconds(30), game.dir.path());
                EXPECT_EQ(shown, 0);
                EXPECT_TRUE(readBytes(game.dir / "stdout").starts_with("Resolution="))
                    << "only the settings";
                told = readBytes(game.dir / "stderr");
            } else {
                quorvik::testing::GameSession next;
                next.form.SettingsPath = game.form.SettingsPath;
                next.loadBoth();
                ASSERT_EQ(next.form.NoticesShown.size(), 1u);
                told = next.form.NoticesShown.front();
            }
            // Without all it was to write, the save is undone instead.
            Disk expected = between == Between::JournalDamaged ? before : saved;
            if (gameWritesBetween) expected["Settings/Video.scr"] = theGames;
            EXPECT_EQ(game.disk(), expected);
            for (const auto& [name, bytes] : before) {
                if (!bytes || bytes == saved.at(name)) continue;
                bool kept = false;
                for (const auto& entry : fs::directory_iterator(game.history())) {
                    const fs::path copy = entry.path() / fs::path(name).filename();
                    kept |= fs::exists(copy) && readBytes(copy) == *bytes;
                }
                EXPECT_TRUE(kept) << name << " is kept in the history";
            }
            EXPECT_NE(told.find(between == Between::JournalDamaged ? "so Quorvik has undone it"
                                                                   : "Quorvik has now finished it"),
                      std::string::npos)
                << told;
            EXPECT_EQ(told.find("Video.scr was changed since (perhaps by the game), so it was left "
                                "as it is.") != std::string::npos,
                      gameWritesBetween)
                << told;
            // Finished once: the next load has nothing more to say.
            quorvik::testing::GameSession third;
            third.form.SettingsPath = game.form.SettingsPath;
            third.loadBoth();
            EXPECT_TRUE(third.form.NoticesShown.empty());
        }
    }
}
#endif

}  // namespace
}  // namespace quorvik::operations
