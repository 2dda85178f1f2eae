// The end-to-end test's eyes inside the Wine prefix: it reads what a player
// would read off the screen (a message box's title and text, a control's text)
// and where a control is, so that the driving script can click it. It never
// presses anything itself.
//
//   quorvik_gui_probe box SECONDS          waits for a message box: "title\ttext", CR LF as \n
//   quorvik_gui_probe button ID            the middle of the message box's button ID: "x y"
//   quorvik_gui_probe closed SECONDS       waits until no message box is left
//   quorvik_gui_probe point NAME           a control's centre on the screen: "x y"
//   quorvik_gui_probe text NAME            a control's text
//   quorvik_gui_probe wait-text NAME TEXT SECONDS   waits until the control shows TEXT

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/win32/control_ids.h"
#include "platform/win32/win32_text.h"

namespace {

using quorvik::platform::win32::narrow;
using quorvik::platform::win32::widen;

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A message box is a visible dialog whose text sits in the control 0xFFFF.
HWND findMessageBox() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(window) ||
                GetDlgItem(window, 0xFFFF) == nullptr) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND control(const char* name) {
    const HWND window = FindWindowW(L"QuorvikForm1", nullptr);
    return window != nullptr ? GetDlgItem(window, quorvik::win32::controlId(name)) : nullptr;
}

std::string oneLine(const std::wstring& text) {
    std::string line;
    for (const char c : narrow(text)) {
        if (c == '\r') continue;
        if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

bool waitFor(double seconds, auto&& done) {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() > until) return false;
        Sleep(50);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "box" && argc == 3) {
        HWND box = nullptr;
        if (!waitFor(std::atof(argv[2]), [&] { return (box = findMessageBox()) != nullptr; })) {
            std::fprintf(stderr, "no message box\n");
            return 1;
        }
        std::printf("%s\t%s\n", oneLine(textOf(box)).c_str(),
                    oneLine(textOf(GetDlgItem(box, 0xFFFF))).c_str());
        return 0;
    }
    if (command == "button" && argc == 3) {
        const HWND box = findMessageBox();
        const HWND button = box != nullptr ? GetDlgItem(box, std::atoi(argv[2])) : nullptr;
        RECT area{};
        if (button == nullptr || !GetWindowRect(button, &area)) return 1;
        std::printf("%ld %ld\n", (area.left + area.right) / 2, (area.top + area.bottom) / 2);
        return 0;
    }
    if (command == "closed" && argc == 3) {
        return waitFor(std::atof(argv[2]), [] { return findMessageBox() == nullptr; }) ? 0 : 1;
    }
    if (command == "point" && argc == 3) {
        const HWND window = control(argv[2]);
        RECT area{};
        if (window == nullptr || !GetWindowRect(window, &area)) return 1;
        std::printf("%ld %ld\n", (area.left + area.right) / 2, (area.top + area.bottom) / 2);
        return 0;
    }
    if (command == "text" && argc == 3) {
        const HWND window = control(argv[2]);
        if (window == nullptr) return 1;
        std::printf("%s\n", oneLine(textOf(window)).c_str());
        return 0;
    }
    if (command == "wait-text" && argc == 5) {
        const std::wstring wanted = widen(argv[3]);
        const bool shown = waitFor(std::atof(argv[4]), [&] {
            const HWND window = control(argv[2]);
            return window != nullptr && textOf(window) == wanted;
        });
        return shown ? 0 : 1;
    }
    std::fprintf(stderr, "usage: quorvik_gui_probe box|button|closed|point|text|wait-text ...\n");
    return 2;
}
