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
    // The second button (No of Yes/No) is the default: for a step that cannot be undone.
    kDefaultButton2 = 256,
};

// A kind of file the system's file dialogs offer: "Quorvik profile" and "json".
struct FileKind {
    std::string description;
    std::string extension;  // without the dot
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
    // The same box with a Browse... button beside the field: it opens the
    // system's folder picker and puts the folder chosen in the field.
    virtual std::string folderInputBox(const std::string& prompt, const std::string& title) = 0;
    // The system's own Save dialog, offering files of `kind` and starting with
    // `name` as the file's name: the full path chosen, or an empty text when
    // cancelled. It does not ask about a file that is there: its caller does.
    virtual std::string saveFileName(const std::string& title, const std::string& name,
                                     const FileKind& kind) = 0;
    // The system's own Open dialog, offering files of `kind`: the full path of
    // the file chosen, or an empty text when cancelled.
    virtual std::string openFileName(const std::string& title, const FileKind& kind) = 0;
    // Empties the clipboard, then places the text on it.
    virtual void setClipboardText(const std::string& text) = 0;
    // Unloads the main window, which ends the program.
    virtual void closeWindow() = 0;
};

}  // namespace quorvik::platform
