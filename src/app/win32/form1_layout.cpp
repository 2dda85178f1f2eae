// Form1's window at the monitor's DPI: the fonts, the controls placed from the
// layout's twips, drop-downs sized to their entries, and the window kept on its
// monitor's work area.

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/win32/combo_field.h"
#include "app/win32/form1_window.h"
#include "app/win32/form1_window_parts.h"
#include "app/win32/view_text.h"
#include "catalogue/catalogue.h"
#include "platform/win32/late_bound.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {

// GetDpiForWindow, AdjustWindowRectExForDpi and SystemParametersInfoForDpi came
// with Windows 10: they are looked up, and older systems get the 96-dpi answers.
using platform::win32::lateBound;

RECT windowRectFor(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi = lateBound<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rect = client;
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, TRUE, exStyle, dpi)) {
        AdjustWindowRectEx(&rect, style, TRUE, exStyle);
    }
    return rect;
}

namespace {

// The face of the system's message font: the window's default font.
std::wstring messageFontFace(UINT dpi) {
    static const auto parametersForDpi = lateBound<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT)>(
        L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    const bool got =
        parametersForDpi != nullptr
            ? parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi) != 0
            : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != 0;
    return got && metrics.lfMessageFont.lfFaceName[0] != L'\0' ? metrics.lfMessageFont.lfFaceName
                                                               : L"MS Shell Dlg 2";
}

HFONT makeFont(const wchar_t* face, int hundredthsOfPoints, bool bold, BYTE charSet, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(hundredthsOfPoints, static_cast<int>(dpi), 72 * 100);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = charSet;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

}  // namespace

// The window's DPI; 96 before Windows 10.
UINT dpiOf(HWND window) {
    static const auto getDpiForWindow =
        lateBound<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
    }
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

HFONT Form1Window::font(panel::FontRole role) const {
    const HFONT chosen = fonts_[static_cast<std::size_t>(role)];
    return chosen != nullptr ? chosen : fonts_[static_cast<std::size_t>(panel::FontRole::Default)];
}

void Form1Window::giveFont(const Control& control) {
    // The drop-downs get their font from fitDropDowns, all together.
    if (control.window == nullptr || control.layout->kind == panel::Kind::ComboBox) return;
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font(control.layout->font)),
                 FALSE);
    if (control.layout->kind == panel::Kind::TextBox) {
        // The designed boxes are narrow: a four-digit value needs all the room.
        // (A new font brings the font's own margins back.)
        SendMessageW(control.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(1, 1));
    }
}

void Form1Window::makeFonts() {
    std::array<HFONT, 6> made{};
    const std::wstring face = messageFontFace(dpi_);
    using panel::FontRole;
    made[static_cast<std::size_t>(FontRole::Default)] =
        makeFont(face.c_str(), 825, false, DEFAULT_CHARSET, shownDpi_);
    made[static_cast<std::size_t>(FontRole::Status)] =
        makeFont(L"Verdana", 975, true, DEFAULT_CHARSET, shownDpi_);
    made[static_cast<std::size_t>(FontRole::Caption)] =
        makeFont(L"Verdana", 825, true, DEFAULT_CHARSET, shownDpi_);
    made[static_cast<std::size_t>(FontRole::Donation)] =
        makeFont(L"Terminal", 600, true, OEM_CHARSET, shownDpi_);
    made[static_cast<std::size_t>(FontRole::Button)] =
        makeFont(L"Times New Roman", 825, true, DEFAULT_CHARSET, shownDpi_);
    const std::array<HFONT, 6> old = fonts_;
    fonts_ = made;
    for (const Control& control : controls_) giveFont(control);
    dropDownFontSize_ = 0;  // made again, at this DPI
    fitDropDowns();
    // The controls use the new fonts now: the old ones can go.
    for (const HFONT font : old) {
        if (font != nullptr) DeleteObject(font);
    }
}

int Form1Window::pixels(int twips) const {
    return MulDiv(twips, static_cast<int>(shownDpi_), 1440);
}

HDC Form1Window::measuring() {
    // Compatible with the screen, so text measures in it as on screen.
    if (measuring_ == nullptr) measuring_ = CreateCompatibleDC(nullptr);
    return measuring_;
}

