#pragma once

// The main window as designed: every control with its kind, place and size in
// twips (15 twips are one pixel at 96 dpi), its designed caption or text and
// its font. The panel takes its initial values from here and the view its
// geometry; nothing is laid out at run time.

#include <span>
#include <string>
#include <string_view>

namespace quorvik::panel {

enum class Kind { Label, TextBox, ComboBox, CheckBox, Button, Banner, Image };

enum class FontRole {
    Default,   // the window's default font (text boxes, drop-down boxes)
    Status,    // Verdana 9.75 pt bold: the status row
    Caption,   // Verdana 8.25 pt bold: setting captions
    Donation,  // Terminal 6 pt bold, OEM character set
    Button,    // Times New Roman 8.25 pt bold
    None,
};

struct ControlLayout {
    std::string_view name;
    Kind kind;
    int left;
    int top;
    int width;   // 0 for labels: they size themselves to their caption
    int height;  // 0 for labels
    std::string_view text;
    FontRole font;
};

// The donation label's caption; the address is its tail. A placeholder that
// belongs to nobody: the project takes no donations yet.
inline constexpr std::string_view kDonationCaption = "BitCoin bc1qquorvikexampledonationaddress0000";

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidth = 12840;   // 856 px
inline constexpr int kClientHeight = 4965;   // 331 px

// Twips to pixels at 96 dpi, rounded to the nearest pixel.
constexpr int toPixels(int twips) { return (twips * 2 + kTwipsPerPixel) / (2 * kTwipsPerPixel); }

std::span<const ControlLayout> layout();
const ControlLayout* findLayout(std::string_view name);

// The order in which Tab moves through the controls that take the focus.
std::span<const std::string_view> tabOrder();

// The label that names an input: the label placed last before it in the design,
// on its row. nullptr for controls that carry their own caption (buttons) or
// that no label names (the banner, the pictures, the labels themselves).
const ControlLayout* captionOf(std::string_view control);

// What a screen reader calls an input: its caption without a closing colon; the
// two resolution boxes also say which of the pair each is. A button is its own
// caption. Empty for a control that no one names.
std::string accessibleName(std::string_view control);

// The room to the right of a control, in twips: up to the nearest control that
// shares any of its rows, or the window's edge, less a small gap. A drop-down
// may grow into it to show its longest entry whole.
int roomToTheRight(std::string_view control);

// The scale (1 at 96 dpi) at which the window shows: `scale`, or less where the
// designed client area with the frame around it would not fit the screen's work
// area (all in pixels, the frame as measured at `scale`). Never below a half:
// smaller text than that is no help to anyone.
double fittingScale(double scale, int areaWidth, int areaHeight, int frameWidth, int frameHeight);

struct MenuItem {
    std::string_view name;  // also the name of its command
    std::string_view caption;
    char key = 0;                 // its access key: a letter of the caption
    std::string_view shortcut{};  // a key that runs it from anywhere in the window: "Ctrl+S"
    std::string_view tip{};       // what it does, shown as the item's tip
};

// A menu of the menu bar. A menu without items is a command itself.
struct Menu {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItem> items;
    char key = 0;
    std::string_view shortcut{};
};

// The menu bar, left to right, each menu's items in order.
std::span<const Menu> menus();

// A caption as both windows' menus take it: "&" before the first letter that
// is its access key ("&File", "E&xit").
std::string menuText(std::string_view caption, char key);

}  // namespace quorvik::panel
