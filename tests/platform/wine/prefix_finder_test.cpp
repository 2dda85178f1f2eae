// Finding the game's prefix in home folders laid out as Wine, Steam (native,
// Flatpak, Snap), Lutris, Heroic and Bottles leave them.

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

fs::path real(const fs::path& path) {
    return path.empty() ? path : fs::weakly_canonical(path);
}

using Described = std::tuple<fs::path, PrefixOwner, std::string, SteamInstall, fs::path>;
Described described(const WinePrefix& p) {
    return {real(p.root), p.owner, p.steamAppId, p.steam, p.wineBuild};
}

TEST(PrefixFinder, CandidatesComeInOrderAndEachOnce) {
    FixtureHome h;
    const fs::path second = h.dir / "libs/second";
    const fs::path lutrisPrefix = h.dir / "games/lutris-qm";
    const fs::path heroicFolder = h.dir / "games/heroic-qm";
    makePrefix(h.home / ".wine", GameKey::None);
    for (const char* app : {"100", "20", "3"}) {
        makePrefix(h.protonPrefix(h.nativeSteam(), app), GameKey::None);
    }
    fs::create_directories(h.nativeSteam() / "steamapps/compatdata/999");  // no pfx
    fs::create_directories(h.nativeSteam() / "steamapps/compatdata/tmp/pfx");
    fs::create_directories(h.home / ".steam");
    fs::create_directory_symlink("../.local/share/Steam", h.home / ".steam/steam");
    fs::create_directory_symlink("../.local/share/Steam", h.home / ".steam/root");
    h.listLibraries(h.nativeSteam(), {h.nativeSteam(), second});
    makePrefix(second / "SteamApps/compatdata/555/pfx", GameKey::None);
    makePrefix(h.protonPrefix(h.flatpakSteam(), "777"), GameKey::None);
    writeBytes(h.flatpakSteam() / "steamapps/libraryfolders.vdf",
               oldLibraryFoldersVdf({second, h.dir / "libs/missing"}));
    makePrefix(h.protonPrefix(h.snapSteam(), "888"), GameKey::None);
    makePrefix(lutrisPrefix, GameKey::None);
    h.lutrisGame("quell-moor.yml", lutrisPrefix, "lutris-7.2-x86_64");
    h.lutrisGame("a-wine.yml", h.home / ".wine", "system");
    makePrefix(heroicFolder / "pfx", GameKey::None);
    h.heroicGame("QuellMoorApp.json", heroicFolder, h.dir / "tools/GE-Proton8/proton", "proton");
    const fs::path bottle = h.bottle("Quell Moor", "soda-7.0-9");

    const auto steam = [](const fs::path& library, const char* app, SteamInstall install) {
        return Described{
            real(library / "compatdata" / app / "pfx"), PrefixOwner::Steam, app, install, {}};
    };
    const std::vector<Described> expected = {
        {real(h.home / ".wine"), PrefixOwner::Lutris, "", SteamInstall::Unknown, {}},
        steam(h.nativeSteam() / "steamapps", "3", SteamInstall::Native),
        steam(h.nativeSteam() / "steamapps", "20", SteamInstall::Native),
        steam(h.nativeSteam() / "steamapps", "100", SteamInstall::Native),
        steam(second / "SteamApps", "555", SteamInstall::Native),
        steam(h.flatpakSteam() / "steamapps", "777", SteamInstall::Flatpak),
        steam(h.snapSteam() / "steamapps", "888", SteamInstall::Snap),
        {real(lutrisPrefix), PrefixOwner::Lutris, "", SteamInstall::Unknown,
         h.home / ".local/share/lutris/runners/wine/lutris-7.2-x86_64/bin/wine"},
        {real(heroicFolder / "pfx"), PrefixOwner::Heroic, "", SteamInstall::Unknown,
         h.dir / "tools/GE-Proton8/files/bin/wine"},
        {real(bottle), PrefixOwner::Bottles, "", SteamInstall::Unknown,
         h.home / ".local/share/bottles/runners/soda-7.0-9/bin/wine"},
    };
    std::vector<Described> found;
    for (const PrefixCandidate& c : candidatePrefixes(h.search(), posix::readFile)) {
        found.push_back(described(c.prefix));
    }
    EXPECT_EQ(found, expected);
}

