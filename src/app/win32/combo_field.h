#pragma once

// A drop-down box holds its own field, a child edit window: where the player
// types, right-clicks and hovers.

#include <commctrl.h>
#include <windows.h>

namespace quorvik::win32 {

inline bool isComboBox(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, WC_COMBOBOXW) == 0;
}

// The field of a drop-down box; nullptr for any other window.
inline HWND comboField(HWND window) {
    if (!isComboBox(window)) return nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(window, &info) ? info.hwndItem : nullptr;
}

}  // namespace quorvik::win32
