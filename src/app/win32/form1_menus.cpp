// A setting's own menu (the field's edit commands, then the setting's items)
// and the tips Windows does not show for menu items.

#include <windows.h>
// windows.h first: the common controls build on it.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "app/commands.h"
#include "app/control_menu.h"
#include "app/help_texts.h"
#include "app/win32/control_ids.h"
#include "app/win32/form1_window.h"
#include "app/win32/form1_window_parts.h"
#include "app/win32/view_text.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::win32::widen;

// The commands of a setting's own menu: a field's edit commands as Windows'
// own field menu has them, then the setting's items from kFirstItem on.
enum : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll, kWhatsThis, kFirstItem = 100 };

// The monitor the window is on: its resolution and every mode it offers.
app::Display displayOf(HWND window) {
    app::Display display;
    MONITORINFOEXW monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return display;
    }
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    const auto size = [&mode] {
        return app::DisplayMode{static_cast<int>(mode.dmPelsWidth),
                                static_cast<int>(mode.dmPelsHeight)};
    };
    if (EnumDisplaySettingsW(monitor.szDevice, ENUM_CURRENT_SETTINGS, &mode)) {
        display.current = size();
    }
    for (DWORD i = 0; EnumDisplaySettingsW(monitor.szDevice, i, &mode); ++i) {
        display.modes.push_back(size());
    }
    return display;
}

}  // namespace

void Form1Window::showControlMenu(const Control& control, HWND field, LPARAM where) {
    pull();
    const std::vector<app::ControlMenuItem> items =
        app::controlMenu(form_->panel, control.layout->name, displayOf(hwnd_));
    HMENU menu = CreatePopupMenu();
    if (field != nullptr) {
        SetFocus(field);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        const auto length = static_cast<DWORD>(GetWindowTextLengthW(field));
        const auto add = [menu](UINT id, const wchar_t* caption, bool enabled) {
            AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, caption);
        };
        add(kUndo, L"&Undo", SendMessageW(field, EM_CANUNDO, 0, 0) != 0);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        add(kCut, L"Cu&t", start != end);
        add(kCopy, L"&Copy", start != end);
        add(kPaste, L"&Paste", IsClipboardFormatAvailable(CF_UNICODETEXT) != 0);
        add(kDelete, L"&Delete", start != end);
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        add(kSelectAll, L"Select &All", length > 0 && (start != 0 || end != length));
        if (!items.empty()) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    HMENU modes = nullptr;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UINT flags = MF_STRING | (items[i].enabled ? MF_ENABLED : MF_GRAYED);
        const std::wstring caption = widen(items[i].caption);
        if (items[i].mode && modes == nullptr) {
            modes = CreatePopupMenu();
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(modes),
                        widen(app::kOtherModesCaption).c_str());
        }
        AppendMenuW(items[i].mode ? modes : menu, flags, kFirstItem + i, caption.c_str());
    }
    if (!app::helpTextOf(control.layout->name).empty()) {
        if (GetMenuItemCount(menu) > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, kWhatsThis, widen(app::kWhatsThisCaption).c_str());
    }
    // From the keyboard (Shift+F10, the menu key) the menu opens under the control.
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (where == -1) {
        RECT rect{};
        GetWindowRect(control.window, &rect);
        at = {rect.left, rect.bottom};
    }
    const auto chosen = static_cast<UINT>(
        GetMenuItemCount(menu) > 0
            ? TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr)
            : 0);
    DestroyMenu(menu);  // its submenu with it
    static constexpr UINT kEditMessages[] = {WM_UNDO, WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR};
    if (chosen >= kUndo && chosen <= kDelete) {
        SendMessageW(field, kEditMessages[chosen - kUndo], 0, 0);
    } else if (chosen == kSelectAll) {
        SendMessageW(field, EM_SETSEL, 0, -1);
    } else if (chosen == kWhatsThis) {
        form_->WhatsThis_Click(control.layout->name);
    } else if (chosen >= kFirstItem && chosen - kFirstItem < items.size()) {
        app::choose(form_->panel, items[chosen - kFirstItem]);
        push();
    }
}

void Form1Window::showMenuTip(HMENU menu, UINT item, UINT flags) {
    std::string_view tip;
    for (const panel::Menu& each : panel::menus()) {
        for (const panel::MenuItem& entry : each.items) {
            if (menuCommandId(entry.name) == static_cast<int>(item)) tip = entry.tip;
        }
    }
    if (tip.empty() || menu == nullptr || (flags & (MF_POPUP | MF_SEPARATOR)) != 0) {
        hideMenuTip();
        return;
    }
    int position = -1;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuItemID(menu, i) == item) position = i;
    }
    RECT rect{};
    if (position < 0 || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &rect)) {
        hideMenuTip();
        return;
    }
    if (menuTip_ == nullptr) {
        menuTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = hwnd_;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(menuTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        // The window's own text font: the tip is sized and drawn in the one font.
        SendMessageW(menuTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font(panel::FontRole::Default)),
                     FALSE);
    }
    // Two blanks after the text: Wine measures a tip's text a little narrower
    // than it draws it, and a long tip lost its last letter.
    const std::wstring text = fromAnsi(codePage_, tip) + L"\u00a0\u00a0";
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    // Hidden first: a tip that stays shown keeps the size of its last text.
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(menuTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    const POINT at = menuTipPlace(menu, rect, tool);
    SendMessageW(menuTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

POINT Form1Window::menuTipPlace(HMENU menu, const RECT& item, TOOLINFOW& tool) {
    // The whole menu, from its first item to its last, and the screen it is on.
    RECT first{};
    RECT last{};
    const int count = GetMenuItemCount(menu);
    GetMenuItemRect(nullptr, menu, 0, &first);
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(std::max(count - 1, 0)), &last);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&item, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    // The tip's size: its text on one line, then its frame. One line: a tip
    // that wraps its text may put the last word on a line it has no room for
    // (Wine lays the text out a little narrower than it measures it).
    SendMessageW(menuTip_, TTM_SETMAXTIPWIDTH, 0, -1);
    RECT tip{};
    HDC dc = GetDC(menuTip_);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(menuTip_, WM_GETFONT, 0, 0)));
    DrawTextW(dc, tool.lpszText, -1, &tip, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(menuTip_, dc);
    SendMessageW(menuTip_, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tip));
    const LONG width = tip.right - tip.left;
    const LONG height = tip.bottom - tip.top;
    // The menu's frame lies a few pixels outside its items.
    const LONG frame = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    // Beside the item, where it hides nothing of the menu: right of the menu,
    // else left of it, else below it (or above, at the screen's foot).
    if (item.right + frame + width <= work.right) return {item.right + frame, item.top};
    if (first.left - frame - width >= work.left) return {first.left - frame - width, item.top};
    const LONG x = std::clamp(first.left, work.left, std::max(work.left, work.right - width));
    if (last.bottom + frame + height <= work.bottom) return {x, last.bottom + frame};
    return {x, std::max(work.top, first.top - frame - height)};
}

void Form1Window::hideMenuTip() {
    if (menuTip_ == nullptr) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace quorvik::win32
