// The registry rules of the start-up sequence, read from a prefix's registry
// files as Wine writes them.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/general.h"
#include "platform/wine/wine_registry.h"
#include "support/fake_dialogs.h"

namespace quorvik::platform::wine {
namespace {

namespace General = quorvik::app::General;

using General::ViewPolicy;
using quorvik::testing::FakeDialogs;

std::string escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// system.reg of a 64-bit prefix, laid out as Wine writes it.
std::string systemReg(const std::string& arch = "win64") {
    const std::string long254(254, 'x');
    const std::string long255(255, 'y');
    std::string text =
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to REGISTRY\\\\Machine\n"
        "\n"
        "#arch=" +
        arch +
        "\n"
        "\n"
        "[] 1796631078\n"
        "#time=1dd8622894905f0\n"
        "\"AtRoot\"=\"root value\"\n"
        "\n"
        "[Software\\\\Classes\\\\.scr] 1796631078\n"
        "#time=1dd8622894905f0\n"
        "@=\"scrfile\"\n"
        "\n"
        "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1796631078\n"
        "#time=1dd86228957f9b6\n"
        "\"CSDVersion\"=\"Service Pack 1\"\n"
        "\"CurrentBuild\"=\"7601\"\n"
        "\"CurrentVersion\"=\"6.1\"\n"
        "\"DigitalProductId\"=hex:00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\\n"
        "  00,00,00,00\n"
        "\"InstallDate\"=dword:00000000\n"
        "\n"
        "[Software\\\\Wow6432Node\\\\Grenmark\\\\QuellMoor] 1796631080\n"
        "#time=1dd8622899cfdb8\n"
        "\"Empty\"=\"\"\n"
        "\"Exe_Path\"=\"C:\\\\Games\\\\Quell Moor\\\\QuellMoor.exe\"\n"
        "\"Long254\"=\"" +
        long254 +
        "\"\n"
        "\"Long254Escaped\"=\"" +
        std::string(253, 'z') +
        "\\xe9\"\n"
        "\"Long255\"=\"" +
        long255 +
        "\"\n"
        "\"NoNul\"=hex(1):31,00,2e,00,34,00\n"
        "\"Spaces\"=\"  1.4.2  \"\n"
        "\"Symbols\"=\"\\x20ac \\\"\\x3b1\\\" \\xe9\"\n"
        "\"Version\"=\"1.4.2\"\n"
        "\n"
        "[Software\\\\Grenmark\\\\QuellMoor] 1796631080\n"
        "#time=1dd8622899cfdb8\n"
        "\"Version\"=\"64-bit half\"\n";
    return text;
}

const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Grenmark\\\\QuellMoor] 1796631080\n"
    "#time=1dd8622899cfdb8\n"
    "\"Player\"=\"" +
    escaped("Jane \"JD\" Doe") + "\"\n";

struct Fixture {
    std::map<std::string, std::string> files;
    std::map<std::string, int> reads;
    FakeDialogs dialogs;
    WineRegistry registry;

    explicit Fixture(std::string system = systemReg())
        : files{{"system.reg", std::move(system)}, {"user.reg", kUserReg}},
          registry("/prefix", [this](const std::filesystem::path& path, std::uintmax_t) {
              const std::string name = path.filename().string();
              ++reads[name];
              const auto found = files.find(name);
              return found == files.end()
                         ? ReadResult{unreadable(path, "No such file or directory")}
                         : ReadResult{found->second};
          }) {}

    std::optional<std::string> read(std::string keyPath, const std::string& name,
                                    ViewPolicy policy = ViewPolicy::Default) {
        return General::ReadRegistryValue(registry, dialogs, keyPath, name, policy);
    }
};

constexpr const char* kGame = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";

TEST(WineRegistryRules, ValuesComeBackAsTheRegistryRulesSay) {
    struct Case {
        const char* keyPath;
        const char* name;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion",
         "6.1"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\microsoft\\windows nt\\currentversion", "currentversion",
         "6.1"},
        {kGame, "Version", "1.4.2"},
        {kGame, "Exe_Path", "C:\\Games\\Quell Moor\\QuellMoor.exe"},
        {kGame, "Long254", std::string(254, 'x')},
        {kGame, "Long254Escaped", std::string(253, 'z') + "\xC3\xA9"},
        {kGame, "Long255", "Error"},
        {kGame, "Spaces", "1.4.2  "},
        {kGame, "Empty", ""},
        {kGame, "NoNul", "1."},  // stored without its NUL: the last character goes
        {kGame, "Symbols", "\xE2\x82\xAC \"\xCE\xB1\" \xC3\xA9"},  // Unicode, every letter kept
        {kGame, "Missing", "Error"},
        {"HKEY_LOCAL_MACHINE\\Software\\Grenmark\\Missing", "Version", "Error"},
        {"HKEY_LOCAL_MACHINE", "AtRoot", "root value"},
        {"HKEY_LOCAL_MACHINE", "Version", "Error"},
        {"HKEY_CURRENT_USER", "Player", "Error"},
        {"HKEY_CURRENT_USER\\Software\\Grenmark\\QuellMoor", "Player", "Jane \"JD\" Doe"},
        {"HKEY_CLASSES_ROOT\\.scr", "", "scrfile"},
        {"HKEY_USERS\\.DEFAULT", "Player", "Error"},
        {"HKEY_CURRENT_CONFIG\\Software", "x", "Error"},
        {"HKEY_FOO\\x", "x", std::nullopt},
    };
    for (const Case& c : cases) {
        Fixture fixture;
        EXPECT_EQ(fixture.read(c.keyPath, c.name, ViewPolicy::Prefer32Bit), c.expected)
            << c.keyPath << " " << c.name;
        EXPECT_EQ(fixture.registry.openHandles(), 0) << c.keyPath << " " << c.name;
        EXPECT_TRUE(fixture.dialogs.boxes.empty());
    }
}

