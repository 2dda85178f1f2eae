// The registry rules over an in-memory registry; the Wine and Windows back ends
// run the same rules against their own stores in their own tests.

#include "app/general.h"

#include <gtest/gtest.h>

#include "support/fake_dialogs.h"
#include "support/fake_system.h"

namespace quorvik::app::General {

using namespace quorvik::platform;
namespace {

using quorvik::testing::FakeDialogs;
using quorvik::testing::MemoryRegistry;

constexpr const char* kGameKey = "Software\\Grenmark\\QuellMoor";

struct Case {
    const char* name;
    std::string stored;  // UTF-8, stored as the wide-character call gives it; "-" for no value
    std::optional<std::string> expected;
};

void PrintTo(const Case& value, std::ostream* out) { *out << value.name; }

class ReadRegistryValueTest : public ::testing::TestWithParam<Case> {};

TEST_P(ReadRegistryValueTest, ReturnsTheTrimmedTextOrError) {
    MemoryRegistry registry;
    FakeDialogs dialogs;
    registry.addKey(kHkeyLocalMachine, kGameKey);
    if (GetParam().stored != "-") {
        registry.setBytes(kHkeyLocalMachine, kGameKey, "Exe_Path", kRegSz,
                          quorvik::testing::utf16Bytes(GetParam().stored));
    }
    std::string keyPath = std::string("HKEY_LOCAL_MACHINE\\") + kGameKey;
    EXPECT_EQ(ReadRegistryValue(registry, dialogs, keyPath, "Exe_Path"), GetParam().expected);
    EXPECT_EQ(keyPath, kGameKey) << "the caller's path becomes the subkey";
    EXPECT_EQ(registry.openHandles(), 0);
    EXPECT_TRUE(dialogs.boxes.empty());
}

const std::string k254(254, 'x');
std::string repeated(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}
const std::string k254Accented = repeated("\xC3\xA9", 254);  // é: two bytes, one character
INSTANTIATE_TEST_SUITE_P(
    Values, ReadRegistryValueTest,
    ::testing::Values(
        Case{"Plain", std::string("6.1\0", 4), "6.1"},
        Case{"LeadingSpacesGo", std::string("  C:\\Game\0", 10), "C:\\Game"},
        Case{"TrailingSpacesBeforeNulStay", std::string("abc  \0", 6), "abc  "},
        Case{"Empty", std::string("\0", 1), ""},
        Case{"OnlySpaces", std::string("   \0", 4), ""},
        Case{"NoTerminatorLosesLastCharacter", "abc", "ab"},
        Case{"InnerNulKept", std::string("ab\0cd\0", 6), std::string("ab\0cd", 5)},
        Case{"Fits254", k254 + std::string(1, '\0'), k254},
        Case{"TooLong255", std::string(255, 'x') + std::string(1, '\0'), "Error"},
        Case{"UnicodeStaysUnicode",
             std::string("C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\\xE5\xAD\xA6\\Q.exe\0", 22),
             "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\\xE5\xAD\xA6\\Q.exe"},
        Case{"Fits254CountedInCharacters", k254Accented + std::string(1, '\0'), k254Accented},
        Case{"TooLong255CountedInCharacters",
             repeated("\xC3\xA9", 255) + std::string(1, '\0'), "Error"},
        Case{"MissingValue", "-", "Error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRegistryValue, MalformedPathsAndRoots) {
    MemoryRegistry registry;
    registry.setString(kHkeyCurrentUser, "", "Top", "root value");
    FakeDialogs dialogs;

    std::string rootOnly = "HKEY_CURRENT_USER";
    EXPECT_EQ(ReadRegistryValue(registry, dialogs, rootOnly, "Top"), "root value");
    EXPECT_EQ(rootOnly, "");

    std::string missingKey = "HKEY_LOCAL_MACHINE\\Software\\Nothing";
    EXPECT_EQ(ReadRegistryValue(registry, dialogs, missingKey, "x"), "Error");

    std::string unknownRoot = "HKEY_FOO\\x";
    EXPECT_EQ(ReadRegistryValue(registry, dialogs, unknownRoot, "x"), std::nullopt);
    EXPECT_TRUE(dialogs.boxes.empty()) << "an unknown root says nothing";

    for (const std::string path : {"HKEY_LOCAL_MACHINE\\Software\\", "hkey_local_machine\\x"}) {
        std::string keyPath = path;
        EXPECT_EQ(ReadRegistryValue(registry, dialogs, keyPath, "x"), std::nullopt);
        EXPECT_EQ(keyPath, path) << "a malformed path is left as it was";
        ASSERT_FALSE(dialogs.boxes.empty());
        EXPECT_EQ(dialogs.boxes.back(),
                  (quorvik::testing::ShownBox{"Incorrect Format:\n\n" + path, 0,
                                              "Quorvik by Quorvik Team"}));
    }
    EXPECT_EQ(dialogs.boxes.size(), 2u);
}

TEST(ReadRegistryValue, ThirtyTwoBitKeyFirstThenSixtyFourBit) {
    FakeDialogs dialogs;
    MemoryRegistry both;
    both.setString(kHkeyLocalMachine, "Software\\Wow6432Node\\Grenmark\\QuellMoor", "Version", "32");
    both.setString(kHkeyLocalMachine, kGameKey, "Version", "64");
    std::string path = std::string("HKEY_LOCAL_MACHINE\\") + kGameKey;
    EXPECT_EQ(ReadRegistryValue(both, dialogs, path, "Version", ViewPolicy::Prefer32Bit), "32");

    MemoryRegistry only64;
    only64.setString(kHkeyLocalMachine, kGameKey, "Version", "64");
    path = std::string("HKEY_LOCAL_MACHINE\\") + kGameKey;
    EXPECT_EQ(ReadRegistryValue(only64, dialogs, path, "Version", ViewPolicy::Prefer32Bit), "64");
    EXPECT_EQ(only64.viewsAsked, (std::vector<RegistryView>{RegistryView::Wow32,
                                                            RegistryView::Wow64}));

    path = std::string("HKEY_LOCAL_MACHINE\\") + kGameKey;
    EXPECT_EQ(ReadRegistryValue(only64, dialogs, path, "Version"), "64");
    EXPECT_EQ(only64.viewsAsked.back(), RegistryView::Default);
}

TEST(RootKeyFromName, KnownNamesOnlyCaseIncluded) {
    EXPECT_EQ(RootKeyFromName("HKEY_LOCAL_MACHINE"), 0x80000002u);
    EXPECT_EQ(RootKeyFromName("HKEY_DYN_DATA"), 0x80000006u);
    EXPECT_EQ(RootKeyFromName("HKEY_Local_Machine"), 0u);
    EXPECT_EQ(RootKeyFromName(""), 0u);
}

}  // namespace
}  // namespace quorvik::app::General
