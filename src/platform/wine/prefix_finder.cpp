#include "platform/wine/prefix_finder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <tuple>

#include "platform/paths.h"
#include "platform/text_codec.h"
#include "platform/wine/launcher_configs.h"
#include "platform/wine/lutris_games.h"
#include "platform/wine/steam_libraries.h"
#include "platform/wine/wine_paths.h"
#include "platform/wine/wine_registry.h"

namespace quorvik::platform::wine {
namespace {

namespace fs = std::filesystem;

// Launcher configs and Steam's library list are small; anything larger is not theirs.
constexpr std::uintmax_t kMaxConfigBytes = 4u * 1024u * 1024u;

// What the launchers' own places are relative to: the home folder, or the
// data and config folders of the XDG base directories, which all the
// launchers honour.
enum class Base { Home, Data, Config };

struct Place {
    Base base;
    std::string_view path;
    LauncherInstall install;
};

constexpr auto kNative = LauncherInstall::Native;
constexpr auto kFlatpak = LauncherInstall::Flatpak;
constexpr auto kSnap = LauncherInstall::Snap;

// Where Steam keeps itself: native installs (the ~/.steam links, the usual
// folder, Debian's package), Flatpak and Snap. Which Steam a root belongs to
// is decided by where it really is (the links may lead into a Flatpak).
constexpr std::array<Place, 9> kSteamRoots = {{
    {Base::Home, ".steam/steam", kNative},
    {Base::Home, ".steam/root", kNative},
    {Base::Data, "Steam", kNative},
    {Base::Home, ".local/share/Steam", kNative},
    {Base::Home, ".steam/debian-installation", kNative},
    {Base::Home, ".var/app/com.valvesoftware.Steam/.local/share/Steam", kFlatpak},
    {Base::Home, ".var/app/com.valvesoftware.Steam/data/Steam", kFlatpak},
    {Base::Home, "snap/steam/common/.local/share/Steam", kSnap},
    {Base::Home, "snap/steam/common/.steam/steam", kSnap},
}};
constexpr std::string_view kFlatpakSteam = ".var/app/com.valvesoftware.Steam";
constexpr std::string_view kSnapSteam = "snap/steam";

// Lutris' game configs, and the data folder whose pga.db numbers them: the
// current layout, the older one under the config folder, and its Flatpak.
struct LutrisPlace {
    Place games;
    Place data;
};
constexpr std::array<LutrisPlace, 6> kLutrisPlaces = {{
    {{Base::Data, "lutris/games", kNative}, {Base::Data, "lutris", kNative}},
    {{Base::Config, "lutris/games", kNative}, {Base::Data, "lutris", kNative}},
    {{Base::Home, ".local/share/lutris/games", kNative},
     {Base::Home, ".local/share/lutris", kNative}},
    {{Base::Home, ".config/lutris/games", kNative}, {Base::Home, ".local/share/lutris", kNative}},
    {{Base::Home, ".var/app/net.lutris.Lutris/data/lutris/games", kFlatpak},
     {Base::Home, ".var/app/net.lutris.Lutris/data/lutris", kFlatpak}},
    {{Base::Home, ".var/app/net.lutris.Lutris/config/lutris/games", kFlatpak},
     {Base::Home, ".var/app/net.lutris.Lutris/data/lutris", kFlatpak}},
}};

// Heroic's config folders.
constexpr std::array<Place, 3> kHeroicPlaces = {{
    {Base::Config, "heroic", kNative},
    {Base::Home, ".config/heroic", kNative},
    {Base::Home, ".var/app/com.heroicgameslauncher.hgl/config/heroic", kFlatpak},
}};
// Where Heroic makes a prefix per game unless its config.json says otherwise.
constexpr std::string_view kHeroicPrefixes = "Games/Heroic/Prefixes/default";

// The files in a Heroic config folder that list each store's installed games,
// and the library caches that hold the titles some of them lack.
struct HeroicStoreFile {
    HeroicStore store;
    std::string_view installed;
    std::string_view titles;  // empty: the installed list has them
};
constexpr std::array<HeroicStoreFile, 4> kHeroicStores = {{
    {HeroicStore::Legendary, "legendaryConfig/legendary/installed.json", ""},
    {HeroicStore::Gog, "gog_store/installed.json", "store_cache/gog_library.json"},
    {HeroicStore::Sideload, "sideload_apps/library.json", ""},
    {HeroicStore::Nile, "nile_config/nile/installed.json", "store_cache/nile_library.json"},
}};

// Bottles' data folders; each holds bottles/<name>/ unless its data.yml names
// a folder of the player's for them.
constexpr std::array<Place, 3> kBottlesPlaces = {{
    {Base::Data, "bottles", kNative},
    {Base::Home, ".local/share/bottles", kNative},
    {Base::Home, ".var/app/com.usebottles.bottles/data/bottles", kFlatpak},
}};

// umu keeps a prefix per game id here, umu-default among them.
constexpr std::string_view kUmuPrefixes = "Games/umu";

constexpr std::string_view kNoIntro = "-nologos";

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool isNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool holdsNoIntro(std::string_view arguments) {
    return arguments.find(kNoIntro) != std::string_view::npos;
}

// The places prefixes are looked for in, for one home.
class Roots {
public:
    explicit Roots(const PrefixSearch& search)
        : home_(*search.home),
          data_(search.dataHome.value_or(home_ / ".local/share")),
          config_(search.configHome.value_or(home_ / ".config")) {}

