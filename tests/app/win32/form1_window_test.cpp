// The Windows window against its design, through the real controls under
// Wine: kinds, places at 96 dpi and after a DPI change, fonts, colours, the
// picture behind the labels, menus, focus order and the commands they run.

#include "app/win32/form1_window.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "app/help_texts.h"
#include "app/identity.h"
#include "app/win32/control_ids.h"
#include "app/win32/resource_ids.h"
#include "app/win32/view_text.h"
#include "panel/layout.h"
#include "platform/win32/win32_text.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"
#include "support/icon_width.h"

namespace quorvik::win32 {
namespace {

using platform::win32::narrow;
using platform::win32::widen;

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG_PTR styleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

// A control's rectangle in its window's client coordinates.
RECT placeOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    GetObjectW(handle, sizeof font, &font);
    return font;
}

// What the window tells a label or check box to paint with.
struct Paint {
    COLORREF text;
    int brushStyle;
};
Paint paintOf(HWND window, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(control)));
    LOGBRUSH info{};
    GetObjectW(brush, sizeof info, &info);
    const Paint paint{GetTextColor(dc), static_cast<int>(info.lbStyle)};
    DeleteDC(dc);
    return paint;
}

void pumpMessages() {
    MSG message{};
    for (int round = 0; round < 5; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(20);
    }
}

// The window's client area as it shows on the screen, one COLORREF per pixel.
class Shot {
public:
    explicit Shot(HWND window) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages();
        RECT client{};
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        SelectObject(memory, old);
        pixels_ = bitsOf(memory, bitmap, width_, height_);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    static std::vector<COLORREF> bitsOf(HDC dc, HBITMAP bitmap, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<COLORREF> bits(static_cast<std::size_t>(width) * height);
        GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
        for (COLORREF& pixel : bits) {  // BGRA in memory to 0x00BBGGRR
            pixel = RGB(GetBValue(pixel), GetGValue(pixel), GetRValue(pixel));
        }
        return bits;
    }

