// quorvik-cli as a process against real files: what it prints, what it
// writes, and its exit status.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "operations/profiles.h"
#include "support/game_folder.h"
#include "support/prefix_fixture.h"
#include "support/stand_ins.h"
#include "support/wine_test_process.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::GameFolder;
using quorvik::testing::GameKey;
using quorvik::testing::readBytes;
using Environment = std::vector<std::pair<std::string, std::string>>;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs quorvik-cli with its output kept in `folder`.
Outcome run(const fs::path& folder, std::vector<std::string> arguments,
            const Environment& environment) {
    arguments.insert(arguments.begin(), QUORVIK_CLI);
    const auto status = quorvik::testing::runProgram(arguments, environment,
                                                     std::chrono::seconds(30), folder);
    return {status.value_or(-1), readBytes(folder / "stdout"), readBytes(folder / "stderr")};
}

// Runs quorvik-cli on the game folder's settings folder, away from any real prefix.
Outcome cli(const GameFolder& game, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--settings", game.settings.string()});
    return run(game.dir.path(), arguments,
               {{"HOME", (game.dir / "home").string()},
                {"WINEPREFIX", (game.dir / "none").string()}});
}

// What standard error says first in such a run: the prefix $WINEPREFIX names.
std::string prefixLine(const GameFolder& game) {
    return "quorvik-cli: the game's prefix is " + (game.dir / "none").string() +
           " ($WINEPREFIX): named by $WINEPREFIX; there is no such folder; no Wine prefix was found\n";
}

// A home folder of its own, searched from the start: no $WINEPREFIX.
Environment homeIn(const GameFolder& game) {
    return {{"HOME", (game.dir / "home").string()}, {"WINEPREFIX", ""}};
}

constexpr const char* kExe = "C:\\Games\\Quell Moor\\QuellMoor.exe";

// The game installed in a prefix; returns the prefix.
fs::path installGame(const fs::path& prefix) {
    quorvik::testing::makePrefix(prefix, GameKey::Plain, kExe);
    quorvik::testing::writeBytes(prefix / "drive_c/Games/Quell Moor/QuellMoor.exe", "MZ");
    return prefix;
}

// A file larger than Quorvik reads, so that reading it fails.
void tooLarge(const fs::path& path) {
    std::ofstream(path, std::ios::binary).put('x');
    fs::resize_file(path, 9 * 1024 * 1024);
}

// The files a save may touch, relative to the game's out folder.
std::map<std::string, std::optional<std::string>> disk(const GameFolder& game) {
    std::map<std::string, std::optional<std::string>> files;
    for (const char* name : {"Settings/Video.scr", "Settings/Audio.scr", "Settings/Video.sc1",
                             "Settings/Audio.sc1", "Data/Scripts/varlist_blur.scr",
                             "Data/Scripts/varlist_dof.scr", "Data/Skills/default_levels.xml"}) {
        const fs::path path = game.out / name;
        files[name] = fs::exists(path) ? std::optional(readBytes(path)) : std::nullopt;
    }
    return files;
}

