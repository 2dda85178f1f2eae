#pragma once

// Text between the Win32 controls and the core: the panel holds the game's
// 8-bit code page, dialogs and captions hold UTF-8, the wide-character calls
// take UTF-16.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace quorvik::win32 {

inline std::wstring fromAnsi(const platform::CodePage& codePage, std::string_view bytes) {
    const std::u16string text = codePage.decode(bytes);
    return std::wstring(text.begin(), text.end());
}

inline std::string toAnsi(const platform::CodePage& codePage, std::wstring_view text) {
    return codePage.encode(std::u16string(text.begin(), text.end()));
}

inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace quorvik::win32
