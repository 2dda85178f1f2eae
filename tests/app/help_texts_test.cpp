#include "app/help_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "panel/layout.h"
#include "platform/text_codec.h"

namespace quorvik::app {
namespace {

// Each text's shape as the program shows it: its control, its number of lines,
// where the blank lines stand, the program's own lines word for word and the
// note the last line closes with. The prose in between is free.
struct Shape {
    const char* control;
    std::size_t lines;
    std::vector<std::size_t> blanks;
    std::vector<std::pair<std::size_t, const char*>> fixed;
    const char* lastEndsWith = nullptr;
};

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> kShapes = {
        {"Command1",
         3,
         {},
         {{0,
           "Video.scr path must be set to change load/change/backup/save settings. On "
           "Windows 7 & Vista this will be:"},
          {1, "\"C:\\Users\\%USERNAME%\\Documents\\QuellMoor\\out\\Settings\""},
          {2, "Please enter the full path without a trailing \\ and without quotes."}}},
        {"Text1", 6, {}, {}},
        {"Text4", 9, {3}, {}, "(Default 24, Valid values are 16,24,32)"},
        {"Text5", 9, {4}, {{8, "(Default 0, Valid values are 2,4,8,16)"}}},
        {"Combo1", 5, {1}, {}},
        {"Text10", 1, {}, {{0, "lower is better"}}},
        {"Text11", 1, {}, {{0, "lower is better"}}},
        {"Text12", 1, {}, {{0, "lower is better"}}},
        {"Text13", 1, {}, {{0, "higher is better"}}},
        {"Text14", 1, {}, {{0, "0-4 (lower is better)"}}},
        {"Text15",
         5,
         {1},
         {{4, "Enter as 00.0 format even if it's a whole number!, ie: 60.0 (Default 62.5)"}}},
        {"Text7", 6, {}, {{5, "(Default: 1.00, Valid values are 0.50 - 1.50)"}}},
        {"Text3", 14, {3, 6, 11}, {}, "(Default: 60, Valid values depend on your monitor)"},
        {"Check3", 4, {}, {{3, "(Default: Off)"}}},
        {"Check4", 9, {4}, {{8, "(Default: On)"}}},
        {"Text8", 4, {}, {{3, "(Default: 512, Valid values are 512, 1024, 2048, 4096)"}}},
        {"Text9",
         2,
         {},
         {{0,
           "SpotShadowMapSize typically is equal to or double the ShadowMapSize for a max of "
           "4096"},
          {1, "(Default: 1024, Valid values are 512, 1024, 2048, 4096)"}}},
        {"Check2",
         2,
         {},
         {{0,
           "Fullscreen Toggle, If unchecked will run in a window set to full screen size. "
           "Reccommended ON, Gamma settings will not apply if run in a Window."},
          {1, "(Default: On)"}}},
        {"Combo6", 4, {}, {{3, "(Default: Simple)"}}},
        {"Combo5", 7, {3}, {{6, "(Default: SM 3.0)"}}},
        {"Text18", 1, {}, {{0, "(Max Value: 40)"}}},
        {"Text19", 1, {}, {{0, "(Valid Values: 0-40)"}}},
        {"Text20", 1, {}, {{0, "(Valid Values: 0-40)"}}},
        {"Text21", 1, {}, {{0, "(Valid Values: 0-40)"}}},
        {"Text22", 1, {}, {{0, "(Valid Values: 0-40)"}}},
        {"Text16",
         1,
         {},
         {{0,
           "Audio Sampling Frequency 44100 = 44.1 Hz (Valid Values: 16000, 22050, 32000, "
           "44100, 44800, 48000, 96000, 192000) (Default 44100)"}}},
        {"Combo7", 5, {2}, {}},
        {"Check5", 7, {1, 4}, {}, "(Default: Off)"},
    };
    return kShapes;
}

const HelpText& textOf(std::string_view control) {
    for (const HelpText& help : helpTexts()) {
        if (help.control == control) return help;
    }
    throw std::logic_error("no help text for " + std::string(control));
}

TEST(HelpTexts, EveryTextHasItsControlOrderAndShape) {
    const auto texts = helpTexts();
    ASSERT_EQ(texts.size(), shapes().size());
    for (std::size_t row = 0; row < texts.size(); ++row) {
        const Shape& shape = shapes()[row];
        const HelpText& help = texts[row];
        SCOPED_TRACE(shape.control);
        EXPECT_EQ(help.control, shape.control);
        ASSERT_EQ(help.lines.size(), shape.lines);
        for (std::size_t i = 0; i < help.lines.size(); ++i) {
            const bool blank =
                std::find(shape.blanks.begin(), shape.blanks.end(), i) != shape.blanks.end();
            EXPECT_EQ(help.lines[i].empty(), blank) << "line " << i;
            EXPECT_EQ(help.lines[i].find_first_of("\r\n"), std::string_view::npos) << "line " << i;
        }
        for (const auto& [line, text] : shape.fixed) EXPECT_EQ(help.lines[line], text);
        if (shape.lastEndsWith != nullptr) {
            const std::string_view last = help.lines.back();
            const std::string_view note = shape.lastEndsWith;
            EXPECT_TRUE(last.ends_with(note)) << last;
            EXPECT_GT(last.size(), note.size() + 1) << "the note closes a line of prose";
        }
    }
}

TEST(HelpTexts, QuotedExamplesAndCredit) {
    const HelpText& resolution = textOf("Text1");
    bool example = false;
    for (const auto line : resolution.lines) {
        example = example || line.find(
                                 "\"1024\xC3\x97"
                                 "768\"") != std::string_view::npos;
    }
    EXPECT_TRUE(example) << "the example uses the multiplication sign, in double quotes";
    EXPECT_TRUE(resolution.lines.back().starts_with("or \""));

    const std::string_view credit = textOf("Text8").lines[2];
    EXPECT_NE(credit.find("4096"), std::string_view::npos);
    EXPECT_NE(credit.find("(advice from a forum member)"), std::string_view::npos);

    const HelpText& audio = textOf("Combo7");
    const std::string_view open = "\xE2\x80\x98", close = "\xE2\x80\x99";
    EXPECT_TRUE(audio.lines[1].starts_with(open) && audio.lines[1].ends_with(close));
    EXPECT_TRUE(audio.lines.back().ends_with(close));
}

TEST(HelpTexts, LinesAreJoinedWithCrLf) {
    const struct {
        HelpText help;
        std::string text;
    } cases[] = {
        {{"A", {"one line"}}, "one line"},
        {{"B", {"first", "second", "third"}}, "first\r\nsecond\r\nthird"},
        {{"C", {"para", "", "next", "last"}}, "para\r\n\r\nnext\r\nlast"},
        {{"D", {"a", "", "b", "", "c"}}, "a\r\n\r\nb\r\n\r\nc"},
    };
    for (const auto& [help, text] : cases) EXPECT_EQ(assembleHelpText(help), text);
}

TEST(HelpTexts, EveryCharacterHasAPlaceInTheCodePage) {
    for (const HelpText& help : helpTexts()) {
        const std::string text = assembleHelpText(help);
        EXPECT_EQ(platform::windows1252().toUtf8(platform::windows1252().fromUtf8(text)), text) << help.control;
    }
    EXPECT_NE(platform::windows1252().fromUtf8(assembleHelpText(textOf("Combo7"))).find("\x91"), std::string::npos);
}

// Records what start-up asks of the tooltip, in order.
class RecordingToolTips : public ToolTipApi {
public:
    std::vector<std::string> calls;

