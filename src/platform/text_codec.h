#pragma once

// The game's files are 8-bit text in the system's ANSI code page; the user
// interface is Unicode. Each machine back end says which code page it has
// (System::codePage): on Windows the system's own, under Wine Windows-1252,
// mapped so that every byte survives a round trip: the five bytes that code
// page leaves undefined stand for the control characters U+0081, U+008D,
// U+008F, U+0090 and U+009D.

#include <string>
#include <string_view>

namespace quorvik::platform {

std::u16string decodeCp1252(std::string_view bytes);
// Characters the code page cannot hold become "?".
std::string encodeCp1252(std::u16string_view text);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// An 8-bit code page: what the game's bytes mean as text.
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::u16string decode(std::string_view bytes) const = 0;
    // Characters the code page cannot hold become "?".
    virtual std::string encode(std::u16string_view text) const = 0;

    std::string toUtf8(std::string_view bytes) const { return utf16ToUtf8(decode(bytes)); }
    std::string fromUtf8(std::string_view utf8) const { return encode(utf8ToUtf16(utf8)); }
};

// Windows-1252, every byte kept.
const CodePage& windows1252();

// The text without the blanks and tabs around it, as a typed value is meant.
constexpr std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Whether two texts have the same letters, ASCII case aside: how keys,
// drop-down entries and on/off are matched.
constexpr bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The items one after another, `between` between them: "16, 24, 32".
template <typename Items>
std::string joined(const Items& items, std::string_view between = ", ") {
    std::string text;
    for (const auto& item : items) {
        if (!text.empty()) text += between;
        text += item;
    }
    return text;
}

// Number of characters (code points) in a UTF-8 text.
std::size_t utf8Length(std::string_view utf8);

}  // namespace quorvik::platform
