#pragma once

// The width of the picture Windows gives for a program's icon at a size:
// the resources of both programs carry Quorvik's icon, 128 pixels among them.

#include <windows.h>

namespace quorvik::testing {

// 0 when the module has no such icon.
inline int iconWidth(HMODULE module, int iconId, int size) {
    const HICON icon =
        static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, 0));
    if (icon == nullptr) return 0;
    ICONINFO parts{};
    BITMAP colour{};
    if (GetIconInfo(icon, &parts)) {
        GetObjectW(parts.hbmColor, sizeof colour, &colour);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
    }
    DestroyIcon(icon);
    return colour.bmWidth;
}

}  // namespace quorvik::testing
