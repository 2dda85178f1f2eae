#pragma once

// Dialogs for tests: every box is recorded in order, answers come from a script.

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace quorvik::testing {

struct ShownBox {
    std::string text;
    int style = 0;
    std::string title;

    bool operator==(const ShownBox&) const = default;
};

class FakeDialogs : public platform::Dialogs {
public:
    // The style of a list's entry in `boxes`.
    static constexpr int kListStyle = -1;

    // Answers for the next Yes/No and Yes/No/Cancel boxes, in order; kYes once
    // the script runs out.
    std::deque<int> yesNoAnswers;
    // Texts typed into the next input boxes; empty (cancelled) once it runs out.
    std::deque<std::string> inputAnswers;

    // Positions to take in the next lists; -1 (Cancel) once it runs out.
    std::deque<int> choices;

    std::vector<ShownBox> boxes;        // message boxes
    std::vector<ShownBox> inputs;       // input boxes: prompt and title (style 0)
    std::vector<std::string> clipboardHistory;
    int closeCount = 0;

    int messageBox(const std::string& text, int style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    // The folder box and the file dialogs answer from `inputAnswers` too, and
    // are recorded in `inputs`: a file dialog as "[Save as] <name> (<kind>)"
    // or "[Open] (<kind>)".
    std::string folderInputBox(const std::string& prompt, const std::string& title) override;
    std::string saveFileName(const std::string& title, const std::string& name,
                             const platform::FileKind& kind) override;
    std::string openFileName(const std::string& title, const platform::FileKind& kind) override;
    // Recorded as a box too (kListStyle): its text, each item on a line of its
    // own, then the buttons.
    int chooseItem(const std::string& text, const std::vector<std::string>& items,
                   const std::string& button, const std::string& title) override;
    std::vector<std::vector<std::string>> lists;  // the items of each list shown
    void setClipboardText(const std::string& text) override;
    void closeWindow() override { ++closeCount; }

    std::vector<std::string> texts() const;
};

}  // namespace quorvik::testing
