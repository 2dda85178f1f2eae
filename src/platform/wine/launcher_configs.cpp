#include "platform/wine/launcher_configs.h"

#include <yaml-cpp/yaml.h>

#include <array>
#include <nlohmann/json.hpp>

namespace quorvik::platform::wine {
namespace {

using nlohmann::json;

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

// One scalar entry of a YAML file's top-level map, when it is a text.
std::optional<std::string> topLevelText(std::string_view yaml, const char* key) {
    return readYaml(yaml, [key](const YAML::Node& root) -> std::optional<std::string> {
        std::string value = scalar(root, key);
        if (value.empty()) return std::nullopt;
        return value;
    });
}

json parseJson(std::string_view text) {
    return json::parse(text, nullptr, false);
}

std::string jsonText(const json& object, const char* key) {
    if (!object.is_object()) return {};
    const auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

const json& member(const json& object, const char* key) {
    static const json none;
    if (!object.is_object()) return none;
    const auto found = object.find(key);
    return found != object.end() ? *found : none;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

}  // namespace

std::optional<LutrisGame> parseLutrisGame(std::string_view yaml) {
    return readYaml(yaml, [](const YAML::Node& root) -> std::optional<LutrisGame> {
        if (!isA(root, YAML::NodeType::Map)) return std::nullopt;
        const YAML::Node game = root["game"];
        LutrisGame found{scalar(game, "prefix"), scalar(game, "exe"), scalar(game, "args"),
                         scalar(root, "game_slug")};
        if (found.prefix.empty() && found.exe.empty()) return std::nullopt;
        return found;
    });
}

std::vector<HeroicGameConfig> parseHeroicGamesConfig(std::string_view text) {
    const json root = parseJson(text);
    std::vector<HeroicGameConfig> games;
    if (!root.is_object()) return games;
    for (const auto& [name, settings] : root.items()) {
        if (!settings.is_object()) continue;  // "version", "explicit"
        games.push_back(
            {name, jsonText(settings, "winePrefix"), jsonText(settings, "launcherArgs")});
    }
    return games;
}

HeroicDefaults parseHeroicDefaults(std::string_view text) {
    const json root = parseJson(text);
    const json& defaults = member(root, "defaultSettings");
    return {jsonText(defaults, "winePrefix"), jsonText(defaults, "defaultWinePrefix"),
            jsonText(defaults, "defaultWinePrefixDir")};
}

std::string_view heroicStoreName(HeroicStore store) {
    switch (store) {
        case HeroicStore::Legendary:
            return "legendary";
        case HeroicStore::Gog:
            return "gog";
        case HeroicStore::Sideload:
            return "sideload";
        case HeroicStore::Nile:
            return "nile";
    }
    return {};
}

std::vector<HeroicInstalled> parseHeroicInstalled(HeroicStore store, std::string_view text) {
    const json root = parseJson(text);
    std::vector<HeroicInstalled> games;
    const auto add = [&](std::string appName, std::string title, std::string folder) {
        if (!appName.empty())
            games.push_back({std::move(appName), std::move(title), std::move(folder)});
    };
    switch (store) {
        case HeroicStore::Legendary:  // {"<app name>": {"install_path", "title", ...}}
            if (!root.is_object()) break;
            for (const auto& [name, game] : root.items()) {
                if (game.is_object())
                    add(name, jsonText(game, "title"), jsonText(game, "install_path"));
            }
            break;
        case HeroicStore::Gog:  // {"installed": [{"appName", "install_path", ...}]}
            for (const json& game : member(root, "installed")) {
                add(jsonText(game, "appName"), {}, jsonText(game, "install_path"));
            }
            break;
        case HeroicStore::Sideload:  // {"games": [{"app_name", "title", "install":
                                     // {"executable"}}]}
            for (const json& game : member(root, "games")) {
                add(jsonText(game, "app_name"), jsonText(game, "title"),
                    folderOf(jsonText(member(game, "install"), "executable")));
            }
            break;
        case HeroicStore::Nile:  // [{"id", "path", ...}]
            if (!root.is_array()) break;
            for (const json& game : root) add(jsonText(game, "id"), {}, jsonText(game, "path"));
            break;
    }
    return games;
}

std::vector<std::pair<std::string, std::string>> parseHeroicTitles(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> titles;
    const json root = parseJson(text);
    for (const char* list : {"games", "library"}) {
        for (const json& game : member(root, list)) {
            std::string name = jsonText(game, "app_name");
            std::string title = jsonText(game, "title");
            if (!name.empty() && !title.empty()) {
                titles.emplace_back(std::move(name), std::move(title));
            }
        }
    }
    return titles;
}

std::string heroicFolderName(std::string_view title) {
    // Heroic drops these from a title before it names a folder after it.
    constexpr std::string_view kDropped = ":|/*?<>\\&{}%$@`!+'\"";
    constexpr std::array<std::string_view, 2> kDroppedSigns = {"\xE2\x84\xA2",
                                                               "\xC2\xAE"};  // TM, (R)
    std::string name;
    for (std::size_t i = 0; i < title.size();) {
        bool sign = false;
        for (const std::string_view dropped : kDroppedSigns) {
            if (title.substr(i).starts_with(dropped)) {
                i += dropped.size();
                sign = true;
            }
        }
        if (sign) continue;
        if (kDropped.find(title[i]) == std::string_view::npos) name += title[i];
        ++i;
    }
    return name;
}

std::optional<std::string> parseBottleName(std::string_view yaml) {
    return topLevelText(yaml, "Name");
}

std::optional<BottlesUmuGame> parseBottlesUmuGame(std::string_view yaml) {
    return readYaml(yaml, [](const YAML::Node& root) -> std::optional<BottlesUmuGame> {
        BottlesUmuGame game;
        game.executable = scalar(root, "executable");
        const YAML::Node prefix = isA(root, YAML::NodeType::Map) ? root["prefix"] : YAML::Node();
        game.prefix = scalar(prefix, "path");
        if (game.executable.empty() || game.prefix.empty()) return std::nullopt;
        game.managed = scalar(prefix, "managed") != "false";
        game.proton = scalar(root, "proton");
        game.gameId = scalar(root, "game_id");
        if (game.gameId.empty()) game.gameId = "umu-default";
        game.store = scalar(root, "store");
        if (game.store.empty()) game.store = "none";
        const YAML::Node arguments = root["arguments"];
        if (isA(arguments, YAML::NodeType::Sequence)) {
            for (const YAML::Node& argument : arguments) {
                if (isA(argument, YAML::NodeType::Scalar) && argument.Scalar() == "-nologos") {
                    game.noIntro = true;
                }
            }
        }
        return game;
    });
}

std::optional<std::string> parseBottlesCustomPath(std::string_view yaml) {
    return topLevelText(yaml, "custom_bottles_path");
}

std::optional<std::string> parseBottlePlaceholder(std::string_view yaml) {
    return topLevelText(yaml, "Path");
}

}  // namespace quorvik::platform::wine
