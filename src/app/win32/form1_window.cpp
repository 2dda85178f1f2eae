#include "app/win32/form1_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "app/commands.h"
#include "app/control_menu.h"
#include "app/first_answer_dialogs.h"
#include "app/help_texts.h"
#include "app/win32/combo_field.h"
#include "app/win32/control_ids.h"
#include "app/win32/resource_ids.h"
#include "app/win32/view_text.h"
#include "app/win32/win32_dialogs.h"
#include "platform/win32/late_bound.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::win32::widen;

constexpr wchar_t kWindowClass[] = L"QuorvikForm1";
constexpr int kDesignDpi = 96;
constexpr UINT_PTR kBannerSubclass = 1;
constexpr UINT_PTR kControlMenuSubclass = 2;

// The commands of a setting's own menu: a field's edit commands as Windows'
// own field menu has them, then the setting's items from kFirstItem on.
enum : UINT { kUndo = 1, kCut, kCopy, kPaste, kDelete, kSelectAll, kFirstItem = 100 };

constexpr COLORREF kBannerBack = RGB(0x10, 0x14, 0x18);
constexpr COLORREF kBannerInk = RGB(0xd8, 0xd0, 0xb0);
constexpr wchar_t kBannerText[] =
    L"Quorvik edits the video and audio settings of Quell Moor. Load both files, change what "
    L"you like, then choose File > Save Settings. Every save keeps a backup beside your "
    L"settings.";

// The plain black picture covers the whole client area.
constexpr SIZE kBlackPicture{867, 371};

// GetDpiForWindow, AdjustWindowRectExForDpi and SystemParametersInfoForDpi came
// with Windows 10: they are looked up, and older systems get the 96-dpi answers.
using platform::win32::lateBound;

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

RECT windowRectFor(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi = lateBound<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    RECT rect = client;
    if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, TRUE, exStyle, dpi)) {
        AdjustWindowRectEx(&rect, style, TRUE, exStyle);
    }
    return rect;
}

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

// A copy of the picture at the window's DPI, as a bitmap that a brush can use.
HBITMAP scaledCopy(HBITMAP source, UINT dpi, SIZE& size) {
    BITMAP info{};
    GetObjectW(source, sizeof info, &info);
    size = {MulDiv(info.bmWidth, static_cast<int>(dpi), kDesignDpi),
            MulDiv(info.bmHeight, static_cast<int>(dpi), kDesignDpi)};
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP copy = CreateCompatibleBitmap(screen, size.cx, size.cy);
    const HGDIOBJ oldFrom = SelectObject(from, source);
    const HGDIOBJ oldTo = SelectObject(to, copy);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return copy;
}

HBITMAP blackBitmap() {
    HDC screen = GetDC(nullptr);
    HBITMAP black = CreateCompatibleBitmap(screen, kBlackPicture.cx, kBlackPicture.cy);
    HDC dc = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(dc, black);
    const RECT all{0, 0, kBlackPicture.cx, kBlackPicture.cy};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return black;
}

// The banner reads like a page: Tab leaves it rather than being swallowed.
LRESULT CALLBACK bannerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        // Nor is the whole page selected when Tab arrives.
        return DefSubclassProc(window, message, wParam, lParam) &
               ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_HASSETSEL);
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, bannerProc, kBannerSubclass);
    return DefSubclassProc(window, message, wParam, lParam);
}

// A field's own menu cannot be extended: its right click and Shift+F10 go to
// the window instead, which shows the setting's menu with the same edit commands.
LRESULT CALLBACK controlMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == WM_CONTEXTMENU) {
        SendMessageW(GetAncestor(window, GA_ROOT), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                     lParam);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, controlMenuProc, kControlMenuSubclass);
    return DefSubclassProc(window, message, wParam, lParam);
}

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

