// The registry rules over the real Windows registry. scripts/test-windows
// writes the values below with Wine's reg tool before the run and sets
// QUORVIK_TEST_REGISTRY; without it these tests are skipped. When
// QUORVIK_REGISTRY_RESULTS names a file, every read is recorded there, so that
// the native build can read the same prefix's registry files and compare.

#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>

#include "app/general.h"
#include "support/fake_dialogs.h"

namespace quorvik::platform::win32 {
namespace {

namespace General = quorvik::app::General;

using General::ReadRegistryValue;
using General::ViewPolicy;
using quorvik::testing::FakeDialogs;

constexpr const char* kValues = "HKEY_LOCAL_MACHINE\\Software\\QuorvikTest\\Values";
constexpr const char* kGame = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";
constexpr const char* kWindows =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";

std::optional<std::wstring> variable(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    const DWORD length =
        GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return std::nullopt;
    value.resize(length);
    return value;
}

bool prepared() {
    return variable(L"QUORVIK_TEST_REGISTRY").has_value();
}
constexpr const char* kNotPrepared =
    "the registry values were not written; run scripts/test-windows";

std::string hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

// One line per read: name, policy, key path, value name and the result ("-"
// for none, else "=" and the bytes in hex), separated by tabs.
void record(const std::string& name, ViewPolicy policy, const std::string& keyPath,
            const std::string& valueName, const std::optional<std::string>& result) {
    const auto file = variable(L"QUORVIK_REGISTRY_RESULTS");
    if (!file) return;
    std::ofstream out(std::filesystem::path(*file), std::ios::binary | std::ios::app);
    out << name << '\t' << (policy == ViewPolicy::Prefer32Bit ? 1 : 0) << '\t' << keyPath << '\t'
        << valueName << '\t' << (result ? "=" + hex(*result) : std::string("-")) << '\n';
}

std::optional<std::string> readRecorded(const std::string& name, const std::string& keyPath,
                                        const std::string& valueName, ViewPolicy policy) {
    Win32Registry registry;
    FakeDialogs dialogs;
    std::string path = keyPath;
    const auto result = ReadRegistryValue(registry, dialogs, path, valueName, policy);
    EXPECT_TRUE(dialogs.boxes.empty());
    record(name, policy, keyPath, valueName, result);
    return result;
}

struct Case {
    const char* name;
    const char* keyPath;
    const char* valueName;
    ViewPolicy policy;
    std::optional<std::string> expected;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class Win32RegistryValues : public ::testing::TestWithParam<Case> {};

TEST_P(Win32RegistryValues, ReadAsTheGameToolReadsThem) {
    if (!prepared()) GTEST_SKIP() << kNotPrepared;
    const Case& c = GetParam();
    EXPECT_EQ(readRecorded(c.name, c.keyPath, c.valueName, c.policy), c.expected);
}

const std::string k254(254, 'q');
INSTANTIATE_TEST_SUITE_P(
    Prepared, Win32RegistryValues,
    ::testing::Values(
        Case{"Fits254", kValues, "Long254", ViewPolicy::Default, k254},
        Case{"TooLong255", kValues, "Long255", ViewPolicy::Default, "Error"},
        Case{"LeadingSpacesGoTrailingStay", kValues, "Spaced", ViewPolicy::Default,
             "C:\\Games\\Quell Moor  "},
        Case{"Empty", kValues, "Empty", ViewPolicy::Default, ""},
        Case{"MissingValue", kValues, "Absent", ViewPolicy::Default, "Error"},
        Case{"MissingKey", "HKEY_LOCAL_MACHINE\\Software\\QuorvikTest\\Nowhere", "Long254",
             ViewPolicy::Default, "Error"},
        Case{"GameVersionIn32BitView", kGame, "Version", ViewPolicy::Prefer32Bit, "1.0.2.7"},
        Case{"GameExePathIn32BitView", kGame, "Exe_Path", ViewPolicy::Prefer32Bit,
             "C:\\Games\\Quell Moor\\QuellMoor.exe"},
        Case{"GameKeyNotIn64BitView", kGame, "Version", ViewPolicy::Default, "Error"},
        Case{"Prefer32BitFallsBackTo64BitView", kValues, "Long254", ViewPolicy::Prefer32Bit, k254}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Win32RegistryValues, TextComesAsUnicode) {
    if (!prepared()) GTEST_SKIP() << kNotPrepared;
    EXPECT_EQ(readRecorded("Cafe", kValues, "Cafe", ViewPolicy::Default), "Caf\xC3\xA9");
    EXPECT_EQ(readRecorded("Beyond1252", kValues, "Beyond1252", ViewPolicy::Default),
              "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\Quell Moor")
        << "letters no 8-bit code page of the West holds";
}

TEST(Win32RegistryValues, WindowsVersionHasNoNulOrTrailingSpaces) {
    const auto version =
        readRecorded("WindowsVersion", kWindows, "CurrentVersion", ViewPolicy::Default);
    ASSERT_TRUE(version.has_value());
    EXPECT_TRUE(std::regex_match(*version, std::regex(R"(\d+\.\d+)"))) << *version;
}

TEST(Win32RegistryBackend, ViewsAndBufferSizes) {
    if (!prepared()) GTEST_SKIP() << kNotPrepared;
    Win32Registry registry;
    const std::string values = "Software\\QuorvikTest\\Values";
    RegistryBackend::KeyHandle key = 0;
    EXPECT_EQ(registry.openKey(kHkeyLocalMachine, values, RegistryView::Wow32, key),
              kErrorFileNotFound)
        << "a 64-bit key is not in the 32-bit view";
    ASSERT_EQ(registry.openKey(kHkeyLocalMachine, values, RegistryView::Wow64, key), kErrorSuccess);

    unsigned char data[8] = {};
    std::uint32_t type = 0;
    std::uint32_t length = sizeof data;
    EXPECT_EQ(registry.queryValue(key, "Long254", type, data, length), kErrorMoreData);
    EXPECT_EQ(length, 510u) << "the size needed in bytes, its NUL included";

    length = sizeof data;
    EXPECT_EQ(registry.queryValue(key, "Empty", type, data, length), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(length, 2u) << "an empty string is its NUL";
    registry.closeKey(key);

    EXPECT_EQ(registry.openKey(kHkeyLocalMachine, "Software\\Grenmark\\QuellMoor",
                               RegistryView::Wow32, key),
              kErrorSuccess);
    registry.closeKey(key);
}

}  // namespace
}  // namespace quorvik::platform::win32
