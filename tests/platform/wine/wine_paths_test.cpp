// Paths as Wine sees them: the Documents folder of a prefix, drive letters,
// and names that match without regard to case.

#include "platform/wine/wine_paths.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/posix/posix_files.h"
#include "support/prefix_fixture.h"
#include "support/temp_dir.h"

namespace quorvik::platform::wine {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::GameKey;
using quorvik::testing::makePrefix;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;

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

TEST(WinePaths, DocumentsFolderAsWineReportsIt) {
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
        for (const char* folder : c.folders) fs::create_directories(prefix / folder);
        if (c.personal) writeUserReg(prefix, *c.personal);
        fs::create_directories(dir / "home");
        fs::create_directories(prefix / "drive_c/users/jane");
        if (c.link != Link::None) {
            fs::create_directory_symlink(c.link == Link::Home ? dir / "home" : dir / "gone",
                                         prefix / "drive_c/users/jane/Documents");
        }

        WineRegistry registry(prefix, posix::readFile);
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

TEST(WinePaths, DrivePathsMapIntoThePrefix) {
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

TEST(WinePaths, NamesMatchWithoutRegardToCaseAsWineOpensThem) {
    TempDir dir;
    const fs::path root = dir / "docs";
    const fs::path settings = root / "quellmoor/out/settings";
    writeBytes(settings / "video.SCR", "");
    writeBytes(settings / "Audio.scr", "");  // two spellings: the exact one first
    writeBytes(settings / "AUDIO.SCR", "");
    fs::create_directories(root / "\xC3\xA9t\xC3\xA9");  // été

    struct Case {
        fs::path asked;
        fs::path expected;
    };
    const Case cases[] = {
        {root / "QUELLMOOR/OUT/SETTINGS/Video.scr", settings / "video.SCR"},
        {root / "QuellMoor/out/Settings", settings},
        {settings / "Audio.scr", settings / "Audio.scr"},
        {settings / "audio.scr", settings / "AUDIO.SCR"},  // the first in byte order
        {root / "QUELLMOOR/OUT/SETTINGS/../settings/Video.scr", settings / "../settings/video.SCR"},
        {settings / "New File.scr", settings / "New File.scr"},
        {root / "QuellMoor/gone/Settings", root / "quellmoor/gone/Settings"},
        {root / "\xC3\x89T\xC3\x89", root / "\xC3\xA9t\xC3\xA9"},  // ÉTÉ
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(resolveCase(c.asked), c.expected) << c.asked;
}

}  // namespace
}  // namespace quorvik::platform::wine
