// Message boxes, the list to choose from, the folder input box and the
// clipboard, answered by a helper thread that finds the dialog on the screen
// and presses its buttons as a player would.

#include "app/win32/win32_dialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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
        {platform::kYesNo, IDYES, platform::kYes},
        {platform::kYesNo, IDNO, platform::kNo},
        {platform::kOkOnly, IDOK, platform::kOk},
        {platform::kInformation, IDOK, platform::kOk},
        {platform::kCritical, IDOK, platform::kOk},
        {platform::kExclamation, IDOK, platform::kOk},
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

// Each row: how the player answers the list, the position the core gets. The
// list opens with the first item selected, wide enough for its longest.
TEST(Win32Dialogs, ChooseItemGivesThePositionTakenOrNone) {
    enum class Act {
        Button,
        DownThenButton,
        DoubleClickThird,
        Return,
        AccessKey,
        CancelKey,
        Cancel,
        Escape,
        Close
    };
    struct Row {
        const char* name;
        Act act;
        int chosen;
    };
    const Row rows[] = {
        {"the button takes the first item", Act::Button, 0},
        {"another item, then the button", Act::DownThenButton, 1},
        {"a double click on an item", Act::DoubleClickThird, 2},
        {"Return", Act::Return, 0},
        {"Alt+R", Act::AccessKey, 0},
        {"Alt+C", Act::CancelKey, -1},
        {"Cancel", Act::Cancel, -1},
        {"Escape", Act::Escape, -1},
        {"closing the dialog", Act::Close, -1},
    };
    const std::wstring longest =
        L"2026-12-05 21.10.40 C:\\Users\\Jos\u00e9\\Documents\\Quell Moor\\out\\Settings "
        L"(Video.scr, Audio.scr and the scripts that go with them)";
    const std::vector<std::string> items = {"2026-12-07 13.45.02", "2026-12-06 09.00.00",
                                            narrow(longest)};
    Win32Dialogs dialogs;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::wstring button, third;
        LRESULT selected = LB_ERR;
        bool fits = false, stuck = false;
        int chosen = -2;
        {
            Answerer answer(L"Restore \u00e9", [&](HWND box) {
                // Filled once the dialog shows.
                for (int i = 0; i < 500 && !IsWindowVisible(box); ++i) Sleep(10);
                const HWND list = GetDlgItem(box, 102);
                button = textOf(box, IDOK);
                selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
                wchar_t text[512] = {};
                if (SendMessageW(list, LB_GETTEXTLEN, 2, 0) < 512) {
                    SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
                }
                third = text;
                RECT inside{};
                GetClientRect(list, &inside);
                fits = SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) <= inside.right;
                const auto key = [&](WPARAM which) { PostMessageW(list, WM_KEYDOWN, which, 0); };
                const auto click = [&](int id) {
                    PostMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
                };
                switch (row.act) {
                    case Act::DownThenButton:
                        key(VK_DOWN);
                        [[fallthrough]];
                    case Act::Button:
                        click(IDOK);
                        break;
                    case Act::DoubleClickThird: {
                        RECT item{};
                        SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
                        const LPARAM at =
                            MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
                        for (const UINT message :
                             {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
                            PostMessageW(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                                         at);
                        }
                        break;
                    }
                    case Act::Return:
                        key(VK_RETURN);
                        break;
                    case Act::AccessKey:
                    case Act::CancelKey:
                        // Alt and a letter, as the keyboard sends them.
                        PostMessageW(list, WM_SYSCHAR, row.act == Act::AccessKey ? 'r' : 'c',
                                     1 << 29);
                        break;
                    case Act::Cancel:
                        click(IDCANCEL);
                        break;
                    case Act::Escape:
                        key(VK_ESCAPE);
                        break;
                    case Act::Close:
                        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
                        break;
                }
                // An answer the dialog ignores fails the row instead of hanging it.
                for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
                stuck = IsWindow(box) != 0;
                if (stuck) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            });
            chosen = dialogs.chooseItem("Which settings do you want back?", items, "Restore",
                                        "Restore \xC3\xA9");
        }
        EXPECT_EQ(chosen, row.chosen);
        EXPECT_EQ(button, L"&Restore");
        EXPECT_EQ(selected, 0);
        EXPECT_EQ(third, longest);
        EXPECT_TRUE(fits);
        EXPECT_FALSE(stuck);
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

// The first visible edit field of a dialog: a file dialog's name field.
HWND firstField(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM into) -> BOOL {
            wchar_t kind[16] = {};
            GetClassNameW(child, kind, 16);
            if (lstrcmpiW(kind, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
            *reinterpret_cast<HWND*>(into) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits for the dialog to show its name field, notes what it offers, types the
// path there and confirms, as a player typing into the system's dialog would.
void typePathInto(HWND dialog, const std::wstring& path, std::wstring& offered) {
    HWND field = nullptr;
    for (int i = 0; i < 500 && (field = firstField(dialog)) == nullptr; ++i) Sleep(10);
    if (field == nullptr) return;
    wchar_t text[MAX_PATH] = {};
    GetWindowTextW(field, text, MAX_PATH);
    offered = text;
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The system's Save and Open dialogs, and Browse... beside the folder box:
// the path the player picks comes back whole.
TEST(Win32Dialogs, FileDialogsGiveThePathChosen) {
    wchar_t temporary[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder =
        std::wstring(temporary) + L"Quell M\u00f6\u00f6r " + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\shared.json";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const platform::FileKind kind{"Quorvik profile", "json"};
    Win32Dialogs dialogs;

    std::wstring offered;
    std::string chosen;
    {
        Answerer answer(L"Export Profile", [&](HWND box) { typePathInto(box, file, offered); });
        chosen = dialogs.saveFileName("Export Profile", "Docked.json", kind);
    }
    EXPECT_EQ(chosen, narrow(file));
    EXPECT_EQ(offered, L"Docked.json");
    {
        Answerer answer(L"Import Profile", [&](HWND box) { typePathInto(box, file, offered); });
        chosen = dialogs.openFileName("Import Profile", kind);
    }
    EXPECT_EQ(chosen, narrow(file));

    std::wstring browse, filled;
    {
        Answerer answer(L"Folder Path", [&](HWND box) {
            for (int i = 0; i < 500 && !IsWindowVisible(box); ++i) Sleep(10);
            browse = textOf(box, 103);
            PostMessageW(GetDlgItem(box, 103), BM_CLICK, 0, 0);
            // The picker, owned by the box, has the box's title.
            HWND picker = nullptr;
            for (int i = 0; i < 500 && picker == nullptr; ++i, Sleep(10)) {
                for (HWND at = FindWindowExW(nullptr, nullptr, L"#32770", L"Folder Path");
                     at != nullptr; at = FindWindowExW(nullptr, at, L"#32770", L"Folder Path")) {
                    if (GetWindow(at, GW_OWNER) == box) picker = at;
                }
            }
            if (picker == nullptr) return;
            std::wstring unused;
            typePathInto(picker, folder, unused);
            for (int i = 0; i < 500 && IsWindow(picker); ++i) Sleep(10);
            filled = textOf(box, 101);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        chosen = dialogs.folderInputBox("Where is Video.scr?", "Folder Path");
    }
    EXPECT_EQ(browse, L"&Browse...");
    EXPECT_EQ(filled, folder);
    EXPECT_EQ(chosen, narrow(folder));
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
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
