#include "app/win32/win32_dialogs.h"

#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/win32/view_text.h"
#include "platform/win32/late_bound.h"
#include "platform/win32/win32_text.h"

namespace quorvik::win32 {
namespace {

using platform::win32::narrow;
using platform::win32::widen;

constexpr int kPromptId = 100;
constexpr int kFieldId = 101;
constexpr int kListId = 102;
constexpr int kBrowseId = 103;

// A dialog template built in memory: the header, then each item, every part
// aligned as the dialog manager reads it.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height, const wchar_t* font, WORD points) {
        DLGTEMPLATE header{};
        header.style = style | DS_SETFONT;
        header.cx = width;
        header.cy = height;
        append(&header, sizeof header);
        word(0);  // no menu
        word(0);  // the standard dialog class
        word(0);  // no title: it is set when the dialog opens
        word(points);
        text(font);
    }

    // An item of a predefined class: 0x80 button, 0x81 edit, 0x82 static,
    // 0x83 list box.
    void item(WORD atom, WORD id, DWORD style, short x, short y, short cx, short cy,
              const wchar_t* caption) {
        align();
        DLGITEMTEMPLATE entry{};
        entry.style = style | WS_CHILD | WS_VISIBLE;
        entry.x = x;
        entry.y = y;
        entry.cx = cx;
        entry.cy = cy;
        entry.id = id;
        append(&entry, sizeof entry);
        word(0xFFFF);
        word(atom);
        text(caption);
        word(0);  // no creation data
        ++items_;
    }

    const DLGTEMPLATE* get() {
        reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit = items_;
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }

private:
    void append(const void* data, std::size_t size) {
        const auto* first = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), first, first + size);
    }
    void word(WORD value) { append(&value, sizeof value); }
    void text(const wchar_t* value) { append(value, (wcslen(value) + 1) * sizeof(wchar_t)); }
    void align() {
        while (bytes_.size() % sizeof(DWORD) != 0) bytes_.push_back(0);
    }

    std::vector<unsigned char> bytes_;
    WORD items_ = 0;
};

struct InputBoxState {
    std::wstring prompt;
    std::wstring title;
    std::wstring typed;
};

// The system's own file dialog (Save, Open, or Open for a folder), through
// COM on the window's thread, which is a single-threaded apartment as every
// UI thread is. COM is looked up when first needed, not at start-up. The
// path chosen, or nothing when cancelled or when the dialog cannot be made.
enum class Pick { SaveFile, OpenFile, Folder };

