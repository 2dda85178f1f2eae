#pragma once

// What the files of Form1's window share: the design's DPI, the banner's
// colours and a few small questions put to Windows' controls.

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvik::win32 {

// The layout's pixels are at 96 dpi.
inline constexpr int kDesignDpi = 96;

inline constexpr COLORREF kBannerBack = RGB(0x10, 0x14, 0x18);
inline constexpr COLORREF kBannerInk = RGB(0xd8, 0xd0, 0xb0);

// The window's DPI; 96 before Windows 10. For no window, the screen's.
UINT dpiOf(HWND window);
// The window's outer rectangle around the client area, at the DPI (with a menu bar).
RECT windowRectFor(const RECT& client, DWORD style, DWORD exStyle, UINT dpi);
// The plain black picture, as a bitmap of its own.
HBITMAP blackBitmap();
// A copy of the picture at the DPI, as a bitmap that a brush can use.
HBITMAP scaledCopy(HBITMAP source, UINT dpi, SIZE& size);
// A drop-down's entry at index, as it shows it.
std::wstring itemText(HWND combo, int index);
// The check box that a label names: a click on its caption toggles it.
std::string_view checkBoxNamedBy(std::string_view label);

}  // namespace quorvik::win32