std::wstring itemText(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The check box that a label names: a click on its caption toggles it.
std::string_view checkBoxNamedBy(std::string_view label) {
    for (const auto& entry : panel::kCheckBoxes) {
        const panel::ControlLayout* caption = panel::captionOf(entry.name);
        if (caption != nullptr && caption->name == label) return entry.name;
    }
    return {};
}

bool isPushButton(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpiW(className, WC_BUTTONW) != 0) return false;
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

Form1Window::Form1Window(platform::System& system, platform::Dialogs* dialogs, Controls controls)
    : ToolTips(system.codePage()),
      system_(system),
      codePage_(system.codePage()),
      controlsWhen_(controls) {
    if (dialogs == nullptr) {
        ownDialogs_ = std::make_unique<Win32Dialogs>();
        win32Dialogs_ = ownDialogs_.get();
        dialogs = win32Dialogs_;
    }
    if (controls == Controls::AfterStartUpQuestion) {
        startUpDialogs_ = std::make_unique<app::FirstAnswerDialogs>(*dialogs, [this] { build(); });
        dialogs = startUpDialogs_.get();
    }
    form_ = std::make_unique<app::Form1>(*dialogs, system, &ToolTips);
}

Form1Window::~Form1Window() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (shortcuts_ != nullptr) DestroyAcceleratorTable(shortcuts_);
    for (const Control& control : controls_) {
        if (control.ownFont != nullptr) DeleteObject(control.ownFont);
    }
    for (HFONT font : fonts_) {
        if (font != nullptr) DeleteObject(font);
    }
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(labelBrush_), static_cast<HGDIOBJ>(bannerBrush_),
                           static_cast<HGDIOBJ>(shown_), static_cast<HGDIOBJ>(moor_),
                           static_cast<HGDIOBJ>(black_)}) {
        if (object != nullptr) DeleteObject(object);
    }
}

bool Form1Window::create() {
    // Asked first, the question comes up as fast as a bare program's: the window
    // itself is made once it is answered.
    if (controlsWhen_ == Controls::AfterStartUpQuestion) return true;
    if (!makeWindow()) return false;
    build();
    return true;
}

bool Form1Window::makeWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hIcon =
            static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(QUORVIK_IDI_ICON), IMAGE_ICON,
                                          0, 0, LR_DEFAULTSIZE | LR_SHARED));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(QUORVIK_IDI_ICON), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        windowClass.lpszClassName = kWindowClass;
        if (!RegisterClassExW(&windowClass)) return false;
    }

    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    // Frame, minimise and maximise; the controls stay where they are when it is resized.
    const HWND window = CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                        nullptr, buildMenus(), instance, this);
    if (window == nullptr) return false;
    shortcuts_ = buildShortcuts();

    dpi_ = dpiOf(hwnd_);
    shownDpi_ = dpi_;
    if (win32Dialogs_ != nullptr) win32Dialogs_->setWindow(hwnd_);
    ToolTips.setOwner(hwnd_, [this](std::string_view name) -> HWND {
        // Labels are captions drawn on the window, not controls the pointer rests on.
        const Control* found = find(name);
        if (found == nullptr || found->layout->kind == panel::Kind::Label) return nullptr;
        return found->window;
    });
    ToolTips.setDpi(dpi_);
    return true;
}

void Form1Window::build() {
    if (built_ || (hwnd_ == nullptr && !makeWindow())) return;
    built_ = true;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    moor_ = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(QUORVIK_IDB_BACKGROUND),
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    black_ = blackBitmap();
    bannerBrush_ = CreateSolidBrush(kBannerBack);
    chooseShownDpi();
    buildControls();
    makeFonts();
    push();
    layoutControls();
    fitClientArea();
    keepOnWorkArea();
    nameInputs();
}

void Form1Window::nameInputs() {
    for (const Control& control : controls_) {
        const std::string name = panel::accessibleName(control.layout->name);
        if (control.window == nullptr || name.empty()) continue;
        accessibleNames_.name(control.window, widen(name),
                              widen(std::string(app::helpSummary(control.layout->name))));
    }
}

