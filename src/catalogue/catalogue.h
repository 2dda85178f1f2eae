#pragma once

// src/catalogue: every setting Quorvik shows, one row each, and the values
// they hold. A row says all there is to say of a setting: its key in its
// file and how the file's lines name it, the caption beside its control,
// where it is saved, its kind, the drop-down's entries, the default and the
// values its help names, its help text, and the window's controls that show
// it. The files' templates, the loaders, the checks before a save, the
// presets, the profiles, the console and both windows read it from here.
//
// Adding a setting: its row here, its line in the file's template
// (settings/), and its label and control in the window's layout (panel/).

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::catalogue {

// The settings in the order the console, the plans and the checks list them:
// Video.scr's in the file's order, Audio.scr's, then the Data folder's.
enum class SettingId : std::size_t {
    Resolution,
    BPP,
    FSAA,
    TexBPP,
    TextureQuality,
    Filtering,
    Fullscreen,
    Shadows,
    ShadowMapSize,
    SpotShadowMapSize,
    Lightmaps,
    GammaFloat,
    MaxRefresh,
    MaterialQuality,
    FXQuality,
    FXFadeLevel,
    WaterQuality,
    GrassQuality,
    EnvQuality,
    ShaderPath,
    VSync,
    PostProcess,
    API,
    MixFrequency,
    Channels,
    Quality3D,
    MaxVolume,
    FXVolume,
    WaveVolume,
    SpeechVolume,
    MovieVolume,
    DebugMode,
    ForceSoftware,
    ForceSoftwareEAX,
    ForceNoFXes,
    UseEAX,
    ExtraSounds01,
    MotionBlur,
    DepthOfField,
    FieldOfView,
};
inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(SettingId::FieldOfView) + 1;

// Where a setting is saved.
enum class Place { Video, Audio, DataFolder };

enum class Kind {
    Integer,      // a whole number, as typed
    Decimal,      // a number with at most one point, as typed
    WidthHeight,  // two whole numbers in two boxes: a screen's width and height
    Entry,        // a drop-down's entry, written in double quotes
    Position,     // a drop-down's entry, written as its position in the list
    OnOff,        // a flag of its file: "Key()" on, "Key(disable)" off
    Effect,       // on or off as override scripts in the Data folder say
    Angle,        // the skills file's camera angle in degrees, a decimal up to 99.9
};

struct Setting {
    SettingId id;
    std::string_view key;  // in its file; the console's and the profiles' name
    // The caption beside its control, as the window shows it ("Refresh Rate:").
    std::string_view label;
    Place place;
    Kind kind;
    // The window's controls that show it, by their designer names: one, or
    // for the resolution the width's box and the height's.
    std::vector<std::string_view> controls;
    std::vector<std::string_view> entries = {};  // a drop-down's, by position
    // How a line of its file begins when not with the key alone: a flag's
    // on-form ("VSync()", also "Vsync()"), or a key another key begins with
    // ("MovieVolume(" before "MovieVolumeSource").
    std::vector<std::string_view> readAs = {};
    // What its help text names: the default as the window shows it, the
    // values listed, or a range (both ends or only the top) in its words.
    std::optional<std::string_view> defaultValue = {};
    std::vector<std::string_view> valid = {};
    std::optional<double> lowest = {};
    std::optional<double> highest = {};
    std::string_view range = {};
    // Its help text, a line an item; "" is a blank line.
    std::vector<std::string_view> help = {};
    // Its values run from cheap to rich in speed: the presets take an end.
    bool costly = false;
    // The value the Handheld preset gives it, a handheld's own.
    std::string_view handheld = {};

    // The caption as messages name it: the label without a closing colon.
    std::string caption() const;
    // Its values as the window shows them: the resolution in two parts.
    std::size_t parts() const { return kind == Kind::WidthHeight ? 2 : 1; }
};

// Every setting, in SettingId's order.
std::span<const Setting> settings();
const Setting& setting(SettingId id);
// By key, without regard to case; nullptr for none.
const Setting* find(std::string_view key);
// The setting a control of the window shows; nullptr for a control that
// shows none.
const Setting* shownIn(std::string_view control);
// "Resolution, BPP, ...".
std::string keyList();

// The settings' values as the window shows them and the files hold them,
// 8-bit: a number or text as typed, a drop-down's text, "on" or "off"; the
// resolution's width and height apart, as its two boxes hold them.
class Values {
public:
    Values() = default;
    const std::string& operator[](SettingId id) const { return parts_[index(id)][0]; }
    std::string& operator[](SettingId id) { return parts_[index(id)][0]; }
    const std::string& part(SettingId id, std::size_t part) const {
        return parts_[index(id)][part];
    }
    std::string& part(SettingId id, std::size_t part) { return parts_[index(id)][part]; }
    // One text: the resolution as "width,height".
    std::string shown(SettingId id) const;

    bool operator==(const Values&) const = default;

private:
    static std::size_t index(SettingId id) { return static_cast<std::size_t>(id); }
    std::array<std::array<std::string, 2>, kSettingCount> parts_;
};

// The position of a drop-down's text among its entries (letter for letter),
// -1 when it is none of them.
int positionOf(const Setting& setting, std::string_view text);

// The default a setting's help names, as the window shows it; nothing when none.
std::optional<std::string> defaultOf(const Setting& setting);
// What a setting takes, in words ("16, 24, 32", "0.50 - 1.50", "up to 40",
// a drop-down's entries); nothing when nothing is known.
std::optional<std::string> validText(const Setting& setting);
// A value (as the window shows it) outside what the setting's help lists, or
// for a drop-down outside its entries (letter case aside). Its default always
// counts as valid.
bool outsideValid(const Setting& setting, std::string_view value);

// A setting whose value is outside what it takes.
struct OutsideValue {
    const Setting* setting;
    std::string value;  // 8-bit, as the window shows it
    std::string valid;  // validText

    bool operator==(const OutsideValue&) const = default;
};
// Every setting of the given places whose value is outside what it takes, in
// the settings' order.
std::vector<OutsideValue> valuesOutsideValid(const Values& values, std::span<const Place> places);

}  // namespace quorvik::catalogue
