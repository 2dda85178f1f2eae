#include "cli/console_dialogs.h"

namespace quorvik::cli {
namespace {

// Lines as the console writes them.
std::string consoleText(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

}  // namespace

int ConsoleDialogs::messageBox(const std::string& text, int style, const std::string&) {
    const int buttons = style & 0x0F;
    if (buttons == platform::kYesNo) return yesNoAnswer;
    if (buttons == platform::kYesNoCancel) return platform::kCancel;
    if (problems != nullptr && problems->size() > problemsPrinted_) {
        ++problemsPrinted_;
        err_ << consoleText(text) << '\n';
    } else if (notices != nullptr && notices->size() > noticesPrinted_) {
        ++noticesPrinted_;
        err_ << consoleText(text) << '\n';
    } else if (printMessages) {
        out_ << consoleText(text) << '\n';
    }
    return platform::kOk;
}

std::string ConsoleDialogs::inputBox(const std::string&, const std::string&) { return {}; }

void ConsoleDialogs::setClipboardText(const std::string&) {}

}  // namespace quorvik::cli