TEST(WineRegistryRules, ViewsFollowTheArchitectureOfThePrefix) {
    struct Case {
        std::string arch;
        ViewPolicy policy;
        const char* expected;
    };
    const Case cases[] = {
        {"win64", ViewPolicy::Prefer32Bit, "1.4.2"},        // Wow6432Node
        {"win64", ViewPolicy::Default, "64-bit half"},      // the plain key
        {"win32", ViewPolicy::Prefer32Bit, "64-bit half"},  // no Wow6432Node in 32 bits
        {"none", ViewPolicy::Prefer32Bit, "1.4.2"},         // Wow6432Node present: 64 bits
    };
    for (const Case& c : cases) {
        Fixture fixture(systemReg(c.arch));
        EXPECT_EQ(fixture.read(kGame, "Version", c.policy), c.expected) << c.arch;
    }

    // A 32-bit-only install in a 64-bit prefix is still found, through the second view.
    Fixture plainOnly(
        "WINE REGISTRY Version 2\n#arch=win64\n"
        "[Software\\\\Grenmark\\\\QuellMoor] 1\n\"Version\"=\"plain\"\n");
    EXPECT_EQ(plainOnly.read(kGame, "Version", ViewPolicy::Prefer32Bit), "plain");
}

TEST(WineRegistryRules, MalformedPathsShowTheMessageAndReadNothing) {
    Fixture fixture;
    std::string keyPath = "hkey_local_machine\\Software";
    EXPECT_EQ(General::ReadRegistryValue(fixture.registry, fixture.dialogs, keyPath, "x"),
              std::nullopt);
    ASSERT_EQ(fixture.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fixture.dialogs.boxes[0].text, "Incorrect Format:\n\nhkey_local_machine\\Software");
    EXPECT_TRUE(fixture.reads.empty()) << "nothing is read for a refused path";
}

TEST(WineRegistryRules, FilesAreReadOnceAndOnlyWhenNeeded) {
    Fixture fixture;
    EXPECT_TRUE(fixture.reads.empty());
    fixture.read(kGame, "Version");
    fixture.read(kGame, "Exe_Path");
    fixture.read("HKEY_LOCAL_MACHINE\\Software\\Nowhere", "x");
    EXPECT_EQ(fixture.reads, (std::map<std::string, int>{{"system.reg", 1}}));
    fixture.read("HKEY_CURRENT_USER\\Software", "x");
    fixture.read("HKEY_CURRENT_USER\\Software", "y");
    EXPECT_EQ(fixture.reads, (std::map<std::string, int>{{"system.reg", 1}, {"user.reg", 1}}));

    // A prefix without registry files: every key is missing, and the files are
    // not looked for again.
    Fixture empty;
    empty.files.clear();
    EXPECT_EQ(empty.read(kGame, "Version"), "Error");
    EXPECT_EQ(empty.read(kGame, "Version"), "Error");
    EXPECT_EQ(empty.reads, (std::map<std::string, int>{{"system.reg", 1}}));
}

TEST(WineRegistryRules, RawQueryReportsSizesLikeTheWindowsCall) {
    Fixture fixture;
    RegistryBackend::KeyHandle key = 0;
    ASSERT_EQ(fixture.registry.openKey(kHkeyLocalMachine,
                                       "Software\\Microsoft\\Windows NT\\CurrentVersion",
                                       RegistryView::Default, key),
              kErrorSuccess);
    std::uint32_t type = 0;
    std::uint32_t length = 0;
    EXPECT_EQ(fixture.registry.queryValue(key, "CurrentVersion", type, nullptr, length),
              kErrorSuccess);
    EXPECT_EQ(length, 8u) << "6.1 and its NUL, two bytes each";
    EXPECT_EQ(type, kRegSz);

    unsigned char small[3] = {};
    length = sizeof small;
    EXPECT_EQ(fixture.registry.queryValue(key, "CurrentVersion", type, small, length),
              kErrorMoreData);
    EXPECT_EQ(length, 8u);

    unsigned char dword[8] = {};
    length = sizeof dword;
    EXPECT_EQ(fixture.registry.queryValue(key, "InstallDate", type, dword, length), kErrorSuccess);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(length, 4u);

    unsigned char binary[32] = {};
    length = sizeof binary;
    EXPECT_EQ(fixture.registry.queryValue(key, "DigitalProductId", type, binary, length),
              kErrorSuccess);
    EXPECT_EQ(type, kRegBinary);
    EXPECT_EQ(length, 22u);

    fixture.registry.closeKey(key);
    EXPECT_EQ(fixture.registry.queryValue(key, "CurrentVersion", type, nullptr, length),
              kErrorInvalidHandle);
}

}  // namespace
}  // namespace quorvik::platform::wine
