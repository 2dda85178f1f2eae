// Finding the game's prefix in home folders laid out as Wine, Steam (native,
// Flatpak, Snap), Lutris, Heroic and Bottles leave them: which prefix is
// chosen, how its launcher starts it, and why.

#include "platform/wine/prefix_finder.h"

#include <gtest/gtest.h>

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

// Root, owner, app id, Steam, Wine build.
using Described = std::tuple<fs::path, PrefixOwner, std::string, SteamInstall, fs::path>;

fs::path real(const fs::path& path) {
    return path.empty() ? path : fs::weakly_canonical(path);
}

fs::path proton(const fs::path& library, const char* app, GameKey key) {
    makePrefix(FixtureHome::protonPrefix(library, app), key);
    return FixtureHome::protonPrefix(library, app);
}

TEST(PrefixFinder, TheChoiceHowItsLauncherStartsItAndWhy) {
    constexpr auto kWine = PrefixOwner::Wine;
    constexpr auto kSteam = PrefixOwner::Steam;
    constexpr auto kNoSteam = SteamInstall::Unknown;
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
         {"second/SteamApps/compatdata/555/pfx", kSteam, "555", SteamInstall::Native, {}},
         kOnlyOne,
         2},
        {"a library on another drive, listed by Flatpak Steam in the old layout",
         [](FixtureHome& h, PrefixSearch&) {
             proton(h.flatpakSteam(), "3", GameKey::None);
             writeBytes(h.flatpakSteam() / "steamapps/libraryfolders.vdf",
                        oldLibraryFoldersVdf({h.dir / "drive2", h.dir / "missing"}));
             proton(h.dir / "drive2", "4711", GameKey::Plain);
         },
         {"drive2/steamapps/compatdata/4711/pfx", kSteam, "4711", SteamInstall::Flatpak, {}},
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
          SteamInstall::Snap,
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
         {"home/.local/share/Steam/steamapps/compatdata/20/pfx",
          kSteam,
          "20",
          SteamInstall::Native,
          {}},
         "it holds the game's registry key and its settings folder; of the 2 that do, it was "
         "used last",
         2},
        {"neither with the settings: Lutris' prefix, used last",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             age(h.home / ".wine", 2h);
             makePrefix(h.dir / "lq", GameKey::Plain);
             h.lutrisGame("quell-moor.yml", h.dir / "lq", "lutris-7.2");
         },
         {"lq", PrefixOwner::Lutris, "", kNoSteam,
          "home/.local/share/lutris/runners/wine/lutris-7.2/bin/wine"},
         "it holds the game's registry key; of the 2 that do, it was used last",
         2},
        {"Heroic running the game with Proton: the prefix inside, Proton's own Wine",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.dir / "hq/pfx", GameKey::Plain);
             h.heroicGame("QuellMoor.json", h.dir / "hq", h.dir / "GE-Proton8/proton", "proton");
         },
         {"hq/pfx", PrefixOwner::Heroic, "", kNoSteam, "GE-Proton8/files/bin/wine"},
         "it holds the game's registry key",
         1},
        {"no key anywhere: a bottle's settings folder shows the prefix",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::None);
             const fs::path bottle = h.bottle("Quell Moor", "sys-wine-9.0");
             makePrefix(bottle, GameKey::None);
             makeSettings(bottle, "jane");
         },
         {"home/.local/share/bottles/bottles/Quell Moor", PrefixOwner::Bottles, "", kNoSteam, {}},
         "no prefix holds the game's registry key, and this one holds its settings folder",
         2},
        {"~/.wine, named by a Lutris config too: once, started with Lutris' Wine",
         [](FixtureHome& h, PrefixSearch&) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             h.lutrisGame("quell-moor.yml", h.home / ".wine", "wine-ge-8");
         },
         {"home/.wine", PrefixOwner::Lutris, "", kNoSteam,
          "home/.local/share/lutris/runners/wine/wine-ge-8/bin/wine"},
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
         17},
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
        {"$WINEPREFIX naming a compatdata folder of Flatpak Steam",
         [](FixtureHome& h, PrefixSearch& s) {
             h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), h.dir / "drive2"});
             proton(h.dir / "drive2", "4711", GameKey::Plain);
             s.winePrefix = h.dir / "drive2/steamapps/compatdata/4711";
         },
         {"drive2/steamapps/compatdata/4711/pfx", kSteam, "4711", SteamInstall::Flatpak, {}},
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
        EXPECT_EQ(choice.reason, c.reason) << c.name;
        EXPECT_EQ(choice.searched.size(), c.searched) << c.name;
        auto [root, owner, appId, steam, build] = c.expected;
        if (root.empty()) {
            EXPECT_FALSE(choice.chosen) << c.name;
            continue;
        }
        ASSERT_TRUE(choice.chosen) << c.name;
        const WinePrefix& p = choice.chosen->prefix;
        EXPECT_EQ(Described(real(p.root), p.owner, p.steamAppId, p.steam, p.wineBuild),
                  Described(real(h.dir.path() / root), owner, appId, steam,
                            build.empty() ? build : h.dir.path() / build))
            << c.name;
    }
}

}  // namespace
}  // namespace quorvik::platform::wine