    bool Create() override {
        calls.push_back("Create");
        return true;
    }
    bool AddTool(std::string_view control, const std::string& strText) override {
        calls.push_back("AddTool " + std::string(control) + "|" + strText);
        return true;
    }
    void setToolText(std::string_view control, const std::string& strText) override {
        calls.push_back("ToolText " + std::string(control) + "|" + strText);
    }
    void setMaxTipWidth(int lngWidth) override {
        calls.push_back("MaxTipWidth " + std::to_string(lngWidth));
    }
    void setDelayTime(int dwType, int dwMilliSecs) override {
        calls.push_back("DelayTime " + std::to_string(dwType) + " " + std::to_string(dwMilliSecs));
    }
};

TEST(HelpTexts, SetUpCreatesRegistersEveryControlThenAttachesTheTexts) {
    RecordingToolTips toolTips;
    setUpToolTips(toolTips);

    std::vector<std::string> expected = {"Create", "MaxTipWidth 240", "DelayTime 2 20000"};
    for (const auto& control : panel::layout()) {
        expected.push_back("AddTool " + std::string(control.name) + "|");
    }
    for (const Shape& shape : shapes()) {
        expected.push_back("ToolText " + std::string(shape.control) + "|" +
                           assembleHelpText(textOf(shape.control)));
    }
    EXPECT_EQ(toolTips.calls, expected);
}

}  // namespace
}  // namespace quorvik::app
