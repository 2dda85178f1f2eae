#include "panel/panel.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvik::panel
