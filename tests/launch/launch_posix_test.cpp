// Launch on Linux, end to end: the prefix found in a home folder, and what
// stand-ins for the launchers, flatpak, snap, xdg-open and wine on PATH were
// started with, where and with which environment.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "launch/launch.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"
#include "support/launched.h"
#include "support/prefix_fixture.h"
#include "support/stand_ins.h"

namespace quorvik::launch {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::FixtureHome;
using quorvik::testing::GameKey;
using quorvik::testing::StandIns;
using quorvik::testing::writeBytes;

constexpr const char* kExe = "C:\\Games\\Quell Moor\\QuellMoor.exe";

// The game installed in a prefix; returns the prefix.
fs::path installGame(const fs::path& prefix) {
    quorvik::testing::makePrefix(prefix, GameKey::Plain, kExe);
    quorvik::testing::writeBytes(prefix / "drive_c/Games/Quell Moor/QuellMoor.exe", "MZ");
    return prefix;
}
fs::path gameFolder(const fs::path& prefix) { return prefix / "drive_c/Games/Quell Moor"; }

TEST(LaunchOnLinux, StartedAsTheOwningLauncherStartsIt) {
    struct Case {
        const char* name;
        // Makes the home folder; returns the game's prefix.
        std::function<fs::path(FixtureHome&, StandIns&)> build;
        // Program, then arguments ("EXE": the game's path on this machine), and
        // the $WINEPREFIX and $GAMEID it was given. No command: nothing starts,
        // and the player is told the words of problem.
        std::vector<std::string> command;
        std::string winePrefix;  // "PREFIX": the game's prefix
        std::string gameId;
        std::string told;  // part of the message, if any
    };
    const Case cases[] = {
        {"Flatpak Steam, the library on another drive",
         [](FixtureHome& h, StandIns&) {
             h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), h.dir / "drive2"});
             return installGame(h.protonPrefix(h.dir / "drive2", "4711"));
         },
         {"flatpak", "run", "com.valvesoftware.Steam", "-applaunch", "4711", "-nologos"},
         "",
         "",
         ""},
        {"the distribution's Steam left behind for Flatpak's: the Steam that is installed",
         [](FixtureHome& h, StandIns& standIns) {
             standIns.remove("steam");
             h.listLibraries(h.nativeSteam(), {h.nativeSteam(), h.dir / "drive2"});
             h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), h.dir / "drive2"});
             return installGame(h.protonPrefix(h.dir / "drive2", "4711"));
         },
         {"flatpak", "run", "com.valvesoftware.Steam", "-applaunch", "4711", "-nologos"},
         "",
         "",
         ""},
        {"Snap Steam",
         [](FixtureHome& h, StandIns&) {
             return installGame(h.protonPrefix(h.snapSteam(), "4711"));
         },
         {"snap", "run", "steam", "-applaunch", "4711", "-nologos"},
         "",
         "",
         ""},
        {"Lutris, a ge-proton game by its id in pga.db, -nologos in its arguments, another "
         "game in the same prefix",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "lq");
             h.lutrisGame(h.lutrisData(), "other-1", prefix, prefix / "drive_c/Other/Other.exe");
             h.lutrisGame(h.lutrisData(), "quell-moor-1", prefix,
                          gameFolder(prefix) / "QuellMoor.exe", "-nologos");
             h.lutrisDatabase(h.lutrisData(), {{"11", "other", prefix.string(), "other-1"},
                                               {"12", "quell-moor", prefix.string(), "quell-moor-1"}});
             return prefix;
         },
         {"lutris", "lutris:rungameid/12"},
         "",
         "",
         ""},
        {"Lutris, its executable written in another letter case, as Wine finds it",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "lq");
             h.lutrisGame(h.lutrisData(), "quell-moor-1", prefix,
                          prefix / "drive_c/GAMES/quell moor/QUELLMOOR.EXE", "-nologos");
             h.lutrisDatabase(h.lutrisData(),
                              {{"12", "quell-moor", prefix.string(), "quell-moor-1"}});
             return prefix;
         },
         {"lutris", "lutris:rungameid/12"},
         "",
         "",
         ""},
        {"Lutris' Flatpak, by the game's slug where pga.db has no entry",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "lq");
             h.lutrisGame(h.lutrisData(true), "quell-moor-1", {}, gameFolder(prefix) / "QuellMoor.exe");
             return prefix;
         },
         {"flatpak", "run", "net.lutris.Lutris", "lutris:rungame/quell-moor"},
         "",
         "",
         "add -nologos to Arguments in the game's Configure, Game options"},
        {"Heroic, a GOG game with GE-Proton",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "hq/pfx");
             h.heroicGame(h.heroicConfig(), "1207658930", h.dir / "hq", "-nologos");
             h.heroicInstalled(h.heroicConfig(), "gog", "1207658930", "Quell Moor", gameFolder(prefix));
             return prefix;
         },
         {"heroic", "--no-gui", "--no-sandbox", "heroic://launch/gog/1207658930"},
         "",
         "",
         ""},
        {"a prefix Lutris names for a mod manager and Heroic lists the game in: Heroic",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "shared");
             h.lutrisGame(h.lutrisData(), "mod-manager-1", prefix,
                          prefix / "drive_c/Modding/Manager.exe");
             h.lutrisDatabase(h.lutrisData(),
                              {{"7", "mod-manager", prefix.string(), "mod-manager-1"}});
             h.heroicGame(h.heroicConfig(), "1207658930", prefix, "-nologos");
             h.heroicInstalled(h.heroicConfig(), "gog", "1207658930", "Quell Moor",
                               gameFolder(prefix));
             return prefix;
         },
         {"heroic", "--no-gui", "--no-sandbox", "heroic://launch/gog/1207658930"},
         "",
         "",
         ""},
        {"Heroic's AppImage, no heroic on PATH: its link through xdg-open",
         [](FixtureHome& h, StandIns& standIns) {
             standIns.remove("heroic");
             const fs::path prefix = installGame(h.home / "Games/Heroic/Prefixes/default/Quell Moor");
             h.heroicGame(h.heroicConfig(), "Quail", {}, "-nologos");
             h.heroicInstalled(h.heroicConfig(), "legendary", "Quail", "Quell Moor", gameFolder(prefix));
             return prefix;
         },
         {"xdg-open", "heroic://launch/legendary/Quail"},
         "",
         "",
         ""},
        {"Heroic's Flatpak, a sideloaded game without -nologos",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "hq");
             h.heroicGame(h.heroicConfig(true), "xQ 3", prefix);
             h.heroicInstalled(h.heroicConfig(true), "sideload", "xQ 3", "QM", gameFolder(prefix));
             return prefix;
         },
         {"flatpak", "run", "com.heroicgameslauncher.hgl", "--no-gui",
          "heroic://launch/sideload/xQ%203"},
         "",
         "",
         "add -nologos to Game Arguments in the game's Settings, Other"},
        {"a bottle in Bottles' own bottles folder",
         [](FixtureHome& h, StandIns&) {
             writeBytes(h.bottlesData() / "data.yml",
                        "custom_bottles_path: " + (h.dir / "my bottles").string() + "\n");
             return installGame(h.bottle("Quell Moor", "soda-7.0-9", h.dir / "my bottles"));
         },
         {"bottles-cli", "run", "-b", "Quell Moor", "-e", "EXE", "--", "-nologos"},
         "",
         "",
         ""},
        {"a bottle with the game beats a ~/.wine used since whose game was deleted",
         [](FixtureHome& h, StandIns&) {
             quorvik::testing::makePrefix(h.home / ".wine", GameKey::Plain, kExe);
             quorvik::testing::makeSettings(h.home / ".wine");
             const fs::path bottle = installGame(h.bottle("Quell Moor", "soda-7.0-9"));
             quorvik::testing::makeSettings(bottle);
             quorvik::testing::age(bottle, std::chrono::hours(48));
             return bottle;
         },
         {"bottles-cli", "run", "-b", "Quell Moor", "-e", "EXE", "--", "-nologos"},
         "",
         "",
         ""},
        {"Bottles' Flatpak",
         [](FixtureHome& h, StandIns&) {
             return installGame(h.bottle("QM", "soda-7.0-9", h.bottlesData(true) / "bottles"));
         },
         {"flatpak", "run", "--command=bottles-cli", "com.usebottles.bottles", "run", "-b", "QM",
          "-e", "EXE", "--", "-nologos"},
         "",
         "",
         ""},
        {"a game Bottles runs through umu, in a prefix of the player's",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "umu games/qm");
             writeBytes(h.bottlesData() / "umu/games/14f15146/game.yml",
                        "schema_version: 1\nid: 14f15146-88af-46ae-ab8d-ca45b6fa6cbf\n"
                        "name: Quell Moor\nexecutable: " +
                            (gameFolder(prefix) / "QuellMoor.exe").string() +
                            "\nprefix: {path: " + prefix.string() +
                            ", managed: false}\nproton: GE-Proton9-27\ngame_id: umu-1234\n");
             return prefix;
         },
         {"umu-run", "EXE", "-nologos"},
         "PREFIX",
         "umu-1234",
         ""},
        {"umu's default prefix",
         [](FixtureHome& h, StandIns&) { return installGame(h.home / "Games/umu/umu-default"); },
         {"umu-run", "EXE", "-nologos"},
         "PREFIX",
         "umu-default",
         ""},
        {"plain ~/.wine",
         [](FixtureHome& h, StandIns&) { return installGame(h.home / ".wine"); },
         {"wine", kExe, "-nologos"},
         "PREFIX",
         "",
         ""},
        {"a Proton prefix of no Steam found here",
         [](FixtureHome& h, StandIns&) {
             return installGame(h.protonPrefix(h.dir / "lib", "4711"));
         },
         {},
         "",
         "",
         "no Steam that holds it was found"},
        {"Lutris not installed: which command, and how to start the game instead",
         [](FixtureHome& h, StandIns& standIns) {
             standIns.remove("lutris");
             const fs::path prefix = installGame(h.dir / "lq");
             h.lutrisGame(h.lutrisData(), "quell-moor-1", prefix, gameFolder(prefix) / "QuellMoor.exe");
             return prefix;
         },
         {},
         "",
         "",
         "the command lutris could not be run (it is not installed: there is no lutris on PATH). "
         "Start Quell Moor from Lutris instead."},
        {"Heroic's game, neither heroic nor xdg-open installed: why each failed",
         [](FixtureHome& h, StandIns& standIns) {
             standIns.remove("heroic");
             standIns.remove("xdg-open");
             const fs::path prefix =
                 installGame(h.home / "Games/Heroic/Prefixes/default/Quell Moor");
             h.heroicGame(h.heroicConfig(), "Quail", {}, "-nologos");
             h.heroicInstalled(h.heroicConfig(), "legendary", "Quail", "Quell Moor",
                               gameFolder(prefix));
             return prefix;
         },
         {},
         "",
         "",
         "the command heroic or xdg-open could not be run (it is not installed: there is no heroic "
         "on PATH; it is not installed: there is no xdg-open on PATH). "},
        {"Lutris' prefix of another game only: never that game, never the system's Wine",
         [](FixtureHome& h, StandIns&) {
             const fs::path prefix = installGame(h.dir / "lq");
             h.lutrisGame(h.lutrisData(), "other-1", prefix, prefix / "drive_c/Other/Other.exe");
             return prefix;
         },
         {},
         "",
         "",
         "belongs to Lutris, but none of its games there is Quell Moor"},
    };
    for (const Case& c : cases) {
        FixtureHome h;
        StandIns standIns;
        const fs::path prefix = c.build(h, standIns);
        auto search = h.search();
        if (c.name == std::string("a Proton prefix of no Steam found here")) search.chosenPrefix = prefix;
        std::ostringstream report;
        platform::posix::PosixSystem system(search, &report);

        // A $WINEPREFIX of ours for another game reaches no launcher.
        ::setenv("WINEPREFIX", "/another/game", 1);
        const auto told = launchGame(system, kExe);
        ::unsetenv("WINEPREFIX");
        EXPECT_NE(toldText(told).find(c.told), std::string::npos)
            << c.name << ": " << toldText(told);
        if (c.command.empty()) {
            EXPECT_FALSE(told) << c.name;
            EXPECT_TRUE(standIns.noneStarted()) << c.name;
            continue;
        }
        EXPECT_TRUE(told) << c.name;
        const auto run = standIns.next();
        ASSERT_TRUE(run) << c.name;
        std::vector<std::string> command = {run->program};
        command.insert(command.end(), run->arguments.begin(), run->arguments.end());
        auto expected = c.command;
        for (std::string& part : expected) {
            if (part == "EXE") part = fs::canonical(gameFolder(prefix) / "QuellMoor.exe").string();
        }
        if (!command.empty()) command[0] = fs::path(command[0]).filename().string();
        EXPECT_EQ(command, expected) << c.name;
        EXPECT_EQ(run->folder, fs::canonical(gameFolder(prefix))) << c.name;
        EXPECT_EQ(run->winePrefix, c.winePrefix == "PREFIX" ? platform::pathToUtf8(prefix) : "")
            << c.name;
        EXPECT_EQ(run->gameId, c.gameId) << c.name;
        EXPECT_TRUE(standIns.noneStarted()) << c.name << ": one start only";
    }
}

