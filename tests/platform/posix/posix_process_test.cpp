// Starting a program on Linux: arguments arrive whole, failures are reported.

#include "platform/posix/posix_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace quorvik::platform::posix {
namespace {

TEST(PosixProcess, ArgumentsWithBlanksAndQuotesArriveWhole) {
    quorvik::testing::TempDir dir;
    const auto target = dir / "a b \"c\" $HOME; rm x.txt";
    LaunchRequest request;
    request.program = "touch";
    request.arguments = {pathToUtf8(target)};
    ASSERT_TRUE(startDetached(request));
    for (int i = 0; i < 200 && !std::filesystem::exists(target); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(target));
}

TEST(PosixProcess, TheProgramsOutputReachesNoTerminalOfOurs) {
    quorvik::testing::TempDir dir;
    const auto captured = dir / "our stdout and stderr";
    const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    const int savedOut = ::dup(STDOUT_FILENO);
    const int savedErr = ::dup(STDERR_FILENO);
    ::dup2(file, STDOUT_FILENO);
    ::dup2(file, STDERR_FILENO);
    LaunchRequest request;
    request.program = "ls";
    request.arguments = {"/", "/no such folder"};  // writes to both
    const Status started = startDetached(request);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::dup2(savedOut, STDOUT_FILENO);
    ::dup2(savedErr, STDERR_FILENO);
    ::close(savedOut);
    ::close(savedErr);
    ::close(file);
    ASSERT_TRUE(started);
    EXPECT_EQ(std::filesystem::file_size(captured), 0u);
}

TEST(PosixProcess, AMissingProgramIsAFailure) {
    LaunchRequest request;
    request.program = "quorvik-no-such-program";
    const Status status = startDetached(request);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.reason(), "it is not installed: there is no quorvik-no-such-program on PATH");
}

}  // namespace
}  // namespace quorvik::platform::posix