std::wstring pickPath(HWND owner, Pick pick, const std::wstring& title, const std::wstring& name,
                      const platform::FileKind* kind, const std::wstring& startFolder) {
    using platform::win32::lateBound;
    static const auto initialize =
        lateBound<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    static const auto uninitialize =
        lateBound<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    static const auto create =
        lateBound<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    static const auto freeMemory =
        lateBound<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    static const auto parseName = lateBound<decltype(&SHCreateItemFromParsingName)>(
        L"shell32.dll", "SHCreateItemFromParsingName");
    if (initialize == nullptr || create == nullptr || freeMemory == nullptr) return {};
    const bool started = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
    std::wstring chosen;
    IFileDialog* dialog = nullptr;
    const HRESULT made = pick == Pick::SaveFile
                             ? create(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IFileSaveDialog, reinterpret_cast<void**>(&dialog))
                             : create(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog));
    if (SUCCEEDED(made) && dialog != nullptr) {
        FILEOPENDIALOGOPTIONS options = 0;
        dialog->GetOptions(&options);
        options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR;
        if (pick == Pick::Folder) options |= FOS_PICKFOLDERS | FOS_PATHMUSTEXIST;
        if (pick == Pick::OpenFile) options |= FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST;
        // Replacing a file that is there is asked by the caller, alike in both windows.
        if (pick == Pick::SaveFile)
            options &= ~static_cast<FILEOPENDIALOGOPTIONS>(FOS_OVERWRITEPROMPT);
        dialog->SetOptions(options);
        dialog->SetTitle(title.c_str());
        std::wstring description;
        std::wstring pattern;
        std::wstring extension;
        if (kind != nullptr) {
            extension = widen(kind->extension);
            description = widen(kind->description) + L" (*." + extension + L")";
            pattern = L"*." + extension;
            const COMDLG_FILTERSPEC filter{description.c_str(), pattern.c_str()};
            dialog->SetFileTypes(1, &filter);
            dialog->SetDefaultExtension(extension.c_str());
        }
        if (!name.empty()) dialog->SetFileName(name.c_str());
        IShellItem* folder = nullptr;
        if (!startFolder.empty() && parseName != nullptr &&
            SUCCEEDED(parseName(startFolder.c_str(), nullptr, IID_IShellItem,
                                reinterpret_cast<void**>(&folder)))) {
            dialog->SetFolder(folder);
            folder->Release();
        }
        IShellItem* result = nullptr;
        if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&result))) {
            PWSTR path = nullptr;
            if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path != nullptr) {
                chosen = path;
                freeMemory(path);
            }
            result->Release();
        }
        dialog->Release();
    }
    if (started && uninitialize != nullptr) uninitialize();
    return chosen;
}

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* state = reinterpret_cast<const InputBoxState*>(lParam);
            SetWindowTextW(dialog, state->title.c_str());
            SetDlgItemTextW(dialog, kPromptId, state->prompt.c_str());
            SetFocus(GetDlgItem(dialog, kFieldId));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kBrowseId) {
                // The folder picker starts where the typed path points, if anywhere.
                const HWND field = GetDlgItem(dialog, kFieldId);
                const std::wstring typed = windowText(field);
                const DWORD attributes = GetFileAttributesW(typed.c_str());
                const bool isFolder = attributes != INVALID_FILE_ATTRIBUTES &&
                                      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
                const auto* state =
                    reinterpret_cast<const InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                const std::wstring chosen = pickPath(dialog, Pick::Folder, state->title, {},
                                                     nullptr, isFolder ? typed : std::wstring());
                if (!chosen.empty()) {
                    SetWindowTextW(field, chosen.c_str());
                    SendMessageW(field, EM_SETSEL, 0, -1);
                }
                SetFocus(field);
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK) {
                auto* state =
                    reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                state->typed = windowText(GetDlgItem(dialog, kFieldId));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

struct ChooseItemState {
    std::wstring text;
    std::wstring title;
    std::vector<std::wstring> items;
    int chosen = -1;
};

// The list scrolls sideways as far as its longest item reaches; a list box
// cannot measure that itself.
// The width in pixels the list needs to show its longest item whole.
LONG fitHorizontalExtent(HWND list, const std::vector<std::wstring>& items) {
    const HDC dc = GetDC(list);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::wstring& item : items) {
        SIZE size{};
        if (GetTextExtentPoint32W(dc, item.c_str(), static_cast<int>(item.size()), &size)) {
            widest = std::max(widest, size.cx);
        }
    }
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    // The margin the list box leaves before and after an item's text.
    const LONG margin = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + margin), 0);
    return widest + margin + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
}

