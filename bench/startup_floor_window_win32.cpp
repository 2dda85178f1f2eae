// The floor for the answer to quorvik.exe's start-up question: the same
// question in a bare message box, then, once it is answered, a window built
// as Quorvik's is and shown: the same window classes with as many controls,
// each where Quorvik puts it, the drop-downs holding the same entries, one
// font, the same menus, and one tooltip
// holding a tool with its text for each control that has one. No settings,
// no registry, no search, no pictures: what any program showing this window
// must do. The start-up measure times its main window against Quorvik's.

#include <windows.h>
// windows.h first: the common controls build on it.
#include <commctrl.h>

#include <map>
#include <string>
#include <string_view>

#include "app/help_texts.h"
#include "catalogue/catalogue.h"
#include "panel/layout.h"

namespace {

using namespace quorvik;

std::wstring wide(std::string_view text) {
    // The layout's and the help's texts are ASCII or the Western code page.
    std::wstring out;
    for (const char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

HMENU menuBar() {
    HMENU bar = CreateMenu();
    for (const panel::Menu& menu : panel::menus()) {
        const std::wstring caption = wide(panel::menuText(menu.caption, menu.key));
        if (menu.items.empty()) {
            AppendMenuW(bar, MF_STRING, 1, caption.c_str());
            continue;
        }
        HMENU items = CreatePopupMenu();
        for (const panel::MenuItem& item : menu.items) {
            AppendMenuW(items, MF_STRING, 2, wide(panel::menuText(item.caption, item.key)).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(items), caption.c_str());
    }
    return bar;
}

const wchar_t* classOf(panel::Kind kind, DWORD& style) {
    switch (kind) {
        case panel::Kind::Label:
            style |= SS_LEFT | SS_NOPREFIX;
            return WC_STATICW;
        case panel::Kind::TextBox:
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            return WC_EDITW;
        case panel::Kind::ComboBox:
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
            return WC_COMBOBOXW;
        case panel::Kind::CheckBox:
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            return WC_BUTTONW;
        case panel::Kind::Button:
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            return WC_BUTTONW;
        case panel::Kind::Banner:
            style |= ES_MULTILINE | ES_READONLY;
            return WC_EDITW;
        case panel::Kind::Image:
            return nullptr;
    }
    return nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    MessageBoxW(nullptr, L"Would you like to try and automatically detect settings path?",
                L"Quorvik", MB_YESNO | MB_ICONQUESTION);

    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"QuorvikFloor";
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, panel::toPixels(panel::kClientWidth), panel::toPixels(panel::kClientHeight)};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, 0);
    const HWND window =
        CreateWindowExW(0, L"QuorvikFloor", L"Quorvik floor", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, menuBar(), instance, nullptr);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    std::map<std::string_view, HWND> controls;
    for (const panel::ControlLayout& layout : panel::layout()) {
        DWORD style = WS_CHILD | WS_VISIBLE;
        const wchar_t* kind = classOf(layout.kind, style);
        if (kind == nullptr) continue;
        const int width = layout.width > 0 ? panel::toPixels(layout.width) : 100;
        const int height = layout.height > 0 ? panel::toPixels(layout.height) : 16;
        const DWORD exStyle =
            layout.kind == panel::Kind::TextBox || layout.kind == panel::Kind::Banner
                ? WS_EX_CLIENTEDGE
                : 0;
        const HWND control = CreateWindowExW(
            exStyle, kind, wide(layout.text).c_str(), style, panel::toPixels(layout.left),
            panel::toPixels(layout.top), width, height, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // A drop-down holds the entries start-up gives Quorvik's.
        if (const catalogue::Setting* setting = catalogue::shownIn(layout.name);
            setting != nullptr && layout.kind == panel::Kind::ComboBox) {
            for (const std::string_view entry : setting->entries) {
                SendMessageW(control, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(wide(entry).c_str()));
            }
        }
        controls[layout.name] = control;
    }

    const HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                                     0, 0, 0, window, nullptr, instance, nullptr);
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 480);
    for (const app::HelpText& help : app::helpTexts()) {
        const auto control = controls.find(help.control);
        if (control == controls.end()) continue;
        std::wstring text = wide(app::assembleHelpText(help));
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(control->second);
        tool.lpszText = text.data();
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
