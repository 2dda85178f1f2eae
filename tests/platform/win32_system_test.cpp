// The Windows machine services that are not files: the Documents folder and
// starting a program.

#include "platform/win32/win32_system.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace quorvik::platform::win32 {
namespace {

using quorvik::testing::TempDir;
namespace fs = std::filesystem;

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

// The program's path is quoted in the command line, so a path with a blank
// and an apostrophe reaches it whole; it runs in our working folder, where its
// relative output file lands.
TEST(Win32System, StartProgramRunsTheCommandLineInOurFolderWithoutWaiting) {
    TempDir dir;
    const fs::path game = dir / "Jane's Quell Moor" / "game.exe";
    fs::create_directories(game.parent_path());
    ASSERT_TRUE(CopyFileW(thisProgram().c_str(), game.c_str(), TRUE));

    Win32System system;
    LaunchRequest request;
    request.program = game;
    // A run of no tests that still writes its report.
    request.commandLine =
        "\"" + pathToUtf8(game) + "\" --gtest_filter=NoSuchTest.Ever --gtest_output=xml:ran.xml";
    {
        WorkingFolder inTheTestFolder(dir.path());
        const Status started = system.startProgram(request);
        ASSERT_TRUE(started) << started.reason();
    }
    const fs::path report = dir / "ran.xml";
    EXPECT_TRUE(waitFor([&] {
        std::error_code error;
        return fs::file_size(report, error) > 0 && !error;
    })) << "the program did not run in our working folder";
    // The program's copy can go once it has ended.
    waitFor([&] { return DeleteFileW(game.c_str()) != 0; });
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
