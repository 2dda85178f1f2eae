#pragma once

// A fresh folder per test, removed afterwards, and small file helpers.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvik::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A folder name that an unquoted command line would split: blanks, quotes, "&".
// Windows allows no double quote in a name.
#ifdef _WIN32
inline constexpr const char* kOddFolderName = "Quell Moor 'Game' & y";
#else
inline constexpr const char* kOddFolderName = "Quell Moor \"Game\" 'x' & y";
#endif

// A file of tests/data: the sample and expected files.
std::filesystem::path dataFile(std::string_view name);
// Its bytes.
std::string dataBytes(std::string_view name);

void writeBytes(const std::filesystem::path& path, std::string_view bytes);
std::string readBytes(const std::filesystem::path& path);
// Lines joined with CR LF after every one, as the game writes its files.
std::string crlf(std::initializer_list<std::string_view> lines);

}  // namespace quorvik::testing
