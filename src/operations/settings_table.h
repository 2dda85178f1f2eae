#pragma once

// src/operations: what the window's commands do, with no toolkit: load the
// game's files, and save, back up and restore them as a plan that is shown
// first and then carried out whole. Form1's handlers and quorvik-cli are
// adapters over these.
//
// Every setting Quorvik shows, by its key, in one table: the value lines of
// Video.scr and Audio.scr, and the Data folder's motion blur, depth of field
// and field of view. What the console takes and prints, and what a plan
// compares.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "panel/panel.h"
#include "settings/scr_format.h"

namespace quorvik::operations {

// Where a setting is saved.
enum class Place { Video, Audio, DataFolder };

struct Setting {
    std::string key;      // the file's own key, or MotionBlur, DepthOfField, FieldOfView
    std::string caption;  // the caption beside its control
    Place place;
    const settings::TemplateLine* line = nullptr;      // Video, Audio
    panel::CheckBox panel::Panel::*effect = nullptr;   // MotionBlur, DepthOfField
};

// Video.scr's settings in file order, Audio.scr's, then the Data folder's.
std::span<const Setting> allSettings();
// By key, without regard to case; nullptr for no setting.
const Setting* findSetting(std::string_view key);
// The setting a control of the window shows; nullptr for a control that
// shows none. Both resolution boxes show Resolution.
const Setting* settingShownIn(panel::Panel& panel, std::string_view control);
// "Resolution, BPP, ...".
std::string keyList();

// A setting as the window shows it (8-bit): a text box's text, the resolution
// as "width,height", a drop-down's field text, a check box "on" or "off".
std::string valueOf(const panel::Panel& panel, const Setting& setting);

// Sets a setting's control from such a text (8-bit), checked as typed input:
// a drop-down takes one of its entries (letter case aside), a check box
// on/off, 1/0 or true/false, a number box a plain number of its kind, the
// field of view a decimal up to 99.9; blanks around it are dropped. What it
// takes, in words, when the text does not fit, and then nothing changes.
std::optional<std::string> setValue(panel::Panel& panel, const Setting& setting,
                                    std::string_view text);

}  // namespace quorvik::operations