TEST(Cli, ShowPrintsEveryLoadedSettingAsJson) {
    GameFolder game;
    game.copySamples();
    const Outcome run = cli(game, {"show", "--json"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, dataBytes("cli/show.json"));
    EXPECT_EQ(run.err, prefixLine(game));
}

TEST(Cli, FindsTheSettingsInAPrefixLaidOutAsAPlayersIs) {
    GameFolder game;
    const fs::path prefix = game.dir / "demo prefix";
    const fs::path demo =
        fs::path(QUORVIK_TEST_DATA).parent_path().parent_path() / "scripts/make-demo-prefix";
    ASSERT_EQ(quorvik::testing::runProgram({demo.string(), prefix.string()}, {},
                                           std::chrono::seconds(30)),
              0);
    const auto status = quorvik::testing::runProgram(
        {QUORVIK_CLI, "--prefix", prefix.string(), "show", "--json"},
        {{"HOME", (game.dir / "home").string()}}, std::chrono::seconds(30), game.dir.path());
    EXPECT_EQ(status, 0) << readBytes(game.dir / "stderr");
    EXPECT_EQ(readBytes(game.dir / "stdout"), dataBytes("cli/show.json"));
}

TEST(Cli, RefusedValuesAndWrongCommandsAreUsageErrorsThatWriteNothing) {
    struct Row {
        std::vector<std::string> arguments;
        int status;
        const char* err;  // a part of what standard error says
    };
    const Row rows[] = {
        {{"set", "TextureQuality=Ultra"}, 2, "TextureQuality takes one of VeryLow, Low, High"},
        {{"set", "GammaFloat=1,2"}, 2, "GammaFloat takes a number with a point, such as 1.0"},
        {{"set", "Resolution=1920"}, 2, "Resolution takes a width and a height"},
        {{"set", "MotionBlur=maybe"}, 2, "MotionBlur takes on or off"},
        {{"set", "FieldOfView=wide"}, 2, "FieldOfView takes a number up to 99.9 in the form 00.0"},
        {{"set", "FieldOfView=500"}, 2, "FieldOfView takes a number up to 99.9 in the form 00.0"},
        {{"set", "Brightness=5"},
         2,
         "unknown setting \"Brightness\"; the settings are Resolution,"},
        {{"set", "BPP=16", "Lightmaps=on", "Channels=x"}, 2, "Channels takes a whole number"},
        {{"set", "GammaFloat=2.0", "--strict"},
         2,
         "Gamma Float 2.0 is outside what its help lists (0.50 - 1.50)"},
        {{"set", "MixFrequency=12345", "--strict", "--dry-run"},
         2,
         "Mix Frequency 12345 is outside"},
        {{"reset", "Channels"}, 2, "Channels has no default its help names"},
        {{"reset", "Loudness"}, 2, "unknown setting \"Loudness\""},
        {{"reset"}, 2, "reset needs the settings to reset, or --all"},
        {{"preset", "Ultra"}, 2, "there is no preset called \"Ultra\""},
        {{"frobnicate"},
         2,
         "quorvik-cli: \"frobnicate\" is not a command; quorvik-cli --help lists them.\n"},
        {{"--frobnicate"}, 2, "quorvik-cli: \"--frobnicate\" is not an option; quorvik-cli --help"},
        {{"profile", "frobnicate"},
         2,
         "quorvik-cli: \"frobnicate\" is not a profile command; quorvik-cli profile --help lists "
         "them.\n"},
        {{"profile"}, 2, "quorvik-cli: a profile command is required; quorvik-cli profile --help"},
        {{}, 2, "quorvik-cli: a command is required; quorvik-cli --help lists them.\n"},
        {{"restore", "--from", "sc9"}, 2, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.empty() ? "(none)" : row.arguments[0] + " " + row.arguments.back());
        GameFolder game;
        game.copySamples();
        const auto before = disk(game);
        const Outcome run = cli(game, row.arguments);
        EXPECT_EQ(run.status, row.status) << run.err;
        EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
        EXPECT_EQ(disk(game), before);
    }
}

// "/?", as Windows' own programs are asked, is --help wherever it stands.
TEST(Cli, ASlashAndQuestionMarkAsksForTheHelp) {
    const std::vector<std::string> commands[] = {{}, {"set"}, {"profile", "save"}};
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command.empty() ? "(none)" : command.back());
        GameFolder game;
        std::vector<std::string> asked = command;
        asked.push_back("/?");
        const Outcome slash = cli(game, asked);
        asked.back() = "--help";
        const Outcome help = cli(game, asked);
        EXPECT_EQ(slash.status, 0) << slash.err;
        EXPECT_EQ(slash.err, "");
        EXPECT_NE(help.out.find("Usage: quorvik-cli"), std::string::npos) << help.out;
        EXPECT_EQ(slash.out, help.out);
    }
}

