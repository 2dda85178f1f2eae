// What Form1's window paints itself: the background picture at the window's
// DPI behind the labels, and the focus ring of the check boxes.

#include <windows.h>

#include "app/win32/form1_window.h"
#include "app/win32/form1_window_parts.h"
#include "app/win32/resource_ids.h"

namespace quorvik::win32 {
namespace {

// The plain black picture covers the whole client area.
constexpr SIZE kBlackPicture{867, 371};

}  // namespace

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
    if (source == moor_ && prepared_ != nullptr && preparedDpi_ == shownDpi_) {
        shown_ = prepared_;  // made while the start-up question waited
        shownSize_ = preparedSize_;
        prepared_ = nullptr;
        labelBrush_ = CreatePatternBrush(shown_);
    } else if (source != nullptr) {
        shown_ = scaledCopy(source, shownDpi_, shownSize_);
        labelBrush_ = CreatePatternBrush(shown_);
    }
    // Labels and check boxes paint their part of the picture behind them
    // (a window not yet on screen is painted whole when it is shown).
    if (IsWindowVisible(hwnd_)) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
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

}  // namespace quorvik::win32
