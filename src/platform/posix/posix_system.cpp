#include "platform/posix/posix_system.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>

#include "platform/paths.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_process.h"
#include "platform/wine/wine_paths.h"
#include "platform/wine/wine_registry.h"

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

// Wine opens a name without regard to case where the exact spelling is missing.
fs::path onDisk(const fs::path& path) {
    return wine::resolveCase(path);
}

}  // namespace

wine::PrefixSearch processPrefixSearch(wine::GameSignature game,
                                       std::optional<fs::path> chosenPrefix) {
    wine::PrefixSearch search;
    const auto absolute = [](const fs::path& path) {
        std::error_code error;
        const fs::path full = fs::absolute(path, error);
        return error ? path : full;
    };
    if (chosenPrefix) search.chosenPrefix = absolute(*chosenPrefix);
    if (const auto prefix = variable("WINEPREFIX")) search.winePrefix = absolute(*prefix);
    if (const auto home = variable("HOME")) {
        search.home = fs::path(*home);
    } else if (const auto accountHome = accountField(true)) {
        search.home = fs::path(*accountHome);
    }
    // A relative XDG folder is to be ignored, as the launchers ignore it.
    const auto xdgFolder = [](const char* name) -> std::optional<fs::path> {
        const auto value = variable(name);
        if (!value || !fs::path(*value).is_absolute()) return std::nullopt;
        return fs::path(*value);
    };
    search.dataHome = xdgFolder("XDG_DATA_HOME");
    search.configHome = xdgFolder("XDG_CONFIG_HOME");
    search.login = accountField(false).value_or(std::string());
    search.game = std::move(game);
    return search;
}

namespace {

// What finding the prefix gives: the choice and the prefix's registry.
struct Found {
    wine::PrefixSearch search;
    wine::PrefixChoice choice;
    std::unique_ptr<wine::WineRegistry> registry;
};

Found findPrefix(wine::PrefixSearch search) {
    Found found{std::move(search), {}, nullptr};
    found.choice = wine::choosePrefix(found.search, posix::readFile);
    if (found.choice.chosen) {
        found.registry =
            std::make_unique<wine::WineRegistry>(found.choice.chosen->prefix.root, posix::readFile);
    }
    return found;
}

}  // namespace

// When the finding started by prepare() may begin: a moment after, so that
// start-up's question is on screen first (its time and memory as before), or
// at once when the answer comes sooner.
struct StartSignal {
    std::mutex mutex;
    std::condition_variable changed;
    bool now = false;

    void waitAtMost(std::chrono::milliseconds delay) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, delay, [this] { return now; });
    }
    void start() {
        {
            const std::lock_guard lock(mutex);
            now = true;
        }
        changed.notify_all();
    }
};

struct PosixSystem::State {
    std::optional<wine::PrefixSearch> search;
    // Started by prepare(): the same finding, on a thread of its own.
    std::future<Found> finding;
    std::shared_ptr<StartSignal> startFinding;
    std::ostream* report = nullptr;
    std::string program = "Quorvik";
    bool chosen = false;
    std::optional<WinePrefix> prefix;
    std::vector<std::string> searched;
    std::unique_ptr<wine::WineRegistry> registry;
    NoRegistry none;
};

PosixSystem::PosixSystem() : state_(std::make_unique<State>()) {}
PosixSystem::PosixSystem(wine::PrefixSearch search, std::ostream* report,
                         std::string_view program)
    : state_(std::make_unique<State>()) {
    state_->search = std::move(search);
    state_->report = report;
    state_->program = program;
}
PosixSystem::~PosixSystem() = default;

PosixSystem::State& PosixSystem::chosen() {
    State& state = *state_;
    if (state.chosen) return state;
    state.chosen = true;
    if (!state.search && !state.finding.valid()) state.search = processPrefixSearch({});
    if (state.startFinding) state.startFinding->start();
    Found found = state.finding.valid() ? state.finding.get() : findPrefix(*state.search);
    state.search = std::move(found.search);
    wine::PrefixChoice& choice = found.choice;
    state.searched = std::move(choice.searched);
    if (choice.chosen) {
        state.prefix = std::move(choice.chosen->prefix);
        state.registry = std::move(found.registry);
    }
    if (state.report != nullptr) {
        if (state.prefix) {
            *state.report << state.program << ": the game's prefix is "
                          << pathToUtf8(state.prefix->root) << " (" << choice.chosen->origin
                          << "): " << choice.reason << "\n";
        } else {
            *state.report << state.program << ": no prefix for the game: " << choice.reason << "\n";
        }
    }
    return state;
}

