// A control's own menu: its default where the help names one, the monitor's
// resolution and modes in the resolution boxes, and what choosing sets.

#include "app/control_menu.h"

#include <gtest/gtest.h>

#include "operations/values.h"
#include "panel/binding.h"

namespace quorvik::app {
namespace {

// A value typed for a setting, as the console types one.
std::optional<std::string> typeInto(panel::Panel& panel, std::string_view key,
                                    std::string_view value) {
    catalogue::Values values = panel::valuesOf(panel);
    const platform::Status taken = operations::setValue(values, *catalogue::find(key), value);
    panel::show(values, panel);
    if (!taken) return taken.reason();
    return std::nullopt;
}

struct Row {
    const char* control;
    const char* key;  // set first, so the window holds a value
    const char* value;
    std::vector<std::string> captions;  // "-" marks a disabled one, "> " a mode
};

std::vector<std::string> captionsOf(const std::vector<ControlMenuItem>& items) {
    std::vector<std::string> captions;
    for (const auto& item : items) {
        captions.push_back((item.enabled ? "" : "-") + std::string(item.mode ? "> " : "") +
                           item.caption);
    }
    return captions;
}

TEST(ControlMenu, OffersTheDefaultAndTheMonitorsModes) {
    const Display display{
        DisplayMode{1920, 1080},
        {{1280, 800}, {2560, 1440}, {1920, 1080}, {1280, 800}, {0, 0}, {1280, 720}}};
    const std::vector<Row> rows = {
        {"Text4", "BPP", "32", {"Reset to de&fault (24)"}},
        {"Text4", "BPP", "24", {"-Reset to de&fault (24)"}},
        {"Text7", "GammaFloat", "2.0", {"Reset to de&fault (1.00)"}},
        {"Text16", "MixFrequency", "22050", {"Reset to de&fault (44100)"}},
        {"Combo6", "PostProcess", "Normal", {"Reset to de&fault (Simple)"}},
        {"Check3", "VSync", "on", {"Reset to de&fault (off)"}},
        {"Text15", "FieldOfView", "75.0", {"Reset to de&fault (62.5)"}},
        {"Text1",
         "Resolution",
         "1280,800",
         {"Use this &monitor's resolution (1920,1080)", "> 2560,1440", "-> 1280,800",
          "> 1280,720"}},
        {"Text2",
         "Resolution",
         "1920,1080",
         {"-Use this &monitor's resolution (1920,1080)", "> 2560,1440", "> 1280,800",
          "> 1280,720"}},
        // No default named in its help, and no setting at all.
        {"Text19", "FXVolume", "12", {}},
        {"Command1", "", "", {}},
    };
    for (const Row& row : rows) {
        panel::Panel panel;
        if (*row.key != '\0') {
            ASSERT_FALSE(typeInto(panel, row.key, row.value)) << row.key;
        }
        EXPECT_EQ(captionsOf(controlMenu(panel, row.control, display)), row.captions)
            << row.control << " " << row.value;
    }
}

TEST(ControlMenu, WithoutAMonitorOffersNoResolution) {
    panel::Panel panel;
    EXPECT_TRUE(controlMenu(panel, "Text1", Display{}).empty());
}

TEST(ControlMenu, ChoosingSetsTheWindowsValue) {
    panel::Panel panel;
    const Display display{DisplayMode{1280, 800}, {{1920, 1080}}};
    ASSERT_FALSE(typeInto(panel, "VSync", "on"));
    choose(panel, controlMenu(panel, "Check3", display).front());
    EXPECT_EQ(panel.Check3.Value, 0);
    for (const auto& item : controlMenu(panel, "Text2", display)) {
        choose(panel, item);
        EXPECT_EQ(panel.Text1.Text + "," + panel.Text2.Text, item.value);
    }
}

}  // namespace
}  // namespace quorvik::app
