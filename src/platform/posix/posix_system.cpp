#include "platform/posix/posix_system.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <set>

#include "platform/paths.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_process.h"
#include "platform/text_codec.h"
#include "platform/wine/steam_libraries.h"

namespace quorvik::platform::posix {
namespace {

// No prefix known: every key is missing.
class NoRegistry : public RegistryBackend {
public:
    long openKey(RootKey, const std::string&, RegistryView, KeyHandle&) override {
        return kErrorFileNotFound;
    }
    long queryValue(KeyHandle, const std::string&, std::uint32_t&, unsigned char*,
                    std::uint32_t&) override {
        return kErrorInvalidHandle;
    }
    void closeKey(KeyHandle) override {}
};

// Where Steam keeps itself: native installs, the Debian package, Flatpak.
constexpr std::array<std::string_view, 5> kSteamRoots = {
    ".steam/steam",
    ".local/share/Steam",
    ".steam/debian-installation",
    ".var/app/com.valvesoftware.Steam/.local/share/Steam",
    ".var/app/com.valvesoftware.Steam/data/Steam",
};

constexpr std::u16string_view kGameKey = u"Software\\Grenmark\\QuellMoor";
constexpr std::u16string_view kGameKey32 = u"Software\\Wow6432Node\\Grenmark\\QuellMoor";
constexpr std::u16string_view kShellFolders =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool pathExists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The same folder reached by another spelling or link compares equal.
fs::path identity(const fs::path& path) {
    std::error_code error;
    fs::path resolved = fs::weakly_canonical(path, error);
    return error ? path.lexically_normal() : resolved;
}

fs::path resolved(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    return error ? path : real;
}

// steamapps, or SteamApps as older Steam spelt it.
std::vector<fs::path> steamappsFolders(const fs::path& library) {
    std::vector<fs::path> folders;
    for (const char* name : {"steamapps", "SteamApps"}) {
        const fs::path folder = library / name;
        if (!folderExists(folder)) continue;
        if (std::none_of(folders.begin(), folders.end(), [&](const fs::path& known) {
                return identity(known) == identity(folder);
            })) {
            folders.push_back(folder);
        }
    }
    return folders;
}

// The Proton prefixes of one library, by app id.
std::vector<WinePrefix> protonPrefixes(const fs::path& library) {
    std::vector<WinePrefix> prefixes;
    for (const fs::path& steamapps : steamappsFolders(library)) {
        std::error_code error;
        fs::directory_iterator it(steamapps / "compatdata", error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            const fs::path pfx = it->path() / "pfx";
            if (folderExists(pfx)) prefixes.push_back({pfx, pathToUtf8(it->path().filename())});
        }
    }
    // Numeric app ids in numeric order.
    std::sort(prefixes.begin(), prefixes.end(), [](const WinePrefix& a, const WinePrefix& b) {
        if (a.steamAppId.size() != b.steamAppId.size()) {
            return a.steamAppId.size() < b.steamAppId.size();
        }
        return a.steamAppId < b.steamAppId;
    });
    return prefixes;
}

// Only the keys are read here: most prefixes are not the game's.
bool holdsGameKey(const fs::path& prefix) {
    const ReadResult read = readFile(prefix / "system.reg", wine::kMaxRegistryFileBytes);
    if (!read.status) return false;
    const wine::RegistryHive keys = wine::parseRegistryKeys(read.bytes);
    return keys.hasKey(kGameKey) || keys.hasKey(kGameKey32);
}

// The name of a folder under drive_c/users, if it can be one.
bool usableUserName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// The entry of folder whose name matches name without regard to case, or
// folder/name as written when there is none.
fs::path matchCase(const fs::path& folder, std::string_view name) {
    fs::path exact = folder / pathFromUtf8(name);
    if (pathExists(exact)) return exact;
    const std::u16string wanted = wine::foldKeyPath(utf8ToUtf16(name));
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path entry = it->path().filename();
        if (wine::foldKeyPath(utf8ToUtf16(pathToUtf8(entry))) == wanted) return folder / entry;
    }
    return exact;
}

std::optional<std::string> accountField(bool wantHome) {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    for (int attempt = 0; attempt < 8; ++attempt) {
        struct passwd entry {};
        struct passwd* found = nullptr;
        const int result = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
        if (result == ERANGE) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result != 0 || found == nullptr) return std::nullopt;
        const char* field = wantHome ? found->pw_dir : found->pw_name;
        if (field == nullptr || *field == '\0') return std::nullopt;
        return std::string(field);
    }
    return std::nullopt;
}

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

}  // namespace

