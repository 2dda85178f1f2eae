// The launchers' config files: a Lutris game config, a Heroic GamesConfig file
// and a Bottles bottle.yml, whatever their text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/wine/launcher_configs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvik::platform::wine;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto game = parseLutrisGame(text); game && game->prefix.empty()) std::abort();
    for (const HeroicGame& game : parseHeroicGamesConfig(text)) {
        if (game.winePrefix.empty()) std::abort();
    }
    if (const auto runner = parseBottleRunner(text); runner && runner->empty()) std::abort();
    return 0;
}
