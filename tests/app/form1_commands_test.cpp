// The small commands of the window: About, donation label, exit, colours and backgrounds.

#include <gtest/gtest.h>

#include "app/form1.h"
#include "app/themes.h"
#include "support/fake_dialogs.h"
#include "support/fake_system.h"

namespace quorvik::app {
namespace {

using quorvik::testing::FakeDialogs;

class Form1Commands : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    quorvik::testing::FakeSystem system;
    Form1 form{dialogs, system};
};

TEST_F(Form1Commands, AboutShowsSevenLinesTitledAbout) {
    form.ToolVersion = "v0.7.9 Final";
    form.About_Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "Quorvikv0.7.9 Final\r\n"
              "Quell Moor Advanced Config Tool v0.7.9 Final\r\n"
              "Written by Quorvik Team\r\n"
              "E-Mail: team@quorvik.example.org\r\n"
              "Twitter: @QuorvikTool\r\n"
              "BitCoin: bc1qquorvikexampledonationaddress0000\r\n"
              "Web: https://quorvik.example.org/");
    EXPECT_EQ(dialogs.boxes[0].style, 64);
    EXPECT_EQ(dialogs.boxes[0].title, "About...");
}

// What's this? shows a control's explanation, the tooltip's lines in one
// box; a control without one shows nothing.
TEST_F(Form1Commands, WhatsThisShowsTheTooltipTextInABox) {
    for (const auto& [control, first] :
         {std::pair{"Text15", "The field of view is"}, std::pair{"Command1", "Video.scr path must"},
          std::pair{"Label12", ""}}) {
        dialogs.boxes.clear();
        EXPECT_EQ(form.WhatsThis_Click(control), *first != '\0') << control;
        if (*first == '\0') {
            EXPECT_TRUE(dialogs.boxes.empty()) << control;
            continue;
        }
        ASSERT_EQ(dialogs.boxes.size(), 1u) << control;
        EXPECT_TRUE(dialogs.boxes[0].text.starts_with(first)) << dialogs.boxes[0].text;
        EXPECT_NE(dialogs.boxes[0].text.find("\r\n"), std::string::npos) << "all of its lines";
        EXPECT_EQ(dialogs.boxes[0].style, platform::kInformation);
    }
}

TEST_F(Form1Commands, DonationLabelPlacesTheAddressAloneThenConfirms) {
    form.Label47_Click();
    form.Label47_Click();
    EXPECT_EQ(dialogs.clipboardHistory,
              (std::vector<std::string>{"bc1qquorvikexampledonationaddress0000",
                                        "bc1qquorvikexampledonationaddress0000"}));
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0],
              (quorvik::testing::ShownBox{"BitCoin address now in clipboard! Ctrl+V to paste.", 0,
                                          "Quorvik by Quorvik Team"}));
    EXPECT_EQ(form.panel.Label47.Caption,
              "BitCoin " + dialogs.clipboardHistory[0]) << "the label shows the same address";
}

TEST_F(Form1Commands, ExitClosesTheWindowWithoutAsking) {
    form.Exit_Click();
    EXPECT_EQ(dialogs.closeCount, 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Form1Commands, ColourCommandsRecolourAllLabelsAndNothingElse) {
    const std::vector<std::pair<void (Form1::*)(), panel::ColorNumber>> commands = {
        {&Form1::black_Click, 0},          {&Form1::Red_Click, 255},
        {&Form1::Green_Click, 65280},      {&Form1::Yellow_Click, 65535},
        {&Form1::blue_Click, 16711680},    {&Form1::Magenta_Click, 16711935},
        {&Form1::Cyan_Click, 16776960},    {&Form1::White_Click, 16777215},
    };
    const panel::Panel before = form.panel;
    for (const auto& [command, color] : commands) {
        (form.*command)();
        for (const auto& label : panel::kLabels) {
            EXPECT_EQ((form.panel.*label.member).ForeColor, color) << label.name;
        }
    }
    // Everything but the colours is as it was.
    panel::Panel after = form.panel;
    for (const auto& label : panel::kLabels) {
        (after.*label.member).ForeColor = (before.*label.member).ForeColor;
        EXPECT_EQ((after.*label.member).Caption, (before.*label.member).Caption);
    }
}

TEST_F(Form1Commands, BackgroundsSwapAnyNumberOfTimes) {
    form.Image1 = Picture::Moor;  // as start-up leaves it
    form.qm_Click();
    EXPECT_EQ(form.BackgroundPicture, Picture::Moor) << "Quell Moor first leaves the window as it was";
    form.bgblack_Click();
    EXPECT_EQ(form.BackgroundPicture, Picture::Black);
    form.bgblack_Click();
    form.qm_Click();
    EXPECT_EQ(form.BackgroundPicture, Picture::Moor);
    EXPECT_EQ(form.Image1, Picture::Moor);
    EXPECT_EQ(form.Image2, Picture::Black);

    form.Image1 = Picture::None;  // start-up could not copy the picture
    form.qm_Click();
    EXPECT_EQ(form.BackgroundPicture, Picture::None);
}

}  // namespace
}  // namespace quorvik::app
