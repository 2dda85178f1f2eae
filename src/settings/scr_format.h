#pragma once

// The line format shared by Video.scr and Audio.scr: how a line read from the
// file sets a setting's value, and how a template line is written from the
// values.
//
// A setting line is the key, "(", the values, ")"; strings stand in double
// quotes; a flag is the key followed by "()" when on and "(disable)" when off;
// a line beginning with "!" is a comment. Keys are case-sensitive.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"

namespace quorvik::settings {

using catalogue::Place;
using catalogue::SettingId;
using catalogue::Values;

enum class Rule {
    Text,         // the value text becomes the setting's value
    WidthHeight,  // "w,h": width and height
    Choice,       // the value, quotes included, selects the equal quoted entry
    Position,     // the value as a number selects that entry's position
    Flag,         // the key is the whole on-form ("Key()"): a match switches it on
};

struct KeyRule {
    std::string key;    // a line matches when its first key.size() characters equal it
    std::size_t start;  // first character of the value, counting from 1
    Rule rule;
    SettingId setting;
};

// How the lines of a file's settings are read, made from the catalogue: a
// setting's key (or the forms its row gives), the value after the key's "(".
std::span<const KeyRule> keyRules(Place place);

// Applies one line to the values. Comments, lines matching no key and values
// fitting none of a key's choices change nothing; a flag only ever switches
// on. True when the line is one of the file's settings (a flag's off form
// included), whether or not its value changed anything.
bool applyLine(Values& values, std::string_view line, std::span<const KeyRule> rules);

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

// A line of a file's fixed template: the text as it stands, or a setting's
// line, written as its kind is.
struct TemplateLine {
    std::string_view text;             // the fixed line
    std::optional<SettingId> setting;  // a setting's line: key + "(" + value + ")"
};

std::vector<std::string> buildLines(const Values& values, std::span<const TemplateLine> lines);

// What the game reads from a number's value.
enum class Number {
    Integer,  // digits, perhaps after a minus sign
    Decimal,  // digits with at most one decimal point, perhaps after a minus sign
};

// A value the game cannot read as its number.
struct BadNumber {
    std::string caption;
    std::string text;  // 8-bit, as typed
    Number expected;

    bool operator==(const BadNumber&) const = default;
};

// Trims blanks around every number the template writes, then returns the
// values that are no plain number of their kind.
std::vector<BadNumber> tidyNumbers(Values& values, std::span<const TemplateLine> lines);

// Short forms for writing the templates.
namespace table {

constexpr TemplateLine fixed(std::string_view line) {
    return {line, std::nullopt};
}
constexpr TemplateLine value(SettingId setting) {
    return {{}, setting};
}

}  // namespace table

}  // namespace quorvik::settings
