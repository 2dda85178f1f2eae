// The layers of src/: every file includes only its own folder's headers and
// those its folder's row of src/layers.txt allows, and every folder has a
// row. The build enforces the same table; this names the file and the line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace quorvik::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = QUORVIK_SOURCE_DIR;

// layers.txt as folder -> the folders it may include, itself among them.
std::map<std::string, std::set<std::string>> layers() {
    std::map<std::string, std::set<std::string>> table;
    std::ifstream file(kSource / "layers.txt");
    for (std::string line; std::getline(file, line);) {
        const auto colon = line.find(':');
        if (line.empty() || line[0] == '#' || colon == std::string::npos) continue;
        const std::string folder = line.substr(0, colon);
        std::istringstream below(line.substr(colon + 1));
        table[folder].insert(folder);
        for (std::string allowed; below >> allowed;) table[folder].insert(allowed);
    }
    return table;
}

TEST(Layers, EveryFileIncludesOnlyWhatItsFolderMay) {
    const auto table = layers();
    ASSERT_FALSE(table.empty());
    std::set<std::string> folders;
    for (const auto& entry : fs::directory_iterator(kSource)) {
        if (entry.is_directory()) folders.insert(entry.path().filename().string());
    }
    for (const std::string& folder : folders)
        EXPECT_TRUE(table.contains(folder)) << folder << " has no row";

    const std::regex include(R"(^\s*#\s*include\s*"([a-z_0-9]+)/)");
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSource)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
        const std::string folder = entry.path().lexically_relative(kSource).begin()->string();
        const std::set<std::string>& allowed = table.at(folder);
        std::ifstream file(entry.path());
        int number = 0;
        for (std::string line; std::getline(file, line);) {
            ++number;
            std::smatch match;
            if (!std::regex_search(line, match, include) || !folders.contains(match[1])) continue;
            EXPECT_TRUE(allowed.contains(match[1]))
                << entry.path().lexically_relative(kSource).generic_string() << ":" << number
                << " includes " << match[1] << "/, above " << folder;
        }
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace quorvik::testing
