#pragma once

// Paths travel through the tool as UTF-8 text (what the user typed, what the
// detection found) and become filesystem paths only where a file is opened.

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvik::platform {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The file name alone, for messages.
inline std::string fileNameOf(const std::filesystem::path& path) {
    return pathToUtf8(path.filename());
}

}  // namespace quorvik::platform
