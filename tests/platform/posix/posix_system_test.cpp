#include "platform/posix/posix_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/general.h"
#include "platform/paths.h"
#include "platform/posix/posix_files.h"
#include "support/fake_dialogs.h"
#include "support/temp_dir.h"
#include "support/wine_test_process.h"

namespace quorvik::platform::posix {
namespace {

namespace General = quorvik::app::General;

using quorvik::testing::FakeDialogs;
using quorvik::testing::readBytes;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;

constexpr const char* kGame = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";

enum class GameKey { None, Plain, Wow6432Node };

// A prefix with a system.reg as Wine writes it, with or without the game's key.
void makePrefix(const fs::path& root, GameKey game, const std::string& version = "1.4.2") {
    std::string text =
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n"
        "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1796631078\n"
        "#time=1dd86228957f9b6\n\"CurrentVersion\"=\"6.1\"\n\n";
    if (game != GameKey::None) {
        text += game == GameKey::Plain ? "[Software\\\\Grenmark\\\\QuellMoor] 1796631078\n"
                                       : "[Software\\\\Wow6432Node\\\\Grenmark\\\\QuellMoor] 1\n";
        text += "#time=1dd8622899cfdb8\n\"Version\"=\"" + version + "\"\n";
    }
    writeBytes(root / "system.reg", text);
    fs::create_directories(root / "drive_c");
}

void writeUserReg(const fs::path& prefix, const std::string& personal) {
    writeBytes(
        prefix / "user.reg",
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
        "\n#arch=win64\n\n"
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
        "#time=1dd86228909005e\n\"Personal\"=\"" +
            personal + "\"\n");
}

fs::path real(const fs::path& path) {
    return fs::weakly_canonical(path);
}

// A home folder with Steam installed three ways and libraries outside it:
//   ~/.local/share/Steam               native root: compatdata 100, 20, 3 and 999 (no pfx)
//   ~/.steam/steam                     link to the native root
//   <tmp>/libs/second                  library listed by the native root, spelt SteamApps
//   ~/.var/app/.../data/Steam          Flatpak root, lists the second library again and a
//                                      missing third one (old layout)
struct SteamHome {
    TempDir dir;
    fs::path home = dir / "home";
    fs::path native = home / ".local/share/Steam";
    fs::path second = dir / "libs" / "second";
    fs::path flatpak = home / ".var/app/com.valvesoftware.Steam/data/Steam";

    SteamHome() {
        fs::create_directories(home / ".wine");
        for (const char* app : {"100", "20", "3"}) {
            makePrefix(native / "steamapps/compatdata" / app / "pfx", GameKey::None);
        }
        fs::create_directories(native / "steamapps/compatdata/999");
        writeBytes(native / "steamapps/libraryfolders.vdf",
                   "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + native.string() +
                       "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + second.string() +
                       "\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"555\"\t\t\"123\"\n\t\t}\n\t}\n}\n");
        fs::create_directories(home / ".steam");
        fs::create_directory_symlink("../.local/share/Steam", home / ".steam/steam");
        makePrefix(second / "SteamApps/compatdata/555/pfx", GameKey::None);
        makePrefix(flatpak / "steamapps/compatdata/777/pfx", GameKey::None);
        writeBytes(
            flatpak / "steamapps/libraryfolders.vdf",
            "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1698765432\"\n\t\"1\"\t\t\"" +
                second.string() + "\"\n\t\"2\"\t\t\"" + (dir / "libs/missing").string() +
                "\"\n}\n");
    }

    WineEnvironment environment(std::optional<fs::path> winePrefix = std::nullopt) const {
        return {winePrefix, home, "jane"};
    }
};

std::vector<std::pair<fs::path, std::string>> described(const std::vector<WinePrefix>& prefixes) {
    std::vector<std::pair<fs::path, std::string>> out;
    for (const WinePrefix& prefix : prefixes)
        out.emplace_back(real(prefix.root), prefix.steamAppId);
    return out;
}

TEST(PosixPrefixes, CandidatesComeInOrderAndEachOnce) {
    SteamHome steam;
    const auto pfx = [&](const fs::path& library, const char* folder, const char* app) {
        return std::pair<fs::path, std::string>(real(library / folder / "compatdata" / app / "pfx"),
                                                app);
    };
    const std::vector<std::pair<fs::path, std::string>> steamPrefixes = {
        pfx(steam.native, "steamapps", "3"),    pfx(steam.native, "steamapps", "20"),
        pfx(steam.native, "steamapps", "100"),  pfx(steam.second, "SteamApps", "555"),
        pfx(steam.flatpak, "steamapps", "777"),
    };

    auto expected = steamPrefixes;
    expected.insert(expected.begin(), {real(steam.home / ".wine"), ""});
    EXPECT_EQ(described(candidatePrefixes(steam.environment())), expected);

    expected = steamPrefixes;
    expected.insert(expected.begin(), {real(steam.dir / "custom"), ""});
    EXPECT_EQ(described(candidatePrefixes(steam.environment(steam.dir / "custom"))), expected)
        << "WINEPREFIX takes the place of ~/.wine";

    // WINEPREFIX naming a Proton prefix: listed first, once, with its app id.
    const auto proton = steam.native / "steamapps/compatdata/20/pfx";
    const auto found = described(candidatePrefixes(steam.environment(proton)));
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0], pfx(steam.native, "steamapps", "20"));

