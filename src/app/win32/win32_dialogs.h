#pragma once

// What the player sees on Windows: message boxes (the core's style numbers and
// answers are Windows' own MB_ and ID values), the list to choose from, the
// folder input box, the clipboard and closing the window. Texts are UTF-8.

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
    void setClipboardText(const std::string& text) override;
    void closeWindow() override;

private:
    HWND owner() const;

    HWND window_ = nullptr;
};

}  // namespace quorvik::win32