HMENU Form1Window::buildMenus() const {
    // The access key marked with "&", and an item's shortcut after a tab, where
    // Windows shows it right-aligned.
    const auto text = [this](std::string_view caption, char key, std::string_view shortcut) {
        std::string shown = panel::menuText(caption, key);
        if (!shortcut.empty()) shown += "\t" + std::string(shortcut);
        return fromAnsi(codePage_, shown);
    };
    HMENU bar = CreateMenu();
    for (const panel::Menu& menu : panel::menus()) {
        // A menu bar's title shows no shortcut: F1 is About's key all the same.
        const std::wstring caption = text(menu.caption, menu.key, {});
        if (menu.items.empty()) {
            // A menu without items, such as About: its title is the command.
            AppendMenuW(bar, MF_STRING, static_cast<UINT_PTR>(menuCommandId(menu.name)),
                        caption.c_str());
            continue;
        }
        HMENU items = CreatePopupMenu();
        for (const panel::MenuItem& item : menu.items) {
            AppendMenuW(items, MF_STRING, static_cast<UINT_PTR>(menuCommandId(item.name)),
                        text(item.caption, item.key, item.shortcut).c_str());
        }
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(items), caption.c_str());
    }
    return bar;
}

HACCEL Form1Window::buildShortcuts() const {
    // The shortcuts as the menus name them: "Ctrl+" and a letter, or a function key.
    std::vector<ACCEL> keys;
    const auto add = [&](std::string_view shortcut, std::string_view command) {
        ACCEL key{FVIRTKEY, 0, static_cast<WORD>(menuCommandId(command))};
        if (shortcut.starts_with("Ctrl+")) {
            key.fVirt |= FCONTROL;
            shortcut.remove_prefix(5);
        }
        if (shortcut.size() == 1 && shortcut[0] >= 'A' && shortcut[0] <= 'Z') {
            key.key = static_cast<WORD>(shortcut[0]);
        } else if (shortcut.size() >= 2 && shortcut[0] == 'F') {
            key.key = static_cast<WORD>(VK_F1 + std::stoi(std::string(shortcut.substr(1))) - 1);
        } else {
            return;
        }
        keys.push_back(key);
    };
    for (const panel::Menu& menu : panel::menus()) {
        add(menu.shortcut, menu.name);
        for (const panel::MenuItem& item : menu.items) add(item.shortcut, item.name);
    }
    return CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
}

void Form1Window::buildControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const panel::ControlLayout& layout : panel::layout()) {
        Control control{&layout, nullptr, 0};
        const wchar_t* windowClass = nullptr;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP;
        DWORD exStyle = 0;
        switch (layout.kind) {
            case panel::Kind::Label:
                windowClass = WC_STATICW;
                style |= SS_LEFT | SS_NOPREFIX;
                // Clicks matter on a label with a command and on a check box's caption.
                if (app::findCommand(layout.name) != nullptr ||
                    !checkBoxNamedBy(layout.name).empty()) {
                    style |= SS_NOTIFY;
                }
                break;
            case panel::Kind::TextBox:
                windowClass = WC_EDITW;
                style |= WS_TABSTOP | ES_AUTOHSCROLL;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case panel::Kind::ComboBox:
                windowClass = WC_COMBOBOXW;
                // Editable: a typed text stays as typed and never enters the list.
                style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
                break;
            case panel::Kind::CheckBox:
                windowClass = WC_BUTTONW;
                // BS_NOTIFY: the window hears of its focus, to draw the ring around it.
                style |= WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY;
                break;
            case panel::Kind::Button:
                windowClass = WC_BUTTONW;
                style |= WS_TABSTOP | BS_PUSHBUTTON;
                break;
            case panel::Kind::Banner:
                windowClass = WC_EDITW;
                style |= WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
                exStyle = WS_EX_CLIENTEDGE;
                break;
            case panel::Kind::Image:
                break;  // picture holders are never shown: no window
        }
        if (windowClass != nullptr) {
            control.window = CreateWindowExW(
                exStyle, windowClass, L"", style, 0, 0, 0, 0, hwnd_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(layout.name))), instance,
                nullptr);
        }
        if (layout.kind == panel::Kind::CheckBox && control.window != nullptr) {
            // The caption is the label beside the box. The box holds it too, as
            // the name screen readers read where no annotation reaches them; it
            // would start right of the box's mark and so is clipped away unseen.
            const std::wstring name = widen(panel::accessibleName(layout.name));
            SetWindowTextW(control.window, name.c_str());
        }
        if (control.window != nullptr &&
            (layout.kind == panel::Kind::TextBox || layout.kind == panel::Kind::ComboBox)) {
            const HWND field = comboField(control.window);
            SetWindowSubclass(field != nullptr ? field : control.window, controlMenuProc,
                              kControlMenuSubclass, 0);
        }
        if (layout.kind == panel::Kind::Banner && control.window != nullptr) {
            SetWindowTextW(control.window, kBannerText);
            SetWindowSubclass(control.window, bannerProc, kBannerSubclass, 0);
        }
        controls_.push_back(control);
    }

    // Tab follows the designed order: the dialog manager walks the windows in
    // z-order. Each input's label goes directly before it, where screen readers
    // look for an input's name.
    HWND previous = HWND_TOP;
    std::vector<std::string_view> placed;
    const auto place = [&](std::string_view name) {
        const HWND next = control(name);
        if (next == nullptr || std::find(placed.begin(), placed.end(), name) != placed.end())
            return;
        SetWindowPos(next, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = next;
        placed.push_back(name);
    };
    for (const std::string_view name : panel::tabOrder()) {
        if (const panel::ControlLayout* caption = panel::captionOf(name)) place(caption->name);
        place(name);
    }
}

