// A save writes a settings file only when this session loaded it, and only in
// a form the game can read: through the window's handlers, against real files.

#include <gtest/gtest.h>

#include <functional>

#include "app/form1.h"
#include "panel/panel.h"
#include "platform/paths.h"
#include "support/game_folder.h"

namespace quorvik::app {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::FileOp;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;

// The game's folder with both sample settings files.
struct Game : quorvik::testing::GameSession {
    Game() { copySamples(); }
    std::string path(const char* name) const { return platform::pathToUtf8(settings / name); }
};

enum class Break { Missing, TooLarge, Unreadable, RandomBytes, Empty };

struct LeftAloneCase {
    const char* name;
    const char* file;  // the broken one
    const char* other;
    Break broken;
    const char* loadMessage;  // {} for the file's path, when the path leads the message
    const char* why;
    // "Set Video.scr" read the Data folder: a Video.scr that could not be
    // read stops it, and then a save leaves the Data folder alone.
    bool dataRead = true;
};

void PrintTo(const LeftAloneCase& c, std::ostream* out) { *out << c.name; }

class LeftAlone : public ::testing::TestWithParam<LeftAloneCase> {};

TEST_P(LeftAlone, KeepsItsBytesSaysWhyAndTheRestIsSaved) {
    const LeftAloneCase& c = GetParam();
    Game game;
    const fs::path broken = game.settings / c.file;
    std::optional<std::string> before;
    switch (c.broken) {
        case Break::Missing:
            fs::remove(broken);
            break;
        case Break::TooLarge:
            before = std::string(8u * 1024u * 1024u + 1u, 'x');
            break;
        case Break::Unreadable:
            before = dataBytes(c.file);
            game.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
                if (op == FileOp::Read && path == broken) return platform::Status::failure("Permission denied");
                return std::nullopt;
            };
            break;
        case Break::RandomBytes: {
            std::string bytes;
            unsigned state = 12345;
            for (int i = 0; i < 4096; ++i) {
                state = state * 1103515245u + 12345u;
                bytes += static_cast<char>(state >> 16);
            }
            before = bytes;
            break;
        }
        case Break::Empty:
            before = "";
            break;
    }
    if (before) writeBytes(broken, *before);

