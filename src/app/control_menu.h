#pragma once

// What a setting's control offers in its own menu, after the toolkit's edit
// commands: going back to the default its help names, and in the resolution
// boxes the monitor's resolution and its other modes. The views find the
// monitor's modes and show the items; choosing one sets the window's value,
// which a save writes.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panel/panel.h"

namespace quorvik::app {

// A monitor's mode, in pixels.
struct DisplayMode {
    int width = 0;
    int height = 0;

    bool operator==(const DisplayMode&) const = default;
};

// The monitor the window is on, as the view finds it.
struct Display {
    std::optional<DisplayMode> current;
    std::vector<DisplayMode> modes;  // any order; repeats allowed
};

struct ControlMenuItem {
    std::string caption;  // UTF-8, with its access key: "Reset to de&fault (24)"
    std::string key;      // the setting it sets
    std::string value;    // the value it sets, as the window shows it (8-bit)
    bool enabled = true;  // false when the window already holds the value
    bool mode = false;    // one of the monitor's other modes: in a submenu
};

// The submenu's caption, with its access key.
inline constexpr std::string_view kOtherModesCaption = "&Other modes of this monitor";
// The last item of every control's menu that has an explanation: it shows the
// tooltip's text in a box (Form1::WhatsThis_Click), for the keyboard's users.
inline constexpr std::string_view kWhatsThisCaption = "&What's this?";

// The items of the named control's menu, in order; none for a control that
// shows no setting, or a setting with no known default outside the
// resolution boxes. Modes come largest first, each once, the current one
// left out.
std::vector<ControlMenuItem> controlMenu(panel::Panel& panel, std::string_view control,
                                         const Display& display);

// Sets the window's value an item stands for.
void choose(panel::Panel& panel, const ControlMenuItem& item);

}  // namespace quorvik::app
