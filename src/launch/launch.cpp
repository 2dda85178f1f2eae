#include "launch/launch.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "platform/paths.h"

namespace quorvik::launch {
namespace {

namespace fs = std::filesystem;
using platform::LauncherGame;
using platform::LauncherInstall;
using platform::LaunchRequest;
using platform::PrefixOwner;
using platform::WinePrefix;

constexpr const char* kNoIntro = "-nologos";

// Why a launcher's prefix is never started with the system's Wine.
constexpr const char* kNotSystemWine =
    "Quorvik does not start a launcher's prefix with the system's Wine, which could upgrade the "
    "prefix or miss what the launcher sets up for the game";

// Steam numbers a non-Steam game's shortcut, and its compatdata folder, from 2^31 up.
constexpr std::uint64_t kFirstShortcutId = std::uint64_t{1} << 31;
constexpr std::uint64_t kLastShortcutId = (std::uint64_t{1} << 32) - 1;

// How each launcher is started, natively and as a Flatpak (or Snap): the
// program and the arguments before what it is asked to do.
struct LauncherCommand {
    PrefixOwner owner;
    LauncherInstall install;
    const char* program;
    std::vector<std::string> arguments;
};
const std::vector<LauncherCommand>& launcherCommands() {
    static const std::vector<LauncherCommand> commands = {
        {PrefixOwner::Steam, LauncherInstall::Native, "steam", {}},
        {PrefixOwner::Steam,
         LauncherInstall::Flatpak,
         "flatpak",
         {"run", "com.valvesoftware.Steam"}},
        {PrefixOwner::Steam, LauncherInstall::Snap, "snap", {"run", "steam"}},
        {PrefixOwner::Lutris, LauncherInstall::Native, "lutris", {}},
        {PrefixOwner::Lutris, LauncherInstall::Flatpak, "flatpak", {"run", "net.lutris.Lutris"}},
        {PrefixOwner::Heroic, LauncherInstall::Native, "heroic", {"--no-gui", "--no-sandbox"}},
        {PrefixOwner::Heroic,
         LauncherInstall::Flatpak,
         "flatpak",
         {"run", "com.heroicgameslauncher.hgl", "--no-gui"}},
        {PrefixOwner::Bottles, LauncherInstall::Native, "bottles-cli", {"run"}},
        {PrefixOwner::Bottles,
         LauncherInstall::Flatpak,
         "flatpak",
         {"run", "--command=bottles-cli", "com.usebottles.bottles", "run"}},
        {PrefixOwner::Umu, LauncherInstall::Native, "umu-run", {}},
        // Bottles' Flatpak carries the umu it runs its umu games with.
        {PrefixOwner::Umu,
         LauncherInstall::Flatpak,
         "flatpak",
         {"run", "--command=umu-run", "com.usebottles.bottles"}},
    };
    return commands;
}

const char* ownerName(PrefixOwner owner) {
    switch (owner) {
        case PrefixOwner::Steam:
            return "Steam";
        case PrefixOwner::Lutris:
            return "Lutris";
        case PrefixOwner::Heroic:
            return "Heroic";
        case PrefixOwner::Bottles:
            return "Bottles";
        case PrefixOwner::Umu:
            return "umu";
        case PrefixOwner::Wine:
            break;
    }
    return "Wine";
}

// The launcher's command with these arguments after its own; one not found
// here (a Snap Lutris, say) is started as the native one.
LaunchRequest launcher(const WinePrefix& prefix, std::vector<std::string> arguments) {
    const auto& commands = launcherCommands();
    auto command = std::find_if(commands.begin(), commands.end(), [&](const LauncherCommand& c) {
        return c.owner == prefix.owner && c.install == prefix.install;
    });
    if (command == commands.end()) {
        command = std::find_if(commands.begin(), commands.end(), [&](const LauncherCommand& c) {
            return c.owner == prefix.owner && c.install == LauncherInstall::Native;
        });
    }
    LaunchRequest request;
    request.program = command->program;
    request.arguments = command->arguments;
    // A $WINEPREFIX of ours, perhaps left over for another game, would lead
    // a launcher that honours it to another prefix.
    request.unset = {"WINEPREFIX"};
    request.arguments.insert(request.arguments.end(), arguments.begin(), arguments.end());
    return request;
}

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The launcher's game that is Quell Moor: of those whose folder holds the
// executable, the one whose folder lies deepest. A launcher starts a game by
// its own name for it, so one of its other games in the same prefix must never
// be taken for it.
const LauncherGame* gameOf(const WinePrefix& prefix, const fs::path& exe) {
    const fs::path real = platform::resolvedPath(exe);
    const LauncherGame* best = nullptr;
    std::ptrdiff_t bestDepth = -1;
    for (const LauncherGame& game : prefix.games) {
        if (game.folder.empty()) continue;
        const fs::path folder = platform::resolvedPath(game.folder);
        const auto depth = std::distance(folder.begin(), folder.end());
        if (platform::isWithin(real, folder) && depth > bestDepth) {
            best = &game;
            bestDepth = depth;
        }
    }
    return best;
}

// A link's part with everything but unreserved characters percent-encoded.
std::string linkPart(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            encoded += c;
        } else {
            encoded += {'%', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return encoded;
}

// The game not started, and why: a prefix of a launcher that cannot start it.
platform::Problem notStarted(fs::path prefix, std::string why) {
    return platform::Problem{platform::Problem::Kind::Failed, std::move(prefix), std::move(why)};
}

std::string notListed(const WinePrefix& prefix, const std::string& exe, const char* how) {
    return std::string("The game cannot be started: its prefix ") +
           platform::pathToUtf8(prefix.root) + " belongs to " + ownerName(prefix.owner) +
           ", but none of its games there is Quell Moor (" + exe + "). " + kNotSystemWine +
           ": add the game to " + ownerName(prefix.owner) + " (" + how +
           ") and start it from there.";
}

// Where the player adds -nologos in a launcher that takes no arguments from us.
std::string addNoIntro(const char* launcher, const char* where) {
    return std::string(launcher) +
           " starts Quell Moor with the arguments of its own settings for the game: to skip the "
           "intro videos, add -nologos to " +
           where + ".";
}

platform::Status planSteam(const WinePrefix& prefix, LaunchPlan& plan) {
    // Only Steam knows how to start a game in a Proton prefix; the system's
    // Wine would upgrade the prefix behind Proton's back.
    if (prefix.install == LauncherInstall::Unknown) {
        return notStarted(prefix.root,
                          "The game cannot be started: its prefix " +
                              platform::pathToUtf8(prefix.root) + " belongs to Steam (app " +
                              prefix.steamAppId +
                              "), but no Steam that holds it was found. Starting it with the "
                              "system's Wine could upgrade the prefix behind Proton's back, so "
                              "please start Quell Moor from Steam.");
    }
    const auto id = number(prefix.steamAppId);
    if (id && *id >= kFirstShortcutId && *id <= kLastShortcutId) {
        const std::uint64_t gameId = (*id << 32) | 0x02000000u;
        plan.requests = {launcher(prefix, {"steam://rungameid/" + std::to_string(gameId)})};
        plan.note =
            "Quell Moor is a non-Steam game in Steam, which starts it with its shortcut's "
            "own launch options: to skip the intro videos, add -nologos to the launch "
            "options of the shortcut (Properties in Steam).";
    } else {
        plan.requests = {launcher(prefix, {"-applaunch", prefix.steamAppId, kNoIntro})};
    }
    // Each other Steam that lists the library, should this one be gone.
    for (const WinePrefix& other : prefix.others) {
        LaunchPlan also;
        if (other.owner == PrefixOwner::Steam && planSteam(other, also)) {
            plan.requests.insert(plan.requests.end(), also.requests.begin(), also.requests.end());
        }
    }
    plan.instead = "Start Quell Moor from Steam instead.";
    return platform::Status::success();
}

platform::Status planLutris(const WinePrefix& prefix, const std::string& exePath,
                            const fs::path& exe, LaunchPlan& plan) {
    const LauncherGame* game = gameOf(prefix, exe);
    if (game == nullptr || (game->id.empty() && game->slug.empty())) {
        return notStarted(prefix.root,
                          notListed(prefix, exePath,
                                    ("Add Game, then Add locally installed game: runner Wine, "
                                     "executable " +
                                     platform::pathToUtf8(exe) + ", prefix " +
                                     platform::pathToUtf8(prefix.root) + ", arguments -nologos")
                                        .c_str()));
    }
    const std::string link =
        !game->id.empty() ? "lutris:rungameid/" + game->id : "lutris:rungame/" + game->slug;
    plan.requests = {launcher(prefix, {link})};
    if (!game->noIntro) {
        plan.note = addNoIntro("Lutris", "Arguments in the game's Configure, Game options");
    }
    plan.instead = "Start Quell Moor from Lutris instead.";
    return platform::Status::success();
}

platform::Status planHeroic(const WinePrefix& prefix, const std::string& exePath,
                            const fs::path& exe, LaunchPlan& plan) {
    const LauncherGame* game = gameOf(prefix, exe);
    if (game == nullptr || game->store.empty()) {
        return notStarted(prefix.root,
                          notListed(prefix, exePath,
                                    ("Add Game: executable " + platform::pathToUtf8(exe) +
                                     ", prefix " + platform::pathToUtf8(prefix.root))
                                        .c_str()));
    }
    const std::string link = "heroic://launch/" + linkPart(game->store) + "/" + linkPart(game->id);
    plan.requests = {launcher(prefix, {link})};
    // Heroic's AppImage puts no command on PATH, but registers its links.
    if (prefix.install != LauncherInstall::Flatpak) {
        LaunchRequest open;
        open.program = "xdg-open";
        open.arguments = {link};
        open.unset = {"WINEPREFIX"};
        plan.requests.push_back(std::move(open));
    }
    if (!game->noIntro) {
        plan.note = addNoIntro("Heroic", "Game Arguments in the game's Settings, Other");
    }
    plan.instead = "Start Quell Moor from Heroic instead.";
    return platform::Status::success();
}

// Whether the launcher lists the game in its prefix: Lutris and Heroic by the
// game's folder; Steam's prefix is the game's own, and Bottles and umu start
// any program in theirs.
bool lists(const WinePrefix& prefix, const fs::path& exe) {
    switch (prefix.owner) {
        case PrefixOwner::Lutris: {
            const LauncherGame* game = gameOf(prefix, exe);
            return game != nullptr && (!game->id.empty() || !game->slug.empty());
        }
        case PrefixOwner::Heroic: {
            const LauncherGame* game = gameOf(prefix, exe);
            return game != nullptr && !game->store.empty();
        }
        case PrefixOwner::Wine:
            return false;
        default:
            return true;
    }
}

// The launcher that starts the game in its prefix: of those that name the
// prefix, the first that lists the game; where none does, the first, which
// says what to do.
WinePrefix startingLauncher(const WinePrefix& prefix, const fs::path& exe) {
    if (lists(prefix, exe)) return prefix;
    for (const WinePrefix& other : prefix.others) {
        if (lists(other, exe)) {
            WinePrefix chosen = other;
            chosen.others = prefix.others;
            return chosen;
        }
    }
    return prefix;
}

}  // namespace

platform::Expected<LaunchPlan> planLaunch(platform::System& system, const std::string& exePath) {
    LaunchPlan plan;
    const fs::path exe = system.nativePath(exePath);
    // Launchers start a game in its own folder; some games look for their data there.
    const fs::path folder = exe.parent_path();
    const auto inGameFolder = [&] {
        for (LaunchRequest& request : plan.requests) request.workingFolder = folder;
    };
    if (system.host() == platform::HostKind::Windows) {
        LaunchRequest request;
        request.program = platform::pathFromUtf8(exePath);
        request.commandLine = "\"" + exePath + "\" " + kNoIntro;
        plan.requests = {std::move(request)};
        inGameFolder();
        return plan;
    }
    const auto found = system.winePrefix();
    const std::optional<WinePrefix> prefix =
        found ? std::optional(startingLauncher(*found, exe)) : std::nullopt;
    const PrefixOwner owner = prefix ? prefix->owner : PrefixOwner::Wine;
    platform::Status planned = platform::Status::success();
    switch (owner) {
        case PrefixOwner::Steam:
            planned = planSteam(*prefix, plan);
            break;
        case PrefixOwner::Lutris:
            planned = planLutris(*prefix, exePath, exe, plan);
            break;
        case PrefixOwner::Heroic:
            planned = planHeroic(*prefix, exePath, exe, plan);
            break;
        case PrefixOwner::Bottles: {
            // bottles-cli hands what follows "--" to the game.
            const std::string bottle = prefix->games.empty()
                                           ? platform::pathToUtf8(prefix->root.filename())
                                           : prefix->games.front().id;
            plan.requests = {launcher(
                *prefix, {"-b", bottle, "-e", platform::pathToUtf8(platform::resolvedPath(exe)),
                          "--", kNoIntro})};
            plan.instead = "Start Quell Moor from Bottles instead: Run Executable in the bottle " +
                           bottle + ", with the argument -nologos.";
            break;
        }
        case PrefixOwner::Umu: {
            // umu-run takes the game's path on this machine, not Windows' one.
            LaunchRequest request =
                launcher(*prefix, {platform::pathToUtf8(platform::resolvedPath(exe)), kNoIntro});
            request.environment = {{"WINEPREFIX", platform::pathToUtf8(prefix->root)}};
            if (!prefix->games.empty()) {
                const LauncherGame& game = prefix->games.front();
                request.environment.emplace_back("GAMEID", game.id);
                // A game of Bottles': the Proton and store it runs it with.
                if (!game.proton.empty())
                    request.environment.emplace_back("PROTONPATH", game.proton);
                if (!game.store.empty()) request.environment.emplace_back("STORE", game.store);
            }
            plan.requests = {std::move(request)};
            plan.instead = "Start Quell Moor with umu-run as you set it up for the prefix " +
                           platform::pathToUtf8(prefix->root) + ".";
            break;
        }
        case PrefixOwner::Wine: {
            LaunchRequest request;
            request.program = "wine";
            request.arguments = {exePath, kNoIntro};
            if (prefix) request.environment = {{"WINEPREFIX", platform::pathToUtf8(prefix->root)}};
            plan.requests = {std::move(request)};
            break;
        }
    }
    if (!planned) return planned.problem();
    inGameFolder();
    if (!plan.instead.empty()) plan.instead += std::string(" ") + kNotSystemWine + ".";
    return plan;
}

namespace {

platform::Problem problem(platform::Problem::Kind kind, std::string text) {
    return platform::Problem{kind, {}, std::move(text)};
}

// Runs the plan's first command that starts.
Launched start(platform::System& system, LaunchPlan& plan) {
    using Kind = platform::Problem::Kind;
    std::string tried;
    std::string reasons;  // why each command failed, where one was tried after another
    platform::Status started = platform::Status::failure("nothing to start");
    for (const LaunchRequest& request : plan.requests) {
        started = system.startProgram(request);
        if (started) break;
        tried += (tried.empty() ? "" : " or ") + platform::pathToUtf8(request.program);
        reasons += (reasons.empty() ? "" : "; ") + started.reason();
    }
    if (!started) {
        if (plan.instead.empty()) {
            return problem(Kind::Failed,
                           "The game could not be started (" + tried + "): " + reasons + ".");
        }
        return problem(Kind::Failed, "The game could not be started: the command " + tried +
                                         " could not be run (" + reasons + "). " + plan.instead);
    }
    if (!plan.note.empty()) return std::optional<std::string>(std::move(plan.note));
    return std::optional<std::string>();
}

// A game Steam knows without a registry entry: Steam starts it by its app id,
// in the folder its manifest names.
LaunchPlan steamPlan(const platform::SteamGame& game) {
    LaunchPlan plan;
    (void)planSteam(game.steam, plan);  // a Steam that lists the game is known
    for (LaunchRequest& request : plan.requests) request.workingFolder = game.folder;
    return plan;
}

}  // namespace

Launched launchGame(platform::System& system, const std::optional<std::string>& found) {
    using Kind = platform::Problem::Kind;
    if (!found) {
        if (const auto steam = system.steamGame()) {
            LaunchPlan plan = steamPlan(*steam);
            return start(system, plan);
        }
        return problem(
            Kind::NotFound,
            "The game cannot be started: Quell Moor's registry entry (Exe_Path under "
            "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor) was not found. Is the game "
            "installed?");
    }
    const std::string& gameExePath = *found;
    if (gameExePath.empty()) {
        return problem(Kind::NotFound,
                       "The game cannot be started: its registry entry Exe_Path is empty. Please "
                       "reinstall Quell Moor or start it yourself.");
    }
    if (!system.fileExists(system.nativePath(gameExePath))) {
        return platform::Problem{
            Kind::NotFound, system.nativePath(gameExePath),
            "The game cannot be started: its program " + gameExePath + " does not exist."};
    }
    platform::Expected<LaunchPlan> planned = planLaunch(system, gameExePath);
    if (!planned) return planned.problem();
    return start(system, *planned);
}

}  // namespace quorvik::launch