    COLORREF at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

// The game screenshot as the program carries it.
struct Picture {
    Picture() {
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                         MAKEINTRESOURCEW(QUORVIK_IDB_BACKGROUND),
                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        width = info.bmWidth;
        height = info.bmHeight;
        HDC dc = CreateCompatibleDC(nullptr);
        pixels = Shot::bitsOf(dc, bitmap, width, height);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

class Form1WindowTest : public ::testing::Test {
protected:
    testing::FakeDialogs dialogs;
    testing::FakeSystem system;
    Form1Window window{system, &dialogs};

    void SetUp() override {
        dialogs.yesNoAnswers = {platform::kNo};
        ASSERT_TRUE(window.create());
        window.load();
    }
    HWND control(std::string_view name) { return window.control(name); }
};

TEST_F(Form1WindowTest, EveryControlIsAStandardControlInItsPlaceAt96Dpi) {
    ASSERT_EQ(window.dpi(), 96u) << "the tests expect Wine's default DPI";
    for (const panel::ControlLayout& layout : panel::layout()) {
        SCOPED_TRACE(std::string(layout.name));
        const HWND window = control(layout.name);
        if (layout.kind == panel::Kind::Image) {
            EXPECT_EQ(window, nullptr) << "picture holders are never shown";
            continue;
        }
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GetDlgCtrlID(window), controlId(layout.name));
        const LONG_PTR style = styleOf(window);
        const RECT place = placeOf(window);
        EXPECT_EQ(place.left, panel::toPixels(layout.left));
        EXPECT_EQ(place.top, panel::toPixels(layout.top));
        int width = layout.width;
        int height = layout.height;
        if (layout.kind == panel::Kind::Banner) {  // start-up resizes the banner
            width = this->window.form().panel.Scriptlet1.Width;
            height = this->window.form().panel.Scriptlet1.Height;
        }
        if (layout.kind == panel::Kind::ComboBox) {
            // A drop-down grows into the room to its right to show its longest entry.
            EXPECT_GE(place.right - place.left, panel::toPixels(width));
            EXPECT_LE(place.right, panel::toPixels(layout.left + width +
                                                   panel::roomToTheRight(layout.name)));
            EXPECT_EQ(place.bottom - place.top, panel::toPixels(height));
        } else if (layout.kind != panel::Kind::Label) {
            EXPECT_EQ(place.right - place.left, panel::toPixels(width));
            EXPECT_EQ(place.bottom - place.top, panel::toPixels(height));
        }
        switch (layout.kind) {
            case panel::Kind::Label:
                EXPECT_EQ(className(window), L"Static");
                EXPECT_FALSE(style & WS_TABSTOP);
                EXPECT_GT(place.right - place.left, 0);
                EXPECT_EQ(fontOf(window).lfWeight, FW_BOLD);
                break;
            case panel::Kind::TextBox:
                EXPECT_EQ(className(window), L"Edit");
                EXPECT_FALSE(style & ES_MULTILINE);
                break;
            case panel::Kind::ComboBox:
                EXPECT_EQ(className(window), L"ComboBox");
                EXPECT_EQ(style & 3, CBS_DROPDOWN) << "editable";
                break;
            case panel::Kind::CheckBox:
                EXPECT_EQ(className(window), L"Button");
                EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
                // Its caption is the label beside it; its own text, clipped away
                // beyond the box, only names it for screen readers.
                EXPECT_EQ(narrow(windowText(window)), panel::accessibleName(layout.name));
                break;
            case panel::Kind::Button:
                EXPECT_EQ(className(window), L"Button");
                EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
                EXPECT_EQ(narrow(std::wstring(fontOf(window).lfFaceName)), "Times New Roman");
                break;
            case panel::Kind::Banner:
                EXPECT_EQ(className(window), L"Edit");
                EXPECT_TRUE(style & ES_READONLY);
                break;
            case panel::Kind::Image:
                break;
        }
    }
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, 856);
    EXPECT_EQ(client.bottom, 331);
    wchar_t caption[128] = {};
    GetWindowTextW(window.hwnd(), caption, 128);
    EXPECT_EQ(narrow(caption), window.form().Caption);
}

// Each row: a label of the font role, its face, height in pixels at 96 dpi
// and character set.
TEST_F(Form1WindowTest, LabelsAndButtonsUseTheirFonts) {
    struct Row {
        const char* control;
        const wchar_t* face;
        LONG height;
        BYTE charSet;
    };
    const Row rows[] = {
        {"Label12", L"Verdana", -13, DEFAULT_CHARSET},  // 9.75 pt, status row
        {"Label3", L"Verdana", -11, DEFAULT_CHARSET},   // 8.25 pt, captions
        {"Label47", L"Terminal", -8, OEM_CHARSET},      // 6 pt, donation
        {"Command1", L"Times New Roman", -11, DEFAULT_CHARSET},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control);
        const LOGFONTW font = fontOf(control(row.control));
        EXPECT_STREQ(font.lfFaceName, row.face);
        EXPECT_EQ(font.lfHeight, row.height);
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfCharSet, row.charSet);
    }
    EXPECT_EQ(fontOf(control("Text1")).lfWeight, FW_NORMAL);
}

TEST_F(Form1WindowTest, LabelsAreRedAndTheDonationLabelYellowUntilAColourIsChosen) {
    for (const auto& label : panel::kLabels) {
        SCOPED_TRACE(std::string(label.name));
        const Paint paint = paintOf(window.hwnd(), control(label.name));
        EXPECT_EQ(paint.text, label.name == "Label47" ? RGB(255, 255, 0) : RGB(255, 0, 0));
        EXPECT_EQ(paint.brushStyle, BS_PATTERN) << "the picture, not a plain colour";
    }
    SendMessageW(window.hwnd(), WM_COMMAND, static_cast<WPARAM>(menuCommandId("Cyan")), 0);
    for (const auto& label : panel::kLabels) {
        EXPECT_EQ(paintOf(window.hwnd(), control(label.name)).text, RGB(0, 255, 255)) << label.name;
    }
}