// Steam knows a game it installed from its app manifest, though the registry
// holds no entry for it: never run, or its prefix reset.
TEST(LaunchOnLinux, SteamStartsAGameItKnowsWithoutARegistryEntry) {
    struct Case {
        const char* name;
        std::string manifest;  // appmanifest_4711.acf in the Flatpak Steam's library
        bool proton;           // the game's Proton prefix is there, without the game's key
        std::vector<std::string> command;  // none: refused with the registry's words
    };
    const std::string flatpak[] = {"flatpak", "run", "com.valvesoftware.Steam"};
    const auto applaunch = [&] {
        std::vector<std::string> command(std::begin(flatpak), std::end(flatpak));
        command.insert(command.end(), {"-applaunch", "4711", "-nologos"});
        return command;
    };
    const Case cases[] = {
        {"installed, never run: no prefix at all",
         "\"AppState\"\n{\n\t\"appid\"\t\t\"4711\"\n\t\"name\"\t\t\"Quell Moor\"\n"
         "\t\"installdir\"\t\t\"Quell Moor\"\n}\n",
         false, applaunch()},
        {"its prefix reset: the prefix's own app, whatever the manifest calls it",
         "\"AppState\" { \"appid\" \"4711\" \"name\" \"QM Remaster\" \"installdir\" \"quell moor\" "
         "}",
         true, applaunch()},
        {"a manifest whose folder is a path out of the library",
         "\"AppState\" { \"appid\" \"4711\" \"name\" \"Quell Moor\" \"installdir\" \"../x\" }",
         false,
         {}},
    };
    for (const Case& c : cases) {
        FixtureHome h;
        StandIns standIns;
        const fs::path steamapps = h.flatpakSteam() / "steamapps";
        writeBytes(steamapps / "appmanifest_4711.acf", c.manifest);
        writeBytes(steamapps / "common/Quell Moor/QuellMoor.exe", "MZ");
        if (c.proton) {
            quorvik::testing::makePrefix(h.protonPrefix(h.flatpakSteam(), "4711"), GameKey::None);
            quorvik::testing::makeSettings(h.protonPrefix(h.flatpakSteam(), "4711"));
        }
        std::ostringstream report;
        platform::posix::PosixSystem system(h.search(), &report);
        const auto told = launchGame(system, std::nullopt);
        if (c.command.empty()) {
            EXPECT_NE(toldText(told).find("registry entry"), std::string::npos) << c.name;
            EXPECT_TRUE(standIns.noneStarted()) << c.name;
            continue;
        }
        ASSERT_TRUE(told) << c.name << ": " << toldText(told);
        const auto run = standIns.next();
        ASSERT_TRUE(run) << c.name;
        std::vector<std::string> command = {fs::path(run->program).filename().string()};
        command.insert(command.end(), run->arguments.begin(), run->arguments.end());
        EXPECT_EQ(command, c.command) << c.name;
        EXPECT_EQ(run->folder, fs::canonical(steamapps / "common/Quell Moor")) << c.name;
    }
}

}  // namespace
}  // namespace quorvik::launch
