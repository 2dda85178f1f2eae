// Launch on Linux, end to end: the prefix found in a home folder, and what
// stand-ins for steam, flatpak, snap and wine on PATH were started with.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "launch/launch.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"
#include "support/prefix_fixture.h"
#include "support/stand_ins.h"

namespace quorvik::launch {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::FixtureHome;
using quorvik::testing::GameKey;

constexpr const char* kExe = "C:\\Games\\Quell Moor\\QuellMoor.exe";

fs::path installGame(const fs::path& prefix) {
    quorvik::testing::makePrefix(prefix, GameKey::Plain, kExe);
    quorvik::testing::writeBytes(prefix / "drive_c/Games/Quell Moor/QuellMoor.exe", "MZ");
    return prefix;
}

TEST(LaunchOnLinux, StartedAsTheOwningLauncherStartsIt) {
    struct Case {
        const char* name;
        // Makes the home folder; returns the game's prefix.
        std::function<fs::path(FixtureHome&, quorvik::testing::StandIns&)> build;
        // Program, then arguments; "WINE" is the launcher's own Wine. Empty: nothing starts.
        std::vector<std::string> command;
        bool winePrefixSet;
    };
    const Case cases[] = {
        {"Flatpak Steam, the library on another drive",
         [](FixtureHome& h, auto&) {
             h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), h.dir / "drive2"});
             return installGame(h.protonPrefix(h.dir / "drive2", "4711"));
         },
         {"flatpak", "run", "com.valvesoftware.Steam", "-applaunch", "4711", "-nologos"},
         false},
        {"Snap Steam",
         [](FixtureHome& h, auto&) { return installGame(h.protonPrefix(h.snapSteam(), "4711")); },
         {"snap", "run", "steam", "-applaunch", "4711", "-nologos"},
         false},
        {"Lutris, with its Wine build",
         [](FixtureHome& h, quorvik::testing::StandIns& standIns) {
             h.lutrisGame("quell-moor.yml", h.dir / "lq", "lutris-7.2");
             standIns.placeAt(h.home / ".local/share/lutris/runners/wine/lutris-7.2/bin/wine");
             return installGame(h.dir / "lq");
         },
         {"WINE", kExe, "-nologos"},
         true},
        {"Heroic, its Wine build gone",
         [](FixtureHome& h, auto&) {
             h.heroicGame("QuellMoor.json", h.dir / "hq", h.dir / "gone/bin/wine");
             return installGame(h.dir / "hq");
         },
         {"wine", kExe, "-nologos"},
         true},
        {"plain ~/.wine",
         [](FixtureHome& h, auto&) { return installGame(h.home / ".wine"); },
         {"wine", kExe, "-nologos"},
         true},
        {"a Proton prefix of no Steam found here",
         [](FixtureHome& h, auto&) { return installGame(h.protonPrefix(h.dir / "lib", "4711")); },
         {},
         false},
    };
    for (const Case& c : cases) {
        FixtureHome h;
        quorvik::testing::StandIns standIns;
        const fs::path prefix = c.build(h, standIns);
        auto search = h.search();
        if (c.command.empty()) search.chosenPrefix = prefix;
        std::ostringstream report;
        platform::posix::PosixSystem system(search, &report);

        const auto told = launchGame(system, kExe);
        if (c.command.empty()) {
            EXPECT_TRUE(told && told->problem) << c.name;
            EXPECT_TRUE(standIns.noneStarted()) << c.name;
            continue;
        }
        EXPECT_EQ(told, std::nullopt) << c.name;
        const auto run = standIns.next();
        ASSERT_TRUE(run) << c.name;
        std::vector<std::string> command = {run->program};
        command.insert(command.end(), run->arguments.begin(), run->arguments.end());
        auto expected = c.command;
        if (expected[0] == "WINE") expected[0] = system.winePrefix()->wineBuild.string();
        EXPECT_EQ(command, expected) << c.name;
        EXPECT_EQ(run->folder, fs::canonical(prefix / "drive_c/Games/Quell Moor")) << c.name;
        EXPECT_EQ(run->winePrefix, c.winePrefixSet ? platform::pathToUtf8(prefix) : "") << c.name;
    }
}

}  // namespace
}  // namespace quorvik::launch
