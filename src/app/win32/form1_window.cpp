// Form1's window: the one place Windows' messages arrive (the window
// procedure and the message loop), each turned into a command of the panel.
// Making the window, its layout, its pictures, its values and its menus are
// each in a file of their own.

#include "app/win32/form1_window.h"

#include <commctrl.h>

#include "app/commands.h"
#include "app/win32/combo_field.h"
#include "app/win32/control_ids.h"
#include "app/win32/form1_window_parts.h"
#include "app/win32/win32_dialogs.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::win32::widen;

bool isPushButton(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpiW(className, WC_BUTTONW) != 0) return false;
    const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

// The check box that a label names: a click on its caption toggles it.
std::string_view checkBoxNamedBy(std::string_view label) {
    for (const auto& entry : panel::kCheckBoxes) {
        const panel::ControlLayout* caption = panel::captionOf(entry.name);
        if (caption != nullptr && caption->name == label) return entry.name;
    }
    return {};
}

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
    form_ = std::make_unique<app::Form1>(*dialogs, system, &ToolTips);
}

Form1Window::~Form1Window() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (shortcuts_ != nullptr) DestroyAcceleratorTable(shortcuts_);
    if (measuring_ != nullptr) DeleteDC(measuring_);
    if (dropDownFont_ != nullptr) DeleteObject(dropDownFont_);
    for (HFONT font : fonts_) {
        if (font != nullptr) DeleteObject(font);
    }
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(labelBrush_), static_cast<HGDIOBJ>(bannerBrush_),
                           static_cast<HGDIOBJ>(shown_), static_cast<HGDIOBJ>(prepared_),
                           static_cast<HGDIOBJ>(moor_), static_cast<HGDIOBJ>(black_)}) {
        if (object != nullptr) DeleteObject(object);
    }
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

void Form1Window::load(Handlers handlers) {
    // The question is on screen the moment the program is up; the window is
    // made whole once it is answered, before start-up goes on to fill it.
    // The tooltip gets its tools, and the controls the window's own handlers,
    // once the controls are filled and sized: under Wine every message to a
    // subclassed control costs a round trip to the server.
    loading_ = true;
    ToolTips.holdTools();
    // A player reads the question for a moment: the pictures are loaded
    // meanwhile, so that once the answer comes only the window is left to
    // make. Not at once: the question is drawn first. A thread's timer fires
    // in the question's own message loop.
    static Form1Window* preparing = nullptr;
    preparing = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (preparing != nullptr) preparing->preparePictures();
    });
    form_->askStartUpQuestion();
    if (timer != 0) KillTimer(nullptr, timer);
    preparing = nullptr;
    build();
    form_->Form_Load();
    push();
    loading_ = false;
    if (handlers == Handlers::AtLoad) giveHandlers();
}

void Form1Window::giveHandlers() {
    ToolTips.releaseTools();
    subclassControls();
}

void Form1Window::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    // Before any input can reach them: nothing is read from the queue until
    // show() returns.
    giveHandlers();
    // Named once the window is on screen (the names take COM, which the
    // window need not wait for), before any control has the focus a screen
    // reader announces.
    if (!named_) {
        named_ = true;
        nameInputs();
    }
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
        if (translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool Form1Window::translate(MSG& message) {
    if (hwnd_ == nullptr) return false;
    const bool ours = message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd);
    // The menus' shortcuts first, wherever the focus is in the window; a
    // message box's own keys stay its own.
    if (ours && shortcuts_ != nullptr && TranslateAcceleratorW(hwnd_, shortcuts_, &message)) {
        return true;
    }
    // Shift+F1 explains the control that has the focus, as What's this? in
    // its own menu does.
    if (ours && message.message == WM_KEYDOWN && message.wParam == VK_F1 &&
        GetKeyState(VK_SHIFT) < 0) {
        const Control* focused = find(message.hwnd);
        if (focused == nullptr) focused = find(GetParent(message.hwnd));  // a drop-down's field
        if (focused != nullptr) form_->WhatsThis_Click(focused->layout->name);
        return true;
    }
    // Tab, Shift+Tab and Enter move between the controls as in a dialog.
    return IsDialogMessageW(hwnd_, &message) != 0;
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
