// The Linux program's command line.

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quorvik::app {
namespace {

TEST(CommandLine, PrefixHelpAndMistakes) {
    quorvik::testing::TempDir dir;
    const std::string prefix = (dir / "my prefix").string();
    std::filesystem::create_directories(prefix);
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> prefix;  // "-" for no options at all (the program ends)
        int exitCode;
    };
    const Case cases[] = {
        {{}, std::nullopt, 0},
        {{"--prefix", prefix}, prefix, 0},
        {{"--prefix=" + prefix}, prefix, 0},
        {{"--help"}, "-", 0},
        {{"--prefix", prefix + "/gone"}, "-", -1},
        {{"--prefix"}, "-", -1},
        {{"--prefx", prefix}, "-", -1},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"quorvik"};
        for (const std::string& argument : c.arguments) argv.push_back(argument.c_str());
        int exitCode = 0;
        const auto options = readCommandLine(static_cast<int>(argv.size()), argv.data(), exitCode);
        const std::string line = ::testing::PrintToString(c.arguments);
        if (c.prefix == "-") {
            EXPECT_FALSE(options) << line;
            EXPECT_EQ(exitCode != 0, c.exitCode != 0) << line;
            continue;
        }
        ASSERT_TRUE(options) << line;
        EXPECT_EQ(options->prefix, c.prefix) << line;
    }
}

}  // namespace
}  // namespace quorvik::app
