// Starting the game: what is started on each platform, and every way it can fail.

#include "launch/launch.h"

#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
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
    EXPECT_EQ(launchGame(system, exe), std::nullopt);
    EXPECT_EQ(launchGame(system, exe), std::nullopt);
    ASSERT_EQ(system.launches.size(), 2u) << "each choice starts a further copy";
    EXPECT_EQ(system.launches[0].commandLine, "\"" + exe + "\" -nologos");
    EXPECT_EQ(platform::pathToUtf8(system.launches[0].program), exe);
    EXPECT_EQ(system.launches[0].workingFolder, dir / "Quell Moor");
}

TEST_F(Launch, UnderWineAsThePrefixsLauncherWould) {
    using platform::PrefixOwner;
    using platform::SteamInstall;
    const fs::path build = dir / "runners/lutris-7.2/bin/wine";
    writeBytes(build, "");
    struct Case {
        const char* name;
        platform::WinePrefix prefix;
        std::vector<std::string> command;  // program, then arguments
        std::string winePrefix;            // WINEPREFIX set for it
        std::optional<LaunchMessage> told;
    };
    const std::string shortcut =
        "steam://rungameid/" + std::to_string((3000000000ull << 32) | 0x02000000);
    const Case cases[] = {
        {"plain Wine", {dir / "my prefix"}, {"wine", exe, "-nologos"}, "my prefix", {}},
        {"native Steam",
         {"/s/pfx", "4711", PrefixOwner::Steam, SteamInstall::Native},
         {"steam", "-applaunch", "4711", "-nologos"},
         "",
         {}},
        {"Flatpak Steam",
         {"/s/pfx", "4711", PrefixOwner::Steam, SteamInstall::Flatpak},
         {"flatpak", "run", "com.valvesoftware.Steam", "-applaunch", "4711", "-nologos"},
         "",
         {}},
        {"Snap Steam",
         {"/s/pfx", "4711", PrefixOwner::Steam, SteamInstall::Snap},
         {"snap", "run", "steam", "-applaunch", "4711", "-nologos"},
         "",
         {}},
        {"a non-Steam game's shortcut",
         {"/s/pfx", "3000000000", PrefixOwner::Steam, SteamInstall::Native},
         {"steam", shortcut},
         "",
         LaunchMessage{false,
                       "Quell Moor is a non-Steam game in Steam, which starts it with its "
                       "shortcut's own launch options: to skip the intro videos, add "
                       "-nologos to the launch options of the shortcut (Properties in "
                       "Steam)."}},
        {"Lutris' own Wine",
         {dir / "lq", "", PrefixOwner::Lutris, SteamInstall::Unknown, build},
         {build.string(), exe, "-nologos"},
         "lq",
         {}},
        {"a Bottles runner that is gone",
         {dir / "bq", "", PrefixOwner::Bottles, SteamInstall::Unknown, dir / "gone/bin/wine"},
         {"wine", exe, "-nologos"},
         "bq",
         {}},
        {"a Proton prefix without its Steam",
         {dir / "pfx", "4711", PrefixOwner::Steam, SteamInstall::Unknown},
         {},
         "",
         LaunchMessage{true, "The game cannot be started: its prefix " +
                                 platform::pathToUtf8(dir / "pfx") +
                                 " belongs to Steam (app 4711), but no Steam that holds it was "
                                 "found. Starting it with the system's Wine could upgrade the "
                                 "prefix behind Proton's back, so please start Quell Moor from "
                                 "Steam."}},
    };
    system.hostKind = platform::HostKind::Wine;
    for (const Case& c : cases) {
        system.launches.clear();
        system.prefix = c.prefix;
        EXPECT_EQ(launchGame(system, exe), c.told) << c.name;
        if (c.command.empty()) {
            EXPECT_TRUE(system.launches.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(system.launches.size(), 1u) << c.name;
        const auto& request = system.launches[0];
        std::vector<std::string> command = {request.program.string()};
        command.insert(command.end(), request.arguments.begin(), request.arguments.end());
        EXPECT_EQ(command, c.command) << c.name;
        EXPECT_EQ(request.workingFolder, dir / "Quell Moor") << c.name;
        if (c.winePrefix.empty()) {
            EXPECT_TRUE(request.environment.empty()) << c.name;
        } else {
            EXPECT_EQ(request.environment, (std::vector<std::pair<std::string, std::string>>{
                                               {"WINEPREFIX", (dir / c.winePrefix).string()}}))
                << c.name;
        }
    }
}

TEST_F(Launch, EveryFailureIsNamed) {
    const auto problem = [&](const std::string& path) {
        const auto told = launchGame(system, path);
        EXPECT_TRUE(told && told->problem) << path;
        return told ? told->text : std::string();
    };
    EXPECT_NE(problem("").find("registry entry Exe_Path is empty"), std::string::npos);
    EXPECT_NE(problem("Error").find("was not found. Is the game installed?"), std::string::npos);
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
    form.GameExePath = "Error";
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
    form.Launch_Click();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    ASSERT_EQ(system.launches.size(), 1u);
    EXPECT_EQ(system.launches[0].program, accented);
}

}  // namespace
}  // namespace quorvik::launch
