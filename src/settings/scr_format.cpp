#include "settings/scr_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "panel/lists.h"
#include "platform/text_codec.h"
#include "settings/lines.h"

namespace quorvik::settings {
namespace {

using panel::entriesOf;

// A decimal number with optional blanks around it; anything else is no number.
bool parseNumber(std::string_view text, double& number) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number,
                                              std::chars_format::fixed);
    return error == std::errc() && end == text.data() + text.size();
}

// The entry a drop-down's value selects: a quoted entry, quotes included, or
// for a position rule the entry's position as a number.
std::optional<int> entryPosition(const KeyRule& rule, const std::string& value) {
    const auto entries = entriesOf(rule.combo);
    double number = 0;
    if (rule.rule == Rule::Position && !parseNumber(value, number)) return std::nullopt;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool selects = rule.rule == Rule::Position
                                 ? number == static_cast<double>(i)
                                 : value == "\"" + std::string(entries[i]) + "\"";
        if (selects) return static_cast<int>(i);
    }
    return std::nullopt;
}

void applyValue(panel::Panel& panel, const KeyRule& rule, const std::string& value) {
    switch (rule.rule) {
        case Rule::Text:
            (panel.*rule.text).Text = value;
            break;
        case Rule::Resolution: {
            const auto comma = value.find(',');
            (panel.*rule.text).Text = value.substr(0, comma);
            if (comma != std::string::npos) {
                const auto next = value.find(',', comma + 1);
                (panel.*rule.second).Text = value.substr(comma + 1, next == std::string::npos
                                                                       ? std::string::npos
                                                                       : next - comma - 1);
            }
            break;
        }
        case Rule::Choice:
        case Rule::Position:
            if (const auto position = entryPosition(rule, value)) {
                (panel.*rule.combo).select(*position);
            }
            break;
        case Rule::Flag:
            (panel.*rule.check).Value = 1;
            break;
    }
}

// "VSync(disable)" for the on-form "VSync()": the flag is known, and off.
bool isOffForm(std::string_view line, std::string_view onForm) {
    const std::string_view key = onForm.substr(0, onForm.size() - 2);
    return line.starts_with(key) && line.substr(key.size()).starts_with("(disable)");
}

// How applyLine reads a line: by the first rule whose key begins it. A flag's
// off form is one of the file's settings, yet sets nothing.
struct LineRule {
    bool setting = false;
    const KeyRule* rule = nullptr;
};

LineRule ruleOf(std::string_view line, std::span<const KeyRule> rules) {
    if (line.starts_with('!')) return {};
    for (const KeyRule& rule : rules) {
        if (rule.rule == Rule::Flag && isOffForm(line, rule.key)) return {true, nullptr};
        if (line.starts_with(rule.key)) return {true, &rule};
    }
    return {};
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A plain number as the game reads it: an optional minus sign, digits, and for
// a decimal at most one point. No blanks, no comma, no unit.
bool isPlainNumber(std::string_view text, Number kind) {
    if (text.starts_with('-')) text.remove_prefix(1);
    bool digits = false;
    bool point = false;
    for (const char c : text) {
        if (isDigit(c)) {
            digits = true;
        } else if (c == '.' && kind == Number::Decimal && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

}  // namespace

bool applyLine(panel::Panel& panel, std::string_view line, std::span<const KeyRule> rules) {
    const auto [setting, rule] = ruleOf(line, rules);
    if (rule != nullptr) {
        applyValue(panel, *rule,
                   rule->rule == Rule::Flag ? std::string() : valueText(line, rule->start));
    }
    return setting;
}

std::vector<UnlistedChoice> unlistedChoices(std::span<const std::string> lines,
                                            std::span<const KeyRule> rules) {
    // Lines apply in order, so the last line read into a drop-down is what it holds.
    std::vector<std::pair<const KeyRule*, const std::string*>> last;
    for (const std::string& line : lines) {
        const KeyRule* rule = ruleOf(line, rules).rule;
        if (rule == nullptr || rule->combo == nullptr) continue;
        const auto same = std::find_if(last.begin(), last.end(), [&](const auto& seen) {
            return seen.first->combo == rule->combo;
        });
        if (same == last.end()) {
            last.emplace_back(rule, &line);
        } else {
            *same = {rule, &line};
        }
    }
    std::vector<UnlistedChoice> unlisted;
    for (const auto& [rule, line] : last) {
        const std::string value = valueText(*line, rule->start);
        if (entryPosition(*rule, value)) continue;
        unlisted.push_back({rule, *line, rule->rule == Rule::Choice ? unquoted(value) : value});
    }
    return unlisted;
}

std::vector<BadNumber> tidyNumbers(panel::Panel& panel, std::span<const TemplateLine> lines) {
    std::vector<BadNumber> bad;
    const auto check = [&](const TemplateLine& line, panel::TextBox panel::Panel::*box) {
        std::string& text = (panel.*box).Text;
        text = std::string(platform::trimBlanks(text));
        if (!isPlainNumber(text, line.number)) bad.push_back({line.caption, text, line.number});
    };
    for (const TemplateLine& line : lines) {
        if (line.fill == Fill::Text || line.fill == Fill::Resolution) check(line, line.box);
        if (line.fill == Fill::Resolution) check(line, line.second);
    }
    return bad;
}

std::vector<std::string> buildLines(const panel::Panel& panel,
                                    std::span<const TemplateLine> lines) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const TemplateLine& line : lines) {
        const std::string key(line.text);
        switch (line.fill) {
            case Fill::Fixed:
                out.push_back(key);
                break;
            case Fill::Text:
                out.push_back(key + "(" + (panel.*line.box).Text + ")");
                break;
            case Fill::Resolution:
                out.push_back(key + "(" + (panel.*line.box).Text + "," + (panel.*line.second).Text +
                              ")");
                break;
            case Fill::Quoted:
                out.push_back(key + "(\"" + (panel.*line.combo).Text + "\")");
                break;
            case Fill::Position:
                out.push_back(key + "(" + std::to_string((panel.*line.combo).ListIndex) + ")");
                break;
            case Fill::Flag:
                out.push_back(key + ((panel.*line.check).Value != 0 ? "()" : "(disable)"));
                break;
        }
    }
    return out;
}

}  // namespace quorvik::settings