HFONT Form1Window::font(panel::FontRole role) const {
    const HFONT chosen = fonts_[static_cast<std::size_t>(role)];
    return chosen != nullptr ? chosen : fonts_[static_cast<std::size_t>(panel::FontRole::Default)];
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
    for (const Control& control : controls_) {
        if (control.window == nullptr) continue;
        const HFONT chosen = made[static_cast<std::size_t>(control.layout->font)];
        SendMessageW(control.window, WM_SETFONT,
                     reinterpret_cast<WPARAM>(chosen != nullptr ? chosen : made[0]), FALSE);
        if (control.layout->kind == panel::Kind::TextBox) {
            // The designed boxes are narrow: a four-digit value needs all the room.
            // (A new font brings the font's own margins back.)
            SendMessageW(control.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(1, 1));
        }
    }
    // The controls use the new fonts now: the old ones can go.
    for (HFONT& old : fonts_) {
        if (old != nullptr) DeleteObject(old);
    }
    fonts_ = made;
}

int Form1Window::pixels(int twips) const {
    return MulDiv(twips, static_cast<int>(shownDpi_), 1440);
}

void Form1Window::placeLabel(Control& label) {
    const std::wstring text = windowText(label.window);
    HDC dc = GetDC(label.window);
    const HGDIOBJ old = SelectObject(dc, font(label.layout->font));
    RECT extent{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        extent.bottom = metrics.tmHeight;
    }
    SelectObject(dc, old);
    ReleaseDC(label.window, dc);
    // A label fits its caption; its left edge stays put.
    SetWindowPos(label.window, nullptr, pixels(label.layout->left), pixels(label.layout->top),
                 extent.right, extent.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
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
                placeLabel(control);
                break;
            case panel::Kind::ComboBox:
                fitDropDown(control);
                break;
            case panel::Kind::Banner:
                SetWindowPos(control.window, nullptr, left, top, pixels(panel.Scriptlet1.Width),
                             pixels(panel.Scriptlet1.Height), SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            default:
                SetWindowPos(control.window, nullptr, left, top, pixels(layout.width),
                             pixels(layout.height), SWP_NOZORDER | SWP_NOACTIVATE);
                break;
        }
    }
}

