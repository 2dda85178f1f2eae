// A save in which one step fails, each in turn (a file written under its
// temporary name, put in place, removed; a backup; the history): the save is
// carried out whole or not at all, so every file on disk then holds its old
// bytes, and the player is told which file failed and why.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <map>

#include "app/form1.h"
#include "platform/paths.h"
#include "support/game_folder.h"
#ifndef _WIN32
#include "support/wine_test_process.h"
#endif

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

// Every file a save may write or delete, relative to the game's "out" folder:
// the backups (here another tool's, which the history keeps) too.
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
    explicit Game(bool effectsOn, bool withData = true)
        : GameSession("Quell Moor", withData ? AllData : NoData) {
        for (const auto& name : kFiles) {
            if (withData || name.starts_with("Settings/")) writeBytes(out / name, "old " + name + "\r\n");
        }
        writeBytes(out / "Settings" / "Video.scr", quorvik::testing::dataBytes("edited/Video.scr"));
        writeBytes(out / "Settings" / "Audio.scr", quorvik::testing::dataBytes("edited/Audio.scr"));
        loadBoth();
        form.panel.Check4.Value = effectsOn ? 1 : 0;
        form.panel.Check11.Value = effectsOn ? 1 : 0;
        form.panel.Text15.Text = effectsOn ? "62.5" : "75.0";
        form.panel.Text4.Text = "16";
        dialogs.boxes.clear();
        system.fileLog.clear();
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

fs::path inGame(const Game& game, const fs::path& path) {
    return path.lexically_normal().lexically_relative(game.dir.path());
}

// Every step of a save that writes or removes something, in order, by its
// path in the game's folder; not the history's tidying up once the save is
// done, which changes nothing of the game's.
std::vector<std::pair<FileOp, fs::path>> stepsOfASave(bool effectsOn) {
    Game game(effectsOn);
    game.form.save_Click();
    std::vector<std::pair<FileOp, fs::path>> steps;
    for (const auto& [op, path] : game.system.fileLog) {
        const bool tidying =
            op == FileOp::Delete && path.string().find("Quorvik history") != std::string::npos;
        if ((op == FileOp::Write || op == FileOp::Commit || op == FileOp::Delete) && !tidying) {
            steps.emplace_back(op, inGame(game, path));
        }
    }
    return steps;
}

class EachStepFailing : public ::testing::TestWithParam<std::string> {};

TEST_P(EachStepFailing, LeavesEveryFileAsItWasAndNamesTheFile) {
    for (const bool effectsOn : {false, true}) {
        const auto steps = stepsOfASave(effectsOn);
        ASSERT_GE(steps.size(), 10u);
        for (const auto& [failingOp, failingPath] : steps) {
            SCOPED_TRACE(std::to_string(static_cast<int>(failingOp)) + " " + failingPath.string());
            Game game(effectsOn);
            const Disk before = game.disk();
            game.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
                if (op == failingOp && inGame(game, path) == failingPath) {
                    return platform::Status::failure(GetParam());
                }
                return std::nullopt;
            };
            game.form.save_Click();
            EXPECT_EQ(game.disk(), before);
            const std::string shown = game.allText();
            EXPECT_NE(shown.find(failingPath.filename().string()), std::string::npos) << shown;
            EXPECT_NE(shown.find(GetParam()), std::string::npos) << shown;
            EXPECT_EQ(game.dialogs.boxes.back().style, 16) << "the last word is the failure";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Reasons, EachStepFailing,
                         ::testing::Values("Permission denied", "No space left on device"));

TEST(SaveFaults, MissingDataFoldersAreNamedAndTheSettingsAreSaved) {
    Game game(false, /*withData=*/false);
    game.form.save_Click();
    EXPECT_NE(readBytes(game.out / "Settings" / "Video.scr").find("BPP(16)"), std::string::npos);
    const std::string shown = game.allText();
    EXPECT_NE(shown.find("Scripts"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Skills"), std::string::npos) << shown;
    EXPECT_FALSE(fs::exists(game.out / "Data")) << "the game's folders are never created";
}

// An override script or the skills file left read-only is refused alike,
// whether the save would replace or remove it: named, and nothing saved.
TEST(SaveFaults, ReadOnlyDataFilesAreRefusedWhetherWrittenOrRemoved) {
    struct Row {
        const char* file;  // under the game's "out" folder
        bool effectsOn;    // on: the scripts and the skills file go; off: they are written
    };
    for (const Row row :
         {Row{"Data/Scripts/varlist_blur.scr", true}, Row{"Data/Skills/default_levels.xml", true},
          Row{"Data/Skills/default_levels.xml", false}}) {
        SCOPED_TRACE(std::string(row.file) + (row.effectsOn ? ", removed" : ", written"));
        Game game(row.effectsOn);
        fs::permissions(game.out / row.file,
                        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        const Disk before = game.disk();
        game.form.save_Click();
        EXPECT_EQ(game.disk(), before);
        const std::string& last = game.dialogs.boxes.back().text;
        EXPECT_NE(last.find(fs::path(row.file).filename().string()), std::string::npos) << last;
        EXPECT_NE(last.find("the file is read-only"), std::string::npos) << last;
    }
}

#ifndef _WIN32
// A save killed before each of its replacements in turn (a backup or a file
// of the game's put in place or removed): the next Quorvik to load finishes
// it, so every file holds what that one save wrote, says so, and the history
// still holds every byte it replaced. A file the game rewrote in between is
// left alone and named; a record the disk damaged undoes the save instead.
// The last row's next Quorvik is the console's show, which succeeds.
TEST(SaveFaults, ASaveKilledAtEachReplacementIsFinishedByTheNextRun) {
    const auto replacing = [](FileOp op, const fs::path& path) {
        return (op == FileOp::Commit || op == FileOp::Delete) &&
               path.string().find("Quorvik history") == std::string::npos;
    };
    enum class Between { Nothing, GameWrites, RecordDamaged };
    for (const bool effectsOn : {false, true}) {
        Game whole(effectsOn);
        const Disk before = whole.disk();
        whole.form.save_Click();
        const Disk saved = whole.disk();
        const auto replacements =
            std::count_if(whole.system.fileLog.begin(), whole.system.fileLog.end(),
                          [&](const auto& step) { return replacing(step.first, step.second); });
        ASSERT_GE(replacements, 8);
        for (int killedAt = 1; killedAt <= replacements; ++killedAt) {
            for (const Between between :
                 {Between::Nothing, Between::GameWrites, Between::RecordDamaged}) {
                if (between != Between::Nothing && (effectsOn || killedAt != 3)) continue;
                SCOPED_TRACE("killed before replacement " + std::to_string(killedAt) +
                             ", effects " + (effectsOn ? "on" : "off") + ", case " +
                             std::to_string(static_cast<int>(between)));
                Game game(effectsOn);
                if (const pid_t pid = ::fork(); pid == 0) {
                    int seen = 0;
                    game.system.fault =
                        [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
                        if (replacing(op, path) && ++seen == killedAt) ::_exit(0);
                        return std::nullopt;
                    };
                    game.form.save_Click();
                    ::_exit(1);
                } else {
                    int status = -1;
                    ::waitpid(pid, &status, 0);
                    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                        << "killed where meant";
                }
                Disk expected = between == Between::RecordDamaged ? before : saved;
                const fs::path history = game.settings / "Quorvik history";
                if (between == Between::GameWrites) {
                    writeBytes(game.settings / "Video.scr", "Resolution(800,600)\r\n");
                    expected["Settings/Video.scr"] = "Resolution(800,600)\r\n";
                }
                for (const auto& entry : fs::directory_iterator(history)) {
                    const fs::path record = entry.path() / "Quorvik unfinished save.txt";
                    if (between == Between::RecordDamaged && fs::exists(record)) {
                        fs::resize_file(record, fs::file_size(record) - 10);
                    }
                }

                std::string told;
                if (killedAt == replacements && effectsOn) {
                    const auto shown = quorvik::testing::runProgram(
                        {QUORVIK_CLI, "--settings", game.settings.string(), "show"},
                        {{"HOME", (game.dir / "home").string()}, {"WINEPREFIX", ""}},
                        std::chrono::seconds(30), game.dir.path());
                    EXPECT_EQ(shown, 0);
                    EXPECT_TRUE(readBytes(game.dir / "stdout").starts_with("Resolution="));
                    told = readBytes(game.dir / "stderr");
                } else {
                    quorvik::testing::GameSession next;
                    next.form.SettingsPath = game.form.SettingsPath;
                    next.loadBoth();
                    for (const std::string& text : next.dialogs.texts()) {
                        if (text.starts_with("A save was cut off")) told += text;
                    }
                }
                EXPECT_EQ(game.disk(), expected);
                for (const auto& [name, bytes] : before) {
                    bool kept = !bytes || bytes == saved.at(name);
                    for (const auto& entry : fs::directory_iterator(history)) {
                        const fs::path copy = entry.path() / fs::path(name).filename();
                        kept |= fs::exists(copy) && readBytes(copy) == *bytes;
                    }
                    EXPECT_TRUE(kept) << name << " is kept in the history";
                }
                const char* said = between == Between::RecordDamaged ? "so Quorvik has undone it"
                                   : between == Between::GameWrites
                                       ? "Video.scr was changed since (perhaps by the game)"
                                       : "Quorvik has now finished it";
                EXPECT_NE(told.find(said), std::string::npos) << told;
            }
        }
    }
}
#endif

#ifndef _WIN32
// A disk that fills up halfway through a file: the write really fails midway
// (the process may not write files beyond 8 KiB), and the old file survives.
TEST(SaveFaults, DiskFullHalfwayThroughTheSkillsFile) {
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

    EXPECT_EQ(game.disk(), before);
    EXPECT_NE(game.allText().find("default_levels.xml"), std::string::npos) << game.allText();
    for (const auto& entry : fs::directory_iterator(game.out / "Data" / "Skills")) {
        EXPECT_EQ(entry.path().filename(), "default_levels.xml") << "no temporary file is left";
    }
}
#endif

}  // namespace
}  // namespace quorvik::app
