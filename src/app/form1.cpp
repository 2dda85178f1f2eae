#include "app/form1.h"

#include "app/help_texts.h"
#include "app/identity.h"
#include "app/themes.h"
#include "launch/launch.h"

namespace quorvik::app {

Form1::Form1(platform::Dialogs& dialogs, platform::System& system, ToolTipApi* toolTips)
    : session(system), dialogs_(dialogs), system_(system), toolTips_(toolTips) {}

int Form1::message(const std::string& text, int style) {
    return dialogs_.messageBox(text, style, std::string(identity::kAppTitle));
}

int Form1::problem(const std::string& text, int style) {
    return message(text, style);
}

void Form1::About_Click() {
    const std::string text = "Quorvik" + ToolVersion + "\r\n" +
                             "Quell Moor Advanced Config Tool " + ToolVersion + "\r\n" +
                             "Written by " + std::string(identity::kAuthor) + "\r\n" +
                             "E-Mail: " + std::string(identity::kEmail) + "\r\n" +
                             "Twitter: " + std::string(identity::kTwitter) + "\r\n" +
                             "BitCoin: " + std::string(identity::kDonationAddress) + "\r\n" +
                             "Web: " + std::string(identity::kWebSite);
    dialogs_.messageBox(text, platform::kInformation, "About...");
}

bool Form1::WhatsThis_Click(std::string_view control) {
    const std::string help = helpTextOf(control);
    if (help.empty()) return false;
    message(help, platform::kInformation);
    return true;
}

void Form1::Label47_Click() {
    dialogs_.setClipboardText(std::string(identity::kDonationAddress));
    message("BitCoin address now in clipboard! Ctrl+V to paste.", platform::kOkOnly);
}

void Form1::Launch_Click() {
    const launch::Launched told =
        launch::launchGame(system_, GameExeFound ? std::optional(GameExePath) : std::nullopt);
    if (!told) {
        problem(told.problem().reason, platform::kCritical);
    } else if (*told) {
        message(**told, platform::kInformation);
    }
}

void Form1::Exit_Click() { dialogs_.closeWindow(); }

void Form1::setLabelColors(panel::ColorNumber color) {
    for (const auto& label : panel::kLabels) (panel.*label.member).ForeColor = color;
}

void Form1::black_Click() { setLabelColors(themes::kBlack); }
void Form1::Red_Click() { setLabelColors(themes::kRed); }
void Form1::Green_Click() { setLabelColors(themes::kGreen); }
void Form1::Yellow_Click() { setLabelColors(themes::kYellow); }
void Form1::blue_Click() { setLabelColors(themes::kBlue); }
void Form1::Magenta_Click() { setLabelColors(themes::kMagenta); }
void Form1::Cyan_Click() { setLabelColors(themes::kCyan); }
void Form1::White_Click() { setLabelColors(themes::kWhite); }

void Form1::qm_Click() { BackgroundPicture = Image1; }
void Form1::bgblack_Click() { BackgroundPicture = Image2; }

}  // namespace quorvik::app
