// The Linux program's command line, read before any display is reached.

#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quorvik::app {
namespace {

TEST(CommandLine, PrefixHelpVersionAndMistakes) {
    quorvik::testing::TempDir dir;
    const std::string prefix = (dir / "my prefix").string();
    std::filesystem::create_directories(prefix);
    struct Case {
        std::vector<std::string> arguments;
        std::optional<std::string> prefix;  // "-" for no options at all (the program ends)
        int exitCode;
        std::string out;  // what standard output starts with
    };
    const Case cases[] = {
        {{}, std::nullopt, 0, ""},
        {{"--prefix", prefix}, prefix, 0, ""},
        {{"--prefix=" + prefix}, prefix, 0, ""},
        // Qt's own options are QApplication's, with one dash or two.
        {{"-platform", "offscreen", "--prefix", prefix, "-reverse"}, prefix, 0, ""},
        {{"--style=fusion", "-qwindowtitle", "a b"}, std::nullopt, 0, ""},
        {{"--help"}, "-", 0, "Quorvik: the settings of Quell Moor"},
        {{"-platform", "xcb", "--version"}, "-", 0, "quorvik " QUORVIK_VERSION "\n"},
        {{"--completion", "bash"}, "-", 0, "# bash completion for quorvik,"},
        {{"--completion", "tcsh"}, "-", 2, ""},
        {{"--prefix", prefix + "/gone"}, "-", 2, ""},
        {{"--prefix"}, "-", 2, ""},
        {{"--prefx", prefix}, "-", 2, ""},
        {{"--", "-platform"}, "-", 2, ""},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"quorvik"};
        for (const std::string& argument : c.arguments) argv.push_back(argument.c_str());
        int exitCode = -1;
        std::ostringstream out;
        std::ostringstream err;
        const auto options =
            readCommandLine(static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
        const std::string line = ::testing::PrintToString(c.arguments);
        EXPECT_TRUE(out.str().starts_with(c.out)) << line << out.str();
        if (c.prefix == "-") {
            EXPECT_FALSE(options) << line;
            EXPECT_EQ(exitCode, c.exitCode) << line;
            EXPECT_EQ(err.str().empty(), c.exitCode == 0) << line << err.str();
            continue;
        }
        ASSERT_TRUE(options) << line << err.str();
        EXPECT_EQ(options->prefix, c.prefix) << line;
    }
}

}  // namespace
}  // namespace quorvik::app
