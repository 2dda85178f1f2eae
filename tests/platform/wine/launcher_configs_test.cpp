// The launchers' config files as they write them, and what is read from them.

#include "platform/wine/launcher_configs.h"

#include <gtest/gtest.h>

#include <array>

namespace quorvik::platform::wine {
namespace {

using Texts = std::vector<std::string>;

TEST(LauncherConfigs, LutrisGameConfigs) {
    struct Case {
        const char* name;
        std::string yaml;
        std::optional<std::array<std::string, 4>> expected;  // prefix, exe, args, slug
    };
    const Case cases[] = {
        {"as Lutris writes it",
         "game:\n  exe: /home/jane/Games/quell-moor/drive_c/QuellMoor.exe\n"
         "  prefix: /home/jane/Games/quell-moor\n  args: -nologos\n  arch: win64\n"
         "game_slug: quell-moor\nsystem: {}\nwine:\n  version: wine-ge-8-26-x86_64\n",
         std::array<std::string, 4>{"/home/jane/Games/quell-moor",
                                    "/home/jane/Games/quell-moor/drive_c/QuellMoor.exe", "-nologos",
                                    "quell-moor"}},
        {"no prefix: Lutris finds it from the executable",
         "game:\n  exe: '~/Games/Quell Moor/drive_c/QM.exe'\n",
         std::array<std::string, 4>{"", "~/Games/Quell Moor/drive_c/QM.exe", "", ""}},
        {"no executable", "game:\n  prefix: /p\n", std::array<std::string, 4>{"/p", "", "", ""}},
        {"neither: not a Wine game", "game:\n  working_dir: /x\nsystem: {}\n", std::nullopt},
        {"prefix not a text", "game:\n  prefix: [a, b]\n", std::nullopt},
        {"not a map", "- game\n- prefix\n", std::nullopt},
        {"malformed", "game: {prefix: /p\n  : : [", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto game = parseLutrisGame(c.yaml);
        ASSERT_EQ(game.has_value(), c.expected.has_value()) << c.name;
        if (!game) continue;
        EXPECT_EQ((std::array{game->prefix, game->exe, game->arguments, game->slug}), *c.expected)
            << c.name;
    }
}

// The well-formed files of each store are read end to end by the prefix
// finder's tests; here, what is not quite what Heroic writes.
TEST(LauncherConfigs, HeroicFiles) {
    const auto configs = [](const std::string& json) {
        Texts read;
        for (const HeroicGameConfig& g : parseHeroicGamesConfig(json)) {
            read.push_back(g.appName + "|" + g.winePrefix + "|" + g.arguments);
        }
        return read;
    };
    const auto installed = [](HeroicStore store, const std::string& json) {
        Texts read;
        for (const HeroicInstalled& g : parseHeroicInstalled(store, json)) {
            read.push_back(g.appName + "|" + g.title + "|" + g.installPath);
        }
        return read;
    };
    struct Case {
        const char* name;
        Texts read;
        Texts expected;
    };
    const Case cases[] = {
        {"GamesConfig without a prefix of the game's own",
         configs(R"({"a": {"language": ""}, "b": 1, "c": {"winePrefix": 7}})"),
         {"a||", "c||"}},
        {"store entries without a name, or not objects",
         installed(HeroicStore::Gog,
                   R"({"installed": [{"platform": "linux"}, 5, {"appName": "g"}]})"),
         {"g||"}},
        {"a list where an object belongs",
         installed(HeroicStore::Legendary, R"([{"app_name": "x"}])"),
         {}},
        {"every character Heroic drops from a folder name",
         Texts{heroicFolderName("A/B\\C*?<>|&{}%$@`!+\"\xC2\xAE D\xE2\x84\xA2")},
         {"ABC D"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.read, c.expected) << c.name;
    for (const char* garbage : {"", "[1, 2]", "{\"a\": {\"winePrefix\": ", "null"}) {
        EXPECT_TRUE(configs(garbage).empty()) << garbage;
        for (const HeroicStore store :
             {HeroicStore::Legendary, HeroicStore::Gog, HeroicStore::Sideload, HeroicStore::Nile}) {
            EXPECT_TRUE(installed(store, garbage).empty()) << garbage;
        }
        EXPECT_EQ(parseHeroicDefaults(garbage).winePrefix, "") << garbage;
    }
}

TEST(LauncherConfigs, BottlesFiles) {
    EXPECT_EQ(parseBottleName("Arch: win64\nCustom_Path: false\nName: Quell Moor\n"
                              "Path: Quell-Moor\nRunner: soda-7.0-9\nVersioning: false\n"),
              "Quell Moor");
    EXPECT_EQ(parseBottlesCustomPath("custom_bottles_path: /mnt/games/bottles\n"),
              "/mnt/games/bottles");
    EXPECT_EQ(parseBottlePlaceholder("Path: /mnt/games/bottles/Quell-Moor\n"),
              "/mnt/games/bottles/Quell-Moor");
    for (const char* other : {"Arch: x\n", "Name:\n", "Name: [a]\n", "- Name\n", "{{{"}) {
        EXPECT_EQ(parseBottleName(other), std::nullopt) << other;
    }
}

}  // namespace
}  // namespace quorvik::platform::wine
