#pragma once

// What the player sees on Windows: message boxes (the core's style numbers and
// answers are Windows' own MB_ and ID values), the list to choose from, the
// input box (with Browse... for a folder), the system's own file and folder
// dialogs, the clipboard and closing the window. Texts are UTF-8.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace quorvik::win32 {

class Win32Dialogs final : public platform::Dialogs {
public:
    // Boxes belong to this window once it shows; before, they stand alone.
    void setWindow(HWND window) { window_ = window; }

    int messageBox(const std::string& text, int style, const std::string& title) override;
    int chooseItem(const std::string& text, const std::vector<std::string>& items,
                   const std::string& button, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    std::string folderInputBox(const std::string& prompt, const std::string& title) override;
    std::string saveFileName(const std::string& title, const std::string& name,
                             const platform::FileKind& kind) override;
    std::string openFileName(const std::string& title, const platform::FileKind& kind) override;
    void setClipboardText(const std::string& text) override;
    void closeWindow() override;

private:
    HWND owner() const;
    // The input box, with a Browse... button for a folder when `browse`.
    std::string askText(const std::string& prompt, const std::string& title, bool browse);

    HWND window_ = nullptr;
};

}  // namespace quorvik::win32
