// Form1's window made: the window itself, its menus and shortcut keys, and
// the controls as the layout places them, each with its name for screen readers.

#include <windows.h>
// windows.h first: the common controls build on it.
#include <commctrl.h>

#include <algorithm>
#include <map>

#include "app/commands.h"
#include "app/control_menu.h"
#include "app/help_texts.h"
#include "app/win32/combo_field.h"
#include "app/win32/control_ids.h"
#include "app/win32/form1_window.h"
#include "app/win32/form1_window_parts.h"
#include "app/win32/resource_ids.h"
#include "app/win32/view_text.h"
#include "app/win32/win32_dialogs.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::win32::widen;

constexpr wchar_t kWindowClass[] = L"QuorvikForm1";
constexpr UINT_PTR kBannerSubclass = 1;
constexpr UINT_PTR kControlMenuSubclass = 2;

constexpr wchar_t kBannerText[] =
    L"Quorvik edits the video and audio settings of Quell Moor. Load both files, change what "
    L"you like, then choose File > Save Settings. Every save keeps a backup beside your "
    L"settings.";

// The panel's label of that name, if it is one.
const panel::Label* labelOf(const panel::Panel& panel, std::string_view name) {
    for (const auto& entry : panel::kLabels) {
        if (entry.name == name) return &(panel.*entry.member);
    }
    return nullptr;
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

}  // namespace

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
    // Made at its size for the screen's DPI, which is the window's unless its
    // monitor says otherwise: the layout then need not resize it.
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const auto screenDpi = static_cast<int>(dpiOf(nullptr));
    const RECT outer = windowRectFor(RECT{0, 0, MulDiv(panel::kClientWidth, screenDpi, 1440),
                                          MulDiv(panel::kClientHeight, screenDpi, 1440)},
                                     kStyle, 0, static_cast<UINT>(screenDpi));
    const HWND window = CreateWindowExW(0, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                        outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                        buildMenus(), instance, this);
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
    preparePictures();
    bannerBrush_ = CreateSolidBrush(kBannerBack);
    chooseShownDpi();
    // The fonts first: each control gets its font as it is made, each label its
    // caption at its size, so that nothing is measured or moved twice.
    makeFonts();
    buildControls();
    // load() pushes the panel once start-up has filled it: not twice.
    if (!loading_) push();
    layoutControls();
    fitClientArea();
    keepOnWorkArea();
    // Made by load(), the window takes its own handlers once it is filled.
    if (!loading_) subclassControls();
}

void Form1Window::preparePictures() {
    if (black_ != nullptr) return;  // made already
    moor_ = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                            MAKEINTRESOURCEW(QUORVIK_IDB_BACKGROUND), IMAGE_BITMAP,
                                            0, 0, LR_CREATEDIBSECTION));
    black_ = blackBitmap();
    // The window is most likely shown at the screen's DPI: the picture is
    // scaled for it now, and again only if the window turns out otherwise.
    preparedDpi_ = dpiOf(nullptr);
    if (moor_ != nullptr) prepared_ = scaledCopy(moor_, preparedDpi_, preparedSize_);
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
    // Tab follows the designed order: the dialog manager walks the windows in
    // z-order. Each input's label goes directly before it, where screen readers
    // look for an input's name. A new control goes below those made before it,
    // so the controls are made in that order, the rest after them: nothing is
    // moved in the z-order afterwards.
    std::vector<const panel::ControlLayout*> order;
    const auto add = [&order](const panel::ControlLayout* layout) {
        if (layout != nullptr && std::find(order.begin(), order.end(), layout) == order.end())
            order.push_back(layout);
    };
    for (const std::string_view name : panel::tabOrder()) {
        add(panel::captionOf(name));
        add(panel::findLayout(name));
    }
    for (const panel::ControlLayout& layout : panel::layout()) add(&layout);
    std::map<const panel::ControlLayout*, Control> made;
    for (const panel::ControlLayout* placed : order) {
        const panel::ControlLayout& layout = *placed;
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
            // Made where the layout puts it, at its size: the layout then moves
            // nothing (a drop-down's height is its open list's). A label is
            // made with its caption, sized to it.
            std::wstring text;
            SIZE size{pixels(layout.width),
                      pixels(layout.height) * (layout.kind == panel::Kind::ComboBox ? 9 : 1)};
            if (const panel::Label* label = labelOf(form_->panel, layout.name)) {
                text = fromAnsi(codePage_, label->Caption);
                size = captionSize(text, layout.font);
                control.color = label->ForeColor;
            } else if (layout.kind == panel::Kind::CheckBox) {
                // The caption is the label beside the box. The box holds it
                // too, as the name screen readers read where no annotation
                // reaches them; it would start right of the box's mark and so
                // is clipped away unseen.
                text = widen(panel::accessibleName(layout.name));
            } else if (layout.kind == panel::Kind::Banner) {
                text = kBannerText;
            }
            control.window = CreateWindowExW(
                exStyle, windowClass, text.c_str(), style, pixels(layout.left), pixels(layout.top),
                size.cx, size.cy, hwnd_,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(layout.name))), instance,
                nullptr);
            giveFont(control);
        }
        made.emplace(&layout, control);
    }
    for (const panel::ControlLayout& layout : panel::layout())
        controls_.push_back(made.at(&layout));
}

void Form1Window::subclassControls() {
    if (subclassed_) return;
    subclassed_ = true;
    for (const Control& control : controls_) {
        if (control.window == nullptr) continue;
        const panel::Kind kind = control.layout->kind;
        if (kind == panel::Kind::TextBox || kind == panel::Kind::ComboBox) {
            const HWND field = comboField(control.window);
            SetWindowSubclass(field != nullptr ? field : control.window, controlMenuProc,
                              kControlMenuSubclass, 0);
        }
        if (kind == panel::Kind::Banner)
            SetWindowSubclass(control.window, bannerProc, kBannerSubclass, 0);
    }
}

}  // namespace quorvik::win32