    const fs::path& home() const { return home_; }
    fs::path operator()(const Place& place) const {
        const fs::path& base = place.base == Base::Home   ? home_
                               : place.base == Base::Data ? data_
                                                          : config_;
        return base / pathFromUtf8(place.path);
    }
    // A path as a launcher's config writes it: absolute, or under "~/".
    std::optional<fs::path> configPath(const std::string& text) const {
        if (text == "~") return home_;
        if (text.starts_with("~/")) return home_ / pathFromUtf8(std::string_view(text).substr(2));
        fs::path path = pathFromUtf8(text);
        if (!path.is_absolute()) return std::nullopt;
        return path;
    }

private:
    fs::path home_;
    fs::path data_;
    fs::path config_;
};

// The folders of some places that exist, each once: with the XDG folders at
// their defaults, two places name the same folder.
template <typename Places, typename Folder>
std::vector<std::pair<fs::path, const typename Places::value_type*>> existing(const Places& places,
                                                                              Folder folder) {
    std::vector<std::pair<fs::path, const typename Places::value_type*>> found;
    std::vector<fs::path> seen;
    for (const auto& place : places) {
        const fs::path path = folder(place);
        if (!isFolder(path)) continue;
        const fs::path id = resolvedPath(path);
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) continue;
        seen.push_back(id);
        found.emplace_back(path, &place);
    }
    return found;
}

// A launcher's file; the machine's reader passes over a pipe or a device in
// its place, which would block the read.
std::optional<std::string> readConfig(const fs::path& file, const FileReader& read) {
    ReadResult text = read(file, kMaxConfigBytes);
    if (!text) return std::nullopt;
    return std::move(*text);
}

// The files of a folder whose names end in extension, in name order.
std::vector<fs::path> filesEndingIn(const fs::path& folder, std::string_view extension) {
    std::vector<fs::path> files;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (pathToUtf8(it->path().filename()).ends_with(extension) && isFile(it->path())) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<fs::path> subfolders(const fs::path& folder) {
    std::vector<fs::path> folders;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (isFolder(it->path())) folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

// A launcher may name the folder above the prefix, as Proton keeps it
// (<folder>/pfx): then the prefix is the pfx folder.
fs::path prefixRoot(const fs::path& folder) {
    if (!isFile(folder / "system.reg") && isFolder(folder / "pfx")) return folder / "pfx";
    return folder;
}

// The prefix a game's executable lies in, as Lutris finds it for a game
// config without one: the nearest folder above it that holds drive_c and a
// registry file.
std::optional<fs::path> prefixAbove(const fs::path& exe) {
    for (fs::path folder = exe.parent_path(); folder.has_relative_path();
         folder = folder.parent_path()) {
        if (isFolder(folder / "drive_c") && isFile(folder / "system.reg")) return folder;
    }
    return std::nullopt;
}

class Candidates {
public:
    // A folder reached again adds nothing new, but what a launcher knows
    // about it (how it starts games there) is kept where only plain Wine was
    // known, the games of one launcher gather, and every other launcher that
    // names it is kept beside the first.
    void add(PrefixCandidate candidate) {
        const fs::path id = resolvedPath(candidate.prefix.root);
        const auto known = std::find(ids_.begin(), ids_.end(), id);
        if (known == ids_.end()) {
            ids_.push_back(id);
            list_.push_back(std::move(candidate));
            return;
        }
        WinePrefix& earlier = list_[static_cast<std::size_t>(known - ids_.begin())].prefix;
        WinePrefix& later = candidate.prefix;
        if (later.owner == PrefixOwner::Wine) return;
        if (earlier.owner == PrefixOwner::Wine) {
            later.root = std::move(earlier.root);
            earlier = std::move(later);
            return;
        }
        const auto sameLauncher = [&](const WinePrefix& known) {
            return known.owner == later.owner && known.install == later.install;
        };
        WinePrefix* into = sameLauncher(earlier) ? &earlier : nullptr;
        for (WinePrefix& other : earlier.others) {
            if (into == nullptr && sameLauncher(other)) into = &other;
        }
        if (into == nullptr) {
            later.root = earlier.root;
            earlier.others.push_back(std::move(later));
            return;
        }
        for (LauncherGame& game : later.games) {
            if (std::find(into->games.begin(), into->games.end(), game) == into->games.end()) {
                into->games.push_back(std::move(game));
            }
        }
    }
    bool contains(const fs::path& folder) const {
        return std::find(ids_.begin(), ids_.end(), resolvedPath(folder)) != ids_.end();
    }
    std::vector<PrefixCandidate> take() { return std::move(list_); }

private:
    std::vector<PrefixCandidate> list_;
    std::vector<fs::path> ids_;
};

struct SteamLibrary {
    fs::path folder;
    LauncherInstall install;
};

// The Steam a root belongs to, by where the root really is.
LauncherInstall installOf(const fs::path& root, const fs::path& home) {
    const fs::path real = resolvedPath(root);
    if (isWithin(real, resolvedPath(home / kFlatpakSteam))) return kFlatpak;
    if (isWithin(real, resolvedPath(home / kSnapSteam))) return kSnap;
    return kNative;
}

// steamapps, or SteamApps as older Steam spelt it, each once.
std::vector<fs::path> steamappsFolders(const fs::path& library) {
    std::vector<fs::path> folders;
    for (const char* name : {"steamapps", "SteamApps"}) {
        const fs::path folder = library / name;
        if (!isFolder(folder)) continue;
        if (std::none_of(folders.begin(), folders.end(), [&](const fs::path& known) {
                return resolvedPath(known) == resolvedPath(folder);
            })) {
            folders.push_back(folder);
        }
    }
    return folders;
}

// Every Steam library, once for each Steam whose root lists it: the root
// itself, then the libraries of its libraryfolders.vdf and of its config.vdf
// (where libraries added before the first lived). A library renamed since
// only in letter case is found as Steam itself would find it.
std::vector<SteamLibrary> steamLibraries(const Roots& roots, const FileReader& read) {
    std::vector<SteamLibrary> libraries;
    std::vector<std::pair<fs::path, LauncherInstall>> seen;
    const auto add = [&](const fs::path& listed, LauncherInstall install) {
        const fs::path folder = resolveCase(listed);
        if (!isFolder(folder)) return;
        const std::pair<fs::path, LauncherInstall> id{resolvedPath(folder), install};
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) return;
        seen.push_back(id);
        libraries.push_back({folder, install});
    };
    const auto addListed = [&](const std::vector<std::string>& listed, LauncherInstall install) {
        for (const std::string& text : listed) {
            const fs::path library = pathFromUtf8(text);
            if (library.is_absolute()) add(library, install);
        }
    };
    for (const auto& [root, place] : existing(kSteamRoots, roots)) {
        const LauncherInstall install = installOf(root, roots.home());
        add(root, install);
        for (const fs::path& steamapps : steamappsFolders(root)) {
            if (const auto vdf = readConfig(steamapps / "libraryfolders.vdf", read)) {
                addListed(parseLibraryFolders(*vdf), install);
            }
        }
        if (const auto vdf = readConfig(root / "config/config.vdf", read)) {
            addListed(parseConfigLibraryFolders(*vdf), install);
        }
    }
    return libraries;
}

// The Proton prefixes of one library, app ids in numeric order.
void addProtonPrefixes(const SteamLibrary& library, Candidates& candidates) {
    std::vector<std::pair<std::string, fs::path>> found;
    for (const fs::path& steamapps : steamappsFolders(library.folder)) {
        for (const fs::path& game : subfolders(steamapps / "compatdata")) {
            const std::string id = pathToUtf8(game.filename());
            if (isNumber(id) && isFolder(game / "pfx")) found.emplace_back(id, game / "pfx");
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::make_tuple(a.first.size(), a.first, a.second) <
               std::make_tuple(b.first.size(), b.first, b.second);
    });
    for (auto& [id, pfx] : found) {
        WinePrefix prefix{pfx, id, PrefixOwner::Steam, library.install, {}};
        candidates.add({std::move(prefix), "Steam library " + pathToUtf8(library.folder)});
    }
}

void addLutrisPrefixes(const Roots& roots, const FileReader& read, Candidates& candidates) {
    std::map<fs::path, std::vector<LutrisEntry>> databases;
    for (const auto& [games, place] :
         existing(kLutrisPlaces, [&](const LutrisPlace& p) { return roots(p.games); })) {
        const fs::path database = roots(place->data) / "pga.db";
        auto known = databases.find(database);
        if (known == databases.end()) {
            known = databases.emplace(database, readLutrisGames(database)).first;
        }
        for (const fs::path& file : filesEndingIn(games, ".yml")) {
            const auto text = readConfig(file, read);
            const auto game = text ? parseLutrisGame(*text) : std::nullopt;
            if (!game) continue;
            const std::string name = pathToUtf8(file.stem());
            const auto entry =
                std::find_if(known->second.begin(), known->second.end(),
                             [&](const LutrisEntry& e) { return e.configPath == name; });
            LauncherGame launched{{}, game->slug, {}, {}, holdsNoIntro(game->arguments), {}};
            fs::path folder;
            if (entry != known->second.end()) {
                launched.id = entry->id;
                if (!entry->slug.empty()) launched.slug = entry->slug;
                folder = roots.configPath(entry->directory).value_or(fs::path());
            }
            // A relative executable lies in the game's folder.
            std::optional<fs::path> exe = roots.configPath(game->exe);
            if (!exe && !game->exe.empty() && !folder.empty())
                exe = folder / pathFromUtf8(game->exe);
            // Written in another letter case, it is the file Wine (and Lutris,
            // which corrects the case when it runs it) opens.
            if (exe) exe = resolveCase(*exe);
            // The executable's own folder tells the game apart from others that
            // Lutris installed in the same prefix; the game's folder often is
            // the prefix itself.
            launched.folder = exe ? exe->parent_path() : folder;

            auto prefix = roots.configPath(game->prefix);
            if (game->prefix.empty() && exe) prefix = prefixAbove(*exe);
            if (!prefix || !isFolder(*prefix)) continue;
            WinePrefix found{prefixRoot(*prefix), {}, PrefixOwner::Lutris, place->data.install, {}};
            found.games.push_back(std::move(launched));
            candidates.add({std::move(found), "Lutris config " + pathToUtf8(file)});
        }
    }
}

// A game as Heroic knows it, gathered from its store files and GamesConfig.
struct HeroicEntry {
    HeroicInstalled installed;
    std::optional<HeroicStore> store;
    std::string winePrefix;
    std::string arguments;
};

std::vector<HeroicEntry> heroicGames(const fs::path& config, const FileReader& read) {
    std::vector<HeroicEntry> games;
    const auto entry = [&](const std::string& appName) -> HeroicEntry& {
        for (HeroicEntry& game : games) {
            if (game.installed.appName == appName) return game;
        }
        games.push_back({{appName, {}, {}}, {}, {}, {}});
        return games.back();
    };
    for (const HeroicStoreFile& file : kHeroicStores) {
        const auto text = readConfig(config / pathFromUtf8(file.installed), read);
        if (!text) continue;
        for (HeroicInstalled& installed : parseHeroicInstalled(file.store, *text)) {
            HeroicEntry& game = entry(installed.appName);
            game.installed = std::move(installed);
            game.store = file.store;
        }
        if (file.titles.empty()) continue;
        if (const auto titles = readConfig(config / pathFromUtf8(file.titles), read)) {
            for (auto& [appName, title] : parseHeroicTitles(*titles)) {
                for (HeroicEntry& game : games) {
                    if (game.installed.appName == appName && game.installed.title.empty()) {
                        game.installed.title = title;
                    }
                }
            }
        }
    }
    for (const fs::path& file : filesEndingIn(config / "GamesConfig", ".json")) {
        const auto text = readConfig(file, read);
        if (!text) continue;
        for (HeroicGameConfig& settings : parseHeroicGamesConfig(*text)) {
            HeroicEntry& game = entry(settings.appName);
            game.winePrefix = std::move(settings.winePrefix);
            game.arguments = std::move(settings.arguments);
        }
    }
    return games;
}

void addHeroicPrefixes(const Roots& roots, const FileReader& read, Candidates& candidates) {
    for (const auto& [config, place] : existing(kHeroicPlaces, roots)) {
        const auto settings = readConfig(config / "config.json", read);
        const HeroicDefaults defaults =
            settings ? parseHeroicDefaults(*settings) : HeroicDefaults{};
        // The folders that hold a prefix per game: each that config.json names
        // (newer Heroic names two), else Heroic's own.
        std::vector<fs::path> prefixes;
        for (const std::string* named : {&defaults.prefixesDir, &defaults.prefixesFolder}) {
            const auto folder = roots.configPath(*named);
            if (folder && std::find(prefixes.begin(), prefixes.end(), *folder) == prefixes.end()) {
                prefixes.push_back(*folder);
            }
        }
        if (prefixes.empty()) prefixes.push_back(roots.home() / pathFromUtf8(kHeroicPrefixes));
        const auto isPrefixesFolder = [&](const fs::path& folder) {
            return std::any_of(prefixes.begin(), prefixes.end(), [&](const fs::path& known) {
                return resolvedPath(known) == resolvedPath(folder);
            });
        };
        const std::string origin = "Heroic config " + pathToUtf8(config);
        const LauncherInstall install = place->install;
        const auto add = [&](const fs::path& folder, std::vector<LauncherGame> games) {
            // Newer Heroic names the folder of prefixes where older Heroic named
            // the shared prefix: that folder is no prefix.
            if (!isFolder(folder) || isPrefixesFolder(folder)) return;
            WinePrefix prefix{prefixRoot(folder), {}, PrefixOwner::Heroic, install, {}};
            prefix.games = std::move(games);
            candidates.add({std::move(prefix), origin});
        };
        for (const HeroicEntry& game : heroicGames(config, read)) {
            const fs::path installPath =
                roots.configPath(game.installed.installPath).value_or(fs::path());
            LauncherGame launched{
                game.installed.appName,
                {},
                game.store ? std::string(heroicStoreName(*game.store)) : std::string(),
                installPath,
                holdsNoIntro(game.arguments),
                {}};
            if (const auto own = roots.configPath(game.winePrefix)) {
                add(*own, {launched});
                continue;
            }
            // No prefix of its own: Heroic's prefix named after the game, or the
            // one older Heroic shared between games.
            const std::string title = !game.installed.title.empty()
                                          ? game.installed.title
                                          : pathToUtf8(installPath.filename());
            if (!title.empty()) {
                for (const fs::path& folder : prefixes) {
                    add(folder / pathFromUtf8(heroicFolderName(title)), {launched});
                }
            }
            if (const auto shared = roots.configPath(defaults.winePrefix)) add(*shared, {launched});
        }
        // Prefixes Heroic made for games it no longer lists.
        for (const fs::path& folder : prefixes) {
            for (const fs::path& prefix : subfolders(folder)) add(prefix, {});
        }
    }
}

// A bottle is a folder holding bottle.yml. A bottle kept outside the bottles
// folder leaves a placeholder.yml there that names it.
void addBottle(const fs::path& folder, const Place& place, const FileReader& read,
               Candidates& candidates) {
    fs::path bottle = folder;
    if (!isFile(bottle / "bottle.yml")) {
        const auto placeholder = readConfig(folder / "placeholder.yml", read);
        const auto path = placeholder ? parseBottlePlaceholder(*placeholder) : std::nullopt;
        if (!path) return;
        bottle = pathFromUtf8(*path);
        if (!bottle.is_absolute() || !isFile(bottle / "bottle.yml")) return;
    }
    const auto text = readConfig(bottle / "bottle.yml", read);
    const auto name = text ? parseBottleName(*text) : std::nullopt;
    WinePrefix prefix{bottle, {}, PrefixOwner::Bottles, place.install, {}};
    prefix.games.push_back(
        {name.value_or(pathToUtf8(bottle.filename())), {}, {}, bottle, false, {}});
    candidates.add({std::move(prefix), "Bottles bottle " + pathToUtf8(bottle)});
}

// The games Bottles runs through umu, each in a prefix of its own: one under
// Bottles' umu folder (managed), or one the player chose.
void addBottlesUmuGames(const fs::path& data, const Place& place, const FileReader& read,
                        Candidates& candidates) {
    const fs::path umu = data / "umu";
    for (const fs::path& folder : subfolders(umu / "games")) {
        const auto text = readConfig(folder / "game.yml", read);
        const auto game = text ? parseBottlesUmuGame(*text) : std::nullopt;
        if (!game) continue;
        fs::path prefix = pathFromUtf8(game->prefix);
        if (game->managed) {
            // A managed prefix stays inside the umu folder.
            const fs::path inside = prefix.lexically_normal();
            if (prefix.is_absolute() || inside.empty() || *inside.begin() == "..") continue;
            prefix = umu / inside;
        } else if (!prefix.is_absolute()) {
            continue;
        }
        if (!isFolder(prefix)) continue;
        const fs::path exe = resolveCase(pathFromUtf8(game->executable));
        WinePrefix found{prefixRoot(prefix), {}, PrefixOwner::Umu, place.install, {}};
        found.games.push_back(
            {game->gameId, {}, game->store, exe.parent_path(), game->noIntro, game->proton});
        candidates.add({std::move(found), "Bottles umu game " + pathToUtf8(folder)});
    }
}

void addBottles(const Roots& roots, const FileReader& read, Candidates& candidates) {
    for (const auto& [data, place] : existing(kBottlesPlaces, roots)) {
        addBottlesUmuGames(data, *place, read, candidates);
        std::vector<fs::path> folders = {data / "bottles"};
        const auto settings = readConfig(data / "data.yml", read);
        const auto custom = settings ? parseBottlesCustomPath(*settings) : std::nullopt;
        if (const auto path = custom ? roots.configPath(*custom) : std::nullopt) {
            folders.push_back(*path);
        }
        for (const fs::path& folder : folders) {
            for (const fs::path& bottle : subfolders(folder)) {
                addBottle(bottle, *place, read, candidates);
            }
        }
    }
}

void addUmuPrefixes(const Roots& roots, Candidates& candidates) {
    for (const fs::path& folder : subfolders(roots.home() / pathFromUtf8(kUmuPrefixes))) {
        WinePrefix prefix{prefixRoot(folder), {}, PrefixOwner::Umu, kNative, {}};
        prefix.games.push_back({pathToUtf8(folder.filename()), {}, {}, {}, false, {}});
        candidates.add({std::move(prefix), "umu prefix"});
    }
}

// Every prefix found under home, in the order they are tried.
std::vector<PrefixCandidate> foundPrefixes(const PrefixSearch& search, const FileReader& read) {
    const Roots roots(search);
    Candidates candidates;
    if (isFolder(roots.home() / ".wine")) candidates.add({{roots.home() / ".wine"}, "~/.wine"});
    for (const SteamLibrary& library : steamLibraries(roots, read)) {
        addProtonPrefixes(library, candidates);
    }
    addLutrisPrefixes(roots, read, candidates);
    addHeroicPrefixes(roots, read, candidates);
    addBottles(roots, read, candidates);
    addUmuPrefixes(roots, candidates);
    return candidates.take();
}

// The prefix the player named, known by the launcher that made it where one
// did: a Proton prefix is started through its Steam, a Lutris one by Lutris.
PrefixCandidate namedPrefix(const fs::path& folder, std::string origin, const PrefixSearch& search,
                            const FileReader& read) {
    PrefixCandidate named{{prefixRoot(folder)}, std::move(origin)};
    const fs::path id = resolvedPath(named.prefix.root);
    if (search.home) {
        for (PrefixCandidate& found : foundPrefixes(search, read)) {
            if (resolvedPath(found.prefix.root) == id) {
                named.prefix = std::move(found.prefix);
                named.prefix.root = prefixRoot(folder);
                return named;
            }
        }
    }
    // steamapps/compatdata/<app id>/pfx of a Steam not found here.
    const fs::path& root = named.prefix.root;
    const fs::path game = root.parent_path();
    const std::string appId = pathToUtf8(game.filename());
    if (root.filename() == "pfx" && game.parent_path().filename() == "compatdata" &&
        isNumber(appId)) {
        named.prefix.owner = PrefixOwner::Steam;
        named.prefix.steamAppId = appId;
    }
    return named;
}

class Examiner {
public:
    Examiner(const PrefixSearch& search, const FileReader& read) : search_(search), read_(read) {
        key_ = foldKeyPath(utf8ToUtf16(search.game.machineKey));
        constexpr std::u16string_view kSoftware = u"SOFTWARE\\";
        if (key_.starts_with(kSoftware)) {
            key32_ = std::u16string(kSoftware) + u"WOW6432NODE\\" + key_.substr(kSoftware.size());
        }
    }

    bool holdsKey(const fs::path& prefix) const {
        if (key_.empty()) return false;
        const ReadResult system = read_(prefix / "system.reg", kMaxRegistryFileBytes);
        if (!system) return false;
        const std::u16string_view keys[] = {key_, key32_};
        return holdsAnyKey(*system, std::span(keys).first(key32_.empty() ? 1 : 2));
    }

    // Whether the program the game's key names is in the prefix: a game
    // deleted from a prefix leaves its key behind.
    bool holdsProgram(const fs::path& prefix) const {
        if (search_.game.programValue.empty()) return false;
        const ReadResult system = read_(prefix / "system.reg", kMaxRegistryFileBytes);
        if (!system) return false;
        const RegistryHive hive = parseRegistryFile(*system);
        const std::u16string value = utf8ToUtf16(search_.game.programValue);
        for (const std::u16string& key : {key_, key32_}) {
            if (key.empty()) continue;
            const auto program = hive.stringValue(key, value);
            if (program && !program->empty() &&
                isFile(mapWindowsPath(prefix, utf16ToUtf8(*program)))) {
                return true;
            }
        }
        return false;
    }

    // Whether the prefix's Documents folder holds the settings folder, and when
    // the prefix was last used.
    std::pair<bool, fs::file_time_type> settingsAndLastUse(const fs::path& prefix) const {
        fs::file_time_type newest = fs::file_time_type::min();
        const auto consider = [&](const fs::path& file) {
            std::error_code error;
            const auto time = fs::last_write_time(file, error);
            if (!error && time > newest) newest = time;
        };
        consider(prefix / "system.reg");
        consider(prefix / "user.reg");
        if (prefix.filename() == "pfx") consider(prefix.parent_path() / "pfx.lock");

        const ReadResult user = read_(prefix / "user.reg", kMaxRegistryFileBytes);
        const RegistryHive hive = user ? parseRegistryFile(*user) : RegistryHive{};
        const auto documents = findDocumentsFolder(prefix, hive, search_.login);
        if (!documents) return {false, newest};
        for (const std::string& name : search_.game.settingsFolders) {
            const fs::path folder = resolveCase(*documents / pathFromUtf8(name));
            if (!isFolder(folder)) continue;
            for (const std::string& file : search_.game.settingsFiles) {
                consider(resolveCase(folder / pathFromUtf8(file)));
            }
            return {true, newest};
        }
        return {false, newest};
    }

private:
    const PrefixSearch& search_;
    const FileReader& read_;
    std::u16string key_;
    std::u16string key32_;
};

struct Evidence {
    bool holdsKey = false;
    bool holdsProgram = false;  // looked at only where several prefixes hold the key
    bool hasSettings = false;
    fs::file_time_type lastUsed = fs::file_time_type::min();

    auto rank() const { return std::make_tuple(holdsKey, holdsProgram, hasSettings, lastUsed); }
};

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::vector<std::string> placesLookedIn(const PrefixSearch& search) {
    std::vector<std::string> places;
    if (!search.home) return places;
    const Roots roots(search);
    const auto add = [&](const fs::path& path) {
        std::string text = pathToUtf8(path.lexically_normal());
        if (std::find(places.begin(), places.end(), text) == places.end()) places.push_back(text);
    };
    add(roots.home() / ".wine");
    for (const Place& root : kSteamRoots) add(roots(root) / "steamapps/compatdata");
    for (const LutrisPlace& place : kLutrisPlaces) add(roots(place.games));
    for (const Place& place : kHeroicPlaces) add(roots(place) / "GamesConfig");
    add(roots.home() / pathFromUtf8(kHeroicPrefixes));
    for (const Place& place : kBottlesPlaces) add(roots(place) / "bottles");
    add(roots.home() / pathFromUtf8(kUmuPrefixes));
    return places;
}

}  // namespace

std::vector<PrefixCandidate> candidatePrefixes(const PrefixSearch& search, const FileReader& read) {
    if (search.chosenPrefix) return {namedPrefix(*search.chosenPrefix, "--prefix", search, read)};
    if (search.winePrefix) return {namedPrefix(*search.winePrefix, "$WINEPREFIX", search, read)};
    if (!search.home) return {};
    return foundPrefixes(search, read);
}

namespace {

// The candidate the game is played from, among those found.
PrefixChoice chooseFound(std::vector<PrefixCandidate> candidates, const PrefixSearch& search,
                         const Examiner& examiner) {
    PrefixChoice choice;
    for (const PrefixCandidate& candidate : candidates) {
        choice.searched.push_back(pathToUtf8(candidate.prefix.root));
    }
    if (candidates.empty()) choice.searched = placesLookedIn(search);

    // Only the prefixes that hold the key are looked at further; where none
    // does, a settings folder alone still shows where the game is played.
    std::vector<Evidence> evidence(candidates.size());
    bool anyKey = false;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        evidence[i].holdsKey = examiner.holdsKey(candidates[i].prefix.root);
        anyKey = anyKey || evidence[i].holdsKey;
    }
    const auto keyHolders = static_cast<std::size_t>(std::count_if(
        evidence.begin(), evidence.end(), [](const Evidence& e) { return e.holdsKey; }));
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (anyKey && !evidence[i].holdsKey) continue;
        std::tie(evidence[i].hasSettings, evidence[i].lastUsed) =
            examiner.settingsAndLastUse(candidates[i].prefix.root);
        if (keyHolders > 1)
            evidence[i].holdsProgram = examiner.holdsProgram(candidates[i].prefix.root);
    }
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (!evidence[i].holdsKey && !evidence[i].hasSettings) continue;
        if (!best || evidence[i].rank() > evidence[*best].rank()) best = i;
    }
    if (!best) {
        choice.reason = candidates.empty()
                            ? "no Wine prefix was found"
                            : "none of the " + count(candidates.size(), "prefix", "prefixes") +
                                  " searched holds the game's registry key or its settings folder";
        return choice;
    }

    const Evidence& chosen = evidence[*best];
    // Among the prefixes with the key, those that lost the game's program.
    const auto programLost = static_cast<std::size_t>(
        std::count_if(evidence.begin(), evidence.end(),
                      [](const Evidence& e) { return e.holdsKey && !e.holdsProgram; }));
    const bool programDecides = chosen.holdsProgram && programLost > 0;
    const auto peers = static_cast<std::size_t>(
        std::count_if(evidence.begin(), evidence.end(), [&](const Evidence& e) {
            return e.holdsKey == chosen.holdsKey && e.hasSettings == chosen.hasSettings &&
                   (!programDecides || e.holdsProgram);
        }));
    if (chosen.holdsKey) {
        const std::size_t holders = keyHolders;
        choice.reason = chosen.hasSettings
                            ? "it holds the game's registry key and its settings folder"
                            : "it holds the game's registry key";
        if (programDecides) {
            choice.reason += "; the program its key names is gone from " +
                             (programLost == holders - 1
                                  ? "the other " + count(programLost, "prefix", "prefixes")
                                  : count(programLost, "other prefix", "other prefixes")) +
                             " with the key";
        } else if (holders == 1) {
            if (candidates.size() > 1) {
                choice.reason += "; no other of the " +
                                 count(candidates.size(), "prefix", "prefixes") +
                                 " searched holds the key";
            }
        } else if (chosen.hasSettings && peers == 1) {
            choice.reason += "; the other " + count(holders - 1, "prefix", "prefixes") +
                             " with the key " + (holders == 2 ? "has" : "have") +
                             " no settings folder";
        }
    } else {
        choice.reason =
            "no prefix holds the game's registry key, and this one holds its settings folder";
    }
    if (peers > 1) {
        choice.reason += "; of the " + std::to_string(peers) + " that do, it was used last";
    }
    choice.chosen = std::move(candidates[*best]);
    return choice;
}

}  // namespace

