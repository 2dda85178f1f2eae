// Form1's values between the controls and the panel: pulled before each
// command and pushed back after it, one small function per kind of control.

#include <windows.h>

#include "app/win32/form1_window.h"
#include "app/win32/form1_window_parts.h"
#include "app/win32/view_text.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::CodePage;
using platform::win32::widen;

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
        // Filled without drawing each entry as it comes: the list is drawn once.
        // A window not yet on screen draws nothing anyway.
        const bool shown = IsWindowVisible(combo) != FALSE;
        if (shown) SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const auto& item : items) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        if (shown) {
            SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(combo, nullptr, TRUE);
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

std::wstring itemText(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

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
    bool listsChanged = false;
    for (const auto& entry : panel::kComboBoxes) {
        if (const HWND window = control(entry.name))
            listsChanged |= pushValue(codePage_, window, panel.*entry.member);
    }
    if (listsChanged) fitDropDowns();
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

}  // namespace quorvik::win32