WineEnvironment processEnvironment() {
    WineEnvironment environment;
    if (const auto prefix = variable("WINEPREFIX")) {
        std::error_code error;
        const fs::path path = *prefix;
        const fs::path absolute = fs::absolute(path, error);
        environment.winePrefix = error ? path : absolute;
    }
    if (const auto home = variable("HOME")) {
        environment.home = fs::path(*home);
    } else if (const auto accountHome = accountField(true)) {
        environment.home = fs::path(*accountHome);
    }
    environment.login = accountField(false).value_or(std::string());
    return environment;
}

std::vector<fs::path> steamLibraries(const fs::path& home) {
    std::vector<fs::path> libraries;
    std::set<fs::path> seen;
    const auto add = [&](const fs::path& library) {
        if (folderExists(library) && seen.insert(identity(library)).second) {
            libraries.push_back(library);
        }
    };
    for (const std::string_view root : kSteamRoots) {
        const fs::path folder = home / pathFromUtf8(root);
        if (!folderExists(folder)) continue;
        add(folder);
        for (const fs::path& steamapps : steamappsFolders(folder)) {
            const ReadResult read = readFile(steamapps / "libraryfolders.vdf", 4u * 1024u * 1024u);
            if (!read.status) continue;
            for (const std::string& listed : wine::parseLibraryFolders(read.bytes)) {
                const fs::path library = pathFromUtf8(listed);
                if (library.is_absolute()) add(library);
            }
        }
    }
    return libraries;
}

std::vector<WinePrefix> candidatePrefixes(const WineEnvironment& environment) {
    std::vector<WinePrefix> candidates;
    std::vector<fs::path> identities;
    const auto add = [&](WinePrefix prefix) {
        const fs::path id = identity(prefix.root);
        const auto known = std::find(identities.begin(), identities.end(), id);
        if (known == identities.end()) {
            identities.push_back(id);
            candidates.push_back(std::move(prefix));
        } else if (auto& earlier = candidates[static_cast<std::size_t>(known - identities.begin())];
                   earlier.steamAppId.empty()) {
            earlier.steamAppId = prefix.steamAppId;  // $WINEPREFIX set to a Proton prefix
        }
    };
    if (environment.winePrefix) {
        add({*environment.winePrefix, {}});
    } else if (environment.home) {
        add({*environment.home / ".wine", {}});
    }
    if (environment.home) {
        for (const fs::path& library : steamLibraries(*environment.home)) {
            for (WinePrefix& prefix : protonPrefixes(library)) add(std::move(prefix));
        }
    }
    return candidates;
}

std::optional<ChosenPrefix> choosePrefix(const WineEnvironment& environment) {
    const std::vector<WinePrefix> candidates = candidatePrefixes(environment);
    if (candidates.empty()) return std::nullopt;
    const auto chosen = std::find_if(candidates.begin(), candidates.end(),
                                     [](const WinePrefix& c) { return holdsGameKey(c.root); });
    // The first candidate is always $WINEPREFIX or ~/.wine.
    const WinePrefix& prefix = chosen != candidates.end() ? *chosen : candidates.front();
    return ChosenPrefix{prefix, std::make_unique<wine::WineRegistry>(prefix.root, readFile)};
}