// A status label grows with its caption and keeps its left edge.
TEST_F(Form1WindowTest, LabelsFitTheirCaptions) {
    const RECT before = placeOf(control("Label12"));
    window.form().panel.Label12.Caption = "Not Set. Not Set.";
    window.push();
    const RECT after = placeOf(control("Label12"));
    EXPECT_EQ(after.left, before.left);
    EXPECT_GT(after.right - after.left, before.right - before.left);
}

TEST_F(Form1WindowTest, TypedComboTextIsKeptAndSelectsNothing) {
    SetWindowTextW(control("Combo3"), L"low");  // the list has "Low"
    window.run("Red");                          // any command pulls and pushes
    EXPECT_EQ(window.form().panel.Combo3.Text, "low");
    EXPECT_EQ(window.form().panel.Combo3.ListIndex, -1);
    EXPECT_EQ(SendMessageW(control("Combo3"), CB_GETCOUNT, 0, 0), 2);
    wchar_t text[16] = {};
    GetWindowTextW(control("Combo3"), text, 16);
    EXPECT_STREQ(text, L"low");
}

TEST_F(Form1WindowTest, ADropDownShowsTheStartOfALongValueAndLeavesItUnmarked) {
    ShowWindow(window.hwnd(), SW_SHOW);
    SetFocus(control("Combo1"));  // the field scrolls only while it has the focus
    window.form().panel.Combo1.setText("AnisotropicTrilinearAnisotropicTrilinear");
    window.push();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(control("Combo1"), &info));
    // A single-line field answers with its first visible character.
    EXPECT_EQ(SendMessageW(info.hwndItem, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    // Tab selects the whole value; leaving the box takes the mark away.
    SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
    SetFocus(control("Text1"));
    DWORD start = 1;
    DWORD end = 1;
    SendMessageW(control("Combo1"), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
}

TEST_F(Form1WindowTest, EightBitTextSurvivesTheControls) {
    std::string every;
    for (int b = 1; b < 256; ++b) every.push_back(static_cast<char>(b));
    window.form().panel.Text1.Text = every;
    window.form().panel.Combo1.setText(every);
    window.push();
    window.form().panel.Text1.Text.clear();
    window.form().panel.Combo1.setText("");
    window.pull();
    EXPECT_EQ(window.form().panel.Text1.Text, every);
    EXPECT_EQ(window.form().panel.Combo1.Text, every);
}

TEST_F(Form1WindowTest, MenusAndTheCommandsTheyRun) {
    const HMENU bar = GetMenu(window.hwnd());
    const auto menus = panel::menus();
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(menus.size()));
    const auto captionOf = [](HMENU menu, UINT position) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, position, caption, 64, MF_BYPOSITION);
        return narrow(caption);
    };
    for (UINT m = 0; m < menus.size(); ++m) {
        SCOPED_TRACE(std::string(menus[m].name));
        EXPECT_EQ(captionOf(bar, m), panel::menuText(menus[m].caption, menus[m].key));
        const HMENU items = GetSubMenu(bar, static_cast<int>(m));
        if (menus[m].items.empty()) {
            EXPECT_EQ(items, nullptr) << "the title itself is the command";
            EXPECT_EQ(menuCommandName(static_cast<int>(GetMenuItemID(bar, static_cast<int>(m)))),
                      menus[m].name);
            continue;
        }
        ASSERT_EQ(GetMenuItemCount(items), static_cast<int>(menus[m].items.size()));
        for (UINT i = 0; i < menus[m].items.size(); ++i) {
            const panel::MenuItem& item = menus[m].items[i];
            EXPECT_EQ(captionOf(items, i),
                      panel::menuText(item.caption, item.key) +
                          (item.shortcut.empty() ? "" : "\t" + std::string(item.shortcut)));
            EXPECT_EQ(menuCommandName(static_cast<int>(GetMenuItemID(items, static_cast<int>(i)))),
                      menus[m].items[i].name);
            EXPECT_EQ(GetMenuState(items, i, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), 0u);
        }
    }

    // As a player reads them: the access key underlined, the shortcut on the right.
    EXPECT_EQ(captionOf(GetSubMenu(bar, 0), 2), "&Save Settings\tCtrl+S");
    EXPECT_EQ(captionOf(GetSubMenu(bar, 0), 5), "E&xit");
    EXPECT_EQ(captionOf(bar, 3), "&About");

    // Menu commands, a button and the donation label reach their handlers.
    SendMessageW(window.hwnd(), WM_COMMAND, static_cast<WPARAM>(menuCommandId("About")), 0);
    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes.back().title, "About...");
    SendMessageW(control("Label47"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control("Label47"), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_EQ(dialogs.clipboardHistory.size(), 1u);
    EXPECT_EQ(dialogs.clipboardHistory[0], app::identity::kDonationAddress);
    // The second click of a quick double click is a click too.
    SendMessageW(control("Label47"), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(dialogs.clipboardHistory.size(), 2u);
    SendMessageW(control("Command1"), BM_CLICK, 0, 0);
    ASSERT_EQ(dialogs.inputs.size(), 1u) << "no folder known yet: it is asked for";
    SendMessageW(window.hwnd(), WM_COMMAND, static_cast<WPARAM>(menuCommandId("Exit")), 0);
    EXPECT_EQ(dialogs.closeCount, 1);
}

// Tab walks the designed order through the real dialog manager and selects a
// text box's text; a message box leaves the focus where it was.
TEST_F(Form1WindowTest, FocusOrderAndFocusKeptAcrossActivation) {
    window.show(SW_SHOWNORMAL);
    pumpMessages();
    ASSERT_EQ(GetFocus(), control("Command1"));
    std::vector<std::string> visited;
    const auto tabOrder = panel::tabOrder();
    for (std::size_t i = 0; i <= tabOrder.size(); ++i) {
        HWND focus = GetFocus();
        // A drop-down box gives its focus to its text field.
        while (focus != nullptr && GetParent(focus) != window.hwnd()) focus = GetParent(focus);
        visited.emplace_back(controlName(GetDlgCtrlID(focus)));
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        ASSERT_TRUE(IsDialogMessageW(window.hwnd(), &tab));
    }
    std::vector<std::string> expected(tabOrder.begin(), tabOrder.end());
    expected.emplace_back(tabOrder.front());
    EXPECT_EQ(visited, expected);

    SetFocus(control("Text15"));
    SendMessageW(window.hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(nullptr);
    SendMessageW(window.hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), control("Text15"));
}

// Shift+F1 on a setting, and What's this? in its own menu, show its
// explanation in a box; F1 alone is About's, as before.
TEST_F(Form1WindowTest, ShiftF1ExplainsTheFocusedSetting) {
    window.show(SW_SHOWNORMAL);
    pumpMessages();
    BYTE keys[256] = {};
    for (const auto& [name, shift] :
         {std::tuple{"Text15", true}, std::tuple{"Combo6", true}, std::tuple{"Text15", false}}) {
        SCOPED_TRACE(name);
        dialogs.boxes.clear();
        HWND focus = control(name);
        if (HWND field = FindWindowExW(focus, nullptr, L"Edit", nullptr)) focus = field;
        SetFocus(focus);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG key{focus, WM_KEYDOWN, VK_F1, 0, 0, {}};
        EXPECT_TRUE(window.translate(key));
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        if (shift) {
            EXPECT_TRUE(dialogs.boxes[0].text.starts_with(app::helpSummary(name)))
                << dialogs.boxes[0].text;
        } else {
            EXPECT_EQ(dialogs.boxes[0].title, "About...");
        }
    }
}

TEST_F(Form1WindowTest, TabIntoATextBoxSelectsItsText) {
    window.show(SW_SHOWNORMAL);
    pumpMessages();
    SetFocus(control("Command1"));
    MSG tab{control("Command1"), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    ASSERT_TRUE(IsDialogMessageW(window.hwnd(), &tab));
    ASSERT_EQ(GetFocus(), control("Text1"));
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(control("Text1"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u) << "\"0000\" selected whole";
}

TEST_F(Form1WindowTest, LabelsShowThePictureThroughAndBlackReplacesIt) {
    const Picture picture;
    ASSERT_EQ(picture.width, 856);
    ASSERT_EQ(picture.height, 403);
    window.show(SW_SHOWNORMAL);
    const Shot shot(window.hwnd());
    ASSERT_EQ(shot.width(), 856);
    for (const char* name : {"Label3", "Label12", "Label42", "Label47"}) {
        SCOPED_TRACE(name);
        const RECT area = placeOf(control(name));
        int same = 0;
        int all = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x, ++all) {
                same += shot.at(x, y) == picture.at(x, y) ? 1 : 0;
            }
        }
        EXPECT_GT(same * 3, all) << "a third or more of the area is the picture itself";
    }

    SendMessageW(window.hwnd(), WM_COMMAND, static_cast<WPARAM>(menuCommandId("bgblack")), 0);
    const Shot black(window.hwnd());
    EXPECT_EQ(black.at(3, 300), RGB(0, 0, 0));
    EXPECT_EQ(black.at(100, 5), RGB(0, 0, 0));
    SendMessageW(window.hwnd(), WM_COMMAND, static_cast<WPARAM>(menuCommandId("qm")), 0);
    const Shot again(window.hwnd());
    EXPECT_EQ(again.at(3, 300), picture.at(3, 300));
}

TEST_F(Form1WindowTest, EnlargingShowsMorePictureThenBlack) {
    window.show(SW_SHOWNORMAL);
    RECT frame{};
    GetWindowRect(window.hwnd(), &frame);
    SetWindowPos(window.hwnd(), nullptr, 0, 0, frame.right - frame.left + 150,
                 frame.bottom - frame.top + 150, SWP_NOMOVE | SWP_NOZORDER);
    const Picture picture;
    const Shot shot(window.hwnd());
    EXPECT_EQ(shot.at(5, 400), picture.at(5, 400));
    EXPECT_EQ(shot.at(5, 450), RGB(0, 0, 0));
    EXPECT_EQ(shot.at(950, 100), RGB(0, 0, 0));
    EXPECT_EQ(placeOf(control("Command1")).left, 712);
}

// A move to a screen of 144 dpi lays everything out again: at that DPI where
// the window fits the screen, a little smaller where it would not (at 144 dpi
// it is 1294 pixels wide and the test's screen 1280).
TEST_F(Form1WindowTest, ADpiChangeScalesPlacesAndFontsToFitTheScreen) {
    RECT suggested{0, 0, 1300, 560};
    SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window.dpi(), 144u);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window.hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame{};
    GetWindowRect(window.hwnd(), &frame);
    EXPECT_GE(frame.left, monitor.rcWork.left);
    EXPECT_LE(frame.right, monitor.rcWork.right);
    EXPECT_LE(frame.bottom, monitor.rcWork.bottom);
    const int shown = static_cast<int>(window.shownDpi());
    EXPECT_EQ(shown < 144, monitor.rcWork.right - monitor.rcWork.left < 1300) << shown;
    EXPECT_GT(shown, 136);
    for (const char* name : {"Text1", "Combo5", "Check4", "Command1", "Label47"}) {
        SCOPED_TRACE(name);
        const panel::ControlLayout* layout = panel::findLayout(name);
        const RECT place = placeOf(control(name));
        EXPECT_EQ(place.left, MulDiv(layout->left, shown, 1440));
        EXPECT_EQ(place.top, MulDiv(layout->top, shown, 1440));
        if (layout->width > 0) {
            EXPECT_GE(place.right - place.left, MulDiv(layout->width, shown, 1440));
            EXPECT_EQ(place.bottom - place.top, MulDiv(layout->height, shown, 1440));
        }
    }
    EXPECT_EQ(fontOf(control("Label12")).lfHeight, -MulDiv(975, shown, 7200));  // 9.75 pt
    EXPECT_EQ(window.ToolTips.MaxTipWidth(), 360) << "tips widen with the DPI";
}

// A screen reader names an input by the name the window gives it (Windows'
// annotations, which Wine lacks), else as walked here: a button or check box
// by its own text, any other input by the label just before it in the
// z-order. Either way the check box of motion blur is "Motion Blur".
TEST_F(Form1WindowTest, ScreenReadersFindEveryInputsName) {
    const auto walkedName = [](HWND input) {
        if (className(input) == L"Button") return windowText(input);
        for (HWND before = GetWindow(input, GW_HWNDPREV); before != nullptr;
             before = GetWindow(before, GW_HWNDPREV)) {
            if (className(before) == L"Static") return windowText(before);
        }
        return std::wstring();
    };
    int named = 0;
    for (const panel::ControlLayout& layout : panel::layout()) {
        const std::string name = panel::accessibleName(layout.name);
        if (name.empty()) continue;
        SCOPED_TRACE(std::string(layout.name));
        ++named;
        const panel::ControlLayout* caption = panel::captionOf(layout.name);
        const bool ownText =
            layout.kind == panel::Kind::Button || layout.kind == panel::Kind::CheckBox;
        EXPECT_EQ(narrow(walkedName(control(layout.name))),
                  ownText ? name : std::string(caption->text));
    }
    EXPECT_EQ(named, 43);

    IAccessible* blur = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(control("Check4"), static_cast<DWORD>(OBJID_CLIENT),
                                         IID_IAccessible, reinterpret_cast<void**>(&blur)),
              S_OK);
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    blur->get_accName(self, &name);
    EXPECT_EQ(narrow(name != nullptr ? name : L""), "Motion Blur");
    SysFreeString(name);
    blur->Release();
}