// A profile kept, the files changed, the profile applied: the files are back
// byte for byte. Shared files are checked as typed values are.
TEST(Cli, ProfilesRoundTripAndFilesFromElsewhereAreChecked) {
    GameFolder game;
    game.copySamples();
    ASSERT_EQ(cli(game, {"set", "BPP=24"}).status, 0);  // the files in the game's own layout
    const Outcome saved = cli(game, {"profile", "save", "docked"});
    ASSERT_EQ(saved.status, 0) << saved.err;
    const fs::path kept = game.dir / "home/.config/quorvik/profiles/docked.json";
    EXPECT_EQ(saved.out, "Profile \"docked\" saved: " + kept.string() + ".\n");
    const auto files = disk(game);
    ASSERT_EQ(cli(game, {"set", "BPP=16", "Resolution=1280,800", "MotionBlur=off"}).status, 0);
    ASSERT_NE(disk(game), files);
    const Outcome applied = cli(game, {"profile", "apply", "docked"});
    EXPECT_EQ(applied.status, 0) << applied.err;
    auto back = disk(game);
    back["Settings/Video.sc1"] = files.at("Settings/Video.sc1");  // the backups move on
    back["Settings/Audio.sc1"] = files.at("Settings/Audio.sc1");
    EXPECT_EQ(back, files);

    const fs::path shared = game.dir / "shared profile.json";
    EXPECT_EQ(cli(game, {"profile", "export", "docked", shared.string()}).status, 0);
    EXPECT_EQ(readBytes(shared), readBytes(kept));
    const Outcome under = cli(game, {"profile", "export", "docked", (shared / "x.json").string()});
    EXPECT_EQ(under.status, 1);
    EXPECT_EQ(under.err, "quorvik-cli: could not write " + shared.string() +
                             ": File exists. Nothing was written.\n");
    EXPECT_EQ(cli(game, {"profile", "import", shared.string(), "--name", "other"}).status, 0);
    EXPECT_EQ(cli(game, {"profile", "list"}).out, "docked\nother\n");

    struct Row {
        const char* what;
        std::string bytes;
        int status;
        const char* err;
        std::string name = {};  // given with --name
    };
    const std::string head = R"({"format": "quorvik-profile", "version": 1, "name": )";
    const auto named = [&](const std::string& name) {
        return head + "\"" + name + "\", \"settings\": {}}";
    };
    const std::string beyond = "M\xC3\xB6\xC3\xB6r-\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0";
    // The longest name in bytes, and one byte more in as many letters.
    const std::string longest = std::string(operations::kProfileNameMaxBytes - 2, 'x') + "\xC3\xB6";
    const std::string tooLong = std::string(operations::kProfileNameMaxBytes - 1, 'x') + "\xC3\xB6";
    const Row rows[] = {
        {"not JSON", "{\"format\": ", 2, "it is not a profile: it holds no JSON object"},
        {"another format", R"({"format": "x", "version": 1})", 2, "its \"format\" is not"},
        {"a later version", R"({"format": "quorvik-profile", "version": 2, "settings": {}})", 2,
         "a profile of version 2"},
        {"a wrong type", head + R"("a", "settings": {"BPP": {"x": 1}}})", 2,
         "BPP is object, not a value the window takes"},
        {"a value the window refuses", head + R"("a", "settings": {"FieldOfView": "500"}})", 2,
         "FieldOfView takes a number up to 99.9"},
        {"a name that is a path", head + R"("../../x", "settings": {}})", 2,
         "the profile's name \"../../x\" will not do"},
        {"a name Windows keeps for a device", head + R"("con", "settings": {}})", 2,
         "\"con\" is a name Windows keeps for a device"},
        {"a device's name with an extension, in any case", named("Lpt9.old"), 2,
         "\"Lpt9.old\" is a name Windows keeps for a device"},
        {"no name", named(""), 2, "a profile's name is at least one character long"},
        {"bytes that are no UTF-8", named("x"), 2, "a profile's name is text in UTF-8", "\xC3("},
        {"a control character", named("a\\u0001b"), 2, "a profile's name holds no control"},
        {"a sign no Windows file name takes", named("docked?"), 2, "none of < > : \" / \\ | ? *"},
        {"a name ending in a blank", named("docked "), 2,
         "a profile's name does not end in '.' or a blank"},
        {"the folder above", named(".."), 2, "a profile's name does not end in '.' or a blank"},
        {"longer than a file name takes", named(tooLong), 2, "a profile's name is at most"},
        {"the longest name", named(longest), 0, ""},
        {"a name beyond ASCII", named(beyond), 0, ""},
        {"too large", std::string(300 * 1024, ' '), 2, "the file is too large"},
        {"an unknown key, named and left out",
         head + R"("fine", "settings": {"Brightness": 5, "BPP": 16, "VSync": true}})", 0,
         "left out: Brightness."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const fs::path file = game.dir / "from elsewhere.json";
        quorvik::testing::writeBytes(file, row.bytes);
        std::vector<std::string> arguments = {"profile", "import", file.string()};
        if (!row.name.empty()) arguments.insert(arguments.end(), {"--name", row.name});
        const Outcome imported = cli(game, arguments);
        EXPECT_EQ(imported.status, row.status) << imported.err;
        EXPECT_NE(imported.err.find(row.err), std::string::npos) << imported.err;
    }
    EXPECT_EQ(cli(game, {"profile", "list"}).out,
              beyond + "\ndocked\nfine\nother\n" + longest + "\n");
    EXPECT_EQ(readBytes(kept.parent_path() / "fine.json"),
              "{\n  \"format\": \"quorvik-profile\",\n  \"version\": 1,\n  \"name\": \"fine\",\n  "
              "\"settings\": {\n    \"BPP\": \"16\",\n    \"VSync\": \"on\"\n  }\n}\n");
    EXPECT_EQ(cli(game, {"profile", "apply", "gone"}).status, 2);
    // A name beyond ASCII is its file's name, and is applied, saved and deleted by it.
    EXPECT_TRUE(fs::exists(kept.parent_path() / (beyond + ".json")));
    EXPECT_EQ(cli(game, {"profile", "apply", beyond}).status, 0);
    const Outcome savedBeyond = cli(game, {"profile", "save", beyond});
    EXPECT_EQ(savedBeyond.status, 0) << savedBeyond.err;
    EXPECT_NE(readBytes(kept.parent_path() / (beyond + ".json")).find("\"BPP\": \"24\""),
              std::string::npos);
    for (const std::string& name : {beyond, longest}) {
        EXPECT_EQ(cli(game, {"profile", "delete", name}).status, 0);
    }
    EXPECT_EQ(cli(game, {"profile", "delete", "other"}).status, 0);
    EXPECT_EQ(cli(game, {"profile", "list"}).out, "docked\nfine\n");
}

// A value outside what its help lists is saved with a warning; reset puts the
// default its help names back.
TEST(Cli, OutsideValuesAreWarnedOfAndResetGivesTheDefaultBack) {
    GameFolder game;
    game.copySamples();
    const Outcome set = cli(game, {"set", "GammaFloat=2.0"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_NE(
        set.err.find("warning: Gamma Float 2.0 is outside what its help lists (0.50 - 1.50)."),
        std::string::npos)
        << set.err;
    EXPECT_NE(set.out.find("Gamma Float 2.0 is outside what its help lists"), std::string::npos);
    EXPECT_NE(readBytes(game.settings / "Video.scr").find("GammaFloat(2.0)"), std::string::npos);
    const Outcome reset = cli(game, {"reset", "gammafloat", "BPP"});
    EXPECT_EQ(reset.status, 0) << reset.err;
    EXPECT_NE(reset.out.find("Gamma Float: 2.0 -> 1.00"), std::string::npos) << reset.out;
    EXPECT_NE(reset.out.find("Bits per Pixel (BPP): 32 -> 24"), std::string::npos) << reset.out;
    const Outcome show = cli(game, {"show"});
    EXPECT_NE(show.out.find("\nGammaFloat=1.00\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("\nBPP=24\n"), std::string::npos) << show.out;
}

TEST(Cli, DryRunPrintsTheChangesAndWritesNothing) {
    struct Row {
        std::vector<std::string> arguments;
        const char* expected;  // a file of tests/data
    };
    const Row rows[] = {
        {{"set", "texturequality=low", "--dry-run"}, "cli/dry-run.txt"},
        {{"preset", "performance", "--dry-run"}, "cli/preset-performance.txt"},
        {{"preset", "Quality", "--dry-run"}, "cli/preset-quality.txt"},
        {{"preset", "Handheld", "--dry-run"}, "cli/preset-handheld.txt"},
        {{"reset", "--all", "--dry-run"}, "cli/reset-all.txt"},
    };
    GameFolder game;
    game.copySamples();
    const auto before = disk(game);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        const Outcome run = cli(game, row.arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, dataBytes(row.expected));
        EXPECT_EQ(disk(game), before);
    }

    // A skills file the player edited is named before a save replaces it.
    quorvik::testing::writeBytes(game.skills, "<prop n=\"CameraDefaultFOV\" v=\"75.0\"/>\r\n");
    const Outcome edited = cli(game, {"set", "FSAA=2", "--dry-run"});
    EXPECT_NE(edited.out.find("    Line dropped: MysteryKey(7)\n"), std::string::npos) << edited.out;
    EXPECT_NE(edited.out.find("    default_levels.xml was edited by hand: a save replaces it with "
                              "Quorvik's own\n"),
              std::string::npos)
        << edited.out;
}

TEST(Cli, SetWritesWhatTheWindowWritesAndRestoreBringsTheFilesBack) {
    GameFolder game;
    game.copySamples();
    const Outcome set = cli(game, {"set", "MotionBlur=off", "FieldOfView=75.0"});
    EXPECT_EQ(set.status, 0) << set.err;
    // The plan, each step as it is carried out, then where what it replaced is kept.
    const std::string kept = "The files this save replaced (Video.scr and Audio.scr) are kept in " +
                             (game.settings / "Quorvik history").string();
    ASSERT_TRUE(set.out.starts_with(dataBytes("cli/set.txt"))) << set.out;
    EXPECT_TRUE(set.out.substr(dataBytes("cli/set.txt").size()).starts_with(kept)) << set.out;

    // The window, given the same edits on a copy of the same files.
    quorvik::testing::GameSession window;
    window.copySamples();
    window.loadBoth();
    window.form.panel.Check4.Value = 0;
    window.form.panel.Text15.Text = "75.0";
    window.form.save_Click();
    EXPECT_EQ(disk(game), disk(window));

    const Outcome restore = cli(game, {"restore", "--from", "sc1"});
    EXPECT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(readBytes(game.settings / "Video.scr"), dataBytes("Video.scr"));
    EXPECT_EQ(readBytes(game.settings / "Audio.scr"), dataBytes("Audio.scr"));
    EXPECT_EQ(fs::status(game.settings / "Video.scr").permissions() & fs::perms::owner_write,
              fs::perms::none);

    // The restore is undone from the history, by the entry --list names first.
    const Outcome list = cli(game, {"restore", "--list"});
    const std::string second = list.out.substr(list.out.find('\n') + 1);  // after sc1's line
    const std::string newest = second.substr(0, second.find('\t'));
    EXPECT_TRUE(second.starts_with(newest + "\tthe files as they were before restoring the backups of "
                                            "the last save (Video.scr, Audio.scr)\n"))
        << list.out;
    EXPECT_EQ(cli(game, {"restore", "--from", newest}).status, 0);
    EXPECT_EQ(disk(game), disk(window));
}

TEST(Cli, AFailedOperationExitsWithOneAndSaysWhyOnStandardError) {
    GameFolder game;  // no settings files at all
    const Outcome show = cli(game, {"show"});
    EXPECT_EQ(show.status, 1);
    EXPECT_EQ(show.err, prefixLine(game) + "quorvik-cli: Video.scr was not found in " +
                            game.settings.string() + "\nquorvik-cli: Audio.scr was not found in " +
                            game.settings.string() + "\n");
    const Outcome restore = cli(game, {"restore"});
    EXPECT_EQ(restore.status, 1);
    EXPECT_NE(restore.err.find("there is no backup Video.sc1"), std::string::npos) << restore.err;
}

// show prints the settings the files gave, and nothing made up: a file that
// could not be loaded leaves its settings out (null in JSON) and exits 1.
TEST(Cli, ShowPrintsOnlyWhatTheFilesGave) {
    struct Row {
        const char* what;
        std::function<void(const GameFolder&)> setup;
        int status;
        std::map<std::string, nlohmann::json> json;  // values of show --json; "" for no output
    };
    const auto removeLine = [](const fs::path& file, const std::string& key) {
        std::string bytes = readBytes(file);
        const auto at = bytes.find("\n" + key + "(") + 1;
        bytes.erase(at, bytes.find('\n', at) + 1 - at);
        quorvik::testing::writeBytes(file, bytes);
    };
    const Row rows[] = {
        {"both files",
         [](const GameFolder& g) { g.copySamples(); },
         0,
         {{"BPP", 32},
          {"GammaFloat", 1.1},
          {"VSync", true},
          {"Lightmaps", false},
          {"Filtering", "AnisotropicTrilinear"},
          {"MixFrequency", 48000},
          {"FieldOfView", 62.5},
          {"/files/Audio.scr/loaded", true}}},
        {"no Audio.scr",
         [](const GameFolder& g) {
             g.copySamples();
             fs::remove(g.settings / "Audio.scr");
         },
         1,
         {{"BPP", 32}, {"MixFrequency", nullptr}, {"/files/Audio.scr/loaded", false}}},
        {"a line missing",
         [&](const GameFolder& g) {
             g.copySamples();
             removeLine(g.settings / "Video.scr", "BPP");
         },
         0,
         {{"BPP", nullptr}, {"FSAA", 4}}},
        {"a number the game cannot read stays text",
         [&](const GameFolder& g) {
             g.copySamples();
             std::string bytes = readBytes(g.settings / "Video.scr");
             bytes.replace(bytes.find("FSAA(4)"), 7, "FSAA(4x)");
             bytes.replace(bytes.find("GammaFloat(1.10)"), 16, "GammaFloat(inf)");
             quorvik::testing::writeBytes(g.settings / "Video.scr", bytes);
         },
         0,
         {{"FSAA", "4x"}, {"GammaFloat", "inf"}}},
        {"a drop-down value none of its entries shows",
         [](const GameFolder& g) {
             g.copySamples();
             std::string bytes = readBytes(g.settings / "Video.scr");
             bytes.replace(bytes.find("ShaderPath(3)"), 13, "ShaderPath(9)");
             quorvik::testing::writeBytes(g.settings / "Video.scr", bytes);
         },
         0,
         {{"ShaderPath", "9"}}},
        {"no files", [](const GameFolder&) {}, 1, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        GameFolder game;
        row.setup(game);
        const Outcome json = cli(game, {"show", "--json"});
        const Outcome text = cli(game, {"show"});
        EXPECT_EQ(json.status, row.status) << json.err;
        EXPECT_EQ(text.status, row.status) << text.err;
        if (row.json.empty()) {
            EXPECT_EQ(json.out, "");
            EXPECT_EQ(text.out, "");
            continue;
        }
        const nlohmann::json shown = nlohmann::json::parse(json.out);
        EXPECT_EQ(shown["format"], "quorvik-settings");
        EXPECT_EQ(shown["version"], 1);
        for (const auto& [key, value] : row.json) {
            const bool pointer = key.starts_with("/");
            const nlohmann::json& got =
                pointer ? shown.at(nlohmann::json::json_pointer(key)) : shown["settings"][key];
            EXPECT_EQ(got, value) << key;
            if (pointer) continue;
            // The text form leaves out what JSON gives as null, and gives text as it is.
            const std::string shownText = value.is_string() ? value.get<std::string>() + "\n" : "";
            const auto line = ("\n" + text.out).find("\n" + key + "=" + shownText);
            EXPECT_EQ(line == std::string::npos, value.is_null()) << key;
        }
    }
}

// Standard output that cannot be written: a full disk or a closed descriptor
// exits 1 and a save whose plan could not be shown writes nothing; a reader
// that has gone is no failure, and a save it could not see still lands.
TEST(Cli, StandardOutputThatCannotBeWritten) {
    using quorvik::testing::StandardOutput;
    struct Row {
        std::vector<std::string> arguments;
        StandardOutput output;
        int status;
        const char* errHolds;
        bool saved;
    };
    const Row rows[] = {
        {{"show"}, StandardOutput::Full, 1, "could not write to standard output: No space", false},
        {{"show", "--json"},
         StandardOutput::Closed,
         1,
         "could not write to standard output: Bad file descriptor",
         false},
        {{"show"}, StandardOutput::GonePipe, 0, "", false},
        {{"--version"}, StandardOutput::Full, 1, "could not write to standard output", false},
        {{"set", "BPP=16"},
         StandardOutput::Full,
         1,
         "so none was saved. Nothing was written.",
         false},
        {{"set", "BPP=16"}, StandardOutput::Closed, 1, "so none was saved", false},
        {{"set", "BPP=16"}, StandardOutput::GonePipe, 0, "", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.front() + " " + std::to_string(static_cast<int>(row.output)));
        GameFolder game;
        game.copySamples();
        std::vector<std::string> arguments = {QUORVIK_CLI, "--settings", game.settings.string()};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        const auto status =
            quorvik::testing::runProgram(arguments, {{"HOME", (game.dir / "home").string()}},
                                         std::chrono::seconds(30), game.dir.path(), row.output);
        const std::string err = readBytes(game.dir / "stderr");
        EXPECT_EQ(status, row.status) << err;
        EXPECT_NE(err.find(row.errHolds), std::string::npos) << err;
        EXPECT_EQ(readBytes(game.settings / "Video.scr") != dataBytes("Video.scr"), row.saved);
    }
}

TEST(Cli, EveryCommandSaysOnStandardErrorWhichPrefixItChoseAndWhy) {
    struct Row {
        std::vector<std::string> arguments;
        int status;
        const char* out;  // the file of tests/data standard output equals, or nothing
    };
    const Row rows[] = {
        {{"show"}, 0, "cli/show.txt"},
        {{"show", "--json"}, 0, "cli/show.json"},
        {{"set", "BPP=16"}, 0, nullptr},
        {{"set", "BPP=16", "--dry-run"}, 0, nullptr},
        {{"backup"}, 0, nullptr},
        {{"restore", "--list"}, 0, nullptr},
        {{"restore"}, 1, nullptr},  // no save yet, so no backup of one
        {{"launch"}, 0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments[0] + " " + row.arguments.back());
        GameFolder game;
        const fs::path prefix = installGame(game.dir / "home/.wine");
        quorvik::testing::makeSettings(prefix);
        quorvik::testing::StandIns standIns;
        const Outcome outcome = run(game.dir.path(), row.arguments, homeIn(game));
        EXPECT_EQ(outcome.status, row.status) << outcome.err;
        const std::string line = "quorvik-cli: the game's prefix is " + prefix.string() +
                                 " (~/.wine): it holds the game's registry key and its settings "
                                 "folder\n";
        EXPECT_TRUE(outcome.err.starts_with(line)) << outcome.err;
        EXPECT_EQ(outcome.err.find("prefix", line.size()), std::string::npos)
            << "said once: " << outcome.err;
        EXPECT_EQ(outcome.out.find("prefix"), std::string::npos) << outcome.out;
        if (row.out != nullptr) {
            EXPECT_EQ(outcome.out, dataBytes(row.out));
        }
    }
}

// The console has no buttons: wherever the window would point at one, the
// console names its options. (A whole save's output is compared with
// tests/data/cli/set.txt and dry-run.txt above.)
TEST(Cli, NoMessageSendsThePlayerToAButton) {
    struct Row {
        const char* name;
        // Lays out the player's files; returns the command line.
        std::function<std::vector<std::string>(const GameFolder&)> build;
        int status;
        const char* err;  // what standard error must say, or nothing
        const char* out;  // what standard output must say, or nothing
    };
    const auto in = [](const GameFolder& game, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--settings", game.settings.string()});
        return arguments;
    };
    const Row rows[] = {
        {"no Documents folder", [](const GameFolder&) { return std::vector<std::string>{"show"}; },
         1,
         "\nName the game's prefix with --prefix, or the folder that holds Video.scr with "
         "--settings.\n",
         nullptr},
        {"no settings folder in the prefix's Documents folder",
         [](const GameFolder& game) {
             const fs::path prefix = installGame(game.dir / "home/.wine");
             fs::create_directories(prefix / "drive_c/users/steamuser/Documents");
             return std::vector<std::string>{"show"};
         },
         1,
         "\nName the game's prefix with --prefix, or the folder that holds Video.scr with "
         "--settings.\n",
         nullptr},
        {"backup with Audio.scr missing",
         [&](const GameFolder& game) {
             quorvik::testing::writeBytes(game.settings / "Video.scr", dataBytes("Video.scr"));
             return in(game, {"backup"});
         },
         1,
         "Audio.sc0 was not written: Audio.scr is not loaded, so there is nothing of it to back "
         "up. Name the game's prefix with --prefix, or the folder that holds Audio.scr with "
         "--settings.\n",
         nullptr},
        {"set with Audio.scr missing",
         [&](const GameFolder& game) {
             quorvik::testing::writeBytes(game.settings / "Video.scr", dataBytes("Video.scr"));
             return in(game, {"set", "BPP=16"});
         },
         1,
         "Audio.scr was left as it is: it was not found when quorvik-cli loaded the settings, so "
         "quorvik-cli holds none of its settings to save.\n",
         nullptr},
        {"set with Video.scr unreadable",
         [&](const GameFolder& game) {
             game.copySamples();
             fs::remove(game.settings / "Video.scr");
             tooLarge(game.settings / "Video.scr");
             return in(game, {"set", "MixFrequency=48000"});
         },
         1,
         "Motion blur, depth of field and the field of view were not saved: quorvik-cli has not "
         "read them from the game's Data folder in this session, so quorvik-cli does not show "
         "what they are. Name the game's prefix with --prefix, or the folder that holds "
         "Video.scr with --settings.\n",
         nullptr},
        {"a dry run with Video.scr unreadable",
         [&](const GameFolder& game) {
             game.copySamples();
             fs::remove(game.settings / "Video.scr");
             tooLarge(game.settings / "Video.scr");
             return in(game, {"set", "MixFrequency=48000", "--dry-run"});
         },
         1, nullptr,
         "\nquorvik-cli has not read the Data folder in this session, so a save leaves motion "
         "blur, depth of field and the field of view as they are.\n"},
        {"set with the skills file unreadable",
         [&](const GameFolder& game) {
             game.copySamples();
             tooLarge(game.skills);
             return in(game, {"set", "FieldOfView=75.0"});
         },
         1,
         "default_levels.xml was left as it is: it could not be read when quorvik-cli loaded the "
         "settings (the file is too large: 9437184 bytes), so Quorvik could not keep it before "
         "replacing it.\n",
         nullptr},
        {"set with a line missing",
         [&](const GameFolder& game) {
             game.copySamples();
             std::string video = dataBytes("Video.scr");
             video.erase(video.find("BPP(32)"), 9);
             quorvik::testing::writeBytes(game.settings / "Video.scr", video);
             return in(game, {"set", "FSAA=2"});
         },
         1, "Set it with quorvik-cli set, or restore a backup.\n", nullptr},
        {"a save that dropped lines says how to put them back",
         [&](const GameFolder& game) {
             game.copySamples();
             return in(game, {"set", "BPP=16"});
         },
         0, nullptr, "; quorvik-cli restore --from with the entry's name puts them back.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GameFolder game;
        fs::create_directories(game.dir / "home");
        const Outcome outcome = run(game.dir.path(), row.build(game), homeIn(game));
        EXPECT_EQ(outcome.status, row.status) << outcome.err;
        if (row.err != nullptr) {
            EXPECT_NE(outcome.err.find(row.err), std::string::npos) << outcome.err;
        }
        if (row.out != nullptr) {
            EXPECT_NE(outcome.out.find(row.out), std::string::npos) << outcome.out;
        }
        for (const char* button : {"Click", "click", "Set Video.scr", "Set Audio.scr", "Press OK",
                                   "File > Restore Backup"}) {
            EXPECT_EQ(outcome.out.find(button), std::string::npos)
                << button << " in: " << outcome.out;
            EXPECT_EQ(outcome.err.find(button), std::string::npos)
                << button << " in: " << outcome.err;
        }
    }
}

// launch says what the player must know on standard output, as every message
// that is no failure, and a failure on standard error; only whether the game
// started decides the exit status.
TEST(Cli, LaunchExitsWithZeroWhenTheGameStartedAndPrintsItsNote) {
    struct Row {
        const char* name;
        // Lays out the home folder; returns the command line.
        std::function<std::vector<std::string>(const quorvik::testing::FixtureHome&)> build;
        int status;
        const char* program;  // what was started, or nothing
        const char* out;      // all of standard output
        const char* err;      // what standard error says after the prefix, or nothing
    };
    const Row rows[] = {
        {"a non-Steam game in Steam: started, with where to add -nologos",
         [](const quorvik::testing::FixtureHome& h) {
             h.listLibraries(h.nativeSteam(), {h.nativeSteam()});
             installGame(h.protonPrefix(h.nativeSteam(), "3000000000"));
             return std::vector<std::string>{"launch"};
         },
         0, "steam",
         "Quell Moor is a non-Steam game in Steam, which starts it with its shortcut's own launch "
         "options: to skip the intro videos, add -nologos to the launch options of the shortcut "
         "(Properties in Steam).\n",
         nullptr},
        {"a game never run yet, with no settings folder: started",
         [](const quorvik::testing::FixtureHome& h) {
             installGame(h.home / ".wine");
             return std::vector<std::string>{"launch"};
         },
         0, "wine", "", nullptr},
        {"a Proton prefix no Steam here holds: not started",
         [](const quorvik::testing::FixtureHome& h) {
             const fs::path prefix = installGame(h.protonPrefix(h.dir / "library", "4711"));
             return std::vector<std::string>{"--prefix", prefix.string(), "launch"};
         },
         1, nullptr, "",
         "belongs to Steam (app 4711), but no Steam that holds it was found. Starting it with the "
         "system's Wine could upgrade the prefix behind Proton's back, so please start Quell Moor "
         "from Steam.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        quorvik::testing::FixtureHome h;
        quorvik::testing::StandIns standIns;
        const Outcome outcome = run(h.dir.path(), row.build(h),
                                    {{"HOME", h.home.string()}, {"WINEPREFIX", ""}});
        EXPECT_EQ(outcome.status, row.status) << outcome.err;
        EXPECT_EQ(outcome.out, row.out);
        EXPECT_TRUE(outcome.err.starts_with("quorvik-cli: the game's prefix is ")) << outcome.err;
        if (row.err != nullptr) {
            EXPECT_TRUE(outcome.err.ends_with(row.err)) << outcome.err;
        } else {
            EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1)
                << "only the prefix: " << outcome.err;
        }
        if (row.program == nullptr) {
            EXPECT_TRUE(standIns.noneStarted());
        } else {
            const auto started = standIns.next();
            ASSERT_TRUE(started);
            EXPECT_EQ(fs::path(started->program).filename(), row.program);
        }
    }
}

}  // namespace
}  // namespace quorvik::cli