std::optional<SteamGame> findSteamGame(const PrefixSearch& search, const FileReader& read,
                                       std::string_view appId) {
    if (!search.home) return std::nullopt;
    const Roots roots(search);
    std::optional<SteamGame> found;
    const auto named = [&](const SteamAppManifest& manifest) {
        if (!appId.empty()) return manifest.appId == appId;
        return std::any_of(
            search.game.names.begin(), search.game.names.end(), [&](const std::string& name) {
                return sameLetters(manifest.name, name) || sameLetters(manifest.installDir, name);
            });
    };
    for (const SteamLibrary& library : steamLibraries(roots, read)) {
        for (const fs::path& steamapps : steamappsFolders(library.folder)) {
            for (const fs::path& file : filesEndingIn(steamapps, ".acf")) {
                if (!pathToUtf8(file.filename()).starts_with("appmanifest_")) continue;
                const auto text = readConfig(file, read);
                const auto manifest = text ? parseAppManifest(*text) : std::nullopt;
                if (!manifest || !named(*manifest)) continue;
                const fs::path folder =
                    resolveCase(steamapps / "common" / pathFromUtf8(manifest->installDir));
                if (!isFolder(folder)) continue;
                WinePrefix steam{steamapps / "compatdata" / pathFromUtf8(manifest->appId) / "pfx",
                                 manifest->appId,
                                 PrefixOwner::Steam,
                                 library.install,
                                 {}};
                if (!found) {
                    found = SteamGame{std::move(steam), folder};
                } else if (resolvedPath(found->folder) == resolvedPath(folder) &&
                           found->steam.install != steam.install) {
                    found->steam.others.push_back(std::move(steam));
                }
            }
        }
    }
    return found;
}

