// Starting the game: what is started on each platform, and every way it can fail.

#include "launch/launch.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
#include "support/launched.h"
#include "support/temp_dir.h"

namespace quorvik::launch {
namespace {

using quorvik::testing::FakeDialogs;
using quorvik::testing::FakeSystem;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;
namespace fs = std::filesystem;

class Launch : public ::testing::Test {
protected:
    TempDir dir;
    FakeSystem system;
    std::string exe;

    void SetUp() override {
        const auto path = dir / "Quell Moor" / "QuellMoor.exe";
        writeBytes(path, "MZ");
        exe = platform::pathToUtf8(path);
    }
};

TEST_F(Launch, OnWindowsTheQuotedPathAndNoLogosInTheGamesFolder) {
    EXPECT_TRUE(startedQuietly(launchGame(system, exe)));
    EXPECT_TRUE(startedQuietly(launchGame(system, exe)));
    ASSERT_EQ(system.launches.size(), 2u) << "each choice starts a further copy";
    EXPECT_EQ(system.launches[0].commandLine, "\"" + exe + "\" -nologos");
    EXPECT_EQ(platform::pathToUtf8(system.launches[0].program), exe);
    EXPECT_EQ(system.launches[0].workingFolder, dir / "Quell Moor");
}

TEST_F(Launch, UnderWineThePrefixesWine) {
    system.hostKind = platform::HostKind::Wine;
    system.prefix = platform::WinePrefix{dir / "my prefix"};
    EXPECT_TRUE(startedQuietly(launchGame(system, exe)));
    ASSERT_EQ(system.launches.size(), 1u);
    const auto& request = system.launches[0];
    EXPECT_EQ(request.program, "wine");
    EXPECT_EQ(request.arguments, (std::vector<std::string>{exe, "-nologos"}));
    EXPECT_EQ(request.workingFolder, dir / "Quell Moor");
    ASSERT_EQ(request.environment.size(), 1u);
    EXPECT_EQ(request.environment[0].first, "WINEPREFIX");
    EXPECT_EQ(request.environment[0].second, platform::pathToUtf8(dir / "my prefix"));
}

TEST_F(Launch, AProtonPrefixIsStartedThroughSteam) {
    using platform::PrefixOwner;
    using platform::LauncherInstall;
    system.hostKind = platform::HostKind::Wine;
    const auto started = [&](const char* appId, LauncherInstall steam) {
        system.launches.clear();
        system.prefix = platform::WinePrefix{dir / "pfx", appId, PrefixOwner::Steam, steam};
        const auto told = launchGame(system, exe);
        std::vector<std::string> command;
        for (const auto& request : system.launches) {
            command = {request.program.string()};
            command.insert(command.end(), request.arguments.begin(), request.arguments.end());
        }
        return std::make_pair(command, toldText(told));
    };
    using Command = std::vector<std::string>;
    EXPECT_EQ(started("4711", LauncherInstall::Native).first,
              (Command{"steam", "-applaunch", "4711", "-nologos"}));
    EXPECT_EQ(started("4711", LauncherInstall::Snap).first,
              (Command{"snap", "run", "steam", "-applaunch", "4711", "-nologos"}));

    // A non-Steam game added to Steam has a shortcut id of 2^31 or more.
    const auto [shortcut, note] = started("3000000000", LauncherInstall::Flatpak);
    EXPECT_EQ(shortcut, (Command{"flatpak", "run", "com.valvesoftware.Steam",
                                 "steam://rungameid/12884901888033554432"}));
    EXPECT_NE(note.find("add -nologos to the launch options of the shortcut"), std::string::npos);

    const auto [none, problem] = started("4711", LauncherInstall::Unknown);
    EXPECT_TRUE(none.empty()) << "never the system's Wine in a Proton prefix";
    EXPECT_NE(problem.find("no Steam that holds it was found"), std::string::npos);
}

TEST_F(Launch, EveryFailureIsNamed) {
    const auto problem = [&](const std::optional<std::string>& path) {
        const auto told = launchGame(system, path);
        EXPECT_FALSE(told) << path.value_or("(none)");
        return toldText(told);
    };
    EXPECT_NE(problem("").find("registry entry Exe_Path is empty"), std::string::npos);
    EXPECT_NE(problem(std::nullopt).find("was not found. Is the game installed?"), std::string::npos);
    const std::string missing = platform::pathToUtf8(dir / "gone.exe");
    EXPECT_EQ(problem(missing),
              "The game cannot be started: its program " + missing + " does not exist.");
    EXPECT_TRUE(system.launches.empty());

    system.launchResult = platform::Status::failure("No such file or directory");
    system.hostKind = platform::HostKind::Wine;
    EXPECT_EQ(problem(exe), "The game could not be started (wine): No such file or directory.");
}

TEST_F(Launch, TheWindowShowsTheProblemAndStaysOpen) {
    FakeDialogs dialogs;
    app::Form1 form{dialogs, system};
    form.GameExePath = "Error";  // what the registry reader gives for a value it could not read
    form.Launch_Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].style, 16);
    EXPECT_EQ(dialogs.closeCount, 0);

    // Works before any settings file was loaded; the path stays Unicode, even
    // with letters no 8-bit code page of the West holds.
    const auto accented =
        dir / "Jeux \xC3\xA9t\xC3\xA9 \xD0\x98\xD0\xB3\xD1\x80\xD1\x8B" / "QuellMoor.exe";
    writeBytes(accented, "MZ");
    form.GameExePath = platform::pathToUtf8(accented);
    form.GameExeFound = true;
    form.Launch_Click();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    ASSERT_EQ(system.launches.size(), 1u);
    EXPECT_EQ(system.launches[0].program, accented);

    // A word to the player beside a started game is information, not an error.
    system.hostKind = platform::HostKind::Wine;
    system.prefix = platform::WinePrefix{dir / "pfx", "3000000000", platform::PrefixOwner::Steam,
                                         platform::LauncherInstall::Native};
    form.Launch_Click();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].style, 64);
}

}  // namespace
}  // namespace quorvik::launch
