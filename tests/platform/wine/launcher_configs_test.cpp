// The launchers' config files as they write them, and what is read from them.

#include "platform/wine/launcher_configs.h"

#include <gtest/gtest.h>

namespace quorvik::platform::wine {
namespace {

TEST(LauncherConfigs, LutrisGameConfigs) {
    struct Case {
        const char* name;
        std::string yaml;
        std::optional<std::array<std::string, 3>> expected;  // prefix, version, custom path
    };
    const Case cases[] = {
        {"as Lutris writes it",
         "game:\n  exe: /home/jane/Games/quell-moor/drive_c/QuellMoor.exe\n"
         "  prefix: /home/jane/Games/quell-moor\n  arch: win64\ngame_slug: quell-moor\n"
         "system: {}\nwine:\n  version: wine-ge-8-26-x86_64\n",
         std::array<std::string, 3>{"/home/jane/Games/quell-moor", "wine-ge-8-26-x86_64", ""}},
        {"custom Wine, quoted prefix",
         "game:\n  prefix: '~/Games/Quell Moor'\nwine:\n  version: custom\n"
         "  custom_wine_path: /opt/wine/bin/wine\n",
         std::array<std::string, 3>{"~/Games/Quell Moor", "custom", "/opt/wine/bin/wine"}},
        {"no wine section", "game:\n  prefix: /p\n", std::array<std::string, 3>{"/p", "", ""}},
        {"no prefix: a native game", "game:\n  exe: /usr/games/x\nsystem: {}\n", std::nullopt},
        {"prefix not a text", "game:\n  prefix: [a, b]\n", std::nullopt},
        {"not a map", "- game\n- prefix\n", std::nullopt},
        {"malformed", "game: {prefix: /p\n  : : [", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto game = parseLutrisGame(c.yaml);
        ASSERT_EQ(game.has_value(), c.expected.has_value()) << c.name;
        if (!game) continue;
        EXPECT_EQ((std::array{game->prefix, game->wineVersion, game->customWinePath}), *c.expected)
            << c.name;
    }
}

TEST(LauncherConfigs, HeroicGamesConfigs) {
    const auto read = [](const std::string& json) {
        std::vector<std::array<std::string, 3>> games;
        for (const HeroicGame& g : parseHeroicGamesConfig(json)) {
            games.push_back({g.winePrefix, g.wineBin, g.wineType});
        }
        return games;
    };
    EXPECT_EQ(read(R"({"QuellMoorApp": {"autoInstallDxvk": true,
                      "winePrefix": "/home/jane/Games/Heroic/Prefixes/Quell Moor",
                      "wineVersion": {"bin": "/w/bin/wine", "name": "Wine-GE", "type": "wine"}},
                      "version": "v0", "explicit": true})"),
              (std::vector<std::array<std::string, 3>>{
                  {"/home/jane/Games/Heroic/Prefixes/Quell Moor", "/w/bin/wine", "wine"}}));
    EXPECT_EQ(read(R"({"a": {"winePrefix": "/a"}, "b": {"winePrefix": ""}, "c": {"x": 1},
                      "d": {"winePrefix": "/d", "wineVersion": "old"}})"),
              (std::vector<std::array<std::string, 3>>{{"/a", "", ""}, {"/d", "", ""}}));
    for (const char* garbage : {"", "[1, 2]", "{\"a\": {\"winePrefix\": ", "{\"a\": 1}"}) {
        EXPECT_TRUE(read(garbage).empty()) << garbage;
    }
}

TEST(LauncherConfigs, BottleRunners) {
    EXPECT_EQ(parseBottleRunner("Arch: win64\nCustom_Path: false\nName: Quell Moor\n"
                                "Path: Quell-Moor\nRunner: soda-7.0-9\nVersioning: false\n"),
              "soda-7.0-9");
    for (const char* other : {"Name: x\n", "Runner:\n", "Runner: [a]\n", "- Runner\n", "{{{"}) {
        EXPECT_EQ(parseBottleRunner(other), std::nullopt) << other;
    }
}

}  // namespace
}  // namespace quorvik::platform::wine
