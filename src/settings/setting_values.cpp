#include "settings/setting_values.h"

#include <algorithm>
#include <charconv>

#include "panel/lists.h"
#include "platform/text_codec.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

std::vector<const TemplateLine*> withValues(std::span<const TemplateLine> lines) {
    std::vector<const TemplateLine*> settings;
    for (const TemplateLine& line : lines) {
        if (line.fill != Fill::Fixed) settings.push_back(&line);
    }
    return settings;
}

using panel::entriesOf;
using platform::joined;
using platform::sameLetters;

}  // namespace

std::vector<const TemplateLine*> videoSettings() { return withValues(videoTemplate()); }
std::vector<const TemplateLine*> audioSettings() { return withValues(audioTemplate()); }

std::string windowText(const panel::Panel& panel, const TemplateLine& line) {
    switch (line.fill) {
        case Fill::Text:
            return (panel.*line.box).Text;
        case Fill::Resolution:
            return (panel.*line.box).Text + "," + (panel.*line.second).Text;
        case Fill::Quoted:
        case Fill::Position:
            return (panel.*line.combo).Text;
        case Fill::Flag:
            return (panel.*line.check).Value != 0 ? "on" : "off";
        case Fill::Fixed:
            break;
    }
    return std::string(line.text);
}

std::optional<std::string> setWindowText(panel::Panel& panel, const TemplateLine& line,
                                         std::string_view text) {
    switch (line.fill) {
        case Fill::Text:
        case Fill::Resolution: {
            panel::Panel trial = panel;
            const auto comma = text.find(',');
            if (line.fill == Fill::Resolution) {
                if (comma == std::string_view::npos) return "takes a width and a height, such as 1920,1080";
                (trial.*line.box).Text = std::string(text.substr(0, comma));
                (trial.*line.second).Text = std::string(text.substr(comma + 1));
            } else {
                (trial.*line.box).Text = std::string(text);
            }
            const TemplateLine lines[] = {line};
            if (!tidyNumbers(trial, lines).empty()) {
                return line.number == Number::Decimal ? "takes a number with a point, such as 1.0"
                       : line.fill == Fill::Resolution ? "takes two whole numbers, such as 1920,1080"
                                                       : "takes a whole number, such as 60";
            }
            panel = trial;
            return std::nullopt;
        }
        case Fill::Quoted:
        case Fill::Position: {
            const auto entries = entriesOf(line.combo);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                if (sameLetters(entries[i], text)) {
                    (panel.*line.combo).select(static_cast<int>(i));
                    return std::nullopt;
                }
            }
            return "takes one of " + joined(entries);
        }
        case Fill::Flag: {
            for (const auto on : {"on", "1", "true"}) {
                if (sameLetters(text, on)) {
                    (panel.*line.check).Value = 1;
                    return std::nullopt;
                }
            }
            for (const auto off : {"off", "0", "false"}) {
                if (sameLetters(text, off)) {
                    (panel.*line.check).Value = 0;
                    return std::nullopt;
                }
            }
            return "takes on or off";
        }
        case Fill::Fixed:
            break;
    }
    return "cannot be set";
}

std::optional<std::string> fileText(std::span<const std::string> lines, const TemplateLine& line) {
    const std::string open = std::string(line.text) + "(";
    std::optional<std::string> found;
    for (const std::string& fileLine : lines) {
        // The game also reads vertical sync spelt "Vsync".
        const bool vsync = line.text == "VSync" && fileLine.starts_with("Vsync(");
        if (!fileLine.starts_with(open) && !vsync) continue;
        const std::string value = valueText(fileLine, open.size() + 1);
        switch (line.fill) {
            case Fill::Flag:
                found = fileLine.substr(open.size()) == ")" ? "on" : "off";
                break;
            case Fill::Quoted:
                found = unquoted(value);
                break;
            case Fill::Position: {
                const auto entries = entriesOf(line.combo);
                int position = -1;
                const auto [end, error] =
                    std::from_chars(value.data(), value.data() + value.size(), position);
                const bool whole = error == std::errc() && end == value.data() + value.size();
                found = whole && position >= 0 && position < static_cast<int>(entries.size())
                            ? std::string(entries[static_cast<std::size_t>(position)])
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
