// The table of defaults and valid values against the help texts it was read
// from: a help text that names a default or valid values has the same row,
// and no row has what no help text says.

#include "operations/known_values.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "app/help_texts.h"
#include "panel/layout.h"
#include "panel/lists.h"

namespace quorvik::operations {
namespace {

// The control a setting is shown in.
std::string controlOf(panel::Panel& panel, const Setting& setting) {
    for (const auto& control : panel::layout()) {
        if (settingShownIn(panel, control.name) == &setting) return std::string(control.name);
    }
    return {};
}

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> values;
    std::stringstream stream(list);
    for (std::string value; std::getline(stream, value, ',');) {
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of(' ') + 1);
        values.push_back(value);
    }
    return values;
}

// What a help text says, as a row would hold it.
struct Said {
    std::optional<std::string> defaultValue;
    std::vector<std::string> valid;
    std::optional<double> lowest, highest;
};

Said readHelp(const app::HelpText& help) {
    std::string text;
    for (const auto line : help.lines) text += std::string(line) + " ";
    Said said;
    std::smatch match;
    if (std::regex_search(text, match, std::regex(R"(\(Default:? ([^,)]+))"))) {
        std::string value = match[1];
        if (value == "On" || value == "Off") value = value == "On" ? "on" : "off";
        said.defaultValue = value;
    }
    if (std::regex_search(text, match,
                          std::regex(R"(Valid [Vv]alues(?: are|:) ([0-9.]+) ?- ?([0-9.]+)\))")) ||
        std::regex_search(text, match, std::regex(R"(^(\d+)-(\d+) )"))) {
        said.lowest = std::stod(match[1]);
        said.highest = std::stod(match[2]);
    } else if (std::regex_search(text, match,
                                 std::regex(R"(Valid [Vv]alues(?: are|:) ([0-9, ]+)\))"))) {
        said.valid = split(match[1]);
    }
    if (std::regex_search(text, match, std::regex(R"(Max Value: (\d+))")))
        said.highest = std::stod(match[1]);
    return said;
}

TEST(KnownValues, EachRowIsWhatTheHelpTextSays) {
    panel::Panel panel;
    std::vector<std::string_view> seen;
    for (const Setting& setting : allSettings()) {
        SCOPED_TRACE(setting.key);
        const std::string control = controlOf(panel, setting);
        ASSERT_FALSE(control.empty());
        const auto help =
            std::find_if(app::helpTexts().begin(), app::helpTexts().end(),
                         [&](const app::HelpText& h) { return h.control == control; });
        const Said said = help == app::helpTexts().end() ? Said{} : readHelp(*help);
        const KnownValues* row = knownValuesOf(setting);
        const bool saysAnything = said.defaultValue || !said.valid.empty() || said.highest;
        ASSERT_EQ(row != nullptr, saysAnything) << control;
        if (row == nullptr) continue;
        seen.push_back(row->key);
        EXPECT_EQ(row->defaultValue ? std::optional<std::string>(*row->defaultValue) : std::nullopt,
                  said.defaultValue);
        EXPECT_EQ(std::vector<std::string>(row->valid.begin(), row->valid.end()), said.valid);
        EXPECT_EQ(row->lowest, said.lowest);
        EXPECT_EQ(row->highest, said.highest);
        // Its default is one the window can show.
        if (row->defaultValue) {
            panel::Panel trial;
            panel::addListEntries(trial);
            EXPECT_EQ(setValue(trial, setting, *row->defaultValue), std::nullopt);
            EXPECT_EQ(valueOf(trial, setting), *row->defaultValue);
        }
    }
    EXPECT_EQ(seen.size(), knownValues().size()) << "a row for a key no setting has";
}

TEST(KnownValues, ValuesOutsideWhatTheHelpLists) {
    struct Row {
        const char* key;
        const char* value;
        bool outside;
    };
    const Row rows[] = {
        {"BPP", "32", false},
        {"BPP", "20", true},
        {"FSAA", "0", false},  // the default, though the list leaves it out
        {"FSAA", "3", true},
        {"GammaFloat", "1.50", false},
        {"GammaFloat", "2.0", true},
        {"GammaFloat", "0.4", true},
        {"MaxVolume", "40", false},
        {"MaxVolume", "41", true},
        {"MixFrequency", "12345", true},
        {"MaxRefresh", "144", false},
        {"TextureQuality", "high", false},
        {"Channels", "999", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.key) + "=" + row.value);
        EXPECT_EQ(outsideValid(*findSetting(row.key), row.value), row.outside);
    }
}

}  // namespace
}  // namespace quorvik::operations
