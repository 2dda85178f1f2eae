#pragma once

// What the Linux player sees of the tool's questions and messages: Qt's own
// message boxes, an input box, a list to choose from, the desktop's file and
// folder dialogs (its portal's where there is one), and the clipboard.

#include <QPointer>
#include <QWidget>

#include "platform/dialogs.h"

namespace quorvik::qt {

// Message boxes, the list to choose from, the input box and the clipboard with
// Qt's own dialogs.
class QtDialogs : public platform::Dialogs {
public:
    explicit QtDialogs(QWidget* window) : window_(window) {}

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
    // Boxes shown before the window is visible have no parent.
    QWidget* parentWidget() const;

    QPointer<QWidget> window_;
};

}  // namespace quorvik::qt
