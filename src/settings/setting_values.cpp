#include "settings/setting_values.h"

#include <algorithm>
#include <charconv>

#include "platform/text_codec.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

using catalogue::Kind;
using catalogue::Setting;
using platform::joined;
using platform::sameLetters;

// How a line of the file begins for a setting: "Key(", or each of a flag's
// on-forms without their "()" and with "(".
std::vector<std::string> openings(const Setting& setting) {
    std::vector<std::string> open;
    for (const std::string_view form : setting.readAs) {
        open.push_back(std::string(form.ends_with("()") ? form.substr(0, form.size() - 1) : form));
        if (!open.back().ends_with('(')) open.back() += '(';
    }
    if (open.empty()) open.push_back(std::string(setting.key) + "(");
    return open;
}

}  // namespace

platform::Status setTyped(catalogue::Values& values, const Setting& setting,
                          std::string_view text) {
    switch (setting.kind) {
        case Kind::Integer:
        case Kind::Decimal:
        case Kind::WidthHeight: {
            catalogue::Values trial = values;
            const auto comma = text.find(',');
            if (setting.kind == Kind::WidthHeight) {
                if (comma == std::string_view::npos)
                    return platform::refused("takes a width and a height, such as 1920,1080");
                trial.part(setting.id, 0) = std::string(text.substr(0, comma));
                trial.part(setting.id, 1) = std::string(text.substr(comma + 1));
            } else {
                trial[setting.id] = std::string(text);
            }
            // Tidied and checked as a save does.
            const TemplateLine lines[] = {table::value(setting.id)};
            if (!tidyNumbers(trial, lines).empty()) {
                return platform::refused(setting.kind == Kind::Decimal
                                             ? "takes a number with a point, such as 1.0"
                                         : setting.kind == Kind::WidthHeight
                                             ? "takes two whole numbers, such as 1920,1080"
                                             : "takes a whole number, such as 60");
            }
            values = trial;
            return platform::Status::success();
        }
        case Kind::Entry:
        case Kind::Position: {
            for (const std::string_view entry : setting.entries) {
                if (sameLetters(entry, text)) {
                    values[setting.id] = std::string(entry);
                    return platform::Status::success();
                }
            }
            return platform::refused("takes one of " + joined(setting.entries));
        }
        case Kind::OnOff:
        case Kind::Effect: {
            for (const auto on : {"on", "1", "true"}) {
                if (sameLetters(text, on)) {
                    values[setting.id] = "on";
                    return platform::Status::success();
                }
            }
            for (const auto off : {"off", "0", "false"}) {
                if (sameLetters(text, off)) {
                    values[setting.id] = "off";
                    return platform::Status::success();
                }
            }
            return platform::refused("takes on or off");
        }
        case Kind::Angle:
            break;
    }
    return platform::refused("cannot be set");
}

std::optional<std::string> fileText(std::span<const std::string> lines, const Setting& setting) {
    const std::vector<std::string> open = openings(setting);
    std::optional<std::string> found;
    for (const std::string& fileLine : lines) {
        const auto begins = std::find_if(open.begin(), open.end(), [&](const std::string& o) {
            return fileLine.starts_with(o);
        });
        if (begins == open.end()) continue;
        const std::string value = valueText(fileLine, begins->size() + 1);
        switch (setting.kind) {
            case Kind::OnOff:
                found = fileLine.substr(begins->size()) == ")" ? "on" : "off";
                break;
            case Kind::Entry:
                found = unquoted(value);
                break;
            case Kind::Position: {
                int position = -1;
                const auto [end, error] =
                    std::from_chars(value.data(), value.data() + value.size(), position);
                const bool whole = error == std::errc() && end == value.data() + value.size();
                found =
                    whole && position >= 0 && position < static_cast<int>(setting.entries.size())
                        ? std::string(setting.entries[static_cast<std::size_t>(position)])
                        : value;
                break;
            }
            default:
                found = value;
                break;
        }
    }
    return found;
}

}  // namespace quorvik::settings
