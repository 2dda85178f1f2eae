// The Windows machine services that are not files: the Documents folder and
// starting a program.

#include "platform/win32/win32_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <regex>
#include <thread>

#include "platform/paths.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"

namespace quorvik::platform::win32 {
namespace {

using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;
namespace fs = std::filesystem;

constexpr const wchar_t* kMarkVariable = L"QUORVIK_TEST_LAUNCH_MARK";

// A copy of this test program started by the launch test does no tests: it
// writes the command line it was given into the file the variable names
// (relative to its working folder) and ends, before the test runner starts.
const bool kStartedAsChild = [] {
    wchar_t mark[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(kMarkVariable, mark, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    const std::string commandLine = narrow(GetCommandLineW());
    const std::wstring partial = std::wstring(mark) + L".part";
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, commandLine.data(), static_cast<DWORD>(commandLine.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileW(partial.c_str(), mark);
    ExitProcess(0);
}();

fs::path thisProgram() {
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    name.resize(length);
    return fs::path(name);
}

// Runs in the test's folder and goes back to the previous working folder after.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~WorkingFolder() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

// Set for the programs this test starts, and gone again after.
class ChildVariable {
public:
    ChildVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        SetEnvironmentVariableW(name, value);
    }
    ~ChildVariable() { SetEnvironmentVariableW(name_, nullptr); }

private:
    const wchar_t* name_;
};

bool waitFor(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

TEST(Win32System, DocumentsFolderIsAnExistingFolder) {
    Win32System system;
    const auto documents = system.documentsFolder();
    ASSERT_TRUE(documents.has_value());
    EXPECT_TRUE(documents->is_absolute()) << pathToUtf8(*documents);
    EXPECT_TRUE(system.folderExists(*documents)) << pathToUtf8(*documents);
}

// The clock as the history's entries are named: their names sort as their times.
TEST(Win32System, TellsTheLocalTimeAsHistoryEntriesAreNamed) {
    Win32System system;
    const std::string now = system.localTime();
    EXPECT_TRUE(std::regex_match(now, std::regex(R"(20\d\d-\d\d-\d\d \d\d\.\d\d\.\d\d)"))) << now;
}

// The program's path is quoted in the command line, so a path with a blank, an
// apostrophe and a letter beyond ASCII reaches it whole; the program gets the
// command line exactly and runs in our working folder.
TEST(Win32System, StartProgramPassesTheCommandLineAndOurFolder) {
    ASSERT_FALSE(kStartedAsChild);
    TempDir dir;
    const fs::path game = dir.path() / pathFromUtf8("Jane's Quell Moor \xC3\xA9") / "game.exe";
    fs::create_directories(game.parent_path());
    ASSERT_TRUE(CopyFileW(thisProgram().c_str(), game.c_str(), TRUE));

    Win32System system;
    LaunchRequest request;
    request.program = game;
    request.commandLine = "\"" + pathToUtf8(game) + "\" -nologos";
    {
        WorkingFolder inTheTestFolder(dir.path());
        ChildVariable mark(kMarkVariable, L"launched.txt");
        const Status started = system.startProgram(request);
        ASSERT_TRUE(started) << started.reason();
    }
    const fs::path launched = dir / "launched.txt";
    ASSERT_TRUE(waitFor([&] { return fs::exists(launched); }))
        << "the program did not leave its mark in our working folder";
    EXPECT_EQ(quorvik::testing::readBytes(launched), request.commandLine);
    // The program's copy can go once it has ended.
    waitFor([&] { return DeleteFileW(game.c_str()) != 0; });
}

// The game runs in its own folder when the launch names one.
TEST(Win32System, StartProgramRunsInTheRequestedFolder) {
    ASSERT_FALSE(kStartedAsChild);
    TempDir dir;
    const fs::path game = dir.path() / "Quell Moor" / "game.exe";
    fs::create_directories(game.parent_path());
    fs::create_directories(dir / "elsewhere");
    ASSERT_TRUE(CopyFileW(thisProgram().c_str(), game.c_str(), TRUE));

    Win32System system;
    LaunchRequest request;
    request.program = game;
    request.commandLine = "\"" + pathToUtf8(game) + "\" -nologos";
    request.workingFolder = game.parent_path();
    {
        WorkingFolder inAnotherFolder(dir / "elsewhere");
        ChildVariable mark(kMarkVariable, L"launched.txt");
        const Status started = system.startProgram(request);
        ASSERT_TRUE(started) << started.reason();
    }
    ASSERT_TRUE(waitFor([&] { return fs::exists(game.parent_path() / "launched.txt"); }))
        << "the program did not leave its mark in the game's folder";
    EXPECT_FALSE(fs::exists(dir / "elsewhere" / "launched.txt"));
    waitFor([&] { return DeleteFileW(game.c_str()) != 0; });
}

// Through the shell's "runas" verb, as a game that needs elevation is started:
// the program, its arguments and its folder arrive as they would directly.
TEST(Win32System, ElevatedStartPassesProgramArgumentsAndFolder) {
    ASSERT_FALSE(kStartedAsChild);
    TempDir dir;
    const fs::path game = dir.path() / "Quell Moor" / "game.exe";
    fs::create_directories(game.parent_path());
    ASSERT_TRUE(CopyFileW(thisProgram().c_str(), game.c_str(), TRUE));
    LaunchRequest request;
    request.program = game;
    request.commandLine = "\"" + pathToUtf8(game) + "\" -nologos";
    request.workingFolder = game.parent_path();
    {
        ChildVariable mark(kMarkVariable, L"elevated.txt");
        const Status started = startElevated(request);
        ASSERT_TRUE(started) << started.reason();
    }
    const fs::path launched = game.parent_path() / "elevated.txt";
    ASSERT_TRUE(waitFor([&] { return fs::exists(launched); }));
    EXPECT_NE(quorvik::testing::readBytes(launched).find("-nologos"), std::string::npos);
    waitFor([&] { return DeleteFileW(game.c_str()) != 0; });
}

// Each row: a command line, its program and its arguments.
TEST(Win32System, CommandLineSplitsIntoProgramAndArguments) {
    struct Row {
        const char* line;
        const char* program;
        const char* arguments;
    };
    const Row rows[] = {
        {"\"C:\\Games\\Quell Moor\\QM.exe\" -nologos", "C:\\Games\\Quell Moor\\QM.exe", "-nologos"},
        {"\"C:\\QM.exe\"", "C:\\QM.exe", ""},
        {"\"C:\\QM.exe\"   -a -b", "C:\\QM.exe", "-a -b"},
        {"C:\\QM.exe -nologos", "C:\\QM.exe", "-nologos"},
        {"\"C:\\unclosed -x", "C:\\unclosed -x", ""},
    };
    for (const Row& row : rows) {
        const CommandLineParts parts = splitCommandLine(row.line);
        EXPECT_EQ(parts.program, row.program) << row.line;
        EXPECT_EQ(parts.arguments, row.arguments) << row.line;
    }
}

// Each row: the system's error, where the path is, which note is added to
// the reason: Controlled folder access only for access denied in Documents,
// the program holding the file for a sharing violation or a file held open.
TEST(Win32System, AFailureSaysWhatMayStandInTheWay) {
    const fs::path documents = pathFromUtf8("C:\\Users\\Jane\\Documents");
    const fs::path inside = documents / "QuellMoor" / "out" / "Settings" / "Video.scr";
    const fs::path outside = pathFromUtf8("D:\\Games\\Settings\\Video.scr");
    TempDir dir;
    const fs::path held = dir / "Video.scr";
    writeBytes(held, "held");
    // The game keeps its file open and shares nothing.
    const HANDLE game = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(game, INVALID_HANDLE_VALUE);
    constexpr const char* kFolderAccess = "Controlled folder access";
    constexpr const char* kHeld = "another program, perhaps the game, has the file open";
    struct Row {
        unsigned long error;
        fs::path path;
        std::optional<fs::path> documents;
        const char* note;  // nullptr: none
    };
    const Row rows[] = {
        {ERROR_ACCESS_DENIED, inside, documents, kFolderAccess},
        {ERROR_ACCESS_DENIED, outside, documents, nullptr},
        {ERROR_ACCESS_DENIED, inside, std::nullopt, nullptr},
        {ERROR_SHARING_VIOLATION, inside, documents, kHeld},
        {ERROR_LOCK_VIOLATION, outside, documents, kHeld},
        {ERROR_ACCESS_DENIED, held, dir.path(), kHeld},
    };
    for (const Row& row : rows) {
        const Status status = withFolderAccessHint(Status::failure(errorText(row.error)), row.error,
                                                   row.path, row.documents);
        ASSERT_FALSE(status);
        EXPECT_EQ(status.reason().find(errorText(row.error)), 0u);
        for (const char* note : {kFolderAccess, kHeld}) {
            EXPECT_EQ(status.reason().find(note) != std::string::npos, row.note == note)
                << pathToUtf8(row.path) << " error " << row.error << ": " << status.reason();
        }
    }
    CloseHandle(game);
    EXPECT_TRUE(withFolderAccessHint(Status::success(), 0, inside, documents));
}

TEST(Win32System, StartProgramReportsWhatFailed) {
    TempDir dir;
    Win32System system;
    LaunchRequest request;
    request.commandLine = "\"" + pathToUtf8(dir / "no such game.exe") + "\" -nologos";
    const Status missing = system.startProgram(request);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.reason().empty());

    EXPECT_FALSE(system.startProgram(LaunchRequest{})) << "nothing to start";
}

}  // namespace
}  // namespace quorvik::platform::win32