TEST(PrefixFinder, TheChoiceAndWhy) {
    using Build = std::function<fs::path(FixtureHome&)>;  // returns the prefix to be chosen
    struct Case {
        const char* name;
        Build build;
        std::string reason;
    };
    const auto proton = [](FixtureHome& h, const fs::path& root, const char* app, GameKey key) {
        makePrefix(h.protonPrefix(root, app), key);
        return h.protonPrefix(root, app);
    };
    const Case cases[] = {
        {"the key in a second library only, in the 32-bit view",
         [&](FixtureHome& h) {
             proton(h, h.nativeSteam(), "3", GameKey::None);
             h.listLibraries(h.nativeSteam(), {h.dir / "second"});
             return proton(h, h.dir / "second", "555", GameKey::Wow6432Node);
         },
         "it holds the game's registry key; no other of the 2 prefixes searched holds the key"},
        {"the settings folder beats a ~/.wine with the key used later",
         [&](FixtureHome& h) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             const fs::path live = proton(h, h.nativeSteam(), "20", GameKey::Plain);
             makeSettings(live);
             age(live, 48h);
             return live;
         },
         "it holds the game's registry key and its settings folder; the other 1 prefix with "
         "the key has no settings folder"},
        {"the settings folder in other spellings",
         [&](FixtureHome& h) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             const fs::path live = proton(h, h.snapSteam(), "20", GameKey::Plain);
             makeSettings(live, "steamuser", "quell moor/OUT/settings");
             age(live, 48h);
             return live;
         },
         "it holds the game's registry key and its settings folder; the other 1 prefix with "
         "the key has no settings folder"},
        {"both with the settings: the one whose Proton lock is newest",
         [&](FixtureHome& h) {
             for (const char* app : {"3", "20"}) {
                 makeSettings(proton(h, h.nativeSteam(), app, GameKey::Plain));
                 age(h.protonPrefix(h.nativeSteam(), app), 48h);
             }
             writeBytes(h.nativeSteam() / "steamapps/compatdata/20/pfx.lock", "");
             return h.protonPrefix(h.nativeSteam(), "20");
         },
         "it holds the game's registry key and its settings folder; of the 2 that do, it was "
         "used last"},
        {"neither with the settings: the one used last",
         [&](FixtureHome& h) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             age(h.home / ".wine", 2h);
             makePrefix(h.dir / "lutris-qm", GameKey::Plain);
             h.lutrisGame("quell-moor.yml", h.dir / "lutris-qm", "lutris-7.2");
             return h.dir / "lutris-qm";
         },
         "it holds the game's registry key; of the 2 that do, it was used last"},
        {"no key anywhere: the settings folder shows the prefix",
         [&](FixtureHome& h) {
             makePrefix(h.home / ".wine", GameKey::None);
             const fs::path bottle = h.bottle("Quell Moor", "sys-wine-9.0");
             makePrefix(bottle, GameKey::None);
             makeSettings(bottle, "jane");
             return bottle;
         },
         "no prefix holds the game's registry key, and this one holds its settings folder"},
        {"neither key nor settings",
         [&](FixtureHome& h) {
             makePrefix(h.home / ".wine", GameKey::None);
             proton(h, h.nativeSteam(), "3", GameKey::None);
             return fs::path();
         },
         "none of the 2 prefixes searched holds the game's registry key or its settings folder"},
        {"no prefix at all", [](FixtureHome&) { return fs::path(); }, "no Wine prefix was found"},
    };
    for (const Case& c : cases) {
        FixtureHome h;
        const fs::path expected = c.build(h);
        const PrefixChoice choice = choosePrefix(h.search(), posix::readFile);
        EXPECT_EQ(choice.reason, c.reason) << c.name;
        EXPECT_EQ(choice.chosen ? real(choice.chosen->prefix.root) : fs::path(), real(expected))
            << c.name;
        if (!choice.chosen) {
            EXPECT_EQ(choice.searched.front(), pathToUtf8(h.home / ".wine")) << c.name;
        }
    }
}

