#include "app/win32/cls_tool_tip.h"

#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "app/win32/combo_field.h"
#include "app/win32/view_text.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

// The fields of the record as the tooltip has always known them, so that
// comctl32 5 and 6 both accept it.
constexpr UINT kRecordSize = offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM);
constexpr UINT kToolFlags = TTF_IDISHWND | TTF_SUBCLASS;
constexpr UINT_PTR kRelayId = 0x7171;

// The tooltip only watches the window it was given; a drop-down box's text
// field is a window of its own inside it, so its pointer moves are passed on
// as if they were the box's.
LRESULT CALLBACK relayFromField(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR tip) {
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE) {
        const HWND box = GetParent(field);
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(field, box, &point, 1);
        MSG relayed{box,
                    message,
                    wParam,
                    MAKELPARAM(point.x, point.y),
                    static_cast<DWORD>(GetMessageTime()),
                    {}};
        SendMessageW(reinterpret_cast<HWND>(tip), TTM_RELAYEVENT, 0,
                     reinterpret_cast<LPARAM>(&relayed));
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, relayFromField, kRelayId);
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

// Before it shows a tip the tooltip asks which window is under the pointer;
// over a drop-down box's field the answer is the box.
LRESULT CALLBACK boxUnderPointer(HWND tip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (message == TTM_WINDOWFROMPOINT) {
        const auto window = reinterpret_cast<HWND>(DefSubclassProc(tip, message, wParam, lParam));
        const HWND parent = window != nullptr ? GetParent(window) : nullptr;
        return reinterpret_cast<LRESULT>(parent != nullptr && isComboBox(parent) ? parent : window);
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(tip, boxUnderPointer, kRelayId);
    return DefSubclassProc(tip, message, wParam, lParam);
}

}  // namespace

clsToolTip::clsToolTip(const platform::CodePage& codePage) : codePage_(codePage) {}

// The tooltip window goes with the wrapper, unless its owner took it already.
clsToolTip::~clsToolTip() {
    if (live()) DestroyWindow(TipHandle);
}

void clsToolTip::setOwner(HWND owner, ControlLookup lookup) {
    owner_ = owner;
    lookup_ = std::move(lookup);
}

void clsToolTip::setDpi(UINT dpi) {
    dpi_ = dpi;
    if (designedMaxWidth_ > 0) MaxTipWidth(MulDiv(designedMaxWidth_, static_cast<int>(dpi_), 96));
}

void clsToolTip::setMaxTipWidth(int lngWidth) {
    designedMaxWidth_ = lngWidth > 0 ? lngWidth : 0;
    MaxTipWidth(lngWidth > 0 ? MulDiv(lngWidth, static_cast<int>(dpi_), 96) : lngWidth);
}

int clsToolTip::tipHeight(HWND ctrl) const {
    TTTOOLINFOW record{};
    std::wstring text;
    if (!live() || !LocateTool(ctrl, record, &text)) return 0;
    // The text as the tip lays it out: broken into lines at the maximum width.
    const int width = MaxTipWidth();
    RECT area{0, 0, width > 0 ? width : 0x7fff, 0};
    HDC dc = GetDC(TipHandle);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(send(WM_GETFONT, 0, 0)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(TipHandle, dc);
    RECT margins{};
    send(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    // The tip's own border and padding: a few pixels either side.
    return area.bottom + margins.top + margins.bottom + 2 * GetSystemMetrics(SM_CYBORDER) + 4;
}

void clsToolTip::fitOnMonitor(HWND ctrl) {
    if (!live() || designedMaxWidth_ == 0) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(ctrl, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const int workWidth = monitor.rcWork.right - monitor.rcWork.left;
    const int workHeight = monitor.rcWork.bottom - monitor.rcWork.top;
    // Every tip starts from the usual width; only one too tall for the screen widens.
    int width = MulDiv(designedMaxWidth_, static_cast<int>(dpi_), 96);
    MaxTipWidth(width);
    while (width < workWidth && tipHeight(ctrl) > workHeight) {
        width = std::min(workWidth, width * 3 / 2);
        MaxTipWidth(width);
    }
}

bool clsToolTip::live() const {
    return TipHandle != nullptr && IsWindow(TipHandle);
}

LRESULT clsToolTip::send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(TipHandle, message, wParam, lParam);
}

bool clsToolTip::Create(HWND frm) {
    if (!live() && frm != nullptr) {
        InitCommonControls();
        // Tips are shown as written: the help texts' "&" ("Windows 7 & Vista") is
        // a letter, not the mark of an access key.
        TipHandle = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                                    0, 0, 0, frm, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (TipHandle != nullptr) SetWindowSubclass(TipHandle, boxUnderPointer, kRelayId, 0);
        tools_.clear();  // a new tooltip holds no tools yet
        held_.clear();
    }
    return live();
}

bool clsToolTip::LocateTool(HWND handle, TTTOOLINFOW& record, std::wstring* text) const {
    giveHeldTools();
    record = TTTOOLINFOW{};
    record.cbSize = kRecordSize;
    const auto tool = tools_.find(handle);
    if (!live() || handle == nullptr || tool == tools_.end()) return false;
    record.hwnd = tool->second;
    record.uId = reinterpret_cast<UINT_PTR>(handle);
    // A tool without text hands back a null text pointer and leaves the buffer alone.
    std::vector<wchar_t> buffer;
    if (text != nullptr) {
        buffer.assign(static_cast<std::size_t>(LargerOf(TextBufferLength, 1)), L'\0');
        record.lpszText = buffer.data();
    }
    const bool found = send(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&record)) != 0;
    if (found && text != nullptr) {
        *text = record.lpszText != nullptr ? StripAtNul(std::wstring(buffer.data(), buffer.size()))
                                           : std::wstring();
    }
    record.lpszText = nullptr;
    return found;
}

std::wstring clsToolTip::StripAtNul(std::wstring text) {
    if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.erase(nul);
    return text;
}

bool clsToolTip::addTool(HWND ctrl, std::wstring text) {
    if (!live() || ctrl == nullptr || !IsWindow(ctrl) || tools_.contains(ctrl)) return false;
    text = StripAtNul(std::move(text));
    TextBufferLength = LargerOf(TextBufferLength, static_cast<int>(text.size()) + 1);
    if (holding_) {
        held_.emplace_back(ctrl, std::move(text));
    } else if (!giveTool(ctrl, text)) {
        return false;
    }
    tools_.emplace(ctrl, GetParent(ctrl));
    return true;
}

bool clsToolTip::giveTool(HWND ctrl, std::wstring& text) const {
    TTTOOLINFOW record{};
    record.cbSize = kRecordSize;
    record.uFlags = kToolFlags;
    record.hwnd = GetParent(ctrl);
    record.uId = reinterpret_cast<UINT_PTR>(ctrl);
    record.lpszText = text.empty() ? nullptr : text.data();
    if (send(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&record)) == 0) return false;
    if (const HWND field = comboField(ctrl)) {
        SetWindowSubclass(field, relayFromField, kRelayId, reinterpret_cast<DWORD_PTR>(TipHandle));
    }
    return true;
}

