#pragma once

// Lines of the game's 8-bit text files.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::settings {

// Real settings files are about a kilobyte; anything this large is not one.
inline constexpr std::uintmax_t kMaxSettingsFileBytes = 8u * 1024u * 1024u;

// Splits file contents into lines. CR LF, LF and a lone CR each end a line; a
// last line without an end still counts. Bytes pass through unchanged.
std::vector<std::string> splitLines(std::string_view bytes);

// The lines of a settings file. A UTF-8 byte-order mark that an editor put at
// its start is no part of the first line: the game's keys must match there.
std::vector<std::string> settingsFileLines(std::string_view bytes);

// The lines with CR LF after every one, the last included.
std::string joinLines(std::span<const std::string> lines);

// The value text of a setting line: from character `start` (counting from 1)
// up to and including the second-to-last character; the last character,
// normally ")", is dropped whatever it is. Nothing is trimmed. A line too short
// to hold a value gives an empty text.
std::string valueText(std::string_view line, std::size_t start);

// A value without the double quotes it stands in; any other value as it is.
std::string unquoted(std::string value);

}  // namespace quorvik::settings
