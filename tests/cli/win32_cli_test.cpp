// quorvik-cli.exe as a process under Windows: settings folders named in any
// letters, its output as UTF-8 when redirected, and the resources it carries.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/resource_ids.h"
#include "platform/paths.h"
#include "platform/win32/win32_text.h"
#include "support/game_folder.h"
#include "support/icon_width.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;
using platform::pathFromUtf8;
using platform::pathToUtf8;
using platform::win32::widen;
using quorvik::testing::GameFolder;
using quorvik::testing::readBytes;

fs::path cliProgram() {
    return fs::path("Z:" QUORVIK_CLI).make_preferred();
}

struct Outcome {
    DWORD status = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// A file the child writes its standard output or error into.
HANDLE inheritableFile(const fs::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs quorvik-cli.exe with both outputs redirected into files in `folder`.
// The arguments are quoted whole; none of them ends in a backslash.
Outcome run(const fs::path& folder, const std::vector<std::string>& arguments) {
    std::wstring commandLine = L"\"" + cliProgram().wstring() + L"\"";
    for (const std::string& argument : arguments) commandLine += L" \"" + widen(argument) + L"\"";
    const HANDLE out = inheritableFile(folder / "stdout");
    const HANDLE err = inheritableFile(folder / "stderr");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (CreateProcessW(cliProgram().c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &outcome.status);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "quorvik-cli.exe did not start: " << platform::win32::lastErrorText();
    }
    CloseHandle(out);
    CloseHandle(err);
    outcome.out = readBytes(folder / "stdout");
    outcome.err = readBytes(folder / "stderr");
    return outcome;
}

// Lines end in CR LF in a redirected Windows program's output; the bytes
// between are compared.
std::string withoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

struct FolderRow {
    const char* what;
    const char* base;  // UTF-8: the game's folder, holding out/Settings
    bool samples;
    std::vector<std::string> command;
    DWORD status;
    const char* expectedOut;  // a file of tests/data, or empty for nothing
    const char* errHolds;     // a part of standard error, or empty for nothing at all
    const char* made = "";    // a file the command writes in the settings folder
};

TEST(Win32Cli, SettingsFoldersNamedInAnyLetters) {
    const FolderRow rows[] = {
        {"letters of the ANSI code page",
         "Quell M\xC3\xB6\xC3\xB6r",
         true,
         {"show"},
         0,
         "cli/show.txt",
         ""},
        {"Cyrillic, beyond Windows-1252",
         "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B/Quell Moor",
         true,
         {"show", "--json"},
         0,
         "cli/show.json",
         ""},
        {"letters of no 8-bit code page",
         "\xE6\x97\xA5\xE6\x9C\xAC \xCE\xA9",
         true,
         {"show"},
         0,
         "cli/show.txt",
         ""},
        // Written, not only read: the backups land beside the files.
        {"a backup in a folder named in Cyrillic",
         "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B",
         true,
         {"backup"},
         0,
         "",
         "",
         "Video.sc0"},
        // Reached, but empty: the folder's own files are missing, not the folder.
        {"a folder without the files",
         "\xD0\x9F\xD1\x83\xD1\x81\xD1\x82\xD0\xBE",
         false,
         {"show"},
         1,
         "",
         "\xD0\x9F\xD1\x83\xD1\x81\xD1\x82\xD0\xBE\\out\\Settings\nquorvik-cli: Audio.scr was not "
         "found in ",
         ""},
    };
    for (const FolderRow& row : rows) {
        SCOPED_TRACE(row.what);
        GameFolder game(row.base);
        if (row.samples) game.copySamples();
        std::vector<std::string> arguments = {"--settings", pathToUtf8(game.settings)};
        arguments.insert(arguments.end(), row.command.begin(), row.command.end());
        const Outcome outcome = run(game.dir.path(), arguments);
        EXPECT_EQ(outcome.status, row.status) << outcome.err;
        if (*row.expectedOut != '\0') {
            EXPECT_EQ(withoutCarriageReturns(outcome.out),
                      quorvik::testing::dataBytes(row.expectedOut));
        }
        if (*row.errHolds == '\0') {
            EXPECT_EQ(outcome.err, "");
        } else {
            EXPECT_NE(withoutCarriageReturns(outcome.err).find(row.errHolds), std::string::npos)
                << outcome.err;
        }
        if (*row.made != '\0') {
            EXPECT_TRUE(fs::exists(game.settings / row.made)) << row.made;
        }
    }
}

// The program file's resources, read as Windows' Explorer and loader read them.
class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(cliProgram().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << platform::win32::lastErrorText();
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    std::string resource(LPCWSTR name, LPCWSTR type) const {
        const HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) return {};
        const HGLOBAL loaded = LoadResource(module_, found);
        const auto* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes == nullptr ? std::string()
                                : std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(Resources, ManifestIsAConsoleProgramsWithUtf8AsItsCodePage) {
    // Resource 1 of type RT_MANIFEST: the one the loader reads when the program starts.
    const std::string manifest = resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_FALSE(manifest.empty()) << "no manifest";
    struct Row {
        const char* what;
        const char* text;
        bool present;
    };
    const Row rows[] = {
        {"UTF-8 as the active code page",
         "<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8"
         "</activeCodePage>",
         true},
        {"runs as the user who started it", "level=\"asInvoker\"", true},
        {"no common controls: it shows no window", "Common-Controls", false},
        {"no DPI settings: it shows no window", "dpiAware", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(manifest.find(row.text) != std::string::npos, row.present) << row.what;
    }
}

TEST_F(Resources, VersionIsQuorviksOwn) {
    const std::wstring file = cliProgram().wstring();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, QUORVIK_PROJECT_VERSION);

    struct Row {
        const wchar_t* key;
        std::string value;
    };
    const Row rows[] = {
        {L"FileVersion", QUORVIK_PROJECT_VERSION ".0"},
        {L"ProductVersion", QUORVIK_PROJECT_VERSION ".0"},
        {L"OriginalFilename", "quorvik-cli.exe"},
        {L"ProductName", "Quorvik"},
        {L"LegalCopyright", "Copyright (C) 2026 Quorvik Team"},
    };
    for (const Row& row : rows) {
        wchar_t* value = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + row.key;
        const bool found =
            VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length);
        ASSERT_TRUE(found && value != nullptr) << platform::win32::narrow(row.key);
        EXPECT_EQ(platform::win32::narrow(value), row.value) << platform::win32::narrow(row.key);
    }
}

// Explorer shows the program by its first icon group: quorvik.exe's own icon.
TEST_F(Resources, IconIsQuorviksOwn) {
    EXPECT_EQ(quorvik::testing::iconWidth(module_, QUORVIK_IDI_ICON, 128), 128)
        << platform::win32::lastErrorText();
}

// The game's files are read in the system's code page even by quorvik-cli.exe,
// whose manifest gives it UTF-8: this program has no such manifest, so its
// GetACP() is the system's.
TEST(Win32Cli, SystemCodePageIsTheOneProgramsWithoutAManifestGet) {
    EXPECT_EQ(platform::win32::systemCodePage(), GetACP());
}

}  // namespace
}  // namespace quorvik::cli