void clsToolTip::holdTools() {
    holding_ = true;
}

void clsToolTip::releaseTools() {
    holding_ = false;
    giveHeldTools();
}

void clsToolTip::giveHeldTools() const {
    std::vector<std::pair<HWND, std::wstring>> held;
    held.swap(held_);
    for (auto& [ctrl, text] : held) {
        if (live() && IsWindow(ctrl)) giveTool(ctrl, text);
    }
}

bool clsToolTip::AddTool(HWND ctrl, const std::string& strText) {
    return addTool(ctrl, fromAnsi(codePage_, strText));
}

int clsToolTip::DelayTime(int dwType) const {
    return live() ? static_cast<int>(send(TTM_GETDELAYTIME, static_cast<WPARAM>(dwType & 3), 0))
                  : 0;
}

void clsToolTip::DelayTime(int dwType, int dwMilliSecs) {
    if (live()) send(TTM_SETDELAYTIME, static_cast<WPARAM>(dwType & 3), dwMilliSecs);
}

int clsToolTip::MaxTipWidth() const {
    return live() ? LowWordOf(send(TTM_GETMAXTIPWIDTH, 0, 0)) : 0;
}

void clsToolTip::MaxTipWidth(int lngWidth) {
    if (live()) send(TTM_SETMAXTIPWIDTH, 0, lngWidth < 1 ? -1 : lngWidth);
}

std::string clsToolTip::ToolText(HWND ctrl) const {
    TTTOOLINFOW record{};
    std::wstring text;
    if (!live() || !LocateTool(ctrl, record, &text)) return {};
    return toAnsi(codePage_, text);
}

void clsToolTip::setText(HWND ctrl, std::wstring text) {
    // A held tool takes its text with it when it is given.
    const auto held = std::find_if(held_.begin(), held_.end(),
                                   [ctrl](const auto& tool) { return tool.first == ctrl; });
    if (live() && held != held_.end()) {
        held->second = StripAtNul(std::move(text));
        TextBufferLength = LargerOf(TextBufferLength, static_cast<int>(held->second.size()) + 1);
        return;
    }
    TTTOOLINFOW record{};
    if (!live() || !LocateTool(ctrl, record, nullptr)) return;
    text = StripAtNul(std::move(text));
    record.lpszText = text.data();
    TextBufferLength = LargerOf(TextBufferLength, static_cast<int>(text.size()) + 1);
    send(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&record));
}

void clsToolTip::ToolText(HWND ctrl, const std::string& strText) {
    setText(ctrl, fromAnsi(codePage_, strText));
}

bool clsToolTip::Create() {
    return Create(owner_);
}

bool clsToolTip::AddTool(std::string_view control, const std::string& strText) {
    return lookup_ && addTool(lookup_(control), platform::win32::widen(strText));
}

void clsToolTip::setToolText(std::string_view control, const std::string& strText) {
    if (lookup_) setText(lookup_(control), platform::win32::widen(strText));
}

}  // namespace quorvik::win32
