#include "platform/posix/posix_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "app/general.h"
#include "platform/paths.h"
#include "platform/wine/wine_paths.h"
#include "support/fake_dialogs.h"
#include "support/prefix_fixture.h"
#include "support/temp_dir.h"
#include "support/wine_test_process.h"

namespace quorvik::platform::posix {
namespace {

namespace General = quorvik::app::General;

using quorvik::testing::FakeDialogs;
using quorvik::testing::FixtureHome;
using quorvik::testing::GameKey;
using quorvik::testing::makePrefix;
using quorvik::testing::readBytes;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;

constexpr const char* kGame = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";

fs::path real(const fs::path& path) {
    return fs::weakly_canonical(path);
}

TEST(PosixSystemWine, RegistryDocumentsAndPathsComeFromTheChosenPrefix) {
    // Found at once, or prepared first while start-up's question waits: the same.
    for (const bool prepared : {false, true}) {
        SCOPED_TRACE(prepared ? "prepared first" : "found when asked");
        FixtureHome h;
        const fs::path pfx = h.protonPrefix(h.dir / "second", "555");
        h.listLibraries(h.nativeSteam(), {h.dir / "second"});
        makePrefix(pfx, GameKey::Wow6432Node);
        fs::create_directories(pfx / "drive_c/users/steamuser/Documents/QuellMoor");
        fs::create_directories(pfx / "drive_c/Games");

        std::ostringstream report;
        PosixSystem system(h.search(), &report);
        if (prepared) system.prepare();
        EXPECT_EQ(report.str(), "") << "nothing is said before the choice is asked for";
        FakeDialogs dialogs;
        std::string keyPath = kGame;
        EXPECT_EQ(General::ReadRegistryValue(system.registry(), dialogs, keyPath, "Version",
                                             General::ViewPolicy::Prefer32Bit),
                  "1.4.2");
        ASSERT_TRUE(system.winePrefix());
        EXPECT_EQ(system.winePrefix()->steamAppId, "555");
        EXPECT_EQ(real(system.winePrefix()->root), real(pfx));
        EXPECT_EQ(system.documentsFolder(), real(pfx / "drive_c/users/steamuser/Documents"));
        EXPECT_EQ(real(system.nativePath("C:\\games\\QuellMoor.exe")),
                  real(pfx / "drive_c/Games/QuellMoor.exe"));
        EXPECT_EQ(system.nativePath("/tmp/x\\y"), fs::path("/tmp/x\\y"));
        EXPECT_EQ(report.str(), "Quorvik: the game's prefix is " + pathToUtf8(pfx) +
                                    " (Steam library " + pathToUtf8(h.dir / "second") +
                                    "): it holds the game's registry key\n");
        EXPECT_EQ(system.searchedPlaces(), std::vector<std::string>{pathToUtf8(pfx)});

        // The choice is kept: a game installed later elsewhere does not move it.
        makePrefix(h.home / ".wine", GameKey::Plain, "", "9.9");
        EXPECT_EQ(real(system.winePrefix()->root), real(pfx));
    }
}

TEST(PosixSystemWine, NoHomeAndNoWinePrefixMeansNoWindowsSide) {
    std::ostringstream report;
    PosixSystem system(wine::PrefixSearch{}, &report);
    FakeDialogs dialogs;
    std::string keyPath = kGame;
    EXPECT_EQ(General::ReadRegistryValue(system.registry(), dialogs, keyPath, "Version"), "Error");
    EXPECT_EQ(system.winePrefix(), std::nullopt);
    EXPECT_EQ(system.documentsFolder(), std::nullopt);
    EXPECT_EQ(system.nativePath("C:\\x"), fs::path("C:\\x"));
    EXPECT_EQ(report.str(), "Quorvik: no prefix for the game: no Wine prefix was found\n");
}

TEST(PosixSystemWine, FilesAreFoundAsWineFindsThemWhateverTheirCase) {
    TempDir dir;
    const fs::path settings = dir / "quellmoor/out/settings";
    writeBytes(settings / "video.scr", "old");
    fs::create_directories(dir / "quellmoor/out/data/scripts");
    const fs::path asked = dir / "QuellMoor/out/Settings";
    PosixSystem system(wine::PrefixSearch{}, nullptr);

    EXPECT_EQ(system.nativePath(pathToUtf8(asked)), settings);
    EXPECT_TRUE(system.fileExists(asked / "Video.scr"));
    EXPECT_TRUE(system.folderExists(asked / ".." / "Data" / "Scripts"));
    EXPECT_EQ(*system.readFile(asked / "VIDEO.SCR", 100), "old");
    ASSERT_TRUE(system.setReadOnly(asked / "Video.scr", true));
    ASSERT_TRUE(system.setReadOnly(asked / "Video.scr", false));
    ASSERT_TRUE(system.writeFile(asked / "Video.scr", "new"));
    ASSERT_TRUE(system.writeFile(asked / ".." / "Data" / "Scripts" / "varlist_dof.scr", "x"));
    EXPECT_EQ(readBytes(settings / "video.scr"), "new") << "the file in its own spelling";
    EXPECT_TRUE(fs::exists(dir / "quellmoor/out/data/scripts/varlist_dof.scr"));
    ASSERT_TRUE(system.deleteFile(asked / "Video.Scr"));
    EXPECT_FALSE(fs::exists(settings / "video.scr"));
    EXPECT_FALSE(fs::exists(dir / "QuellMoor")) << "no second folder in another spelling";
}

TEST(PosixSystemWine, DemoPrefixHoldsAGameTheToolFinds) {
    const fs::path script =
        fs::path(QUORVIK_TEST_DATA).parent_path().parent_path() / "scripts/make-demo-prefix";
    if (!fs::exists(script)) GTEST_SKIP() << "no demo script beside the sources";
    TempDir dir;
    const fs::path prefix = dir / "demo prefix";
    ASSERT_EQ(quorvik::testing::runProgram({script.string(), prefix.string()}, {},
                                           std::chrono::seconds(30)),
              0);
    EXPECT_NE(quorvik::testing::runProgram({script.string(), prefix.string()}, {},
                                           std::chrono::seconds(30)),
              0)
        << "a folder that is not empty is refused";

    wine::PrefixSearch search = processPrefixSearch(quorvik::testing::gameSignature());
    search.winePrefix = prefix;
    search.home = dir / "home";
    PosixSystem system(search, nullptr);
    FakeDialogs dialogs;
    const auto read = [&](const char* keyPath, const char* name) {
        std::string path = keyPath;
        return General::ReadRegistryValue(system.registry(), dialogs, path, name,
                                          General::ViewPolicy::Prefer32Bit);
    };
    EXPECT_EQ(read("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion",
                   "CurrentVersion"),
              "6.1");
    EXPECT_EQ(read(kGame, "Version"), "1.4.2");
    const auto exe = read(kGame, "Exe_Path");
    ASSERT_TRUE(exe && wine::isDrivePath(*exe)) << exe.value_or("(nothing)");
    EXPECT_TRUE(fs::is_regular_file(system.nativePath(*exe)));

    const auto documents = system.documentsFolder();
    ASSERT_TRUE(documents);
    const fs::path out = *documents / "QuellMoor/out";
    EXPECT_EQ(readBytes(out / "Settings/Video.scr"), quorvik::testing::dataBytes("Video.scr"));
    EXPECT_EQ(readBytes(out / "Settings/Audio.scr"), quorvik::testing::dataBytes("Audio.scr"));
    EXPECT_TRUE(fs::is_empty(out / "Data/Scripts"));
    EXPECT_TRUE(fs::is_empty(out / "Data/Skills"));
}

}  // namespace
}  // namespace quorvik::platform::posix