// The program's window asks its start-up question before it makes its
// controls, and ends up as a window made whole at once does.
TEST(Form1WindowStartUp, ControlsAreMadeAfterTheStartUpQuestion) {
    struct WatchingDialogs : testing::FakeDialogs {
        std::function<void()> beforeBox;
        int messageBox(const std::string& text, int style, const std::string& title) override {
            if (beforeBox) beforeBox();
            return FakeDialogs::messageBox(text, style, title);
        }
    };
    testing::FakeSystem system;
    WatchingDialogs dialogs;
    dialogs.yesNoAnswers = {platform::kNo};
    Form1Window later(system, &dialogs, Form1Window::Controls::AfterStartUpQuestion);
    ASSERT_TRUE(later.create());
    bool asked = false;
    dialogs.beforeBox = [&] {
        if (asked) return;
        asked = true;
        EXPECT_EQ(later.hwnd(), nullptr) << "nothing of the window before the question";
    };
    later.load();
    EXPECT_TRUE(asked);
    ASSERT_NE(later.hwnd(), nullptr);

    testing::FakeDialogs atOnceDialogs;
    atOnceDialogs.yesNoAnswers = {platform::kNo};
    Form1Window atOnce(system, &atOnceDialogs);
    ASSERT_TRUE(atOnce.create());
    atOnce.load();
    for (const panel::ControlLayout& layout : panel::layout()) {
        SCOPED_TRACE(std::string(layout.name));
        const HWND made = later.control(layout.name);
        const HWND reference = atOnce.control(layout.name);
        ASSERT_EQ(made == nullptr, reference == nullptr);
        if (made == nullptr) continue;
        const RECT a = placeOf(made);
        const RECT b = placeOf(reference);
        EXPECT_TRUE(EqualRect(&a, &b));
        EXPECT_EQ(windowText(made), windowText(reference));
        EXPECT_EQ(later.ToolTips.ToolText(made), atOnce.ToolTips.ToolText(reference));
    }
    EXPECT_EQ(windowText(later.hwnd()), windowText(atOnce.hwnd()));
}