void Form1Window::fitDropDown(Control& combo) {
    const panel::ControlLayout& layout = *combo.layout;
    const HWND box = combo.window;
    // The height given is the open list's; the closed box is sized through its
    // field's height.
    const int closed = pixels(layout.height);
    const int designed = pixels(layout.width);
    const int widest = pixels(layout.width + panel::roomToTheRight(layout.name));
    const auto placeAt = [&](int width) {
        SetWindowPos(box, nullptr, pixels(layout.left), pixels(layout.top), width, closed * 9,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    placeAt(designed);

    // What the box takes around its text: the arrow, the borders, the field's margins.
    const HWND boxField = comboField(box);
    RECT field{};
    GetClientRect(boxField, &field);
    const auto margins = static_cast<DWORD>(SendMessageW(boxField, EM_GETMARGINS, 0, 0));
    const int around = designed - field.right + LOWORD(margins) + HIWORD(margins) + 2;
    const auto longestWith = [&](HFONT font) {
        HDC dc = GetDC(box);
        const HGDIOBJ old = SelectObject(dc, font);
        int longest = 0;
        const auto count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            const std::wstring entry = itemText(box, i);
            SIZE size{};
            GetTextExtentPoint32W(dc, entry.c_str(), static_cast<int>(entry.size()), &size);
            longest = std::max(longest, static_cast<int>(size.cx));
        }
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        return longest;
    };

    // The closed box shows its longest entry whole: it grows into the room to
    // its right, and where that is not enough its text is set a little smaller.
    HFONT chosen = font(panel::FontRole::Default);
    HFONT smaller = nullptr;
    int longest = longestWith(chosen);
    if (longest + around > widest) {
        const std::wstring face = messageFontFace(dpi_);
        for (int size = 800; size >= 650 && longest + around > widest; size -= 25) {
            if (smaller != nullptr) DeleteObject(smaller);
            smaller = makeFont(face.c_str(), size, false, DEFAULT_CHARSET, shownDpi_);
            longest = longestWith(smaller);
        }
        chosen = smaller;
    }
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(chosen), FALSE);
    if (combo.ownFont != nullptr) DeleteObject(combo.ownFont);
    combo.ownFont = smaller;
    placeAt(std::clamp(longest + around, designed, widest));

    // Systems differ in how the field's height maps to the box's: adjust until
    // the closed box has the designed height.
    LRESULT height = SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT now{};
        GetWindowRect(box, &now);
        const int off = closed - (now.bottom - now.top);
        if (off == 0 || height + off <= 0) break;
        height += off;
        SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
    }
    // The open list is as wide as its longest entry, with the list's own edges.
    RECT now{};
    GetWindowRect(box, &now);
    const int list = longest + 2 * GetSystemMetrics(SM_CXEDGE) + pixels(120);
    SendMessageW(box, CB_SETDROPPEDWIDTH,
                 static_cast<WPARAM>(std::max<int>(list, now.right - now.left)), 0);
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
    const double scale = panel::fittingScale(
        static_cast<double>(dpi_) / kDesignDpi, work.right - work.left, work.bottom - work.top,
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

void Form1Window::paintFocusRing(HDC dc) const {
    const Control* focused = find(GetFocus());
    if (focused == nullptr || focused->layout->kind != panel::Kind::CheckBox) return;
    // Until a key is pressed, Windows shows no focus marks, nor does the window.
    if ((SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0) return;
    RECT ring{};
    GetWindowRect(focused->window, &ring);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&ring), 2);
    InflateRect(&ring, 2, 2);
    // A dotted ring as Windows draws focus, in the captions' light ink so that
    // it shows on the picture and on black alike; drawn, not inverted, so that
    // a second paint leaves it as it is.
    const LOGBRUSH ink{BS_SOLID, RGB(0xff, 0xff, 0xff), 0};
    const HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &ink, 0, nullptr);
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, ring.left, ring.top, ring.right, ring.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void Form1Window::invalidateFocusRing(HWND check) const {
    RECT ring{};
    GetWindowRect(check, &ring);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&ring), 2);
    InflateRect(&ring, 3, 3);
    InvalidateRect(hwnd_, &ring, TRUE);
}

