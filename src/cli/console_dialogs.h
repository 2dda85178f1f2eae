#pragma once

// Dialogs for a front end without a window: nothing is asked, every message
// box is printed. Messages that tell of something not done, or done unasked,
// go to standard error, the rest to standard output.

#include <ostream>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace quorvik::cli {

class ConsoleDialogs : public platform::Dialogs {
public:
    ConsoleDialogs(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // The answer to every Yes/No question (the start-up question is the only one).
    int yesNoAnswer = platform::kYes;
    // Messages that are not problems are printed only when this is set.
    bool printMessages = true;
    // The problems the form has shown so far; the next box past them is one too.
    const std::vector<std::string>* problems = nullptr;
    // The notices it has shown so far (something done that was not asked
    // for): printed with the problems, without being one.
    const std::vector<std::string>* notices = nullptr;

    int messageBox(const std::string& text, int style, const std::string& title) override;
    // No one is there to choose: as if cancelled.
    int chooseItem(const std::string&, const std::vector<std::string>&, const std::string&,
                   const std::string&) override {
        return -1;
    }
    // No one is there to type: as if cancelled.
    std::string inputBox(const std::string& prompt, const std::string& title) override;
    void setClipboardText(const std::string& text) override;
    void closeWindow() override {}

private:
    std::ostream& out_;
    std::ostream& err_;
    std::size_t problemsPrinted_ = 0;
    std::size_t noticesPrinted_ = 0;
};

}  // namespace quorvik::cli