// A check box draws no focus of its own (it has no caption): the window rings
// it once keys are in use, and a click on its caption toggles it.
TEST_F(Form1WindowTest, ACheckBoxShowsItsFocusAndItsCaptionTogglesIt) {
    window.show(SW_SHOWNORMAL);
    SendMessageW(window.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const RECT box = placeOf(control("Check4"));
    const auto ring = [&](const Shot& shot) {
        std::vector<COLORREF> around;
        for (int x = box.left - 3; x <= box.right + 2; ++x) {
            around.push_back(shot.at(x, box.top - 2));
            around.push_back(shot.at(x, box.bottom + 1));
        }
        return around;
    };
    SetFocus(control("Text1"));
    const auto unfocused = ring(Shot(window.hwnd()));
    SetFocus(control("Check4"));
    const auto focused = ring(Shot(window.hwnd()));
    EXPECT_NE(focused, unfocused);
    SetFocus(control("Text1"));
    EXPECT_EQ(ring(Shot(window.hwnd())), unfocused) << "the ring goes with the focus";

    const LRESULT before = SendMessageW(control("Check4"), BM_GETCHECK, 0, 0);
    SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(controlId("Label27"), STN_CLICKED),
                 reinterpret_cast<LPARAM>(control("Label27")));
    EXPECT_NE(SendMessageW(control("Check4"), BM_GETCHECK, 0, 0), before);
    EXPECT_EQ(GetFocus(), control("Check4"));
}

