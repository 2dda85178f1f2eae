#pragma once

// The line format shared by Video.scr and Audio.scr, as tables: how a line read
// from the file sets a control, and how a template line is written from the
// controls.
//
// A setting line is the key, "(", the values, ")"; strings stand in double
// quotes; a flag is the key followed by "()" when on and "(disable)" when off;
// a line beginning with "!" is a comment. Keys are case-sensitive.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panel/panel.h"

namespace quorvik::settings {

enum class Rule {
    Text,        // the value text becomes the text box's text
    Resolution,  // "w,h": width and height text boxes
    Choice,      // the value, quotes included, selects the equal quoted list entry
    Position,    // the value as a number selects that list position
    Flag,        // the key is the whole on-form ("VSync()"): a match checks the box
};

struct KeyRule {
    std::string_view key;   // a line matches when its first key.size() characters equal it
    std::size_t start;      // first character of the value, counting from 1
    Rule rule;
    panel::TextBox panel::Panel::*text = nullptr;
    panel::TextBox panel::Panel::*second = nullptr;  // Resolution: the height
    panel::ComboBox panel::Panel::*combo = nullptr;
    panel::CheckBox panel::Panel::*check = nullptr;
};

// Applies one line to the controls. Comments, lines matching no key and values
// fitting none of a key's choices change nothing; a flag only ever checks.
// True when the line is one of the file's settings (a flag's off form
// included), whether or not its value changed a control.
bool applyLine(panel::Panel& panel, std::string_view line, std::span<const KeyRule> rules);

// A drop-down whose last line in a file selects none of its entries: a newer
// game's value, a mod's or a hand edit's, which the player must not lose.
struct UnlistedChoice {
    const KeyRule* rule;
    std::string line;   // as the file holds it
    std::string value;  // for the drop-down's field: a quoted value without its quotes
};

// The drop-downs whose last line, read as applyLine reads it, selects no entry.
std::vector<UnlistedChoice> unlistedChoices(std::span<const std::string> lines,
                                            std::span<const KeyRule> rules);

enum class Fill {
    Fixed,       // the text as it stands
    Text,        // key + "(" + text box + ")"
    Resolution,  // key + "(" + width + "," + height + ")"
    Quoted,      // key + "(" + quote + drop-down field text + quote + ")"
    Position,    // key + "(" + selected position of the drop-down, -1 for none + ")"
    Flag,        // key + "()" when checked, key + "(disable)" when not
};

// What the game reads from a text box's value.
enum class Number {
    Integer,  // digits, perhaps after a minus sign
    Decimal,  // digits with at most one decimal point, perhaps after a minus sign
};

struct TemplateLine {
    Fill fill;
    std::string_view text;  // the fixed line, or the key
    panel::TextBox panel::Panel::*box = nullptr;
    panel::TextBox panel::Panel::*second = nullptr;
    panel::ComboBox panel::Panel::*combo = nullptr;
    panel::CheckBox panel::Panel::*check = nullptr;
    std::string_view caption = {};  // every line with a value: the caption beside its control
    Number number = Number::Integer;
};

std::vector<std::string> buildLines(const panel::Panel& panel,
                                    std::span<const TemplateLine> lines);

// A text box whose text the game cannot read as its number.
struct BadNumber {
    std::string_view caption;
    std::string text;  // 8-bit, as typed
    Number expected;

    bool operator==(const BadNumber&) const = default;
};

// Trims blanks around the text of every number box the template writes, then
// returns the boxes that hold no plain number of their kind.
std::vector<BadNumber> tidyNumbers(panel::Panel& panel, std::span<const TemplateLine> lines);

// Short forms for writing the tables.
namespace table {

using P = panel::Panel;

constexpr KeyRule text(std::string_view key, panel::TextBox P::*box) {
    return {key, key.size() + 2, Rule::Text, box};
}
constexpr KeyRule choice(std::string_view key, panel::ComboBox P::*combo) {
    return {key, key.size() + 2, Rule::Choice, nullptr, nullptr, combo};
}
constexpr KeyRule flag(std::string_view onForm, panel::CheckBox P::*check) {
    return {onForm, 0, Rule::Flag, nullptr, nullptr, nullptr, check};
}

constexpr TemplateLine fixed(std::string_view line) { return {Fill::Fixed, line}; }
constexpr TemplateLine value(std::string_view key, panel::TextBox P::*box,
                             std::string_view caption, Number number = Number::Integer) {
    return {Fill::Text, key, box, nullptr, nullptr, nullptr, caption, number};
}
constexpr TemplateLine quoted(std::string_view key, panel::ComboBox P::*combo,
                              std::string_view caption) {
    return {Fill::Quoted, key, nullptr, nullptr, combo, nullptr, caption};
}
constexpr TemplateLine onOff(std::string_view key, panel::CheckBox P::*check,
                             std::string_view caption) {
    return {Fill::Flag, key, nullptr, nullptr, nullptr, check, caption};
}

}  // namespace table

}  // namespace quorvik::settings
