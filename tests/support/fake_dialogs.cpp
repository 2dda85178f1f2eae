#include "support/fake_dialogs.h"

namespace quorvik::testing {

int FakeDialogs::messageBox(const std::string& text, int style, const std::string& title) {
    boxes.push_back({text, style, title});
    const int buttons = style & 0x0F;
    if (buttons != platform::kYesNo && buttons != platform::kYesNoCancel) return platform::kOk;
    if (yesNoAnswers.empty()) return platform::kYes;
    const int answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

std::string FakeDialogs::inputBox(const std::string& prompt, const std::string& title) {
    inputs.push_back({prompt, 0, title});
    if (inputAnswers.empty()) return {};
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

std::string FakeDialogs::folderInputBox(const std::string& prompt, const std::string& title) {
    return inputBox(prompt, title);
}

std::string FakeDialogs::saveFileName(const std::string& title, const std::string& name,
                                      const platform::FileKind& kind) {
    return inputBox("[Save as] " + name + " (" + kind.description + ", *." + kind.extension + ")",
                    title);
}

std::string FakeDialogs::openFileName(const std::string& title, const platform::FileKind& kind) {
    return inputBox("[Open] (" + kind.description + ", *." + kind.extension + ")", title);
}

int FakeDialogs::chooseItem(const std::string& text, const std::vector<std::string>& items,
                            const std::string& button, const std::string& title) {
    std::string shown = text;
    for (const auto& item : items) shown += "\r\n" + item;
    boxes.push_back({shown + "\r\n[" + button + "] [Cancel]", kListStyle, title});
    lists.push_back(items);
    if (choices.empty()) return -1;
    const int answer = choices.front();
    choices.pop_front();
    return answer;
}

void FakeDialogs::setClipboardText(const std::string& text) { clipboardHistory.push_back(text); }

std::vector<std::string> FakeDialogs::texts() const {
    std::vector<std::string> all;
    for (const auto& box : boxes) all.push_back(box.text);
    return all;
}

}  // namespace quorvik::testing
