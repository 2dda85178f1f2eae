// The registry of a Wine prefix read two ways must agree: through Windows'
// own calls (the Windows tests, run under Wine, record every read in
// drive_c/quorvik-registry-results.txt) and from the prefix's system.reg by the
// native back end. scripts/test-windows runs both; without QUORVIK_WINE_PREFIX
// this test is skipped.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/general.h"
#include "platform/posix/posix_files.h"
#include "platform/wine/wine_registry.h"
#include "support/fake_dialogs.h"
#include "support/temp_dir.h"

namespace quorvik::platform::wine {
namespace {

namespace General = quorvik::app::General;

using General::ReadRegistryValue;
using General::ViewPolicy;
using quorvik::testing::FakeDialogs;
namespace fs = std::filesystem;

struct Recorded {
    std::string name;
    ViewPolicy policy = ViewPolicy::Default;
    std::string keyPath;
    std::string valueName;
    std::optional<std::string> result;
};

std::optional<std::string> unhex(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]);
        const int low = digit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

// name, policy, key path, value name, result ("-" or "=" and hex), tab-separated.
std::optional<Recorded> parseLine(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (line.ends_with('\t')) fields.emplace_back();
    if (fields.size() != 5 || (fields[1] != "0" && fields[1] != "1")) return std::nullopt;
    Recorded recorded{fields[0], fields[1] == "1" ? ViewPolicy::Prefer32Bit : ViewPolicy::Default,
                      fields[2], fields[3], std::nullopt};
    if (fields[4] == "-") return recorded;
    if (!fields[4].starts_with('=')) return std::nullopt;
    recorded.result = unhex(std::string_view(fields[4]).substr(1));
    if (!recorded.result) return std::nullopt;
    return recorded;
}

TEST(WineRoundTrip, NativeReadsAgreeWithWindowsReads) {
    const char* prefixVariable = std::getenv("QUORVIK_WINE_PREFIX");
    if (prefixVariable == nullptr || *prefixVariable == '\0') {
        GTEST_SKIP() << "QUORVIK_WINE_PREFIX is not set; scripts/test-windows sets it";
    }
    const fs::path prefix = prefixVariable;
    const fs::path resultsFile = prefix / "drive_c" / "quorvik-registry-results.txt";
    ASSERT_TRUE(fs::is_regular_file(resultsFile))
        << resultsFile << " is missing: the Windows tests record it when they run";
    const std::string results = quorvik::testing::readBytes(resultsFile);

    WineRegistry registry(prefix, posix::readFile);
    std::istringstream lines(results);
    int compared = 0;
    for (std::string line; std::getline(lines, line);) {
        const auto recorded = parseLine(line);
        ASSERT_TRUE(recorded.has_value()) << "unreadable line: " << line;
        SCOPED_TRACE(recorded->name);
        FakeDialogs dialogs;
        std::string keyPath = recorded->keyPath;
        EXPECT_EQ(
            ReadRegistryValue(registry, dialogs, keyPath, recorded->valueName, recorded->policy),
            recorded->result);
        EXPECT_TRUE(dialogs.boxes.empty());
        ++compared;
    }
    EXPECT_EQ(registry.openHandles(), 0);
    // Every prepared case, and the Windows version, were read on Windows.
    EXPECT_GE(compared, 11) << "too few reads recorded: did the Windows tests run?";
}

}  // namespace
}  // namespace quorvik::platform::wine