bool PosixSystem::fileExists(const fs::path& path) {
    return posix::fileExists(onDisk(path));
}
bool PosixSystem::folderExists(const fs::path& path) {
    return posix::folderExists(onDisk(path));
}
bool PosixSystem::isLink(const fs::path& path) {
    return posix::isLink(onDisk(path));
}
ReadResult PosixSystem::readFile(const fs::path& path, std::uintmax_t maxBytes) {
    return posix::readFile(onDisk(path), maxBytes);
}
Expected<StagedFile> PosixSystem::stageFile(const fs::path& path, std::string_view bytes,
                                             WriteOptions options) {
    return posix::stageFile(onDisk(path), bytes, options);
}
Status PosixSystem::commitFile(const StagedFile& staged) { return posix::commitFile(staged); }
void PosixSystem::discardFile(const StagedFile& staged) { posix::discardFile(staged); }
Status PosixSystem::setReadOnly(const fs::path& path, bool readOnly) {
    return posix::setReadOnly(onDisk(path), readOnly);
}
Status PosixSystem::deleteFile(const fs::path& path) {
    return posix::deleteFile(onDisk(path));
}
std::vector<fs::path> PosixSystem::listFolder(const fs::path& folder) {
    return posix::listFolder(onDisk(folder));
}
Status PosixSystem::createFolder(const fs::path& folder) {
    return posix::createFolder(onDisk(folder));
}
Status PosixSystem::removeFolder(const fs::path& folder) {
    return posix::removeFolder(onDisk(folder));
}
Expected<std::unique_ptr<FolderLock>> PosixSystem::tryLock(const fs::path& lockFile) {
    return posix::tryLock(onDisk(lockFile));
}
std::string PosixSystem::localTime() { return posix::localTime(); }
void PosixSystem::pause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

RegistryBackend& PosixSystem::registry() {
    State& state = chosen();
    if (state.registry) return *state.registry;
    return state.none;
}

std::optional<fs::path> PosixSystem::documentsFolder() {
    State& state = chosen();
    if (!state.prefix || !state.registry) return std::nullopt;
    return wine::findDocumentsFolder(state.prefix->root, state.registry->user(),
                                     state.search->login);
}

std::optional<fs::path> PosixSystem::configFolder() {
    // Only an absolute $XDG_CONFIG_HOME counts, as the base directory rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return fs::path(config) / "quorvik";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return std::nullopt;
    return fs::path(home) / ".config" / "quorvik";
}

fs::path PosixSystem::nativePath(std::string_view utf8) {
    if (!wine::isDrivePath(utf8)) return onDisk(pathFromUtf8(utf8));
    State& state = chosen();
    if (!state.prefix) return pathFromUtf8(utf8);
    return wine::mapWindowsPath(state.prefix->root, utf8);
}

void PosixSystem::choosePrefix() {
    chosen();
}

void PosixSystem::prepare() {
    State& state = *state_;
    if (state.chosen || state.finding.valid()) return;
    wine::PrefixSearch search = state.search ? *state.search : processPrefixSearch({});
    // The thread touches nothing of this object: it works on its own copy and
    // hands back what it found, which chosen() takes.
    state.startFinding = std::make_shared<StartSignal>();
    state.finding = std::async(std::launch::async,
                               [search = std::move(search), signal = state.startFinding]() mutable {
                                   signal->waitAtMost(std::chrono::milliseconds(60));
                                   Found found = findPrefix(std::move(search));
                                   if (found.registry) {
                                       found.registry->machine();
                                       found.registry->user();
                                   }
                                   return found;
                               });
}

std::optional<WinePrefix> PosixSystem::winePrefix() {
    return chosen().prefix;
}

std::optional<SteamGame> PosixSystem::steamGame() {
    State& state = chosen();
    if (!state.search) return std::nullopt;
    // The chosen prefix's own app where it is Steam's; else the game by its names.
    const bool proton = state.prefix && state.prefix->owner == PrefixOwner::Steam;
    return wine::findSteamGame(*state.search, posix::readFile,
                               proton ? state.prefix->steamAppId : std::string());
}

std::vector<std::string> PosixSystem::searchedPlaces() {
    return chosen().searched;
}

Status PosixSystem::startProgram(const LaunchRequest& request) {
    return startDetached(request);
}

}  // namespace quorvik::platform::posix
