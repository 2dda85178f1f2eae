// Message boxes, the folder input box and the clipboard, answered by a helper
// thread that finds the dialog on the screen and presses its buttons as a
// player would.

#include "app/win32/win32_dialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::win32::narrow;
using platform::win32::widen;

// Waits for a top-level dialog with this title and hands it to `act`.
class Answerer {
public:
    Answerer(std::wstring title, std::function<void(HWND)> act)
        : thread_([this, title = std::move(title), act = std::move(act)] {
              for (int i = 0; i < 500 && !stop_; ++i) {
                  if (const HWND dialog = FindWindowW(L"#32770", title.c_str())) {
                      act(dialog);
                      return;
                  }
                  Sleep(10);
              }
          }) {}
    ~Answerer() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::wstring textOf(HWND dialog, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

// Each row: the style number, the button pressed, the answer the core gets.
TEST(Win32Dialogs, MessageBoxAnswersAreTheCoresNumbers) {
    struct Row {
        int style;
        int pressed;
        int answer;
    };
    const Row rows[] = {
        {platform::kYesNo, IDYES, platform::kYes},  {platform::kYesNo, IDNO, platform::kNo},
        {platform::kOkOnly, IDOK, platform::kOk},   {platform::kInformation, IDOK, platform::kOk},
        {platform::kCritical, IDOK, platform::kOk}, {platform::kExclamation, IDOK, platform::kOk},
        {platform::kYesNoCancel, IDYES, platform::kYes},
        {platform::kYesNoCancel, IDNO, platform::kNo},
        {platform::kYesNoCancel, IDCANCEL, platform::kCancel},
    };
    Win32Dialogs dialogs;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.style);
        std::wstring shown;
        int answer = 0;
        {
            Answerer press(L"Quorvik test \u00e9", [&](HWND box) {
                shown = textOf(box, 0xFFFF);  // the box's text
                PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(row.pressed), 0);
            });
            answer =
                dialogs.messageBox("Line one\r\nCaf\xC3\xA9", row.style, "Quorvik test \xC3\xA9");
        }
        EXPECT_EQ(answer, row.answer);
        EXPECT_EQ(shown, L"Line one\r\nCaf\u00e9");
    }
}

// The folder is typed into the box and confirmed, or the box is cancelled.
TEST(Win32Dialogs, InputBoxGivesTheTypedTextOrNothing) {
    Win32Dialogs dialogs;
    struct Row {
        int pressed;
        std::string expected;
    };
    for (const Row& row : {Row{IDOK, "C:\\Users\\Jos\xC3\xA9\\Documents"}, Row{IDCANCEL, ""}}) {
        SCOPED_TRACE(row.pressed);
        std::wstring prompt;
        std::string typed;
        {
            Answerer answer(L"Video.scr Path", [&](HWND box) {
                prompt = textOf(box, 100);
                SetDlgItemTextW(box, 101, L"C:\\Users\\Jos\u00e9\\Documents");
                PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(row.pressed), 0);
            });
            typed = dialogs.inputBox("Please enter the full path", "Video.scr Path");
        }
        EXPECT_EQ(prompt, L"Please enter the full path");
        EXPECT_EQ(typed, row.expected);
    }
}

// Whatever was on the clipboard is replaced by the text alone.
TEST(Win32Dialogs, ClipboardHoldsTheTextAsUnicode) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(RegisterClipboardFormatW(L"Quorvik test data"), GlobalAlloc(GMEM_MOVEABLE, 4));
    CloseClipboard();

    Win32Dialogs dialogs;
    dialogs.setClipboardText("bc1q\xE2\x82\xAC");  // a euro sign beyond Latin-1
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatW(L"Quorvik test data")));
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring text(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text, L"bc1q\u20AC");
}

}  // namespace
}  // namespace quorvik::win32