    game.loadBoth();
    const std::string loadMessage =
        c.loadMessage[0] == '\0' ? "No settings recognised in " + game.path(c.file) +
                                       " \u2014 nothing was loaded."
                                 : std::string(c.loadMessage);
    const auto texts = game.dialogs.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].starts_with(loadMessage)) << texts[0];
    EXPECT_EQ(c.file == std::string("Video.scr") ? game.form.panel.Label12.Caption
                                                 : game.form.panel.Label29.Caption,
              "NOT Set");

    game.dialogs.boxes.clear();
    game.form.save_Click();
    EXPECT_EQ(fs::exists(broken), before.has_value());
    if (before) {
        EXPECT_EQ(readBytes(broken), *before) << "the broken file keeps its bytes";
    }
    EXPECT_FALSE(fs::exists(broken.parent_path() / (fs::path(c.file).stem().string() + ".sc1")));
    const std::string button = "Set " + std::string(c.file);
    EXPECT_EQ(game.dialogs.texts().at(0),
              std::string(c.file) + " was left as it is: " + c.why + " when \"" + button +
                  "\" ran, so the window holds none of its settings to save.");
    EXPECT_EQ(game.dialogs.boxes.at(0).style, 48);
    EXPECT_TRUE(game.shown(std::string("Settings written to ") + c.other + "!"));
    EXPECT_NE(readBytes(game.settings / c.other), dataBytes(c.other)) << "the other file is saved";
    if (c.dataRead) {
        EXPECT_TRUE(fs::exists(game.scripts / "varlist_blur.scr") || game.form.panel.Check4.Value == 1)
            << "the override scripts follow";
    } else {
        EXPECT_TRUE(fs::is_empty(game.scripts)) << "the override scripts are left as they are";
        EXPECT_EQ(game.dialogs.texts().back().rfind("Motion blur, depth of field and the field of view "
                                                    "were not saved", 0),
                  0u)
            << game.dialogs.texts().back();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, LeftAlone,
    ::testing::Values(
        LeftAloneCase{"VideoMissing", "Video.scr", "Audio.scr", Break::Missing,
                      "File not found in folder! Video.scr", "it was not found"},
        LeftAloneCase{"VideoTooLarge", "Video.scr", "Audio.scr", Break::TooLarge, "Could not read ",
                      "it could not be read (the file is too large: 8388609 bytes)", false},
        LeftAloneCase{"VideoUnreadable", "Video.scr", "Audio.scr", Break::Unreadable,
                      "Could not read ", "it could not be read (Permission denied)", false},
        LeftAloneCase{"VideoRandomBytes", "Video.scr", "Audio.scr", Break::RandomBytes, "",
                      "no settings were recognised in it"},
        LeftAloneCase{"VideoEmpty", "Video.scr", "Audio.scr", Break::Empty, "",
                      "no settings were recognised in it"},
        LeftAloneCase{"AudioMissing", "Audio.scr", "Video.scr", Break::Missing,
                      "File not found in folder! Audio.scr", "it was not found"},
        LeftAloneCase{"AudioUnreadable", "Audio.scr", "Video.scr", Break::Unreadable,
                      "Could not read ", "it could not be read (Permission denied)"},
        LeftAloneCase{"AudioRandomBytes", "Audio.scr", "Video.scr", Break::RandomBytes, "",
                      "no settings were recognised in it"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every text box but the field of view holds a number the game reads.
TEST(Numbers, EachFieldRefusesWhatTheGameCannotReadAndTrimsBlanks) {
    for (const auto& box : panel::kTextBoxes) {
        if (box.name == "Text15") continue;  // the field of view has rules of its own
        for (const std::string typed : {"1,2", "abc", "", " 60 "}) {
            SCOPED_TRACE(std::string(box.name) + " \"" + typed + "\"");
            Game game;
            game.loadBoth();
            game.form.panel.*box.member = {typed};
            game.dialogs.boxes.clear();
            game.form.save_Click();
            const bool videoKept = readBytes(game.settings / "Video.scr") == dataBytes("Video.scr");
            const bool audioKept = readBytes(game.settings / "Audio.scr") == dataBytes("Audio.scr");
            if (typed == " 60 ") {
                EXPECT_FALSE(videoKept || audioKept);
                EXPECT_EQ((game.form.panel.*box.member).Text, "60");
                continue;
            }
            EXPECT_NE(videoKept, audioKept) << "exactly the file of the field is left as it is";
            const std::string shownText = game.dialogs.texts().at(0);
            EXPECT_NE(shownText.find("was not saved"), std::string::npos) << shownText;
            EXPECT_NE(shownText.find(": \"" + typed + "\" (enter "), std::string::npos) << shownText;
        }
    }
}

TEST(Numbers, OneMessageNamesEveryBadFieldAndTheFormItExpects) {
    Game game;
    game.loadBoth();
    game.form.panel.Text1.Text = "abc";
    game.form.panel.Text3.Text = "144 Hz";
    game.form.panel.Text7.Text = "1,2";
    game.form.panel.Text19.Text = " 35 ";
    game.dialogs.boxes.clear();
    game.form.save_Click();
    const auto texts = game.dialogs.texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0],
              "Video.scr was not saved and was left as it is, because the game cannot read these "
              "values:\r\n"
              "Resolution: \"abc\" (enter a whole number, such as 60)\r\n"
              "Gamma Float: \"1,2\" (enter a number with a point, such as 1.0)\r\n"
              "Refresh Rate: \"144 Hz\" (enter a whole number, such as 60)");
    EXPECT_EQ(game.dialogs.boxes[0].style, 48);
    EXPECT_EQ(texts[1], "Creating Backup of Current Settings to Audio.sc1");
    EXPECT_EQ(readBytes(game.settings / "Video.scr"), dataBytes("Video.scr"));
    EXPECT_FALSE(fs::exists(game.settings / "Video.sc1"));
    EXPECT_NE(readBytes(game.settings / "Audio.scr").find("\r\nFXVolume(35)\r\n"), std::string::npos);
}

TEST(Numbers, DecimalsTakeOnePointIntegersNone) {
    struct Row {
        panel::TextBox panel::Panel::*box;
        const char* typed;
        bool saved;
    };
    const Row rows[] = {
        {&panel::Panel::Text7, "1.2", true},   {&panel::Panel::Text7, "1", true},
        {&panel::Panel::Text7, "-0.5", true},  {&panel::Panel::Text7, "1.2.3", false},
        {&panel::Panel::Text7, ".", false},    {&panel::Panel::Text4, "32.0", false},
        {&panel::Panel::Text4, "-1", true},    {&panel::Panel::Text4, "+32", false},
        {&panel::Panel::Text4, "3 2", false},  {&panel::Panel::Text4, "1e3", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        Game game;
        game.loadBoth();
        (game.form.panel.*row.box).Text = row.typed;
        game.form.save_Click();
        EXPECT_EQ(readBytes(game.settings / "Video.scr") != dataBytes("Video.scr"), row.saved);
    }
}

TEST(Reading, AByteOrderMarkHidesNoSettingAndIsNeverWritten) {
    struct Row {
        const char* file;
        const char* firstLine;
        const char* sampleLine;  // the sample's own line for that key, left out
        std::function<std::string(const panel::Panel&)> loaded;
        const char* expected;
    };
    const Row rows[] = {
        {"Video.scr", "Resolution(1024,768)", "Resolution(1680,1050)\r\n", [](const panel::Panel& p) { return p.Text1.Text; },
         "1024"},
        {"Audio.scr", "API(\"XAudio2\")", "API(\"aOpenAL\")\r\n", [](const panel::Panel& p) { return p.Combo7.Text; },
         "XAudio2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        Game game;
        // An editor's mark right before the first setting's key.
        std::string sample = dataBytes(row.file);
        sample.erase(sample.find(row.sampleLine), std::string_view(row.sampleLine).size());
        const std::string loaded = "\xEF\xBB\xBF" + std::string(row.firstLine) + "\r\n" + sample;
        writeBytes(game.settings / row.file, loaded);
        game.loadBoth();
        EXPECT_EQ(row.loaded(game.form.panel), row.expected);
        game.form.save_Click();
        EXPECT_FALSE(readBytes(game.settings / row.file).starts_with("\xEF\xBB\xBF"));
        const fs::path backup = game.settings / fs::path(row.file).replace_extension(".sc1");
        EXPECT_TRUE(readBytes(backup).starts_with(loaded)) << "the backup keeps every byte loaded";
    }
}

TEST(Reading, ATypedFolderIsTakenWithoutQuotesAndBlanks) {
    for (const char* form : {"\"%\"", "  %  ", " \"%\" ", "\t\"%\""}) {
        Game game;
        game.form.SettingsPath = "";
        std::string typed = form;
        typed.replace(typed.find('%'), 1, game.path("").substr(0, game.path("").size() - 1));
        SCOPED_TRACE(typed);
        game.dialogs.inputAnswers = {typed};
        game.form.Command1_Click();
        EXPECT_EQ(platform::pathFromUtf8(game.form.SettingsPath), game.settings);
        game.form.Command1_Click();
        EXPECT_EQ(game.form.panel.Label12.Caption, "Set.");
        EXPECT_EQ(game.form.panel.Text1.Text, "1680");
    }
}

}  // namespace
}  // namespace quorvik::app
