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

// A path as it really is, links and ".." resolved as far as it exists, so
// that a folder reached by another spelling or link compares equal.
inline std::filesystem::path resolvedPath(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

// Whether inner is outer or lies below it, part by part.
inline bool isWithin(const std::filesystem::path& inner, const std::filesystem::path& outer) {
    auto in = inner.begin();
    for (auto out = outer.begin(); out != outer.end(); ++out, ++in) {
        if (in == inner.end() || *in != *out) return false;
    }
    return true;
}

}  // namespace quorvik::platform