std::optional<fs::path> findDocumentsFolder(const fs::path& prefix, const wine::RegistryHive& user,
                                            std::string_view login) {
    if (const auto personal = user.stringValue(kShellFolders, u"Personal")) {
        const std::string text = utf16ToUtf8(*personal);
        if (isDrivePath(text)) {
            const fs::path folder = mapWindowsPath(prefix, text);
            if (folderExists(folder)) return resolved(folder);
        }
    }
    std::vector<std::string_view> users;
    if (usableUserName(login)) users.push_back(login);
    if (login != "steamuser") users.push_back("steamuser");  // Proton's user
    for (const std::string_view name : users) {
        for (const char* documents : {"Documents", "My Documents"}) {
            const fs::path folder = prefix / "drive_c" / "users" / pathFromUtf8(name) / documents;
            if (folderExists(folder)) return resolved(folder);
        }
    }
    return std::nullopt;
}

bool isDrivePath(std::string_view utf8) {
    if (utf8.size() < 2 || utf8[1] != ':') return false;
    const char letter = utf8[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && (utf8.size() == 2 || utf8[2] == '\\' || utf8[2] == '/');
}

fs::path mapWindowsPath(const fs::path& prefix, std::string_view utf8) {
    if (!isDrivePath(utf8)) return pathFromUtf8(utf8);
    const char letter = static_cast<char>(utf8[0] | 0x20);
    fs::path path = prefix / "dosdevices" / std::string{letter, ':'};
    if (letter == 'c' && !folderExists(path)) path = prefix / "drive_c";
    std::string_view rest = utf8.substr(2);
    while (!rest.empty()) {
        const auto stop = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, stop);
        rest = stop == std::string_view::npos ? std::string_view() : rest.substr(stop + 1);
        if (part.empty() || part == ".") continue;
        path = part == ".." ? path / ".." : matchCase(path, part);
    }
    return path;
}

struct PosixSystem::State {
    std::optional<WineEnvironment> environment;
    bool chosen = false;
    std::optional<WinePrefix> prefix;
    std::unique_ptr<wine::WineRegistry> registry;
    NoRegistry none;
};

PosixSystem::PosixSystem() : state_(std::make_unique<State>()) {}
PosixSystem::PosixSystem(WineEnvironment environment) : state_(std::make_unique<State>()) {
    state_->environment = std::move(environment);
}
PosixSystem::~PosixSystem() = default;

PosixSystem::State& PosixSystem::chosen() {
    State& state = *state_;
    if (state.chosen) return state;
    state.chosen = true;
    if (!state.environment) state.environment = processEnvironment();
    if (auto choice = choosePrefix(*state.environment)) {
        state.prefix = std::move(choice->prefix);
        state.registry = std::move(choice->registry);
    }
    return state;
}

bool PosixSystem::fileExists(const fs::path& path) {
    return posix::fileExists(path);
}
bool PosixSystem::folderExists(const fs::path& path) {
    return posix::folderExists(path);
}
ReadResult PosixSystem::readFile(const fs::path& path, std::uintmax_t maxBytes) {
    return posix::readFile(path, maxBytes);
}
Status PosixSystem::writeFile(const fs::path& path, std::string_view bytes) {
    return writeFileAtomic(path, bytes);
}
Status PosixSystem::setReadOnly(const fs::path& path, bool readOnly) {
    return posix::setReadOnly(path, readOnly);
}
Status PosixSystem::deleteFile(const fs::path& path) {
    return posix::deleteFile(path);
}

RegistryBackend& PosixSystem::registry() {
    State& state = chosen();
    if (state.registry) return *state.registry;
    return state.none;
}

std::optional<fs::path> PosixSystem::documentsFolder() {
    State& state = chosen();
    if (!state.prefix || !state.registry) return std::nullopt;
    return findDocumentsFolder(state.prefix->root, state.registry->user(),
                               state.environment->login);
}

fs::path PosixSystem::nativePath(std::string_view utf8) {
    if (!isDrivePath(utf8)) return pathFromUtf8(utf8);
    State& state = chosen();
    if (!state.prefix) return pathFromUtf8(utf8);
    return mapWindowsPath(state.prefix->root, utf8);
}

std::optional<WinePrefix> PosixSystem::winePrefix() {
    return chosen().prefix;
}

Status PosixSystem::startProgram(const LaunchRequest& request) {
    return startDetached(request);
}

}  // namespace quorvik::platform::posix
