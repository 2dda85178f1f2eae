#include "panel/panel.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "panel/layout.h"

namespace quorvik::panel {
namespace {

TEST(ComboBox, TypedTextSelectsTheEqualEntryOrNone) {
    ComboBox combo;
    for (const char* entry : {"Low", "High"}) combo.AddItem(entry);
    combo.select(1);
    EXPECT_EQ(combo.Text, "High");
    EXPECT_EQ(combo.ListIndex, 1);

    combo.setText("Low");
    EXPECT_EQ(combo.ListIndex, 0);
    combo.setText("low");  // entries compare case included
    EXPECT_EQ(combo.ListIndex, -1);
    EXPECT_EQ(combo.Text, "low");
    EXPECT_EQ(combo.List.size(), 2u) << "typed text never joins the list";

    combo.select(7);  // outside the list: nothing changes
    EXPECT_EQ(combo.Text, "low");
    EXPECT_EQ(combo.ListIndex, -1);
}

TEST(Panel, EveryControlOfTheLayoutIsReachableByName) {
    Panel panel;
    int controls = 0;
    for (const auto& control : layout()) {
        const bool found = panel.textBox(control.name) || panel.comboBox(control.name) ||
                           panel.checkBox(control.name) || panel.label(control.name) ||
                           panel.button(control.name);
        const bool modelled = control.kind != Kind::Banner && control.kind != Kind::Image;
        EXPECT_EQ(found, modelled) << control.name;
        controls += found ? 1 : 0;
    }
    EXPECT_EQ(controls, 22 + 8 + 11 + 47 + 2);
}

TEST(Panel, StartsAsDesigned) {
    Panel panel;
    EXPECT_EQ(panel.Text1.Text, "0000");
    EXPECT_EQ(panel.Text2.Text, "0000");
    EXPECT_EQ(panel.Text15.Text, "62.5");
    EXPECT_EQ(panel.Text22.Text, "0");
    EXPECT_EQ(panel.Combo5.Text, "0");
    EXPECT_TRUE(panel.Combo5.List.empty());
    EXPECT_EQ(panel.Label12.Caption, "0");
    EXPECT_EQ(panel.Label1.Caption, "Quell Moor Version:");
    EXPECT_EQ(panel.Label46.ForeColor, 0x0000FFu);
    EXPECT_EQ(panel.Label47.ForeColor, 0x00FFFFu);
    EXPECT_TRUE(panel.Label47.Caption.starts_with("BitCoin "));
    EXPECT_EQ(panel.Command1.Caption, "Set Video.scr");
}

TEST(Layout, TabOrderHoldsEveryFocusableControlOnce) {
    std::vector<std::string_view> focusable;
    for (const auto& control : layout()) {
        if (control.kind != Kind::Label && control.kind != Kind::Image) {
            focusable.push_back(control.name);
        }
    }
    auto order = std::vector<std::string_view>(tabOrder().begin(), tabOrder().end());
    std::sort(order.begin(), order.end());
    std::sort(focusable.begin(), focusable.end());
    EXPECT_EQ(order, focusable);
}

// Screen readers name every input, each differently, so that a player who
// cannot see the window can tell them apart.
TEST(Layout, EveryInputHasItsOwnAccessibleName) {
    std::set<std::string> names;
    int inputs = 0;
    for (const auto& control : layout()) {
        const bool input = control.kind == Kind::TextBox || control.kind == Kind::ComboBox ||
                           control.kind == Kind::CheckBox || control.kind == Kind::Button;
        if (!input) continue;
        ++inputs;
        const std::string name = accessibleName(control.name);
        EXPECT_FALSE(name.empty()) << control.name;
        EXPECT_TRUE(names.insert(name).second) << control.name << " shares its name " << name;
    }
    EXPECT_EQ(inputs, 43);
}

TEST(Layout, AnInputIsNamedByTheLabelOnItsRow) {
    const struct {
        std::string_view control;
        std::string_view caption;  // the label's name, empty for none
        std::string_view name;
    } rows[] = {
        {"Text1", "Label3", "Resolution width"},
        {"Text2", "Label3", "Resolution height"},  // the pair's second box
        {"Text3", "Label4", "Refresh Rate"},       // its caption's colon is no part of it
        {"Combo1", "Label9", "Filtering Mode"},
        {"Check4", "Label27", "Motion Blur"},
        {"Command1", "", "Set Video.scr"},  // a button is its own caption
        {"Scriptlet1", "", ""},
        {"Label3", "", ""},
    };
    for (const auto& row : rows) {
        const ControlLayout* caption = captionOf(row.control);
        EXPECT_EQ(caption != nullptr ? caption->name : "", row.caption) << row.control;
        EXPECT_EQ(accessibleName(row.control), row.name) << row.control;
    }
}

TEST(Layout, ADropDownMayGrowUpToItsNeighbour) {
    const struct {
        std::string_view control;
        int room;
    } rows[] = {
        {"Combo1", 45},   // the captions of the next column start 105 twips on
        {"Combo4", 165},  // the audio column's captions, rows away from its top
        {"Combo7", 45},
        {"Check11", 125},  // the window's edge
        {"NoSuchControl", 0},
    };
    for (const auto& row : rows) EXPECT_EQ(roomToTheRight(row.control), row.room) << row.control;
}

TEST(Layout, TheWindowShrinksOnlyWhereItDoesNotFit) {
    const struct {
        double scale;
        int areaWidth, areaHeight, frameWidth, frameHeight;
        double shown;
    } rows[] = {
        {1.0, 1920, 1040, 16, 62, 1.0},
        {1.5, 1920, 1040, 24, 90, 1.5},
        // A 1280x800 handheld at 150 %: the frame is 24 pixels wide.
        {1.5, 1280, 752, 24, 90, (1280 - 24) / 856.0},
        {1.0, 800, 600, 16, 62, (800 - 16) / 856.0},
        {1.0, 1024, 360, 16, 62, (360 - 62) / 331.0},  // the height decides
        {1.0, 200, 150, 16, 62, 0.5},                 // no smaller than half
    };
    for (const auto& row : rows) {
        EXPECT_DOUBLE_EQ(
            fittingScale(row.scale, row.areaWidth, row.areaHeight, row.frameWidth, row.frameHeight),
            row.shown)
            << row.areaWidth << "x" << row.areaHeight << " at " << row.scale;
    }
}

}  // namespace
}  // namespace quorvik::panel
