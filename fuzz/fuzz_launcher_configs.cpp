// The launchers' files: a Lutris game config, Heroic's GamesConfig, config.json
// and store files, and Bottles' bottle.yml, data.yml and placeholder.yml,
// whatever their text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/wine/launcher_configs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvik::platform::wine;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto game = parseLutrisGame(text);
        game && game->prefix.empty() && game->exe.empty()) {
        std::abort();
    }
    parseHeroicGamesConfig(text);
    parseHeroicDefaults(text);
    for (const HeroicStore store :
         {HeroicStore::Legendary, HeroicStore::Gog, HeroicStore::Sideload, HeroicStore::Nile}) {
        for (const HeroicInstalled& game : parseHeroicInstalled(store, text)) {
            if (game.appName.empty()) std::abort();
        }
    }
    parseHeroicTitles(text);
    // A folder name is the title less what Heroic drops: never longer.
    if (heroicFolderName(text).size() > size) std::abort();
    for (const auto& read :
         {parseBottleName(text), parseBottlesCustomPath(text), parseBottlePlaceholder(text)}) {
        if (read && read->empty()) std::abort();
    }
    // A umu game of Bottles' is read only with its program and its prefix.
    if (const auto game = parseBottlesUmuGame(text);
        game && (game->executable.empty() || game->prefix.empty())) {
        std::abort();
    }
    return 0;
}
