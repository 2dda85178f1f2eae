#pragma once

// The window's dialogs, passed through, with one step run as soon as start-up's
// first question (a message box or the input box) has been answered. Both
// windows build their controls there: the question is on screen the moment the
// program is up, and the window is complete before start-up goes on to fill it.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"

namespace quorvik::app {

class FirstAnswerDialogs final : public platform::Dialogs {
public:
    FirstAnswerDialogs(platform::Dialogs& dialogs, std::function<void()> afterFirstAnswer)
        : dialogs_(dialogs), afterFirstAnswer_(std::move(afterFirstAnswer)) {}

    int messageBox(const std::string& text, int style, const std::string& title) override {
        const int answer = dialogs_.messageBox(text, style, title);
        answered();
        return answer;
    }
    std::string inputBox(const std::string& prompt, const std::string& title) override {
        std::string typed = dialogs_.inputBox(prompt, title);
        answered();
        return typed;
    }
    int chooseItem(const std::string& text, const std::vector<std::string>& items,
                   const std::string& button, const std::string& title) override {
        return dialogs_.chooseItem(text, items, button, title);
    }
    void setClipboardText(const std::string& text) override { dialogs_.setClipboardText(text); }
    void closeWindow() override { dialogs_.closeWindow(); }

private:
    void answered() {
        if (!afterFirstAnswer_) return;
        // Taken out first: the step may itself show a box.
        const auto step = std::exchange(afterFirstAnswer_, nullptr);
        step();
    }

    platform::Dialogs& dialogs_;
    std::function<void()> afterFirstAnswer_;
};

}  // namespace quorvik::app