    EXPECT_TRUE(candidatePrefixes({std::nullopt, std::nullopt, "jane"}).empty());
}

TEST(PosixPrefixes, TheGamesPrefixIsTheFirstThatHoldsItsKey) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, GameKey>> installs;  // relative to the temp folder
        bool winePrefixSet;
        std::string expectedRoot;
        std::string expectedAppId;
    };
    const Case cases[] = {
        {"only in the second library (32-bit key)",
         {{"libs/second/SteamApps/compatdata/555/pfx", GameKey::Wow6432Node}},
         false,
         "libs/second/SteamApps/compatdata/555/pfx",
         "555"},
        {"64-bit key in the Flatpak root",
         {{"home/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/compatdata/777/pfx",
           GameKey::Plain}},
         false,
         "home/.var/app/com.valvesoftware.Steam/data/Steam/steamapps/compatdata/777/pfx",
         "777"},
        {"~/.wine comes first",
         {{"home/.wine", GameKey::Plain},
          {"libs/second/SteamApps/compatdata/555/pfx", GameKey::Plain}},
         false,
         "home/.wine",
         ""},
        {"WINEPREFIX without the game", {}, true, "custom", ""},
        {"nowhere", {}, false, "home/.wine", ""},
    };
    for (const Case& c : cases) {
        SteamHome steam;
        for (const auto& [where, key] : c.installs) makePrefix(steam.dir / where, key, c.name);
        const auto chosen = choosePrefix(steam.environment(
            c.winePrefixSet ? std::optional<fs::path>(steam.dir / "custom") : std::nullopt));
        ASSERT_TRUE(chosen) << c.name;
        EXPECT_EQ(real(chosen->prefix.root), real(steam.dir / c.expectedRoot)) << c.name;
        EXPECT_EQ(chosen->prefix.steamAppId, c.expectedAppId) << c.name;
        ASSERT_NE(chosen->registry, nullptr);
        EXPECT_EQ(real(chosen->registry->prefix()), real(chosen->prefix.root)) << c.name;
    }
}

TEST(PosixPrefixes, DocumentsFolderAsWineReportsIt) {
    enum class Link { None, Home, Nowhere };  // drive_c/users/jane/Documents as a link
    struct Case {
        const char* name;
        std::vector<const char*> folders;  // made under the prefix
        std::optional<std::string> personal;
        Link link;
        std::optional<std::string> expected;  // under the prefix; "HOME" for the linked home
    };
    const Case cases[] = {
        {"Personal from the registry",
         {"drive_c/users/jane/Documents", "drive_c/users/Jane Doe/Docs"},
         "C:\\\\users\\\\Jane Doe\\\\Docs",
         Link::None,
         "drive_c/users/Jane Doe/Docs"},
        {"Personal folder missing: the login's Documents",
         {"drive_c/users/jane/Documents"},
         "C:\\\\users\\\\gone\\\\Documents",
         Link::None,
         "drive_c/users/jane/Documents"},
        {"Personal not a drive path",
         {"drive_c/users/jane/Documents"},
         "%USERPROFILE%",
         Link::None,
         "drive_c/users/jane/Documents"},
        {"Proton's user",
         {"drive_c/users/steamuser/Documents"},
         std::nullopt,
         Link::None,
         "drive_c/users/steamuser/Documents"},
        {"older Wine",
         {"drive_c/users/jane/My Documents"},
         std::nullopt,
         Link::None,
         "drive_c/users/jane/My Documents"},
        {"Documents linked into the home folder",
         {},
         "C:\\\\users\\\\jane\\\\Documents",
         Link::Home,
         "HOME"},
        {"a link to nowhere is no folder",
         {"drive_c/users/Public/Documents"},
         std::nullopt,
         Link::Nowhere,
         std::nullopt},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path prefix = dir / "pfx";
        makePrefix(prefix, GameKey::None);
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
        for (const char* folder : c.folders) fs::create_directories(prefix / folder);
        if (c.personal) writeUserReg(prefix, *c.personal);
        fs::create_directories(dir / "home");
        fs::create_directories(prefix / "drive_c/users/jane");
        if (c.link != Link::None) {
            fs::create_directory_symlink(c.link == Link::Home ? dir / "home" : dir / "gone",
                                         prefix / "drive_c/users/jane/Documents");
        }

        wine::WineRegistry registry(prefix, readFile);
        const auto found = findDocumentsFolder(prefix, registry.user(), "jane");
        if (!c.expected) {
            EXPECT_EQ(found, std::nullopt) << c.name;
            continue;
        }
        const fs::path expected = *c.expected == "HOME" ? dir / "home" : prefix / *c.expected;
        ASSERT_TRUE(found) << c.name;
        EXPECT_EQ(*found, real(expected)) << c.name;
    }
}

