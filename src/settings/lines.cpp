#include "settings/lines.h"

namespace quorvik::settings {

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(bytes.substr(begin, i - begin));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    if (begin < bytes.size()) lines.emplace_back(bytes.substr(begin));
    return lines;
}

std::vector<std::string> settingsFileLines(std::string_view bytes) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    return splitLines(bytes);
}

std::string joinLines(std::span<const std::string> lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string valueText(std::string_view line, std::size_t start) {
    if (start == 0 || line.size() <= start) return {};
    return std::string(line.substr(start - 1, line.size() - start));
}

std::string unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace quorvik::settings
