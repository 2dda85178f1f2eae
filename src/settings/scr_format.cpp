#include "settings/scr_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

#include "platform/text_codec.h"
#include "settings/lines.h"

namespace quorvik::settings {
namespace {

using catalogue::Kind;
using catalogue::Setting;

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
    const auto& entries = catalogue::setting(rule.setting).entries;
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

void applyValue(Values& values, const KeyRule& rule, const std::string& value) {
    switch (rule.rule) {
        case Rule::Text:
            values[rule.setting] = value;
            break;
        case Rule::WidthHeight: {
            const auto comma = value.find(',');
            values.part(rule.setting, 0) = value.substr(0, comma);
            if (comma != std::string::npos) {
                const auto next = value.find(',', comma + 1);
                values.part(rule.setting, 1) = value.substr(
                    comma + 1, next == std::string::npos ? std::string::npos : next - comma - 1);
            }
            break;
        }
        case Rule::Choice:
        case Rule::Position:
            if (const auto position = entryPosition(rule, value)) {
                values[rule.setting] =
                    std::string(catalogue::setting(rule.setting).entries[*position]);
            }
            break;
        case Rule::Flag:
            values[rule.setting] = "on";
            break;
    }
}

// "Key(disable)" for the on-form "Key()": the flag is known, and off.
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

Rule ruleFor(Kind kind) {
    switch (kind) {
        case Kind::WidthHeight:
            return Rule::WidthHeight;
        case Kind::Entry:
            return Rule::Choice;
        case Kind::Position:
            return Rule::Position;
        case Kind::OnOff:
            return Rule::Flag;
        default:
            return Rule::Text;
    }
}

std::vector<KeyRule> makeRules(Place place) {
    std::vector<KeyRule> rules;
    for (const Setting& setting : catalogue::settings()) {
        if (setting.place != place) continue;
        const Rule rule = ruleFor(setting.kind);
        std::vector<std::string> forms(setting.readAs.begin(), setting.readAs.end());
        // A flag is read as its whole on-form, the key and "()".
        if (forms.empty())
            forms.push_back(std::string(setting.key) + (rule == Rule::Flag ? "()" : ""));
        for (const std::string& form : forms) {
            // The value starts after the key's "(", which a form may hold itself.
            const std::size_t start =
                rule == Rule::Flag ? 0 : form.size() + (form.ends_with('(') ? 1 : 2);
            rules.push_back({form, start, rule, setting.id});
        }
    }
    return rules;
}

}  // namespace

std::span<const KeyRule> keyRules(Place place) {
    static const std::vector<KeyRule> video = makeRules(Place::Video);
    static const std::vector<KeyRule> audio = makeRules(Place::Audio);
    return place == Place::Video ? std::span<const KeyRule>(video)
                                 : std::span<const KeyRule>(audio);
}

bool applyLine(Values& values, std::string_view line, std::span<const KeyRule> rules) {
    const auto [setting, rule] = ruleOf(line, rules);
    if (rule != nullptr) {
        applyValue(values, *rule,
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
        if (rule == nullptr || (rule->rule != Rule::Choice && rule->rule != Rule::Position))
            continue;
        const auto same = std::find_if(last.begin(), last.end(), [&](const auto& seen) {
            return seen.first->setting == rule->setting;
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

std::vector<BadNumber> tidyNumbers(Values& values, std::span<const TemplateLine> lines) {
    std::vector<BadNumber> bad;
    for (const TemplateLine& line : lines) {
        if (!line.setting) continue;
        const Setting& setting = catalogue::setting(*line.setting);
        if (setting.kind != Kind::Integer && setting.kind != Kind::Decimal &&
            setting.kind != Kind::WidthHeight) {
            continue;
        }
        const Number number = setting.kind == Kind::Decimal ? Number::Decimal : Number::Integer;
        for (std::size_t part = 0; part < setting.parts(); ++part) {
            std::string& text = values.part(setting.id, part);
            text = std::string(platform::trimBlanks(text));
            if (!isPlainNumber(text, number)) bad.push_back({setting.caption(), text, number});
        }
    }
    return bad;
}

std::vector<std::string> buildLines(const Values& values, std::span<const TemplateLine> lines) {
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const TemplateLine& line : lines) {
        if (!line.setting) {
            out.emplace_back(line.text);
            continue;
        }
        const Setting& setting = catalogue::setting(*line.setting);
        const std::string key(setting.key);
        const std::string& value = values[setting.id];
        switch (setting.kind) {
            case Kind::Entry:
                out.push_back(key + "(\"" + value + "\")");
                break;
            case Kind::Position:
                out.push_back(key + "(" + std::to_string(catalogue::positionOf(setting, value)) +
                              ")");
                break;
            case Kind::OnOff:
            case Kind::Effect:
                out.push_back(key + (value == "on" ? "()" : "(disable)"));
                break;
            default:
                out.push_back(key + "(" + values.shown(setting.id) + ")");
                break;
        }
    }
    return out;
}

}  // namespace quorvik::settings