// Every entry shows whole in the closed drop-down, and the open list is as
// wide as the longest and shows every entry.
TEST_F(Form1WindowTest, DropDownsShowTheirLongestEntry) {
    for (const auto& entry : panel::kComboBoxes) {
        SCOPED_TRACE(std::string(entry.name));
        const HWND box = control(entry.name);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(box, &info));
        RECT field{};
        GetClientRect(info.hwndItem, &field);
        const auto margins = static_cast<DWORD>(SendMessageW(info.hwndItem, EM_GETMARGINS, 0, 0));
        HDC dc = GetDC(box);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        int longest = 0;
        const auto count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
        ASSERT_GT(count, 0);
        for (int i = 0; i < count; ++i) {
            wchar_t text[64] = {};
            SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            SIZE size{};
            GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
            longest = std::max<int>(longest, size.cx);
        }
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        EXPECT_GE(field.right - LOWORD(margins) - HIWORD(margins), longest);
        EXPECT_GE(SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0), longest);
        SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
        RECT open{};
        GetClientRect(info.hwndList, &open);
        SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
        EXPECT_GE(open.bottom - open.top, count * SendMessageW(box, CB_GETITEMHEIGHT, 0, 0));
        EXPECT_LE(fontOf(box).lfHeight, -9) << "readable: 6.5 points at least";
    }
}

// The program's identity as Windows shows it matches the About box.
TEST(Win32Resources, VersionIconAndManifest) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    std::vector<unsigned char> info(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
    const auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            return std::string();
        return narrow(std::wstring(text, length > 0 ? length - 1 : 0));
    };
    EXPECT_EQ(value(L"ProductVersion"), std::string(app::identity::kVersion) + ".0");
    EXPECT_EQ(value(L"ProductName"), "Quorvik");

    EXPECT_EQ(testing::iconWidth(GetModuleHandleW(nullptr), QUORVIK_IDI_ICON, 128), 128);

    // The manifest asks for common controls 6 (the loader redirects comctl32
    // to that assembly) and per-monitor DPI awareness.
    ACTCTX_SECTION_KEYED_DATA redirect{};
    redirect.cbSize = sizeof redirect;
    EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &redirect));
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

}  // namespace
}  // namespace quorvik::win32