void Form1Window::fitClientArea() {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    const RECT client{0, 0, pixels(panel::kClientWidth), pixels(panel::kClientHeight)};
    const RECT outer =
        windowRectFor(client, static_cast<DWORD>(style), static_cast<DWORD>(exStyle), dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void Form1Window::showPicture(app::Picture picture) {
    if (pictureMade_ && picture == picture_) return;
    picture_ = picture;
    pictureMade_ = true;
    if (labelBrush_ != nullptr) DeleteObject(labelBrush_);
    if (shown_ != nullptr) DeleteObject(shown_);
    labelBrush_ = nullptr;
    shown_ = nullptr;
    shownSize_ = {};
    const HBITMAP source = picture == app::Picture::Moor    ? moor_
                           : picture == app::Picture::Black ? black_
                                                            : nullptr;
    if (source != nullptr) {
        shown_ = scaledCopy(source, shownDpi_, shownSize_);
        labelBrush_ = CreatePatternBrush(shown_);
    }
    // Labels and check boxes paint their part of the picture behind them.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Form1Window::eraseBackground(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (shown_ == nullptr) {
        FillRect(dc, &client, black);
        return;
    }
    // The picture at its size from the top-left corner, black beyond it.
    HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, shown_);
    BitBlt(dc, 0, 0, shownSize_.cx, shownSize_.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    const RECT right{shownSize_.cx, 0, client.right, client.bottom};
    const RECT below{0, shownSize_.cy, shownSize_.cx, client.bottom};
    if (right.left < right.right) FillRect(dc, &right, black);
    if (below.top < below.bottom) FillRect(dc, &below, black);
}

const Form1Window::Control* Form1Window::find(HWND window) const {
    for (const Control& control : controls_) {
        if (control.window == window && window != nullptr) return &control;
    }
    return nullptr;
}

Form1Window::Control* Form1Window::find(std::string_view name) {
    for (Control& control : controls_) {
        if (control.layout->name == name) return &control;
    }
    return nullptr;
}

const Form1Window::Control* Form1Window::find(std::string_view name) const {
    return const_cast<Form1Window*>(this)->find(name);
}

HWND Form1Window::control(std::string_view name) const {
    const Control* found = find(name);
    return found != nullptr ? found->window : nullptr;
}

void Form1Window::load() {
    form_->Form_Load();
    build();  // in case start-up showed no box at all
    push();
}

void Form1Window::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    if (focused_ == nullptr) {
        focused_ = control("Command1");
        SetFocus(focused_);
    }
}

void Form1Window::run(std::string_view command) {
    pull();
    app::dispatch(*form_, command);
    if (hwnd_ != nullptr) push();
}

int Form1Window::messageLoop() {
    quitOnDestroy_ = true;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The menus' shortcuts first, wherever the focus is in the window; a
        // message box's own keys stay its own.
        if (hwnd_ != nullptr && shortcuts_ != nullptr &&
            (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd)) &&
            TranslateAcceleratorW(hwnd_, shortcuts_, &message)) {
            continue;
        }
        // Tab, Shift+Tab and Enter move between the controls as in a dialog.
        if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// One small function per kind of control moves its value between window and panel.
namespace {

using platform::CodePage;

void pullValue(const CodePage& page, HWND edit, panel::TextBox& box) {
    box.Text = toAnsi(page, windowText(edit));
}

void pushValue(const CodePage& page, HWND edit, const panel::TextBox& box) {
    const std::wstring text = fromAnsi(page, box.Text);
    // Setting the text shows its beginning, as typed values do.
    if (windowText(edit) != text) SetWindowTextW(edit, text.c_str());
}

void pullValue(const CodePage& page, HWND combo, panel::ComboBox& box) {
    box.setText(toAnsi(page, windowText(combo)));
}

// True when the list changed: the box is then sized to its entries again.
bool pushValue(const CodePage& page, HWND combo, const panel::ComboBox& box) {
    std::vector<std::wstring> items;
    for (const auto& item : box.List) items.push_back(fromAnsi(page, item));
    const auto count = static_cast<std::size_t>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    bool same = count == items.size();
    for (std::size_t i = 0; same && i < count; ++i)
        same = itemText(combo, static_cast<int>(i)) == items[i];
    if (!same) {
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const auto& item : items) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
    }
    const std::wstring text = fromAnsi(page, box.Text);
    const auto selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (windowText(combo) == text && selected == box.ListIndex) return !same;
    // Selecting an entry puts its text into the field; a typed text stands alone.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(box.ListIndex), 0);
    if (box.ListIndex < 0 || windowText(combo) != text) SetWindowTextW(combo, text.c_str());
    // The field shows the start of a long entry, not its end, as a text box does.
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
    return !same;
}

