// A drop-down value the file holds that none of its entries shows (a newer
// game's, a mod's, a hand edit's): the window shows it, and a save that
// changes something else writes its line back as it was, never an entry made
// up from the window's start-up value.

#include <gtest/gtest.h>

#include <algorithm>

#include "operations/values.h"
#include "panel/binding.h"
#include "settings/lines.h"
#include "support/game_folder.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;

struct Row {
    const char* key;
    const char* lines;    // in place of the sample's line for the key
    const char* shown;    // by the window after the load
    const char* pick;     // the entry the player picks; nullptr: none
    const char* written;  // the key's line after the save
    bool outside;         // the save asks first
};

TEST(DropDownValues, AValueNoEntryShowsIsShownAndWrittenBackAsTheFileHadIt) {
    const Row rows[] = {
        {"TextureQuality", "TextureQuality(\"Ultra\")", "Ultra", nullptr,
         "TextureQuality(\"Ultra\")", true},
        {"TextureQuality", "TextureQuality(\"high\")", "high", nullptr, "TextureQuality(\"high\")",
         false},
        {"API", "API(\"XAudio2.9\")", "XAudio2.9", nullptr, "API(\"XAudio2.9\")", true},
        {"ShaderPath", "ShaderPath(9)", "9", nullptr, "ShaderPath(9)", true},
        {"TextureQuality", "TextureQuality(Ultra)", "Ultra", nullptr, "TextureQuality(Ultra)",
         true},
        {"TextureQuality", "TextureQuality(\"Ultra\")\r\nTextureQuality(\"Low\")", "Low", nullptr,
         "TextureQuality(\"Low\")", false},
        {"TextureQuality", "TextureQuality(\"Ultra\")", "Ultra", "Low", "TextureQuality(\"Low\")",
         false},
    };
    const Setting& other = *catalogue::find("WaveVolume");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.lines) +
                     (row.pick ? ", then picked " + std::string(row.pick) : ""));
        quorvik::testing::GameSession game;
        game.copySamples();
        const Setting& setting = *catalogue::find(row.key);
        const fs::path file =
            game.settings / (setting.place == Place::Video ? "Video.scr" : "Audio.scr");
        std::string bytes = readBytes(file);
        const std::string key(setting.key);
        const auto at = bytes.find("\n" + key + "(") + 1;
        writeBytes(file, bytes.replace(at, bytes.find('\r', at) - at, row.lines));
        game.loadBoth();
        EXPECT_EQ(panel::valueOf(game.form.panel, setting.id), row.shown);

        if (row.pick) game.form.panel.comboBox(setting.controls.front())->setText(row.pick);
        Values values = panel::valuesOf(game.form.panel);
        ASSERT_TRUE(setValue(values, other, "25"));
        panel::show(values, game.form.panel);
        const Plan plan = game.form.planOfSave();
        for (const FileChange& change : plan.files) {
            for (const LineChange& listed : change.settings) {
                EXPECT_TRUE(listed.caption == other.caption() ||
                            (row.pick && listed.caption == setting.caption()))
                    << listed.caption;
            }
            for (const LineChange& line : change.rewritten) EXPECT_NE(line.before, row.written);
        }
        EXPECT_EQ(std::count_if(plan.outside.begin(), plan.outside.end(),
                                [&](const catalogue::OutsideValue& value) {
                                    return value.setting == &setting;
                                }),
                  row.outside ? 1 : 0);

        game.form.save_Click();
        std::vector<std::string> keyLines;
        for (const std::string& line : settings::settingsFileLines(readBytes(file))) {
            if (line.starts_with(key + "(")) keyLines.push_back(line);
        }
        EXPECT_EQ(keyLines, std::vector<std::string>{row.written});
        game.loadBoth();
        EXPECT_EQ(panel::valueOf(game.form.panel, setting.id), row.pick ? row.pick : row.shown);
    }
}

}  // namespace
}  // namespace quorvik::operations
