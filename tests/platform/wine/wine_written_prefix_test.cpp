// The registry reader against files Wine itself wrote: a fresh prefix, values
// added with Wine's own reg tool. Skipped where Wine is not installed.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/general.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_system.h"
#include "platform/wine/wine_paths.h"
#include "platform/wine/wine_registry.h"
#include "support/fake_dialogs.h"
#include "support/temp_dir.h"
#include "support/wine_test_process.h"

namespace quorvik::platform::wine {
namespace {

namespace General = quorvik::app::General;

namespace fs = std::filesystem;
using quorvik::testing::findOnPath;
using quorvik::testing::runProgram;

constexpr const char* kKey = "HKLM\\Software\\Grenmark\\QuellMoor";

TEST(WineWrittenPrefix, ReadsWhatWineWrote) {
    const auto wine = findOnPath("wine");
    const auto wineserver = findOnPath("wineserver");
    if (!wine || !wineserver) GTEST_SKIP() << "Wine is not installed";

    quorvik::testing::TempDir dir;
    const fs::path prefix = dir / "pfx";
    const fs::path home = dir / "home";
    fs::create_directories(home);
    const std::vector<std::pair<std::string, std::string>> environment = {
        {"WINEPREFIX", prefix.string()},
        {"WINEDEBUG", "-all"},
        {"WINEDLLOVERRIDES", "mscoree,mshtml="},  // no Mono or Gecko installer
        {"HOME", home.string()},
        {"LC_ALL", "C.UTF-8"},
        {"DISPLAY", ""},
        {"WAYLAND_DISPLAY", ""},
    };
    const auto stopServer = [&] {
        runProgram({wineserver->string(), "-k"}, environment, std::chrono::seconds(20));
    };

    const std::string long254 = std::string(253, 'a') + "\xC3\xA9";  // é: one character
    const std::string long255 = std::string(255, 'b');
    const std::vector<std::vector<std::string>> adds = {
        {"/v", "Version", "/d", "1.4.2", "/reg:32"},
        {"/v", "Tricky", "/d", "Jane \"JD\" Doe \\ caf\xC3\xA9 \xE2\x82\xAC \xCE\xB1"},
        {"/v", "Long254", "/d", long254},
        {"/v", "Long255", "/d", long255},
        {"/v", "Spaces", "/d", "  1.4.2  "},
        {"/v", "Multi", "/t", "REG_MULTI_SZ", "/d", "a\\0b"},
        {"/v", "Bin", "/t", "REG_BINARY", "/d", std::string(240, 'f')},
    };
    for (const auto& add : adds) {
        std::vector<std::string> command = {wine->string(), "reg", "add", kKey};
        command.insert(command.end(), add.begin(), add.end());
        command.push_back("/f");
        if (runProgram(command, environment, std::chrono::seconds(120)) != 0) {
            stopServer();
            GTEST_SKIP() << "Wine could not run its reg tool here (" << add[1] << ")";
        }
    }
    // Wine writes its registry files when its server ends.
    if (runProgram({wineserver->string(), "-w"}, environment, std::chrono::seconds(60)) != 0) {
        stopServer();
        GTEST_SKIP() << "the Wine server did not end";
    }

    WineRegistry registry(prefix, posix::readFile);
    ASSERT_TRUE(registry.machine().recognised());
    EXPECT_EQ(registry.machine().stringValue(u"Software\\Grenmark\\QuellMoor", u"Tricky"),
              u"Jane \"JD\" Doe \\ caf\u00e9 \u20ac \u03b1");
    const RegistryValue* multi =
        registry.machine().findValue(u"Software\\Grenmark\\QuellMoor", u"Multi");
    ASSERT_NE(multi, nullptr);
    EXPECT_EQ(multi->type, kRegMultiSz);
    EXPECT_EQ(multi->data, std::string("a\0\0\0b\0\0\0\0\0", 10));
    const RegistryValue* bin =
        registry.machine().findValue(u"Software\\Grenmark\\QuellMoor", u"Bin");
    ASSERT_NE(bin, nullptr);
    EXPECT_EQ(bin->data, std::string(120, '\xff')) << "over several continuation lines";

    quorvik::testing::FakeDialogs dialogs;
    const auto read = [&](const char* keyPath, const char* name,
                          General::ViewPolicy policy = General::ViewPolicy::Default) {
        std::string path = keyPath;
        return General::ReadRegistryValue(registry, dialogs, path, name, policy);
    };
    const char* game = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";
    EXPECT_EQ(read(game, "Version", General::ViewPolicy::Prefer32Bit), "1.4.2")
        << "from the 32-bit view";
    EXPECT_EQ(read(game, "Version"), "Error") << "the 64-bit key has no version";
    EXPECT_EQ(read(game, "Tricky"), "Jane \"JD\" Doe \\ caf\xC3\xA9 \xE2\x82\xAC \xCE\xB1");
    EXPECT_EQ(read(game, "Long254"), long254);
    EXPECT_EQ(read(game, "Long255"), "Error");
    EXPECT_EQ(read(game, "Spaces"), "1.4.2  ");
    const auto windows = read("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion",
                              "CurrentVersion");
    ASSERT_TRUE(windows);
    EXPECT_NE(*windows, "Error");
    EXPECT_NE(windows->find('.'), std::string::npos) << *windows;
    EXPECT_EQ(registry.openHandles(), 0);

    // Wine links the Documents folder to the home folder.
    const auto documents =
        findDocumentsFolder(prefix, registry.user(), posix::processPrefixSearch({}).login);
    ASSERT_TRUE(documents);
    EXPECT_EQ(*documents, fs::canonical(home));
}

}  // namespace
}  // namespace quorvik::platform::wine