void pullValue(const CodePage&, HWND check, panel::CheckBox& box) {
    box.Value = SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void pushValue(const CodePage&, HWND check, const panel::CheckBox& box) {
    SendMessageW(check, BM_SETCHECK, box.Value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void pushValue(const CodePage& page, HWND button, const panel::Button& model) {
    const std::wstring text = fromAnsi(page, model.Caption);
    if (windowText(button) != text) SetWindowTextW(button, text.c_str());
}

}  // namespace

void Form1Window::pull() {
    panel::Panel& panel = form_->panel;
    for (const auto& entry : panel::kTextBoxes) {
        if (const HWND window = control(entry.name))
            pullValue(codePage_, window, panel.*entry.member);
    }
    for (const auto& entry : panel::kComboBoxes) {
        if (const HWND window = control(entry.name))
            pullValue(codePage_, window, panel.*entry.member);
    }
    for (const auto& entry : panel::kCheckBoxes) {
        if (const HWND window = control(entry.name))
            pullValue(codePage_, window, panel.*entry.member);
    }
}

void Form1Window::push() {
    if (!built_) return;
    const panel::Panel& panel = form_->panel;
    for (const auto& entry : panel::kTextBoxes) {
        if (const HWND window = control(entry.name))
            pushValue(codePage_, window, panel.*entry.member);
    }
    for (const auto& entry : panel::kComboBoxes) {
        Control* combo = find(entry.name);
        if (combo != nullptr && combo->window != nullptr &&
            pushValue(codePage_, combo->window, panel.*entry.member)) {
            fitDropDown(*combo);
        }
    }
    for (const auto& entry : panel::kCheckBoxes) {
        if (const HWND window = control(entry.name))
            pushValue(codePage_, window, panel.*entry.member);
    }
    for (const auto& entry : panel::kButtons) {
        if (const HWND window = control(entry.name))
            pushValue(codePage_, window, panel.*entry.member);
    }
    for (const auto& entry : panel::kLabels) {
        Control* label = find(entry.name);
        if (label == nullptr || label->window == nullptr) continue;
        const panel::Label& model = panel.*entry.member;
        const std::wstring text = fromAnsi(codePage_, model.Caption);
        const bool recolour = label->color != model.ForeColor;
        label->color = model.ForeColor;
        if (windowText(label->window) != text) {
            SetWindowTextW(label->window, text.c_str());
            placeLabel(*label);
            InvalidateRect(label->window, nullptr, TRUE);
        } else if (recolour) {
            InvalidateRect(label->window, nullptr, TRUE);
        }
    }

    if (const HWND banner = control("Scriptlet1")) {
        RECT now{};
        GetWindowRect(banner, &now);
        const int width = pixels(panel.Scriptlet1.Width);
        const int height = pixels(panel.Scriptlet1.Height);
        if (now.right - now.left != width || now.bottom - now.top != height) {
            SetWindowPos(banner, nullptr, 0, 0, width, height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    showPicture(form_->BackgroundPicture);
    const std::wstring caption = widen(form_->Caption);
    if (windowText(hwnd_) != caption) SetWindowTextW(hwnd_, caption.c_str());
}

bool Form1Window::command(int id, int code, HWND from) {
    // Enter goes to the button that has the focus, as a click would.
    if (id == IDOK && from == nullptr) {
        const HWND focus = GetFocus();
        const Control* focused = find(focus);
        if (focused != nullptr && isPushButton(focus)) {
            run(focused->layout->name);
            return true;
        }
        return false;
    }
    if (from == nullptr) {
        const std::string_view name = menuCommandName(id);
        if (name.empty()) return false;
        run(name);
        return true;
    }
    const Control* control = find(from);
    if (control == nullptr) return false;
    if (control->layout->kind == panel::Kind::CheckBox &&
        (code == BN_SETFOCUS || code == BN_KILLFOCUS)) {
        invalidateFocusRing(from);
        return false;
    }
    if (control->layout->kind == panel::Kind::ComboBox && code == CBN_KILLFOCUS) {
        // A drop-down's field keeps its selection drawn when left; like a text
        // box, it shows its value from the start, unmarked, once the focus goes.
        SendMessageW(from, CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
        return false;
    }
    if (control->layout->kind == panel::Kind::Label &&
        (code == STN_CLICKED || code == STN_DBLCLK)) {
        // A check box's caption is part of it: a click on it clicks the box.
        if (const HWND check = this->control(checkBoxNamedBy(control->layout->name))) {
            SendMessageW(check, BM_CLICK, 0, 0);
            return true;
        }
    }
    const bool clicked = (control->layout->kind == panel::Kind::Button && code == BN_CLICKED) ||
                         (control->layout->kind == panel::Kind::Label &&
                          (code == STN_CLICKED || code == STN_DBLCLK));
    if (!clicked || app::findCommand(control->layout->name) == nullptr) return false;
    run(control->layout->name);
    return true;
}

LRESULT CALLBACK Form1Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = self->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

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
        SendMessageW(menuTip_, TTM_SETMAXTIPWIDTH, 0, pixels(5000));
    }
    const std::wstring text = fromAnsi(codePage_, tip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(menuTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    // Beside the item, where it hides nothing of the menu.
    SendMessageW(menuTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(rect.right + 4, rect.top));
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void Form1Window::hideMenuTip() {
    if (menuTip_ == nullptr) return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CTLCOLORSTATIC: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            const Control* control = find(reinterpret_cast<HWND>(lParam));
            if (control == nullptr) break;
            if (control->layout->kind == panel::Kind::Banner) {
                SetTextColor(dc, kBannerInk);
                SetBkColor(dc, kBannerBack);
                return reinterpret_cast<LRESULT>(bannerBrush_);
            }
            // Labels and check boxes show the picture behind them: the brush is
            // the picture, lined up with the window's client area.
            SetBkMode(dc, TRANSPARENT);
            if (control->layout->kind == panel::Kind::Label) SetTextColor(dc, control->color);
            if (labelBrush_ == nullptr)
                return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            POINT origin{0, 0};
            MapWindowPoints(control->window, hwnd_, &origin, 1);
            SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
            return reinterpret_cast<LRESULT>(labelBrush_);
        }
        case WM_COMMAND:
            if (command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
            break;
        case WM_CONTEXTMENU: {
            // From a field, a drop-down (or its field) or a check box.
            const auto from = reinterpret_cast<HWND>(wParam);
            const Control* control = find(from);
            if (control == nullptr) control = find(GetParent(from));
            if (control == nullptr || (control->layout->kind != panel::Kind::TextBox &&
                                       control->layout->kind != panel::Kind::ComboBox &&
                                       control->layout->kind != panel::Kind::CheckBox)) {
                break;
            }
            const HWND field = control->layout->kind == panel::Kind::ComboBox
                                   ? comboField(control->window)
                               : control->layout->kind == panel::Kind::TextBox ? control->window
                                                                               : nullptr;
            showControlMenu(*control, field, lParam);
            return 0;
        }
        case WM_MENUSELECT:
            showMenuTip(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam));
            break;
        case WM_EXITMENULOOP:
            hideMenuTip();
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(hwnd_, &paint);
            paintFocusRing(dc);
            EndPaint(hwnd_, &paint);
            return 0;
        }
        case WM_UPDATEUISTATE: {
            // The first key press shows focus marks: the ring appears with them.
            const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
            const Control* focused = find(GetFocus());
            if (focused != nullptr && focused->layout->kind == panel::Kind::CheckBox) {
                invalidateFocusRing(focused->window);
            }
            return result;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->code == TTN_SHOW && header->hwndFrom == ToolTips.hWnd()) {
                ToolTips.fitOnMonitor(reinterpret_cast<HWND>(header->idFrom));
            }
            break;  // the tooltip places the tip itself
        }
        case WM_ACTIVATE:
            // A message box takes the focus away; it comes back to the same control.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) focused_ = focus;
            } else {
                if (focused_ == nullptr || !IsWindow(focused_)) focused_ = control("Command1");
                SetFocus(focused_);
            }
            return 0;
        case WM_SETFOCUS:
            if (focused_ != nullptr && IsWindow(focused_)) SetFocus(focused_);
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            ToolTips.setDpi(dpi_);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            if (!built_) return 0;
            chooseShownDpi();
            makeFonts();
            layoutControls();
            fitClientArea();
            keepOnWorkArea();
            pictureMade_ = false;
            showPicture(picture_);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            accessibleNames_.clear();
            if (quitOnDestroy_) PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace quorvik::win32