// Widens the dialog so that its list shows `needed` pixels, as far as the
// screen it is on allows; the text and the list grow, the buttons keep to the right.
void widenFor(HWND dialog, HWND list, LONG needed) {
    RECT listRect{};
    RECT own{};
    GetWindowRect(list, &listRect);
    GetWindowRect(dialog, &own);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG room = (monitor.rcWork.right - monitor.rcWork.left) - (own.right - own.left);
    const LONG grow = std::min(needed - (listRect.right - listRect.left), room);
    if (grow <= 0) return;
    SetWindowPos(dialog, nullptr, 0, 0, own.right - own.left + grow, own.bottom - own.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const int id : {kPromptId, kListId, IDOK, IDCANCEL}) {
        const HWND item = GetDlgItem(dialog, id);
        RECT rect{};
        GetWindowRect(item, &rect);
        MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
        const bool button = id == IDOK || id == IDCANCEL;
        SetWindowPos(item, nullptr, rect.left + (button ? grow : 0), rect.top,
                     rect.right - rect.left + (button ? 0 : grow), rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Over the middle of the window it belongs to, as a message box stands, kept
// on that window's monitor; a dialog without one stays centred on the screen.
void centerOnOwner(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    RECT outer{};
    RECT own{};
    if (owner == nullptr || !GetWindowRect(owner, &outer) || !GetWindowRect(dialog, &own)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    const RECT& area = monitor.rcWork;
    const LONG x = std::clamp((outer.left + outer.right - width) / 2, area.left,
                              std::max(area.left, area.right - width));
    const LONG y = std::clamp((outer.top + outer.bottom - height) / 2, area.top,
                              std::max(area.top, area.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK chooseItemProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto* state = reinterpret_cast<const ChooseItemState*>(lParam);
            SetWindowTextW(dialog, state->title.c_str());
            SetDlgItemTextW(dialog, kPromptId, state->text.c_str());
            const HWND list = GetDlgItem(dialog, kListId);
            for (const std::wstring& item : state->items) {
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            widenFor(dialog, list, fitHorizontalExtent(list, state->items));
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            centerOnOwner(dialog);
            SetFocus(list);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDOK || (id == kListId && HIWORD(wParam) == LBN_DBLCLK)) {
                auto* state =
                    reinterpret_cast<ChooseItemState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                const LRESULT selected = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
                state->chosen = selected == LB_ERR ? -1 : static_cast<int>(selected);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

HWND Win32Dialogs::owner() const {
    return window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
}

int Win32Dialogs::messageBox(const std::string& text, int style, const std::string& title) {
    const int answer =
        MessageBoxW(owner(), widen(text).c_str(), widen(title).c_str(), static_cast<UINT>(style));
    switch (style & 0x0F) {
        case platform::kYesNo:
            return answer == IDYES ? platform::kYes : platform::kNo;
        case platform::kYesNoCancel:
            // Closing the box answers IDCANCEL.
            return answer == IDYES  ? platform::kYes
                   : answer == IDNO ? platform::kNo
                                    : platform::kCancel;
        default:
            return platform::kOk;
    }
}

int Win32Dialogs::chooseItem(const std::string& text, const std::vector<std::string>& items,
                             const std::string& button, const std::string& title) {
    // The text along the top, the list below it wide enough for a path, the
    // buttons under the list on the right.
    DialogTemplate layout(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 320, 160,
                          L"MS Shell Dlg", 8);
    layout.item(0x82, kPromptId, SS_LEFT | SS_NOPREFIX, 7, 7, 306, 24, L"");
    layout.item(0x83, kListId,
                LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
                    WS_TABSTOP | WS_GROUP,
                7, 34, 306, 98, L"");
    // Each button takes Alt and its first letter, as the rest of the window's do.
    const std::wstring buttonText = L"&" + widen(button);
    layout.item(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 209, 139, 50, 14,
                buttonText.c_str());
    layout.item(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 263, 139, 50, 14, L"&Cancel");
    ChooseItemState state{widen(text), widen(title), {}, -1};
    for (const std::string& item : items) state.items.push_back(widen(item));
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner(), chooseItemProc,
                                reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.chosen : -1;
}

std::string Win32Dialogs::inputBox(const std::string& prompt, const std::string& title) {
    return askText(prompt, title, false);
}

std::string Win32Dialogs::folderInputBox(const std::string& prompt, const std::string& title) {
    return askText(prompt, title, true);
}

std::string Win32Dialogs::saveFileName(const std::string& title, const std::string& name,
                                       const platform::FileKind& kind) {
    return narrow(pickPath(owner(), Pick::SaveFile, widen(title), widen(name), &kind, {}));
}

std::string Win32Dialogs::openFileName(const std::string& title, const platform::FileKind& kind) {
    return narrow(pickPath(owner(), Pick::OpenFile, widen(title), {}, &kind, {}));
}

std::string Win32Dialogs::askText(const std::string& prompt, const std::string& title,
                                  bool browse) {
    // Prompt on the left, OK and Cancel on the right, the field along the bottom,
    // Browse... beside it for a folder.
    DialogTemplate layout(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 260, 90,
                          L"MS Shell Dlg", 8);
    layout.item(0x82, kPromptId, SS_LEFT | SS_NOPREFIX, 7, 7, 190, 52, L"");
    layout.item(0x80, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 203, 7, 50, 14, L"OK");
    layout.item(0x80, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 203, 25, 50, 14, L"Cancel");
    layout.item(0x81, kFieldId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, 66,
                browse ? 190 : 246, 14, L"");
    if (browse) {
        layout.item(0x80, kBrowseId, BS_PUSHBUTTON | WS_TABSTOP, 203, 66, 50, 14, L"&Browse...");
    }
    InputBoxState state{widen(prompt), widen(title), {}};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.get(), owner(),
                                                   inputBoxProc, reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? narrow(state.typed) : std::string();
}

void Win32Dialogs::setClipboardText(const std::string& text) {
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !open; ++attempt) {
        open = OpenClipboard(window_) != 0;
        if (!open) Sleep(20);
    }
    if (!open) return;
    EmptyClipboard();
    const std::wstring wide = widen(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, wide.c_str(), bytes);
            GlobalUnlock(memory);
            // Once placed, the memory is the clipboard's.
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void Win32Dialogs::closeWindow() {
    // The handler that asks is still running: the window closes once it returns.
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace quorvik::win32
