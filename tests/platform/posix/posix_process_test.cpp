// Starting a program on Linux: arguments arrive whole, failures are reported.

#include "platform/posix/posix_process.h"

#include <gtest/gtest.h>

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

TEST(PosixProcess, AMissingProgramIsAFailure) {
    LaunchRequest request;
    request.program = "quorvik-no-such-program";
    const Status status = startDetached(request);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.reason(), "No such file or directory");
}

}  // namespace
}  // namespace quorvik::platform::posix