TEST(PosixPrefixes, DrivePathsMapIntoThePrefix) {
    TempDir dir;
    const fs::path prefix = dir / "pfx";
    fs::create_directories(prefix / "drive_c/Games/Quell Moor");
    writeBytes(prefix / "drive_c/Games/Quell Moor/QuellMoor.exe", "");
    fs::create_directories(dir / "elsewhere");
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
    fs::create_directory_symlink(dir / "elsewhere", prefix / "dosdevices/d:");
    const fs::path c = prefix / "dosdevices/c:";

    struct Case {
        std::string input;
        fs::path expected;
    };
    const Case cases[] = {
        {"C:\\Games\\Quell Moor\\QuellMoor.exe", c / "Games/Quell Moor/QuellMoor.exe"},
        {"c:/Games/Quell Moor/QuellMoor.exe", c / "Games/Quell Moor/QuellMoor.exe"},
        {"C:\\GAMES\\quell moor\\quellmoor.EXE", c / "Games/Quell Moor/QuellMoor.exe"},
        {"C:\\Games\\\\Quell Moor\\.\\New File.scr", c / "Games/Quell Moor/New File.scr"},
        {"C:\\Games\\..\\Games", c / "Games/../Games"},
        {"C:", c},
        {"C:\\", c},
        {"D:\\Docs\\x.txt", prefix / "dosdevices/d:/Docs/x.txt"},
        {"Q:\\x", prefix / "dosdevices/q:/x"},
        {"/home/jane/Quell Moor/x.scr", "/home/jane/Quell Moor/x.scr"},
        {"relative\\x.scr", "relative\\x.scr"},
        {"C:relative", "C:relative"},
        {"\\\\server\\share\\x", "\\\\server\\share\\x"},
        {"1:\\x", "1:\\x"},
        {"", ""},
    };
    for (const Case& k : cases) EXPECT_EQ(mapWindowsPath(prefix, k.input), k.expected) << k.input;

    // Without the dosdevices link, C: is drive_c.
    fs::remove(prefix / "dosdevices/c:");
    EXPECT_EQ(mapWindowsPath(prefix, "C:\\Games"), prefix / "drive_c/Games");
}

TEST(PosixSystemWine, RegistryDocumentsAndPathsComeFromTheChosenPrefix) {
    SteamHome steam;
    const fs::path pfx = steam.second / "SteamApps/compatdata/555/pfx";
    makePrefix(pfx, GameKey::Wow6432Node);
    fs::create_directories(pfx / "drive_c/users/steamuser/Documents/QuellMoor");
    fs::create_directories(pfx / "drive_c/Games");
    fs::create_directories(pfx / "dosdevices");
    fs::create_directory_symlink("../drive_c", pfx / "dosdevices/c:");

    PosixSystem system(steam.environment());
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

    // The choice is kept: a game installed later elsewhere does not move it.
    makePrefix(steam.home / ".wine", GameKey::Plain, "9.9");
    EXPECT_EQ(real(system.winePrefix()->root), real(pfx));
}

TEST(PosixSystemWine, NoHomeAndNoWinePrefixMeansNoWindowsSide) {
    PosixSystem system(WineEnvironment{std::nullopt, std::nullopt, "jane"});
    FakeDialogs dialogs;
    std::string keyPath = kGame;
    EXPECT_EQ(General::ReadRegistryValue(system.registry(), dialogs, keyPath, "Version"), "Error");
    EXPECT_EQ(system.winePrefix(), std::nullopt);
    EXPECT_EQ(system.documentsFolder(), std::nullopt);
    EXPECT_EQ(system.nativePath("C:\\x"), fs::path("C:\\x"));
}

std::size_t crlfLines(const std::string& text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(lines));
    EXPECT_TRUE(text.ends_with("\r\n"));
    return lines;
}

TEST(PosixSystemWine, DemoPrefixHoldsAGameTheToolFinds) {
    const fs::path script =
        fs::path(__FILE__).parent_path().parent_path().parent_path() / "scripts/make-demo-prefix";
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

    WineEnvironment environment = processEnvironment();
    environment.winePrefix = prefix;
    environment.home = dir / "home";
    PosixSystem system(environment);
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
    ASSERT_TRUE(exe && isDrivePath(*exe)) << exe.value_or("(nothing)");
    EXPECT_TRUE(fs::is_regular_file(system.nativePath(*exe)));

    const auto documents = system.documentsFolder();
    ASSERT_TRUE(documents);
    const fs::path out = *documents / "QuellMoor/out";
    EXPECT_EQ(crlfLines(readBytes(out / "Settings/Video.scr")), 51u);
    EXPECT_EQ(crlfLines(readBytes(out / "Settings/Audio.scr")), 35u);
    EXPECT_TRUE(fs::is_empty(out / "Data/Scripts"));
    EXPECT_TRUE(fs::is_empty(out / "Data/Skills"));
}

}  // namespace
}  // namespace quorvik::platform::posix
