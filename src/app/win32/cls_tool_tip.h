#pragma once

// The window's help tooltips on the common-controls tooltip window: controls
// are registered as tools by their window handles and watched by the tooltip
// itself, so the window relays nothing. The members that take or give tip
// text use the system's 8-bit code page; the tooltip gets UTF-16.
//
// Until Create has run (or once the tooltip window is gone) every member is
// inert: reads give 0, false or an empty text and writes change nothing.

#include <windows.h>
// windows.h first: the common controls build on it.
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/tool_tip_api.h"
#include "platform/text_codec.h"

namespace quorvik::win32 {

class clsToolTip final : public app::ToolTipApi {
public:
    // The window of a named control, or nullptr when it has none of its own.
    using ControlLookup = std::function<HWND(std::string_view name)>;

    explicit clsToolTip(const platform::CodePage& codePage);
    ~clsToolTip() override;
    clsToolTip(const clsToolTip&) = delete;
    clsToolTip& operator=(const clsToolTip&) = delete;

    // What the name-based members (start-up's) work on.
    void setOwner(HWND owner, ControlLookup lookup);
    // The DPI of the owner's monitor: start-up's maximum width is for 96 dpi and
    // grows with it, as the tip's font does.
    void setDpi(UINT dpi);
    // Before a tip shows: a tip too tall for its monitor's work area is made
    // wider until it fits (the tooltip then keeps it on the monitor itself).
    void fitOnMonitor(HWND ctrl);
    // The height of `ctrl`'s tip at the present maximum width; 0 for no tool.
    int tipHeight(HWND ctrl) const;

    // Creates the tooltip window for `frm` unless one exists; true while one exists.
    bool Create(HWND frm);
    // Registers `ctrl` once; false for a second time or a control without a window.
    bool AddTool(HWND ctrl, const std::string& strText = {});

    // dwType AND 3: 0 automatic, 1 reshow, 2 auto-pop (how long a tip stays up), 3 initial.
    int DelayTime(int dwType) const;
    void DelayTime(int dwType, int dwMilliSecs);
    HWND hWnd() const { return TipHandle; }
    // The low 16 bits as a signed number; a width below 1 means no limit (-1).
    int MaxTipWidth() const;
    void MaxTipWidth(int lngWidth);
    std::string ToolText(HWND ctrl) const;
    void ToolText(HWND ctrl, const std::string& strText);

    // One more than the longest tip text given so far, in UTF-16 units: the
    // buffer the tooltip copies a text into when it is read back.
    int textBufferLength() const { return TextBufferLength; }

    // Start-up names the controls and gives UTF-8 texts.
    bool Create() override;
    bool AddTool(std::string_view control, const std::string& strText) override;
    void setToolText(std::string_view control, const std::string& strText) override;
    void setMaxTipWidth(int lngWidth) override;
    void setDelayTime(int dwType, int dwMilliSecs) override { DelayTime(dwType, dwMilliSecs); }

    // While held, a tool is given to the tooltip only on release, or as soon as
    // any tool is looked up: a tool subclasses its control, and under Wine
    // every message to a subclassed control then costs a round trip to the
    // server, so the window fills and sizes its controls first.
    void holdTools();
    void releaseTools();

private:
    bool live() const;
    // Gives one tool, or the held ones, to the tooltip.
    bool giveTool(HWND ctrl, std::wstring& text) const;
    void giveHeldTools() const;
    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) const;
    bool addTool(HWND ctrl, std::wstring text);
    void setText(HWND ctrl, std::wstring text);
    // Finds the tool of `handle`; the record then holds it. With `text`, the
    // tool's text is copied there too.
    bool LocateTool(HWND handle, TTTOOLINFOW& record, std::wstring* text) const;
    static int LargerOf(int a, int b) { return a < b ? b : a; }
    static int LowWordOf(LRESULT value) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
    }
    static std::wstring StripAtNul(std::wstring text);

    const platform::CodePage& codePage_;
    HWND owner_ = nullptr;
    ControlLookup lookup_;
    HWND TipHandle = nullptr;
    int TextBufferLength = 0;
    // Each tool's control and the window the tooltip was told holds it: a
    // tool is found at once, not by asking the tooltip for each of its tools
    // in turn (a window of many controls would make that thousands of messages).
    std::map<HWND, HWND> tools_;
    bool holding_ = false;
    mutable std::vector<std::pair<HWND, std::wstring>> held_;
    UINT dpi_ = 96;
    int designedMaxWidth_ = 0;  // start-up's maximum width, at 96 dpi; 0 for none
};

}  // namespace quorvik::win32
