#include "launch/launch.h"

#include <charconv>
#include <cstdint>

#include "platform/paths.h"

namespace quorvik::launch {
namespace {

using platform::PrefixOwner;
using platform::SteamInstall;

constexpr const char* kNoIntro = "-nologos";

// Steam numbers a non-Steam game's shortcut, and its compatdata folder, from 2^31 up.
constexpr std::uint64_t kFirstShortcutId = std::uint64_t{1} << 31;
constexpr std::uint64_t kLastShortcutId = (std::uint64_t{1} << 32) - 1;

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The command that hands a request to the Steam whose library holds the prefix.
void steamCommand(SteamInstall install, platform::LaunchRequest& request) {
    switch (install) {
        case SteamInstall::Flatpak:
            request.program = "flatpak";
            request.arguments = {"run", "com.valvesoftware.Steam"};
            return;
        case SteamInstall::Snap:
            request.program = "snap";
            request.arguments = {"run", "steam"};
            return;
        case SteamInstall::Native:
        case SteamInstall::Unknown:
            request.program = "steam";
            return;
    }
}

bool hasOwnWine(PrefixOwner owner) {
    return owner == PrefixOwner::Lutris || owner == PrefixOwner::Heroic ||
           owner == PrefixOwner::Bottles;
}

}  // namespace

LaunchPlan planLaunch(platform::System& system, const std::string& exePath) {
    LaunchPlan plan;
    platform::LaunchRequest& request = plan.request;
    // Launchers start a game in its own folder; some games look for their data there.
    request.workingFolder = system.nativePath(exePath).parent_path();
    if (system.host() == platform::HostKind::Windows) {
        request.program = platform::pathFromUtf8(exePath);
        request.commandLine = "\"" + exePath + "\" " + kNoIntro;
        return plan;
    }
    const auto prefix = system.winePrefix();
    if (prefix && prefix->owner == PrefixOwner::Steam) {
        // Only Steam knows how to start a game in a Proton prefix; the system's
        // Wine would upgrade the prefix behind Proton's back.
        if (prefix->steam == SteamInstall::Unknown) {
            plan.problem = "The game cannot be started: its prefix " +
                           platform::pathToUtf8(prefix->root) + " belongs to Steam (app " +
                           prefix->steamAppId +
                           "), but no Steam that holds it was found. Starting it with the "
                           "system's Wine could upgrade the prefix behind Proton's back, so "
                           "please start Quell Moor from Steam.";
            return plan;
        }
        steamCommand(prefix->steam, request);
        const auto id = number(prefix->steamAppId);
        if (id && *id >= kFirstShortcutId && *id <= kLastShortcutId) {
            const std::uint64_t gameId = (*id << 32) | 0x02000000u;
            request.arguments.push_back("steam://rungameid/" + std::to_string(gameId));
            plan.note =
                "Quell Moor is a non-Steam game in Steam, which starts it with its shortcut's "
                "own launch options: to skip the intro videos, add -nologos to the launch "
                "options of the shortcut (Properties in Steam).";
        } else {
            request.arguments.insert(request.arguments.end(),
                                     {"-applaunch", prefix->steamAppId, kNoIntro});
        }
        return plan;
    }
    request.program = "wine";
    if (prefix && hasOwnWine(prefix->owner) && !prefix->wineBuild.empty() &&
        system.fileExists(prefix->wineBuild)) {
        request.program = prefix->wineBuild;
    }
    request.arguments = {exePath, kNoIntro};
    if (prefix) request.environment = {{"WINEPREFIX", platform::pathToUtf8(prefix->root)}};
    return plan;
}

std::optional<LaunchMessage> launchGame(platform::System& system,
                                        const std::optional<std::string>& found) {
    const auto problem = [](std::string text) { return LaunchMessage{true, std::move(text)}; };
    if (!found) {
        return problem(
            "The game cannot be started: Quell Moor's registry entry (Exe_Path under "
            "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor) was not found. Is the game "
            "installed?");
    }
    const std::string& gameExePath = *found;
    if (gameExePath.empty()) {
        return problem(
            "The game cannot be started: its registry entry Exe_Path is empty. Please reinstall "
            "Quell Moor or start it yourself.");
    }
    if (!system.fileExists(system.nativePath(gameExePath))) {
        return problem("The game cannot be started: its program " + gameExePath +
                       " does not exist.");
    }
    LaunchPlan plan = planLaunch(system, gameExePath);
    if (!plan.problem.empty()) return problem(std::move(plan.problem));
    const platform::Status started = system.startProgram(plan.request);
    if (!started) {
        return problem("The game could not be started (" +
                       platform::pathToUtf8(plan.request.program) + "): " + started.reason() + ".");
    }
    if (!plan.note.empty()) return LaunchMessage{false, std::move(plan.note)};
    return std::nullopt;
}

}  // namespace quorvik::launch
