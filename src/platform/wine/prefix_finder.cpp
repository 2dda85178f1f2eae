#include "platform/wine/prefix_finder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>

#include "platform/paths.h"
#include "platform/text_codec.h"
#include "platform/wine/launcher_configs.h"
#include "platform/wine/steam_libraries.h"
#include "platform/wine/wine_paths.h"
#include "platform/wine/wine_registry.h"

namespace quorvik::platform::wine {
namespace {

namespace fs = std::filesystem;

// Launcher configs and Steam's library list are small; anything larger is not theirs.
constexpr std::uintmax_t kMaxConfigBytes = 4u * 1024u * 1024u;

// Where Steam keeps itself, under the home folder: native installs (the
// ~/.steam links, the usual folder, Debian's package), Flatpak and Snap.
constexpr std::array<std::string_view, 8> kSteamRoots = {
    ".steam/steam",
    ".steam/root",
    ".local/share/Steam",
    ".steam/debian-installation",
    ".var/app/com.valvesoftware.Steam/.local/share/Steam",
    ".var/app/com.valvesoftware.Steam/data/Steam",
    "snap/steam/common/.local/share/Steam",
    "snap/steam/common/.steam/steam",
};
constexpr std::string_view kFlatpakSteam = ".var/app/com.valvesoftware.Steam";
constexpr std::string_view kSnapSteam = "snap/steam";

// Lutris' game configs and the folder its Wine builds live in: the current
// layout, the older one under ~/.config, and both inside its Flatpak.
struct LutrisPlace {
    std::string_view games;
    std::string_view data;
};
constexpr std::array<LutrisPlace, 4> kLutrisPlaces = {{
    {".local/share/lutris/games", ".local/share/lutris"},
    {".config/lutris/games", ".local/share/lutris"},
    {".var/app/net.lutris.Lutris/data/lutris/games", ".var/app/net.lutris.Lutris/data/lutris"},
    {".var/app/net.lutris.Lutris/config/lutris/games", ".var/app/net.lutris.Lutris/data/lutris"},
}};

constexpr std::array<std::string_view, 2> kHeroicGamesConfigs = {
    ".config/heroic/GamesConfig",
    ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig",
};

// Bottles' data folders; each holds bottles/<name>/ and runners/<name>/.
constexpr std::array<std::string_view, 2> kBottlesPlaces = {
    ".local/share/bottles",
    ".var/app/com.usebottles.bottles/data/bottles",
};

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The same folder reached by another spelling or link compares equal.
fs::path identity(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

bool isWithin(const fs::path& inner, const fs::path& outer) {
    const auto [stop, rest] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return stop == outer.end();
}

bool isNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A path as a launcher's config writes it: absolute, or under "~/".
std::optional<fs::path> configPath(const std::string& text, const fs::path& home) {
    if (text == "~") return home;
    if (text.starts_with("~/")) return home / pathFromUtf8(std::string_view(text).substr(2));
    fs::path path = pathFromUtf8(text);
    if (!path.is_absolute()) return std::nullopt;
    return path;
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

// The wine of a Wine build's folder: the first of its usual places that
// exists, else the first. Proton keeps it in files/ (older ones in dist/).
constexpr std::array<const char*, 2> kWineInBuild = {"bin/wine", "files/bin/wine"};
constexpr std::array<const char*, 2> kWineInProton = {"files/bin/wine", "dist/bin/wine"};

fs::path wineIn(const fs::path& build, const std::array<const char*, 2>& places) {
    for (const char* place : places) {
        if (isFile(build / place)) return build / place;
    }
    return build / places.front();
}

class Candidates {
public:
    // A folder reached again adds nothing, but what a launcher knows about it
    // (how it starts games there) is kept where only plain Wine was known.
    void add(PrefixCandidate candidate) {
        const fs::path id = identity(candidate.prefix.root);
        const auto known = std::find(ids_.begin(), ids_.end(), id);
        if (known == ids_.end()) {
            ids_.push_back(id);
            list_.push_back(std::move(candidate));
            return;
        }
        WinePrefix& earlier = list_[static_cast<std::size_t>(known - ids_.begin())].prefix;
        if (earlier.owner == PrefixOwner::Wine && candidate.prefix.owner != PrefixOwner::Wine) {
            fs::path root = std::move(earlier.root);
            earlier = std::move(candidate.prefix);
            earlier.root = std::move(root);
        }
    }
    std::vector<PrefixCandidate> take() { return std::move(list_); }

private:
    std::vector<PrefixCandidate> list_;
    std::vector<fs::path> ids_;
};

struct SteamLibrary {
    fs::path folder;
    SteamInstall install;
};

// The Steam a root belongs to, by where the root really is.
SteamInstall installOf(const fs::path& root, const fs::path& home) {
    const fs::path real = identity(root);
    if (isWithin(real, identity(home / kFlatpakSteam))) return SteamInstall::Flatpak;
    if (isWithin(real, identity(home / kSnapSteam))) return SteamInstall::Snap;
    return SteamInstall::Native;
}

// steamapps, or SteamApps as older Steam spelt it, each once.
std::vector<fs::path> steamappsFolders(const fs::path& library) {
    std::vector<fs::path> folders;
    for (const char* name : {"steamapps", "SteamApps"}) {
        const fs::path folder = library / name;
        if (!isFolder(folder)) continue;
        if (std::none_of(folders.begin(), folders.end(), [&](const fs::path& known) {
                return identity(known) == identity(folder);
            })) {
            folders.push_back(folder);
        }
    }
    return folders;
}

// Every Steam library under home, each once, with the Steam whose root lists
// it: the root itself, then the libraries of its libraryfolders.vdf.
std::vector<SteamLibrary> steamLibraries(const fs::path& home, const FileReader& read) {
    std::vector<SteamLibrary> libraries;
    std::vector<fs::path> seen;
    const auto add = [&](const fs::path& folder, SteamInstall install) {
        if (!isFolder(folder)) return;
        const fs::path id = identity(folder);
        if (std::find(seen.begin(), seen.end(), id) != seen.end()) return;
        seen.push_back(id);
        libraries.push_back({folder, install});
    };
    for (const std::string_view place : kSteamRoots) {
        const fs::path root = home / pathFromUtf8(place);
        if (!isFolder(root)) continue;
        const SteamInstall install = installOf(root, home);
        add(root, install);
        for (const fs::path& steamapps : steamappsFolders(root)) {
            const ReadResult vdf = read(steamapps / "libraryfolders.vdf", kMaxConfigBytes);
            if (!vdf.status) continue;
            for (const std::string& listed : parseLibraryFolders(vdf.bytes)) {
                const fs::path library = pathFromUtf8(listed);
                if (library.is_absolute()) add(library, install);
            }
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

void addLutrisPrefixes(const fs::path& home, const FileReader& read, Candidates& candidates) {
    for (const LutrisPlace& place : kLutrisPlaces) {
        const fs::path data = home / pathFromUtf8(place.data);
        for (const fs::path& file : filesEndingIn(home / pathFromUtf8(place.games), ".yml")) {
            const ReadResult text = read(file, kMaxConfigBytes);
            const auto game = text.status ? parseLutrisGame(text.bytes) : std::nullopt;
            const auto folder = game ? configPath(game->prefix, home) : std::nullopt;
            if (!folder || !isFolder(*folder)) continue;
            WinePrefix prefix{prefixRoot(*folder), {}, PrefixOwner::Lutris, {}, {}};
            if (!game->customWinePath.empty()) {
                prefix.wineBuild = configPath(game->customWinePath, home).value_or(fs::path());
            } else if (!game->wineVersion.empty() && game->wineVersion != "system") {
                prefix.wineBuild =
                    wineIn(data / "runners/wine" / pathFromUtf8(game->wineVersion), kWineInBuild);
            }
            candidates.add({std::move(prefix), "Lutris config " + pathToUtf8(file)});
        }
    }
}

void addHeroicPrefixes(const fs::path& home, const FileReader& read, Candidates& candidates) {
    for (const std::string_view place : kHeroicGamesConfigs) {
        for (const fs::path& file : filesEndingIn(home / pathFromUtf8(place), ".json")) {
            const ReadResult text = read(file, kMaxConfigBytes);
            if (!text.status) continue;
            for (const HeroicGame& game : parseHeroicGamesConfig(text.bytes)) {
                const auto folder = configPath(game.winePrefix, home);
                if (!folder || !isFolder(*folder)) continue;
                WinePrefix prefix{prefixRoot(*folder), {}, PrefixOwner::Heroic, {}, {}};
                if (const auto bin = configPath(game.wineBin, home)) {
                    // Proton's script is no Wine; its own Wine lies beside it.
                    prefix.wineBuild = game.wineType == "proton"
                                           ? wineIn(bin->parent_path(), kWineInProton)
                                           : *bin;
                }
                candidates.add({std::move(prefix), "Heroic config " + pathToUtf8(file)});
            }
        }
    }
}

void addBottles(const fs::path& home, const FileReader& read, Candidates& candidates) {
    for (const std::string_view place : kBottlesPlaces) {
        const fs::path data = home / pathFromUtf8(place);
        for (const fs::path& bottle : subfolders(data / "bottles")) {
            WinePrefix prefix{bottle, {}, PrefixOwner::Bottles, {}, {}};
            const ReadResult text = read(bottle / "bottle.yml", kMaxConfigBytes);
            const auto runner = text.status ? parseBottleRunner(text.bytes) : std::nullopt;
            if (runner && !runner->starts_with("sys-")) {
                prefix.wineBuild = wineIn(data / "runners" / pathFromUtf8(*runner), kWineInBuild);
            }
            candidates.add({std::move(prefix), "Bottles bottle " + pathToUtf8(bottle)});
        }
    }
}

// Every prefix found under home, in the order they are tried.
std::vector<PrefixCandidate> foundPrefixes(const fs::path& home, const FileReader& read) {
    Candidates candidates;
    if (isFolder(home / ".wine")) candidates.add({{home / ".wine"}, "~/.wine"});
    for (const SteamLibrary& library : steamLibraries(home, read)) {
        addProtonPrefixes(library, candidates);
    }
    addLutrisPrefixes(home, read, candidates);
    addHeroicPrefixes(home, read, candidates);
    addBottles(home, read, candidates);
    return candidates.take();
}

// The prefix the player named, known by the launcher that made it where one
// did: a Proton prefix is started through its Steam, a Lutris one with its Wine.
PrefixCandidate namedPrefix(const fs::path& folder, std::string origin, const PrefixSearch& search,
                            const FileReader& read) {
    PrefixCandidate named{{prefixRoot(folder)}, std::move(origin)};
    const fs::path id = identity(named.prefix.root);
    if (search.home) {
        for (PrefixCandidate& found : foundPrefixes(*search.home, read)) {
            if (identity(found.prefix.root) == id) {
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

// A quick look at a file before it is parsed: the registry writes a key's
// name as it is where the name is plain ASCII.
bool mentions(std::string_view text, std::string_view name) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const auto found = std::search(text.begin(), text.end(), name.begin(), name.end(),
                                   [&](char a, char b) { return lower(a) == lower(b); });
    return found != text.end();
}

bool plainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c >= ' ' && c <= '~' && c != '\\' && c != '"' && c != '[' && c != ']';
    });
}

class Examiner {
public:
    Examiner(const PrefixSearch& search, const FileReader& read) : search_(search), read_(read) {
        key_ = foldKeyPath(utf8ToUtf16(search.game.machineKey));
        constexpr std::u16string_view kSoftware = u"SOFTWARE\\";
        if (key_.starts_with(kSoftware)) {
            key32_ = std::u16string(kSoftware) + u"WOW6432NODE\\" + key_.substr(kSoftware.size());
        }
        const std::string_view machineKey = search.game.machineKey;
        const auto slash = machineKey.find_last_of('\\');
        lastName_ = slash == std::string_view::npos ? machineKey : machineKey.substr(slash + 1);
    }

    bool holdsKey(const fs::path& prefix) const {
        if (key_.empty()) return false;
        const ReadResult system = read_(prefix / "system.reg", kMaxRegistryFileBytes);
        if (!system.status) return false;
        if (plainAscii(lastName_) && !mentions(system.bytes, lastName_)) return false;
        const std::u16string_view keys[] = {key_, key32_};
        return holdsAnyKey(system.bytes, std::span(keys).first(key32_.empty() ? 1 : 2));
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
        const RegistryHive hive = user.status ? parseRegistryFile(user.bytes) : RegistryHive{};
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
    std::string_view lastName_;
};

struct Evidence {
    bool holdsKey = false;
    bool hasSettings = false;
    fs::file_time_type lastUsed = fs::file_time_type::min();

    auto rank() const { return std::make_tuple(holdsKey, hasSettings, lastUsed); }
};

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::vector<std::string> placesLookedIn(const PrefixSearch& search) {
    std::vector<std::string> places;
    if (!search.home) return places;
    const fs::path& home = *search.home;
    places.push_back(pathToUtf8(home / ".wine"));
    for (const std::string_view root : kSteamRoots) {
        places.push_back(pathToUtf8(home / pathFromUtf8(root) / "steamapps/compatdata"));
    }
    for (const LutrisPlace& place : kLutrisPlaces) {
        places.push_back(pathToUtf8(home / pathFromUtf8(place.games)));
    }
    for (const std::string_view place : kHeroicGamesConfigs) {
        places.push_back(pathToUtf8(home / pathFromUtf8(place)));
    }
    for (const std::string_view place : kBottlesPlaces) {
        places.push_back(pathToUtf8(home / pathFromUtf8(place) / "bottles"));
    }
    return places;
}

}  // namespace

std::vector<PrefixCandidate> candidatePrefixes(const PrefixSearch& search, const FileReader& read) {
    if (search.chosenPrefix) return {namedPrefix(*search.chosenPrefix, "--prefix", search, read)};
    if (search.winePrefix) return {namedPrefix(*search.winePrefix, "$WINEPREFIX", search, read)};
    if (!search.home) return {};
    return foundPrefixes(*search.home, read);
}

PrefixChoice choosePrefix(const PrefixSearch& search, const FileReader& read) {
    PrefixChoice choice;
    std::vector<PrefixCandidate> candidates = candidatePrefixes(search, read);
    for (const PrefixCandidate& candidate : candidates) {
        choice.searched.push_back(pathToUtf8(candidate.prefix.root));
    }
    if (candidates.empty()) choice.searched = placesLookedIn(search);

    const Examiner examiner(search, read);
    if (search.chosenPrefix || search.winePrefix) {
        const fs::path& root = candidates.front().prefix.root;
        choice.reason = search.chosenPrefix ? "given with --prefix" : "named by $WINEPREFIX";
        if (!isFolder(root)) {
            choice.reason += "; there is no such folder";
        } else if (!examiner.holdsKey(root)) {
            choice.reason += "; it does not hold the game's registry key";
        }
        choice.chosen = std::move(candidates.front());
        return choice;
    }

    // Only the prefixes that hold the key are looked at further; where none
    // does, a settings folder alone still shows where the game is played.
    std::vector<Evidence> evidence(candidates.size());
    bool anyKey = false;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        evidence[i].holdsKey = examiner.holdsKey(candidates[i].prefix.root);
        anyKey = anyKey || evidence[i].holdsKey;
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (anyKey && !evidence[i].holdsKey) continue;
        std::tie(evidence[i].hasSettings, evidence[i].lastUsed) =
            examiner.settingsAndLastUse(candidates[i].prefix.root);
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
    const auto peers = static_cast<std::size_t>(
        std::count_if(evidence.begin(), evidence.end(), [&](const Evidence& e) {
            return e.holdsKey == chosen.holdsKey && e.hasSettings == chosen.hasSettings;
        }));
    if (chosen.holdsKey) {
        const auto holders = static_cast<std::size_t>(std::count_if(
            evidence.begin(), evidence.end(), [](const Evidence& e) { return e.holdsKey; }));
        choice.reason = chosen.hasSettings
                            ? "it holds the game's registry key and its settings folder"
                            : "it holds the game's registry key";
        if (holders == 1) {
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

}  // namespace quorvik::platform::wine