PrefixChoice choosePrefix(const PrefixSearch& search, const FileReader& read) {
    const Examiner examiner(search, read);
    if (!search.chosenPrefix && !search.winePrefix) {
        return chooseFound(candidatePrefixes(search, read), search, examiner);
    }
    PrefixChoice choice;
    PrefixCandidate named = candidatePrefixes(search, read).front();
    const fs::path& root = named.prefix.root;
    choice.searched = {pathToUtf8(root)};
    const bool exists = isFolder(root);
    const bool holdsKey = exists && examiner.holdsKey(root);
    choice.reason = search.chosenPrefix ? "given with --prefix" : "named by $WINEPREFIX";
    if (!exists) {
        choice.reason += "; there is no such folder";
    } else if (!holdsKey) {
        choice.reason += "; it does not hold the game's registry key";
    }
    // A $WINEPREFIX left over in the environment for another game does not
    // hide the game's own prefix: one that holds neither the key nor the
    // settings folder gives way to the prefix the usual places show.
    if (!search.chosenPrefix && !holdsKey && !(exists && examiner.settingsAndLastUse(root).first)) {
        PrefixSearch usual = search;
        usual.winePrefix.reset();
        PrefixChoice found = chooseFound(candidatePrefixes(usual, read), usual, examiner);
        if (exists) {
            choice.reason =
                "named by $WINEPREFIX; it holds neither the game's registry key nor its settings "
                "folder";
        }
        if (found.chosen) {
            found.reason +=
                "; $WINEPREFIX names " + pathToUtf8(root) + ", which " +
                (exists ? "holds neither the game's registry key nor its settings folder"
                        : "does not exist") +
                ", so it was passed over";
            found.searched.insert(found.searched.begin(), pathToUtf8(root));
            return found;
        }
        choice.reason += "; " + found.reason;
    }
    choice.chosen = std::move(named);
    return choice;
}

}  // namespace quorvik::platform::wine