SIZE Form1Window::captionSize(const std::wstring& text, panel::FontRole role) {
    HDC dc = measuring();
    const HGDIOBJ old = SelectObject(dc, font(role));
    RECT extent{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        extent.bottom = metrics.tmHeight;
    }
    SelectObject(dc, old);
    return {extent.right, extent.bottom};
}

void Form1Window::placeLabel(Control& label) {
    const SIZE size = captionSize(windowText(label.window), label.layout->font);
    // A label fits its caption; its left edge stays put.
    SetWindowPos(label.window, nullptr, pixels(label.layout->left), pixels(label.layout->top),
                 size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::layoutControls() {
    const panel::Panel& panel = form_->panel;
    for (Control& control : controls_) {
        const panel::ControlLayout& layout = *control.layout;
        if (control.window == nullptr) continue;
        const int left = pixels(layout.left);
        const int top = pixels(layout.top);
        switch (layout.kind) {
            case panel::Kind::Label:
                // Made during start-up, a label has its size already.
                if (!loading_) placeLabel(control);
                break;
            case panel::Kind::ComboBox:
                break;  // all together, below
            default: {
                const bool banner = layout.kind == panel::Kind::Banner;
                const int width = pixels(banner ? panel.Scriptlet1.Width : layout.width);
                const int height = pixels(banner ? panel.Scriptlet1.Height : layout.height);
                RECT now{};
                GetWindowRect(control.window, &now);
                MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&now), 2);
                if (now.left != left || now.top != top || now.right - now.left != width ||
                    now.bottom - now.top != height) {
                    SetWindowPos(control.window, nullptr, left, top, width, height,
                                 SWP_NOZORDER | SWP_NOACTIVATE);
                }
                break;
            }
        }
    }
    fitDropDowns();
}

void Form1Window::fitDropDowns() {
    std::vector<Control*> combos;
    for (Control& control : controls_) {
        if (control.layout->kind == panel::Kind::ComboBox && control.window != nullptr)
            combos.push_back(&control);
    }
    if (combos.empty()) return;
    // A box's entries; before start-up fills the lists, those it will fill
    // them with, so that the boxes are sized once, not again when they fill.
    std::vector<std::vector<std::wstring>> entries;
    for (const Control* combo : combos) {
        std::vector<std::wstring>& of = entries.emplace_back();
        const auto count = static_cast<int>(SendMessageW(combo->window, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) of.push_back(itemText(combo->window, i));
        const catalogue::Setting* setting = catalogue::shownIn(combo->layout->name);
        if (count == 0 && setting != nullptr) {
            for (const std::string_view entry : setting->entries)
                of.push_back(fromAnsi(codePage_, entry));
        }
    }
    const auto longestWith = [&](std::size_t which, HFONT font) {
        HDC dc = measuring();
        const HGDIOBJ old = SelectObject(dc, font);
        int longest = 0;
        for (const std::wstring& entry : entries[which]) {
            SIZE size{};
            GetTextExtentPoint32W(dc, entry.c_str(), static_cast<int>(entry.size()), &size);
            longest = std::max(longest, static_cast<int>(size.cx));
        }
        SelectObject(dc, old);
        return longest;
    };
    // What a box takes around its text: the arrow, the borders, the field's
    // margins (one pixel each side, whatever the font, as a text box's), and
    // the caret after the last letter.
    constexpr int kFieldMargin = 1;
    const auto around = [](HWND box) {
        RECT outer{};
        RECT inner{};
        GetWindowRect(box, &outer);
        GetClientRect(comboField(box), &inner);
        return static_cast<int>((outer.right - outer.left) - inner.right + 2 * kFieldMargin +
                                2 * GetSystemMetrics(SM_CXBORDER) + 2);
    };
    const auto widest = [this](const Control& combo) {
        return pixels(combo.layout->width + panel::roomToTheRight(combo.layout->name));
    };
    const auto fits = [&](HFONT font) {
        for (std::size_t i = 0; i < combos.size(); ++i) {
            if (longestWith(i, font) + around(combos[i]->window) > widest(*combos[i])) return false;
        }
        return true;
    };

    // Each box grows into the room to its right to show its longest entry
    // whole; where that is not enough for one, all take one smaller size, so
    // that the window's drop-downs keep one look.
    HFONT chosen = font(panel::FontRole::Default);
    HFONT smaller = nullptr;
    int smallerSize = 0;
    if (!fits(chosen)) {
        // The font the boxes have already is taken again, not made anew.
        const std::wstring face = messageFontFace(dpi_);
        for (int size = 800; size >= 650; size -= 25) {
            if (smaller != nullptr && smaller != dropDownFont_) DeleteObject(smaller);
            smaller = size == dropDownFontSize_ && dropDownFont_ != nullptr
                          ? dropDownFont_
                          : makeFont(face.c_str(), size, false, DEFAULT_CHARSET, shownDpi_);
            smallerSize = size;
            if (fits(smaller)) break;
        }
        chosen = smaller;
    }
    std::map<int, LRESULT> fieldHeights;  // by the closed box's height
    for (std::size_t i = 0; i < combos.size(); ++i) {
        Control* combo = combos[i];
        const HWND box = combo->window;
        const panel::ControlLayout& layout = *combo->layout;
        const bool newFont = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)) != chosen;
        if (newFont) {
            SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), FALSE);
            // A new font brings the font's own margins back.
            SendMessageW(comboField(box), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(kFieldMargin, kFieldMargin));
        }
        // The height given is the open list's; the closed box is sized through its
        // field's height.
        const int closed = pixels(layout.height);
        const int longest = longestWith(i, chosen);
        const int width = std::clamp(longest + around(box), pixels(layout.width), widest(*combo));
        RECT now{};
        GetWindowRect(box, &now);
        MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&now), 2);
        if (now.left != pixels(layout.left) || now.top != pixels(layout.top) ||
            now.right - now.left != width) {
            SetWindowPos(box, nullptr, pixels(layout.left), pixels(layout.top), width, closed * 9,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Systems differ in how the field's height maps to the box's: adjust until
        // the closed box has the designed height.
        // Boxes of one height in one font take the field height found for the first.
        LRESULT height = SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        if (const auto found = fieldHeights.find(closed);
            found != fieldHeights.end() && found->second != height) {
            height = found->second;
            SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
        }
        for (int attempt = 0; attempt < 3; ++attempt) {
            GetWindowRect(box, &now);
            const int off = closed - (now.bottom - now.top);
            if (off == 0 || height + off <= 0) break;
            height += off;
            SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
        }
        fieldHeights[closed] = height;
        // The open list is as wide as its longest entry, with the list's own edges.
        const int list = longest + 2 * GetSystemMetrics(SM_CXEDGE) + pixels(120);
        SendMessageW(box, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max(list, width)), 0);
    }
    if (dropDownFont_ != nullptr && dropDownFont_ != smaller) DeleteObject(dropDownFont_);
    dropDownFont_ = smaller;
    dropDownFontSize_ = smallerSize;
}

