#include "settings/scr_format.h"

#include <charconv>
#include <cmath>

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
        case Rule::Choice: {
            const auto entries = entriesOf(rule.combo);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                if (value == "\"" + std::string(entries[i]) + "\"") {
                    (panel.*rule.combo).select(static_cast<int>(i));
                }
            }
            break;
        }
        case Rule::Position: {
            double number = 0;
            if (!parseNumber(value, number)) break;
            const auto count = entriesOf(rule.combo).size();
            for (std::size_t i = 0; i < count; ++i) {
                if (number == static_cast<double>(i)) (panel.*rule.combo).select(static_cast<int>(i));
            }
            break;
        }
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
    if (line.starts_with('!')) return false;
    for (const KeyRule& rule : rules) {
        if (rule.rule == Rule::Flag && isOffForm(line, rule.key)) return true;
        if (!line.starts_with(rule.key)) continue;
        applyValue(panel, rule, rule.rule == Rule::Flag ? std::string() : valueText(line, rule.start));
        return true;
    }
    return false;
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
