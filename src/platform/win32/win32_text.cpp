#include "platform/win32/win32_text.h"

#include <windows.h>

#include <cwchar>

namespace quorvik::platform::win32 {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

std::string errorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : L"";
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.')) {
        text.pop_back();
    }
    if (text.empty()) return "Windows error " + std::to_string(code);
    return narrow(text);
}

std::string lastErrorText() {
    return errorText(GetLastError());
}

unsigned int systemCodePage() {
    // What the game's files are written in is the code page of programs without
    // a manifest of their own. quorvik-cli.exe's manifest asks for UTF-8, which
    // changes GetACP() for it alone; the system's setting is in the registry.
    static const unsigned int codePage = [] {
        wchar_t text[16] = {};
        DWORD size = sizeof(text) - sizeof(wchar_t);
        if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage",
                         L"ACP", RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS) {
            const unsigned long number = std::wcstoul(text, nullptr, 10);
            if (number != 0 && IsValidCodePage(static_cast<UINT>(number))) {
                return static_cast<unsigned int>(number);
            }
        }
        return static_cast<unsigned int>(GetACP());
    }();
    return codePage;
}

const CodePage& ansiCodePage() {
    class Ansi final : public CodePage {
    public:
        std::u16string decode(std::string_view bytes) const override {
            // Windows-1252 keeps the five bytes Windows leaves undefined.
            if (systemCodePage() == 1252 || bytes.empty()) return windows1252().decode(bytes);
            const int size = static_cast<int>(bytes.size());
            const int n = MultiByteToWideChar(systemCodePage(), 0, bytes.data(), size, nullptr, 0);
            std::u16string out(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
            MultiByteToWideChar(systemCodePage(), 0, bytes.data(), size,
                                reinterpret_cast<wchar_t*>(out.data()), n);
            return out;
        }
        std::string encode(std::u16string_view text) const override {
            if (systemCodePage() == 1252 || text.empty()) return windows1252().encode(text);
            const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
            const int size = static_cast<int>(text.size());
            const int n =
                WideCharToMultiByte(systemCodePage(), 0, wide, size, nullptr, 0, nullptr, nullptr);
            std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
            WideCharToMultiByte(systemCodePage(), 0, wide, size, out.data(), n, nullptr, nullptr);
            return out;
        }
    };
    static const Ansi codePage;
    return codePage;
}

}  // namespace quorvik::platform::win32
