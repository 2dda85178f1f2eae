#include "platform/wine/launcher_configs.h"

#include <yaml-cpp/yaml.h>

#include <nlohmann/json.hpp>

namespace quorvik::platform::wine {
namespace {

// yaml-cpp stands a missing entry in for a node that must not be asked its type.
bool isA(const YAML::Node& node, YAML::NodeType::value type) {
    return node.IsDefined() && node.Type() == type;
}

// The text of a scalar entry of a map; empty for anything else.
std::string scalar(const YAML::Node& map, const char* key) {
    if (!isA(map, YAML::NodeType::Map)) return {};
    const YAML::Node value = map[key];
    return isA(value, YAML::NodeType::Scalar) ? value.Scalar() : std::string();
}

// yaml-cpp reports malformed text by throwing; here that is just a file that
// says nothing.
template <typename Read>
auto readYaml(std::string_view text, Read read) -> decltype(read(YAML::Node())) {
    try {
        return read(YAML::Load(std::string(text)));
    } catch (const YAML::Exception&) {
        return {};
    }
}

std::string jsonText(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

}  // namespace

std::optional<LutrisGame> parseLutrisGame(std::string_view yaml) {
    return readYaml(yaml, [](const YAML::Node& root) -> std::optional<LutrisGame> {
        if (!isA(root, YAML::NodeType::Map)) return std::nullopt;
        LutrisGame game;
        game.prefix = scalar(root["game"], "prefix");
        if (game.prefix.empty()) return std::nullopt;
        const YAML::Node wine = root["wine"];
        game.wineVersion = scalar(wine, "version");
        game.customWinePath = scalar(wine, "custom_wine_path");
        return game;
    });
}

std::vector<HeroicGame> parseHeroicGamesConfig(std::string_view json) {
    const nlohmann::json root = nlohmann::json::parse(json, nullptr, false);
    std::vector<HeroicGame> games;
    if (!root.is_object()) return games;
    for (const auto& [name, settings] : root.items()) {
        if (!settings.is_object()) continue;  // "version", "explicit"
        HeroicGame game;
        game.winePrefix = jsonText(settings, "winePrefix");
        if (game.winePrefix.empty()) continue;
        if (const auto wine = settings.find("wineVersion");
            wine != settings.end() && wine->is_object()) {
            game.wineBin = jsonText(*wine, "bin");
            game.wineType = jsonText(*wine, "type");
        }
        games.push_back(std::move(game));
    }
    return games;
}

std::optional<std::string> parseBottleRunner(std::string_view yaml) {
    return readYaml(yaml, [](const YAML::Node& root) -> std::optional<std::string> {
        std::string runner = scalar(root, "Runner");
        if (runner.empty()) return std::nullopt;
        return runner;
    });
}

}  // namespace quorvik::platform::wine
