// The tooltip wrapper on the real common-controls tooltip: its members, read
// back through the tooltip's own messages, and the texts the window carries
// after start-up.

#include "app/win32/cls_tool_tip.h"

#include <gtest/gtest.h>

#include "app/help_texts.h"
#include "app/win32/form1_window.h"
#include "panel/layout.h"
#include "platform/win32/win32_text.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"

namespace quorvik::win32 {
namespace {

using platform::win32::widen;

// The tooltip's own record of a tool's text, asked without the wrapper.
std::wstring tipTextOf(HWND tip, HWND tool) {
    std::wstring text(1024, L'\0');
    TTTOOLINFOW record{};
    record.cbSize = TTTOOLINFOW_V2_SIZE;
    record.hwnd = GetParent(tool);
    record.uId = reinterpret_cast<UINT_PTR>(tool);
    record.lpszText = text.data();
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&record));
    text.resize(wcslen(text.c_str()));
    return text;
}

const wchar_t* ownerClass() {
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvikToolTipTest";
        return RegisterClassW(&windowClass);
    }();
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(atom));
}

// A window with one control of each sort the wrapper meets.
class Rig : public ::testing::Test {
protected:
    HWND owner = CreateWindowExW(0, ownerClass(), L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND edit = child(WC_EDITW, 10);
    HWND other = child(WC_EDITW, 50);
    HWND combo = child(WC_COMBOBOXW, 90, CBS_DROPDOWN);
    clsToolTip tips{platform::windows1252()};

    HWND child(const wchar_t* windowClass, int top, DWORD style = 0) {
        return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 10, top, 100, 24,
                               owner, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }
};

TEST_F(Rig, EveryMemberIsInertWithoutATooltipWindow) {
    EXPECT_FALSE(tips.AddTool(edit, "text"));
    tips.MaxTipWidth(100);
    tips.ToolText(edit, "text");
    EXPECT_EQ(tips.MaxTipWidth(), 0);
    EXPECT_EQ(tips.ToolText(edit), "");
    EXPECT_EQ(tips.hWnd(), nullptr);
    EXPECT_FALSE(tips.Create(nullptr)) << "a tooltip needs its window";
}

TEST_F(Rig, CreateMakesOneWindowOfTheTooltipClass) {
    ASSERT_TRUE(tips.Create(owner));
    const HWND first = tips.hWnd();
    EXPECT_TRUE(tips.Create(owner));
    EXPECT_EQ(tips.hWnd(), first);
    wchar_t name[32] = {};
    GetClassNameW(first, name, 32);
    EXPECT_STREQ(name, TOOLTIPS_CLASSW);
    EXPECT_EQ(GetWindow(first, GW_OWNER), owner);
    EXPECT_TRUE(GetWindowLongPtrW(first, GWL_STYLE) & TTS_ALWAYSTIP);
    // "Windows 7 & Vista" keeps its "&".
    EXPECT_TRUE(GetWindowLongPtrW(first, GWL_STYLE) & TTS_NOPREFIX);
}

TEST_F(Rig, ToolsAreRegisteredOnceWithOrWithoutText) {
    ASSERT_TRUE(tips.Create(owner));
    EXPECT_TRUE(tips.AddTool(edit, "first"));
    EXPECT_FALSE(tips.AddTool(edit, "second")) << "a control is registered once";
    EXPECT_EQ(tips.ToolText(edit), "first");
    EXPECT_TRUE(tips.AddTool(other));
    EXPECT_EQ(SendMessageW(tips.hWnd(), TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_FALSE(tips.AddTool(nullptr, "no window"));

    TTTOOLINFOW record{};
    record.cbSize = TTTOOLINFOW_V2_SIZE;
    ASSERT_TRUE(SendMessageW(tips.hWnd(), TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&record)));
    EXPECT_EQ(record.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), UINT{TTF_IDISHWND | TTF_SUBCLASS});
    EXPECT_EQ(record.hwnd, owner);
    EXPECT_EQ(record.uId, reinterpret_cast<UINT_PTR>(edit));
}

// An empty tool gets its text later; an unregistered control is ignored; the
// text crosses in the 8-bit code page and the tooltip holds UTF-16.
TEST_F(Rig, ToolTextIsSetAndReadBackThroughTheCodePage) {
    ASSERT_TRUE(tips.Create(owner));
    ASSERT_TRUE(tips.AddTool(edit));
    EXPECT_EQ(tips.textBufferLength(), 1);
    const std::string eightBit =
        "1024\xD7"
        "768 \x91quoted\x92";  // ×, ‘ and ’ in Windows-1252
    tips.ToolText(edit, eightBit);
    EXPECT_EQ(tips.ToolText(edit), eightBit);
    EXPECT_EQ(tipTextOf(tips.hWnd(), edit), L"1024\u00D7768 \u2018quoted\u2019");
    EXPECT_EQ(tips.textBufferLength(), static_cast<int>(eightBit.size()) + 1);

    tips.ToolText(other, "never registered");
    EXPECT_EQ(tips.ToolText(other), "");
    EXPECT_EQ(SendMessageW(tips.hWnd(), TTM_GETTOOLCOUNT, 0, 0), 1);

    tips.ToolText(edit, "short");
    EXPECT_EQ(tips.ToolText(edit), "short");
    EXPECT_EQ(tips.textBufferLength(), static_cast<int>(eightBit.size()) + 1) << "only grows";
    tips.ToolText(edit, std::string("cut\0here", 8));
    EXPECT_EQ(tips.ToolText(edit), "cut");
}

// Each row: a display property written through the wrapper and read back,
// both through the wrapper and through the tooltip's own message.
TEST_F(Rig, DisplayPropertiesGoToTheTooltip) {
    ASSERT_TRUE(tips.Create(owner));
    const HWND tip = tips.hWnd();

    tips.DelayTime(6, 1234);  // only the low two bits count: the auto-pop time
    EXPECT_EQ(tips.DelayTime(TTDT_AUTOPOP), 1234);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 1234);