TEST(PrefixFinder, ANamedPrefixIsTakenAloneAndStartedByItsLauncher) {
    struct Case {
        const char* name;
        std::function<void(FixtureHome&, PrefixSearch&)> name_it;
        Described expected;  // paths relative to the temporary folder
        std::string reason;
    };
    const Case cases[] = {
        {"--prefix over $WINEPREFIX, though without the key",
         [](FixtureHome& h, PrefixSearch& s) {
             makePrefix(h.home / ".wine", GameKey::Plain);
             makePrefix(h.dir / "custom", GameKey::None);
             s.chosenPrefix = h.dir / "custom";
             s.winePrefix = h.home / ".wine";
         },
         {"custom", PrefixOwner::Wine, "", SteamInstall::Unknown, {}},
         "given with --prefix; it does not hold the game's registry key"},
        {"$WINEPREFIX naming Lutris' prefix",
         [](FixtureHome& h, PrefixSearch& s) {
             makePrefix(h.dir / "lutris-qm", GameKey::Plain);
             h.lutrisGame("quell-moor.yml", h.dir / "lutris-qm", "lutris-7.2");
             s.winePrefix = h.dir / "lutris-qm";
         },
         {"lutris-qm", PrefixOwner::Lutris, "", SteamInstall::Unknown,
          "home/.local/share/lutris/runners/wine/lutris-7.2/bin/wine"},
         "named by $WINEPREFIX"},
        {"a compatdata folder in Flatpak Steam's second library",
         [](FixtureHome& h, PrefixSearch& s) {
             h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), h.dir / "drive2"});
             makePrefix(h.protonPrefix(h.dir / "drive2", "4711"), GameKey::Plain);
             s.chosenPrefix = h.dir / "drive2/steamapps/compatdata/4711";
         },
         {"drive2/steamapps/compatdata/4711/pfx",
          PrefixOwner::Steam,
          "4711",
          SteamInstall::Flatpak,
          {}},
         "given with --prefix"},
        {"a Proton prefix of a Steam not found here",
         [](FixtureHome& h, PrefixSearch& s) {
             makePrefix(h.protonPrefix(h.dir / "lib", "4711"), GameKey::Plain);
             s.chosenPrefix = h.protonPrefix(h.dir / "lib", "4711");
         },
         {"lib/steamapps/compatdata/4711/pfx",
          PrefixOwner::Steam,
          "4711",
          SteamInstall::Unknown,
          {}},
         "given with --prefix"},
        {"no such folder",
         [](FixtureHome& h, PrefixSearch& s) { s.chosenPrefix = h.dir / "typo"; },
         {"typo", PrefixOwner::Wine, "", SteamInstall::Unknown, {}},
         "given with --prefix; there is no such folder"},
    };
    for (const Case& c : cases) {
        FixtureHome h;
        PrefixSearch search = h.search();
        c.name_it(h, search);
        const PrefixChoice choice = choosePrefix(search, posix::readFile);
        ASSERT_TRUE(choice.chosen) << c.name;
        auto expected = c.expected;
        std::get<0>(expected) = real(h.dir.path() / std::get<0>(expected));
        if (!std::get<4>(expected).empty())
            std::get<4>(expected) = h.dir.path() / std::get<4>(expected);
        EXPECT_EQ(described(choice.chosen->prefix), expected) << c.name;
        EXPECT_EQ(choice.reason, c.reason) << c.name;
        EXPECT_EQ(choice.searched.size(), 1u) << c.name;
    }
}

}  // namespace
}  // namespace quorvik::platform::wine
