#pragma once

// The game's files, registry strings and tooltips are 8-bit text in the system's
// ANSI code page; the user interface is Unicode. Off Windows the code page is
// Windows-1252, mapped so that every byte survives a round trip: the five bytes
// that code page leaves undefined stand for the control characters U+0081,
// U+008D, U+008F, U+0090 and U+009D.

#include <string>
#include <string_view>

namespace quorvik::platform {

std::u16string decodeCp1252(std::string_view bytes);
// Characters the code page cannot hold become "?".
std::string encodeCp1252(std::u16string_view text);

// The system's ANSI code page: Windows-1252 off Windows.
std::u16string decodeAnsi(std::string_view bytes);
std::string encodeAnsi(std::u16string_view text);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

inline std::string ansiToUtf8(std::string_view bytes) { return utf16ToUtf8(decodeAnsi(bytes)); }
inline std::string utf8ToAnsi(std::string_view utf8) { return encodeAnsi(utf8ToUtf16(utf8)); }

// Number of characters (code points) in a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

}  // namespace quorvik::platform
