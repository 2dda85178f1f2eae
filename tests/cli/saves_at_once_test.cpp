// quorvik-cli saves as processes meet them: two at once, a kill at any moment,
// a file another program changed in between. Whatever happens, every settings
// file is whole and read-only, the files never mix two saves, and the next run
// leaves no temporary file behind.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "platform/posix/posix_files.h"
#include "platform/system.h"
#include "settings/lines.h"
#include "support/game_folder.h"
#include "support/wine_test_process.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::GameFolder;
using quorvik::testing::readBytes;

struct Game : GameFolder {
    Game() { copySamples(); }

    std::vector<std::pair<std::string, std::string>> environment() const {
        return {{"HOME", (dir / "home").string()}, {"WINEPREFIX", (dir / "none").string()}};
    }
    // Starts `quorvik-cli set`, its output kept in a folder of its own.
    pid_t start(const std::vector<std::string>& assignments, const std::string& name) const {
        fs::create_directories(dir / name);
        std::vector<std::string> arguments = {QUORVIK_CLI, "--settings", settings.string(), "set"};
        arguments.insert(arguments.end(), assignments.begin(), assignments.end());
        return *quorvik::testing::startProgram(arguments, environment(), dir / name);
    }
    int wait(pid_t pid) const {
        return quorvik::testing::waitProgram(pid, std::chrono::seconds(30)).value_or(-1);
    }
    std::string err(const std::string& name) const { return readBytes(dir / name / "stderr"); }

    // Which save a settings file comes from: its resolution or mix frequency,
    // or "sample" for the file as it was; empty when it is no whole file.
    std::string origin(const char* file, std::string_view key) const {
        const std::string bytes = readBytes(settings / file);
        if (bytes == dataBytes(file)) return "sample";
        const std::vector<std::string> lines = settings::splitLines(bytes);
        if (lines.size() != (file == std::string("Video.scr") ? 51u : 35u)) return {};
        for (const std::string& line : lines) {
            if (line.starts_with(key)) return line.substr(key.size());
        }
        return {};
    }
    bool readOnly(const char* file) const {
        return (fs::status(settings / file).permissions() & fs::perms::all & ~fs::perms::owner_read &
                ~fs::perms::group_read & ~fs::perms::others_read) == fs::perms::none;
    }
    std::vector<fs::path> temporaryFiles() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(out)) {
            if (platform::isTemporaryName(entry.path().filename())) found.push_back(entry.path());
        }
        return found;
    }
};

TEST(SavesAtOnce, NeverMixAndTheOneThatLosesSaysWhy) {
    Game game;
    for (int round = 0; round < 25; ++round) {
        const std::string a = std::to_string(1000 + round);
        const std::string b = std::to_string(3000 + round);
        const pid_t first = game.start({"Resolution=" + a + ",600", "MixFrequency=" + a}, "a");
        const pid_t second = game.start({"Resolution=" + b + ",600", "MixFrequency=" + b}, "b");
        const int firstStatus = game.wait(first);
        const int secondStatus = game.wait(second);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + game.err("a") + game.err("b"));
        const std::string video = game.origin("Video.scr", "Resolution(");
        const std::string audio = game.origin("Audio.scr", "MixFrequency(");
        ASSERT_FALSE(video.empty());
        EXPECT_EQ(video.substr(0, 4), audio.substr(0, 4)) << "Video.scr and Audio.scr of one save";
        EXPECT_TRUE(firstStatus == 0 || secondStatus == 0) << "one of them saves";
        for (const auto& [status, name] : {std::pair(firstStatus, "a"), std::pair(secondStatus, "b")}) {
            if (status == 0) continue;
            EXPECT_EQ(status, 1);
            const std::string said = game.err(name);
            EXPECT_TRUE(said.find("changed on disk") != std::string::npos ||
                        said.find("Another Quorvik is saving") != std::string::npos)
                << said;
        }
        if (firstStatus != 0) {
            EXPECT_EQ(video, b + ",600)");
        }
        if (secondStatus != 0) {
            EXPECT_EQ(video, a + ",600)");
        }
        EXPECT_TRUE(game.readOnly("Video.scr") && game.readOnly("Audio.scr"));
    }
}

TEST(SavesAtOnce, AKillAtAnyMomentLeavesWholeReadOnlyFilesAndTheNextRunCleansUp) {
    Game game;
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        const std::string value = std::to_string(1000 + round);
        const pid_t pid = game.start({"Resolution=" + value + ",600", "MixFrequency=" + value,
                                      round % 2 == 0 ? "MotionBlur=off" : "MotionBlur=on"},
                                     "k");
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 12000));
        ::kill(pid, SIGKILL);
        game.wait(pid);
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_FALSE(game.origin("Video.scr", "Resolution(").empty()) << "Video.scr is whole";
        EXPECT_FALSE(game.origin("Audio.scr", "MixFrequency(").empty()) << "Audio.scr is whole";
        EXPECT_TRUE(game.readOnly("Video.scr") || game.origin("Video.scr", "Resolution(") == "sample");
        EXPECT_TRUE(game.readOnly("Audio.scr") || game.origin("Audio.scr", "MixFrequency(") == "sample");
    }
    const std::optional<int> shown = quorvik::testing::runProgram(
        {QUORVIK_CLI, "--settings", game.settings.string(), "show"}, game.environment(),
        std::chrono::seconds(30));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(game.temporaryFiles(), std::vector<fs::path>{});
}

// A file the game rewrote after the load is not overwritten unless forced, and
// what --force replaces is kept. The test holds the folder's lock while it
// rewrites the file, so that quorvik-cli has loaded it and waits to save.
TEST(SavesAtOnce, AFileChangedSinceTheLoadNeedsForce) {
    for (const bool force : {false, true}) {
        Game game;
        const fs::path history = game.settings / "Quorvik history";
        fs::create_directories(history);
        auto lock = platform::posix::tryLock(history / ".lock");
        ASSERT_TRUE(lock);
        std::vector<std::string> assignments = {"BPP=16"};
        if (force) assignments.push_back("--force");
        const pid_t pid = game.start(assignments, "cli");
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const std::string theGames = dataBytes("Video.scr") + "Brightness(3)\r\n";
        quorvik::testing::writeBytes(game.settings / "Video.scr", theGames);
        lock->reset();
        const int status = game.wait(pid);
        SCOPED_TRACE(force ? "--force" : "no --force");
        if (!force) {
            EXPECT_EQ(status, 1);
            EXPECT_EQ(game.err("cli"),
                      "quorvik-cli: the game's prefix is " + (game.dir / "none").string() +
                          " ($WINEPREFIX): named by $WINEPREFIX; there is no such folder; no Wine prefix was found\n"
                          "quorvik-cli: Video.scr was changed on disk after Quorvik loaded "
                          "it (perhaps by the game), so nothing was saved: saving would overwrite "
                          "that change. Run the command again, or add --force to save over it "
                          "(what it replaces is kept in the history).\n");
            EXPECT_EQ(readBytes(game.settings / "Video.scr"), theGames);
            continue;
        }
        EXPECT_EQ(status, 0) << game.err("cli");
        EXPECT_NE(readBytes(game.settings / "Video.scr").find("\r\nBPP(16)\r\n"), std::string::npos);
        bool kept = false;
        for (const auto& entry : fs::directory_iterator(history)) {
            kept |= fs::exists(entry.path() / "Video.scr") && readBytes(entry.path() / "Video.scr") == theGames;
        }
        EXPECT_TRUE(kept) << "the game's change is kept in the history";
    }
}

}  // namespace
}  // namespace quorvik::cli
