#pragma once

// What the user sees: message boxes, the input box, the clipboard and the
// window itself. Texts here are UTF-8.

#include <string>
#include <vector>

namespace quorvik::platform {

// Style numbers of a message box: the buttons and the icon.
enum MessageStyle : int {
    kOkOnly = 0,
    kYesNoCancel = 3,
    kYesNo = 4,
    kCritical = 16,
    kQuestion = 32,
    kExclamation = 48,
    kInformation = 64,
};

// Answers of a message box.
enum MessageAnswer : int {
    kOk = 1,
    kCancel = 2,
    kYes = 6,
    kNo = 7,
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Blocks until dismissed; returns kOk, kYes/kNo for a Yes/No box, and
    // kYes/kNo/kCancel for a Yes/No/Cancel box (closing it is Cancel).
    virtual int messageBox(const std::string& text, int style, const std::string& title) = 0;
    // A list to take one item from: the text above it, the items (the first
    // one highlighted), a button named `button` that takes the highlighted item
    // (as a double click or Return does) and Cancel. The position taken, or -1
    // when cancelled (closing the dialog and Escape are Cancel).
    virtual int chooseItem(const std::string& text, const std::vector<std::string>& items,
                           const std::string& button, const std::string& title) = 0;
    // The text typed, or an empty text when cancelled. No default text.
    virtual std::string inputBox(const std::string& prompt, const std::string& title) = 0;
    // Empties the clipboard, then places the text on it.
    virtual void setClipboardText(const std::string& text) = 0;
    // Unloads the main window, which ends the program.
    virtual void closeWindow() = 0;
};

}  // namespace quorvik::platform
