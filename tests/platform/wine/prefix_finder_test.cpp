// Finding the game's prefix in home folders laid out as Wine, Steam (native,
// Flatpak, Snap), Lutris, Heroic and Bottles leave them: which prefix is
// chosen, how its launcher starts it, and why.

#include "platform/wine/prefix_finder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <tuple>

#include "platform/paths.h"
#include "platform/posix/posix_files.h"
#include "support/prefix_fixture.h"

namespace quorvik::platform::wine {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using quorvik::testing::age;
using quorvik::testing::FixtureHome;
using quorvik::testing::GameKey;
using quorvik::testing::makePrefix;
using quorvik::testing::makeSettings;
using quorvik::testing::oldLibraryFoldersVdf;
using quorvik::testing::writeBytes;

// Root, owner, app id, how the launcher is installed, and its games there:
// "id|slug|store|folder|-nologos" each, the folder under the temporary folder.
using Described = std::tuple<fs::path, PrefixOwner, std::string, LauncherInstall, std::string>;

fs::path real(const fs::path& path) {
    return path.empty() ? path : fs::weakly_canonical(path);
}

std::string games(const WinePrefix& prefix, const fs::path& dir) {
    std::string text;
    for (const LauncherGame& g : prefix.games) {
        const fs::path folder = g.folder.empty() ? g.folder : real(g.folder).lexically_relative(real(dir));
        text += (text.empty() ? "" : ", ") + g.id + "|" + g.slug + "|" + g.store + "|" +
                folder.string() + "|" + (g.noIntro ? "1" : "0");
    }
    return text;
}

// A game installed in a prefix the way its installer leaves it; returns its folder.
fs::path installIn(const fs::path& prefix, GameKey key = GameKey::Plain) {
    makePrefix(prefix, key);
    const fs::path folder = prefix / "drive_c/Games/Quell Moor";
    writeBytes(folder / "QuellMoor.exe", "MZ");
    return folder;
}

fs::path proton(const fs::path& library, const char* app, GameKey key) {
    makePrefix(FixtureHome::protonPrefix(library, app), key);
    return FixtureHome::protonPrefix(library, app);
}

TEST(PrefixFinder, TheChoiceHowItsLauncherStartsItAndWhy) {
    constexpr auto kWine = PrefixOwner::Wine;
    constexpr auto kSteam = PrefixOwner::Steam;
    constexpr auto kNoSteam = LauncherInstall::Unknown;
    constexpr auto kNative = LauncherInstall::Native;
    constexpr auto kFlatpak = LauncherInstall::Flatpak;
    using LI = LauncherInstall;
    constexpr const char* kOnlyOne =
        "it holds the game's registry key; no other of the 2 prefixes "
        "searched holds the key";
    constexpr const char* kSettingsWin =
        "it holds the game's registry key and its settings folder; "
        "the other 1 prefix with the key has no settings folder";
    struct Case {
        const char* name;
        std::function<void(FixtureHome&, PrefixSearch&)> build;
        Described expected;  // paths under the temporary folder; no root: none chosen
        std::string reason;
        std::size_t searched;
    };
    const Case cases[] = {
        {"a second library of the native Steam, the key in the 32-bit view",
         [](FixtureHome& h, PrefixSearch&) {
             proton(h.nativeSteam(), "3", GameKey::None);
             fs::create_directories(h.nativeSteam() / "steamapps/compatdata/999");  // no pfx
             fs::create_directories(h.nativeSteam() / "steamapps/compatdata/tmp/pfx");
             fs::create_directories(h.home / ".steam");  // the same root, twice more
             fs::create_directory_symlink("../.local/share/Steam", h.home / ".steam/steam");
             fs::create_directory_symlink("../.local/share/Steam", h.home / ".steam/root");
             h.listLibraries(h.nativeSteam(), {h.nativeSteam(), h.dir / "second"});
             makePrefix(h.dir / "second/SteamApps/compatdata/555/pfx", GameKey::Wow6432Node);
         },
         {"second/SteamApps/compatdata/555/pfx", kSteam, "555", LI::Native, {}},
         kOnlyOne,
         2},
        {"a library on another drive, listed by Flatpak Steam in the old layout",
         [](FixtureHome& h, PrefixSearch&) {
             proton(h.flatpakSteam(), "3", GameKey::None);
             writeBytes(h.flatpakSteam() / "steamapps/libraryfolders.vdf",
                        oldLibraryFoldersVdf({h.dir / "drive2", h.dir / "missing"}));
             proton(h.dir / "drive2", "4711", GameKey::Plain);
         },
         {"drive2/steamapps/compatdata/4711/pfx", kSteam, "4711", LI::Flatpak, {}},
         kOnlyOne,
         2},
        {"Snap Steam's prefix with the settings, spelt otherwise, beats a newer ~/.wine",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             const fs::path live = proton(h.snapSteam(), "20", GameKey::Plain);
             makeSettings(live, "steamuser", "quell moor/OUT/settings");
             age(live, 48h);
         },
         {"home/snap/steam/common/.local/share/Steam/steamapps/compatdata/20/pfx",
          kSteam,
          "20",
          LI::Snap,
          {}},
         kSettingsWin,
         2},
        {"both with the settings: the newer Proton lock",
         [](FixtureHome& h, PrefixSearch&) {
             for (const char* app : {"3", "20"}) {
                 makeSettings(proton(h.nativeSteam(), app, GameKey::Plain));
                 age(h.protonPrefix(h.nativeSteam(), app), 48h);
             }
             writeBytes(h.nativeSteam() / "steamapps/compatdata/20/pfx.lock", "");
         },
         {"home/.local/share/Steam/steamapps/compatdata/20/pfx", kSteam, "20", LI::Native, {}},
         "it holds the game's registry key and its settings folder; of the 2 that do, it was "
         "used last",
         2},
        {"neither with the settings: Lutris' prefix, used last; its id from pga.db",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             age(h.home / ".wine", 2h);
             const fs::path game = installIn(h.dir / "lq");
             h.lutrisGame(h.lutrisData(), "quell-moor-1700000000", h.dir / "lq",
                          game / "QuellMoor.exe", "-nologos -windowed");
             h.lutrisDatabase(h.lutrisData(), {{"12", "quell-moor", "", "quell-moor-1700000000"},
                                               {"13", "other", "", "other-1"}});
         },
         {"lq", PrefixOwner::Lutris, "", kNative, "12|quell-moor||lq/drive_c/Games/Quell Moor|1"},
         "it holds the game's registry key; of the 2 that do, it was used last",
         2},
        {"a Lutris config without a prefix: the one its executable lies in",
         [](FixtureHome& h, PrefixSearch&) {
             const fs::path game = installIn(h.dir / "Games/quell-moor");
             h.lutrisGame(h.lutrisData(), "quell-moor-1", {}, game / "QuellMoor.exe");
         },
         {"Games/quell-moor", PrefixOwner::Lutris, "", kNative,
          "|quell-moor||Games/quell-moor/drive_c/Games/Quell Moor|0"},
         "it holds the game's registry key",
         1},
        {"Lutris' Flatpak, a relative executable in the game's folder of pga.db",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.dir / "lq/pfx");
             h.lutrisGame(h.lutrisData(true), "quell-moor-2", h.dir / "lq",
                          "pfx/drive_c/Games/Quell Moor/QuellMoor.exe");
             h.lutrisDatabase(h.lutrisData(true),
                              {{"4", "quell-moor", (h.dir / "lq").string(), "quell-moor-2"}});
         },
         {"lq/pfx", PrefixOwner::Lutris, "", kFlatpak,
          "4|quell-moor||lq/pfx/drive_c/Games/Quell Moor|0"},
         "it holds the game's registry key",
         1},
        {"$XDG_DATA_HOME: Lutris and Bottles keep their data there",
         [](FixtureHome& h, PrefixSearch& s) {
             s.dataHome = h.dir / "data";
             const fs::path game = installIn(h.dir / "lq");
             h.lutrisGame(h.dir / "data/lutris", "quell-moor-3", h.dir / "lq", game / "QuellMoor.exe");
             makePrefix(h.bottle("Other", "soda", h.dir / "data/bottles/bottles"), GameKey::None);
         },
         {"lq", PrefixOwner::Lutris, "", kNative, "|quell-moor||lq/drive_c/Games/Quell Moor|0"},
         "it holds the game's registry key; no other of the 2 prefixes searched holds the key",
         2},
        {"Heroic with GE-Proton: the prefix inside, the GOG store and title",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.dir / "hq/pfx");
             h.heroicGame(h.heroicConfig(), "1207658930", h.dir / "hq");
             h.heroicInstalled(h.heroicConfig(), "gog", "1207658930", "Quell Moor",
                               h.dir / "hq/pfx/drive_c/Games/Quell Moor");
         },
         {"hq/pfx", PrefixOwner::Heroic, "", kNative,
          "1207658930||gog|hq/pfx/drive_c/Games/Quell Moor|0"},
         "it holds the game's registry key",
         1},
        {"Heroic's prefix named after a game with none of its own",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.home / "Games/Heroic/Prefixes/default/Quell Moor Directors Cut");
             // As newer Heroic writes it: the shared prefix is the folder of prefixes.
             h.heroicDefaults(h.heroicConfig(), h.home / "Games/Heroic/Prefixes/default",
                              h.home / "Games/Heroic/Prefixes/default");
             h.heroicGame(h.heroicConfig(), "Quail", {}, "-nologos");
             h.heroicInstalled(h.heroicConfig(), "legendary", "Quail",
                               "Quell Moor: Director's Cut", h.home / "Games/Heroic/QM");
             makePrefix(h.home / "Games/Heroic/Prefixes/default/Other Game", GameKey::None);
         },
         {"home/Games/Heroic/Prefixes/default/Quell Moor Directors Cut", PrefixOwner::Heroic, "",
          kNative, "Quail||legendary|home/Games/Heroic/QM|1"},
         "it holds the game's registry key; no other of the 2 prefixes searched holds the key",
         2},
        {"Heroic's Flatpak: the prefix its config.json shares between games, an Amazon game",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.dir / "shared");
             h.heroicDefaults(h.heroicConfig(true), h.dir / "shared", h.dir / "per-game");
             h.heroicGame(h.heroicConfig(true), "amzn1.adg", {});
             h.heroicInstalled(h.heroicConfig(true), "nile", "amzn1.adg", "", h.dir / "QM");
         },
         {"shared", PrefixOwner::Heroic, "", kFlatpak, "amzn1.adg||nile|QM|0"},
         "it holds the game's registry key",
         1},
        {"Heroic's Amazon game in the prefix named after its title from the library cache",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.home / "Games/Heroic/Prefixes/default/Quell Moor");
             h.heroicGame(h.heroicConfig(), "amzn1.adg", {});
             h.heroicInstalled(h.heroicConfig(), "nile", "amzn1.adg", "Quell Moor",
                               h.home / "Games/Heroic/QM");
         },
         {"home/Games/Heroic/Prefixes/default/Quell Moor", PrefixOwner::Heroic, "", kNative,
          "amzn1.adg||nile|home/Games/Heroic/QM|0"},
         "it holds the game's registry key",
         1},
        {"newer Heroic: the games' prefixes in the folder of defaultWinePrefixDir",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.dir / "prefixes/Quell Moor");
             h.heroicDefaults(h.heroicConfig(), {}, h.home / "Games/Heroic/Prefixes/default",
                              h.dir / "prefixes");
             h.heroicGame(h.heroicConfig(), "Quail", {});
             h.heroicInstalled(h.heroicConfig(), "legendary", "Quail", "Quell Moor",
                               h.home / "Games/Heroic/QM");
         },
         {"prefixes/Quell Moor", PrefixOwner::Heroic, "", kNative,
          "Quail||legendary|home/Games/Heroic/QM|0"},
         "it holds the game's registry key",
         1},
        {"$XDG_CONFIG_HOME: Heroic's config there, a sideloaded game",
         [](FixtureHome& h, PrefixSearch& s) {
             s.configHome = h.dir / "config";
             const fs::path game = installIn(h.dir / "hq");
             h.heroicGame(h.dir / "config/heroic", "xQ3", h.dir / "hq");
             h.heroicInstalled(h.dir / "config/heroic", "sideload", "xQ3", "QM", game);
         },
         {"hq", PrefixOwner::Heroic, "", kNative, "xQ3||sideload|hq/drive_c/Games/Quell Moor|0"},
         "it holds the game's registry key",
         1},
        {"no key anywhere: a bottle's settings folder shows the prefix",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::None);
             const fs::path bottle = h.bottle("Quell Moor", "sys-wine-9.0");
             makePrefix(bottle, GameKey::None);
             makeSettings(bottle, "jane");
         },
         {"home/.local/share/bottles/bottles/Quell Moor-folder", PrefixOwner::Bottles, "", kNative,
          "Quell Moor|||home/.local/share/bottles/bottles/Quell Moor-folder|0"},
         "no prefix holds the game's registry key, and this one holds its settings folder",
         2},
        {"a prefix whose game was deleted gives way to one that holds it, though used before",
         [](FixtureHome& h, PrefixSearch&) {
             constexpr const char* kExePath = "C:\\Games\\Quell Moor\\QuellMoor.exe";
             makePrefix(h.home / ".wine", GameKey::Plain, kExePath);
             makeSettings(h.home / ".wine");
             const fs::path bottle = h.bottle("Quell Moor", "soda-7.0-9");
             makePrefix(bottle, GameKey::Plain, kExePath);
             writeBytes(bottle / "drive_c/games/quell moor/QuellMoor.exe", "MZ");
             makeSettings(bottle);
             age(bottle, 48h);
         },
         {"home/.local/share/bottles/bottles/Quell Moor-folder", PrefixOwner::Bottles, "", kNative,
          "Quell Moor|||home/.local/share/bottles/bottles/Quell Moor-folder|0"},
         "it holds the game's registry key and its settings folder; the program its key names "
         "is gone from the other 1 prefix with the key",
         2},
        {"Bottles' own bottles folder, and its placeholder for a bottle kept there",
         [](FixtureHome& h, PrefixSearch&) {
             writeBytes(h.bottlesData(true) / "data.yml",
                        "custom_bottles_path: " + (h.dir / "mine").string() + "\n");
             const fs::path bottle = h.bottle("QM", "soda-7.0-9", h.dir / "mine");
             installIn(bottle);
             writeBytes(h.bottlesData(true) / "bottles/QM/placeholder.yml",
                        "Path: " + bottle.string() + "\n");
             fs::create_directories(h.bottlesData(true) / "bottles/not a bottle");
         },
         {"mine/QM-folder", PrefixOwner::Bottles, "", kFlatpak, "QM|||mine/QM-folder|0"},
         "it holds the game's registry key",
         1},
        {"a game Bottles' Flatpak runs through umu, in a prefix of Bottles' own",
         [](FixtureHome& h, PrefixSearch&) {
             const fs::path umu = h.bottlesData(true) / "umu";
             const fs::path game = installIn(umu / "prefixes/be3b1681");
             writeBytes(umu / "games/be3b1681/game.yml",
                        "schema_version: 1\nid: be3b1681-1d56-4ea6-bafe-dd4510757359\n"
                        "name: Quell Moor\nexecutable: " +
                            (game / "QuellMoor.exe").string() +
                            "\nprefix:\n  path: prefixes/be3b1681\n  managed: true\n"
                            "proton: GE-Proton9-27\nstate: ready\ngame_id: umu-1234\nstore: gog\n"
                            "arguments: [-nologos]\n");
         },
         {"home/.var/app/com.usebottles.bottles/data/bottles/umu/prefixes/be3b1681",
          PrefixOwner::Umu, "", kFlatpak,
          "umu-1234||gog|home/.var/app/com.usebottles.bottles/data/bottles/umu/prefixes/be3b1681/"
          "drive_c/Games/Quell Moor|1"},
         "it holds the game's registry key",
         1},
        {"umu's default prefix",
         [](FixtureHome& h, PrefixSearch&) { installIn(h.home / "Games/umu/umu-default"); },
         {"home/Games/umu/umu-default", PrefixOwner::Umu, "", kNative, "umu-default||||0"},
         "it holds the game's registry key",
         1},
        {"~/.wine, named by a Lutris config too: once, started by Lutris",
         [](FixtureHome& h, PrefixSearch&) {
             const fs::path game = installIn(h.home / ".wine");
             h.lutrisGame(h.lutrisData(), "quell-moor-4", h.home / ".wine", game / "QuellMoor.exe");
         },
         {"home/.wine", PrefixOwner::Lutris, "", kNative,
          "|quell-moor||home/.wine/drive_c/Games/Quell Moor|0"},
         "it holds the game's registry key",
         1},
        {"a library of config.vdf only, renamed since in letter case",
         [](FixtureHome& h, PrefixSearch&) {
             writeBytes(h.nativeSteam() / "config/config.vdf",
                        "\"InstallConfigStore\"\n{\n\t\"Software\"\n\t{\n\t\t\"Valve\"\n\t\t{\n"
                        "\t\t\t\"Steam\"\n\t\t\t{\n\t\t\t\t\"BaseInstallFolder_1\"\t\t\"" +
                            (h.dir / "Games/SteamLibrary").string() + "\"\n\t\t\t}\n\t\t}\n\t}\n}\n");
             proton(h.dir / "games/steamlibrary", "4711", GameKey::Plain);
         },
         {"games/steamlibrary/steamapps/compatdata/4711/pfx", kSteam, "4711", LI::Native, ""},
         "it holds the game's registry key",
         1},
        {"libraryfolders.vdf with a byte-order mark: its library beats a stale ~/.wine",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             age(h.home / ".wine", 48h);
             writeBytes(h.nativeSteam() / "steamapps/libraryfolders.vdf",
                        "\xEF\xBB\xBF" + quorvik::testing::libraryFoldersVdf({h.dir / "lib"}));
             makeSettings(proton(h.dir / "lib", "4711", GameKey::Plain));
         },
         {"lib/steamapps/compatdata/4711/pfx", kSteam, "4711", LI::Native, ""},
         "it holds the game's registry key and its settings folder; the other 1 prefix with the "
         "key has no settings folder",
         2},
        {"pipes in place of every launcher file are passed over",
         [](FixtureHome& h, PrefixSearch&) {
             installIn(h.home / ".wine");
             for (const fs::path& file :
                  {h.nativeSteam() / "steamapps/libraryfolders.vdf", h.nativeSteam() / "config/config.vdf",
                   h.lutrisData() / "games/quell-moor.yml", h.lutrisData() / "pga.db",
                   h.heroicConfig() / "config.json", h.heroicConfig() / "GamesConfig/x.json",
                   h.heroicConfig() / "gog_store/installed.json", h.bottlesData() / "data.yml",
                   h.bottlesData() / "bottles/b/bottle.yml"}) {
                 fs::create_directories(file.parent_path());
                 ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0) << file;
             }
         },
         {"home/.wine", kWine, "", kNoSteam, ""},
         "it holds the game's registry key",
         1},
        {"neither key nor settings",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::None);
             proton(h.nativeSteam(), "3", GameKey::None);
         },
         {},
         "none of the 2 prefixes searched holds the game's registry key or its settings folder",
         2},
        {"no prefix at all: the places looked in",
         [](FixtureHome&, PrefixSearch&) {},
         {},
         "no Wine prefix was found",
         19},
        {"--prefix over $WINEPREFIX, though without the key",
         [](FixtureHome& h, PrefixSearch& s) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             makePrefix(h.dir / "custom", GameKey::None);
             s.chosenPrefix = h.dir / "custom";
             s.winePrefix = h.home / ".wine";
         },
         {"custom", kWine, "", kNoSteam, {}},
         "given with --prefix; it does not hold the game's registry key",
         1},
        {"$WINEPREFIX left over for another game gives way to the game's prefix",
         [](FixtureHome& h, PrefixSearch& s) {
             makePrefix(h.dir / "other", GameKey::None);
             makePrefix(h.home / ".wine", GameKey::Plain);
             s.winePrefix = h.dir / "other";
         },
         {"home/.wine", kWine, "", kNoSteam, ""},
         "it holds the game's registry key; $WINEPREFIX names $DIR/other, which holds neither the "
         "game's registry key nor its settings folder, so it was "
         "passed over",
         2},
        {"$WINEPREFIX for another game, and the game nowhere",
         [](FixtureHome& h, PrefixSearch& s) {
             makePrefix(h.dir / "other", GameKey::None);
             s.winePrefix = h.dir / "other";
         },
         {"other", kWine, "", kNoSteam, ""},
         "named by $WINEPREFIX; it holds neither the game's registry key nor its settings folder; "
         "no Wine prefix was found",
         1},
        {"$WINEPREFIX naming a compatdata folder of Flatpak Steam",
         [](FixtureHome& h, PrefixSearch& s) {
             h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), h.dir / "drive2"});
             proton(h.dir / "drive2", "4711", GameKey::Plain);
             s.winePrefix = h.dir / "drive2/steamapps/compatdata/4711";
         },
         {"drive2/steamapps/compatdata/4711/pfx", kSteam, "4711", LI::Flatpak, {}},
         "named by $WINEPREFIX",
         1},
        {"--prefix naming a Proton prefix of a Steam not found here",
         [](FixtureHome& h, PrefixSearch& s) {
             s.chosenPrefix = proton(h.dir / "lib", "4711", GameKey::Plain);
         },
         {"lib/steamapps/compatdata/4711/pfx", kSteam, "4711", kNoSteam, {}},
         "given with --prefix",
         1},
        {"--prefix naming no folder",
         [](FixtureHome& h, PrefixSearch& s) { s.chosenPrefix = h.dir / "typo"; },
         {"typo", kWine, "", kNoSteam, {}},
         "given with --prefix; there is no such folder",
         1},
    };
    for (const Case& c : cases) {
        FixtureHome h;
        PrefixSearch search = h.search();
        c.build(h, search);
        const PrefixChoice choice = choosePrefix(search, posix::readFile);
        std::string reason = c.reason;
        if (const auto at = reason.find("$DIR"); at != std::string::npos) {
            reason.replace(at, 4, h.dir.path().string());
        }
        EXPECT_EQ(choice.reason, reason) << c.name;
        EXPECT_EQ(choice.searched.size(), c.searched) << c.name;
        auto [root, owner, appId, install, launched] = c.expected;
        if (root.empty()) {
            EXPECT_FALSE(choice.chosen) << c.name;
            continue;
        }
        ASSERT_TRUE(choice.chosen) << c.name;
        const WinePrefix& p = choice.chosen->prefix;
        EXPECT_EQ(Described(real(p.root), p.owner, p.steamAppId, p.install, games(p, h.dir.path())),
                  Described(real(h.dir.path() / root), owner, appId, install, launched))
            << c.name;
    }
}

}  // namespace
}  // namespace quorvik::platform::wine
