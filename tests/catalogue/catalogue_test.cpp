// The catalogue's defaults and valid values against the help texts beside
// them in each row: a help text that names a default or valid values has
// them in its row, and no row has what its help text does not say.

#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "operations/values.h"

namespace quorvik::catalogue {
namespace {

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

Said readHelp(const Setting& setting) {
    std::string text;
    for (const auto line : setting.help) text += std::string(line) + " ";
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

TEST(Catalogue, EachRowsValuesAreWhatItsHelpTextSays) {
    for (const Setting& row : settings()) {
        SCOPED_TRACE(std::string(row.key));
        const Said said = readHelp(row);
        EXPECT_EQ(row.defaultValue ? std::optional<std::string>(*row.defaultValue) : std::nullopt,
                  said.defaultValue);
        EXPECT_EQ(std::vector<std::string>(row.valid.begin(), row.valid.end()), said.valid);
        EXPECT_EQ(row.lowest, said.lowest);
        EXPECT_EQ(row.highest, said.highest);
        // Its default is one the window can show.
        if (row.defaultValue) {
            Values trial;
            EXPECT_TRUE(operations::setValue(trial, row, *row.defaultValue));
            EXPECT_EQ(trial.shown(row.id), *row.defaultValue);
        }
    }
}

TEST(Catalogue, ValuesOutsideWhatTheHelpLists) {
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
        EXPECT_EQ(outsideValid(*find(row.key), row.value), row.outside);
    }
}

}  // namespace
}  // namespace quorvik::catalogue