void Form1Window::chooseShownDpi() {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    const RECT frame = windowRectFor(RECT{0, 0, 0, 0}, static_cast<DWORD>(style),
                                     static_cast<DWORD>(exStyle), dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    shownDpi_ = dpi_;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const double scale = panel::fittingScale(static_cast<double>(dpi_) / kDesignDpi,
                                             work.right - work.left, work.bottom - work.top,
                                             frame.right - frame.left, frame.bottom - frame.top);
    shownDpi_ = std::min(dpi_, static_cast<UINT>(scale * kDesignDpi));
}

void Form1Window::keepOnWorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT frame{};
    if (!GetWindowRect(hwnd_, &frame) ||
        !GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = std::max<int>(work.left, std::min<int>(frame.left, work.right - width));
    const int top = std::max<int>(work.top, std::min<int>(frame.top, work.bottom - height));
    if (left != frame.left || top != frame.top) {
        SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form1Window::fitClientArea() {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    const RECT client{0, 0, pixels(panel::kClientWidth), pixels(panel::kClientHeight)};
    const RECT outer =
        windowRectFor(client, static_cast<DWORD>(style), static_cast<DWORD>(exStyle), dpi_);
    RECT now{};
    GetWindowRect(hwnd_, &now);
    if (now.right - now.left != outer.right - outer.left ||
        now.bottom - now.top != outer.bottom - outer.top) {
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // A menu bar that wraps onto a second line takes from the client area: give it back.
    RECT got{};
    GetClientRect(hwnd_, &got);
    const int missingWidth = client.right - got.right;
    const int missingHeight = client.bottom - got.bottom;
    if (missingWidth != 0 || missingHeight != 0) {
        RECT frame{};
        GetWindowRect(hwnd_, &frame);
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + missingWidth,
                     frame.bottom - frame.top + missingHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace quorvik::win32