    tips.MaxTipWidth(240);
    EXPECT_EQ(tips.MaxTipWidth(), 240);
    tips.MaxTipWidth(0);
    EXPECT_EQ(tips.MaxTipWidth(), -1) << "no limit";
    tips.MaxTipWidth(-5);
    EXPECT_EQ(tips.MaxTipWidth(), -1);
}

// Start-up's maximum width is for 96 dpi and grows with the DPI; a tip too
// tall for the screen even so is widened until it fits.
TEST_F(Rig, TipsWidenWithTheDpiAndToFitTheScreen) {
    ASSERT_TRUE(tips.Create(owner));
    tips.setMaxTipWidth(240);
    EXPECT_EQ(tips.MaxTipWidth(), 240);
    tips.setDpi(144);
    EXPECT_EQ(tips.MaxTipWidth(), 360);
    tips.setDpi(96);

    std::string tall;
    for (int i = 0; i < 1500; ++i) tall += "word ";
    ASSERT_TRUE(tips.AddTool(edit, tall));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(edit, MONITOR_DEFAULTTONEAREST), &monitor);
    const auto height = [&] { return tips.tipHeight(edit); };
    ASSERT_GT(height(), monitor.rcWork.bottom - monitor.rcWork.top) << "too tall at 240 pixels";
    tips.fitOnMonitor(edit);
    EXPECT_LE(height(), monitor.rcWork.bottom - monitor.rcWork.top);
    EXPECT_GT(tips.MaxTipWidth(), 240);

    ASSERT_TRUE(tips.AddTool(other, "short"));
    tips.fitOnMonitor(other);
    EXPECT_EQ(tips.MaxTipWidth(), 240) << "the next tip starts from the usual width";
}

void pumpFor(int milliseconds) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
    MSG message{};
    while (GetTickCount() < until) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
}

// The pointer resting on a tool shows its tip; over a drop-down box's text
// field (a window of its own inside the box) it shows the box's tip.
TEST_F(Rig, RestingThePointerOnAToolShowsItsTip) {
    ASSERT_TRUE(tips.Create(owner));
    ASSERT_TRUE(tips.AddTool(edit, "edit"));
    ASSERT_TRUE(tips.AddTool(combo, "box"));
    tips.DelayTime(TTDT_INITIAL, 1);
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    struct Row {
        HWND pointedAt;
        HWND tool;
    };
    for (const Row row : {Row{edit, edit}, Row{info.hwndItem, combo}}) {
        RECT area{};
        GetWindowRect(row.pointedAt, &area);
        SetCursorPos(area.left + 5, area.top + 5);
        SendMessageW(row.pointedAt, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        pumpFor(300);
        TTTOOLINFOW current{};
        current.cbSize = TTTOOLINFOW_V2_SIZE;
        ASSERT_TRUE(
            SendMessageW(tips.hWnd(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
        EXPECT_EQ(current.uId, reinterpret_cast<UINT_PTR>(row.tool));
        EXPECT_TRUE(IsWindowVisible(tips.hWnd()));
        SendMessageW(tips.hWnd(), TTM_POP, 0, 0);
    }
}

TEST(WindowToolTips, StartUpRegistersEveryWindowedControlAndAttachesTheHelpTexts) {
    testing::FakeDialogs dialogs;
    testing::FakeSystem system;
    dialogs.yesNoAnswers = {platform::kNo};
    Form1Window window(system, &dialogs);
    ASSERT_TRUE(window.create());
    window.load();
    const HWND tip = window.ToolTips.hWnd();
    ASSERT_NE(tip, nullptr);

    // Every control that is a window of its own: the ones Tab visits.
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0),
              static_cast<LRESULT>(panel::tabOrder().size()));
    EXPECT_EQ(LOWORD(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0)), 240);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 20000);

    for (const std::string_view name : panel::tabOrder()) {
        SCOPED_TRACE(std::string(name));
        std::wstring expected;
        for (const app::HelpText& help : app::helpTexts()) {
            if (help.control == name) expected = widen(app::assembleHelpText(help));
        }
        EXPECT_EQ(tipTextOf(tip, window.control(name)), expected);
    }
    EXPECT_EQ(window.ToolTips.ToolText(window.control("Text10")), "lower is better");
    EXPECT_EQ(window.ToolTips.ToolText(window.control("Command2")), "");
    EXPECT_EQ(window.ToolTips.ToolText(window.control("Label3")), "") << "labels carry no tip";
}

}  // namespace
}  // namespace quorvik::win32
