#include "launch/launch.h"

#include "platform/paths.h"

namespace quorvik::launch {
namespace {

constexpr const char* kNoIntro = "-nologos";

// Steam installed as a Flatpak keeps its prefixes under its own app folder.
bool isFlatpakSteam(const std::filesystem::path& prefix) {
    return platform::pathToUtf8(prefix).find("/.var/app/com.valvesoftware.Steam/") !=
           std::string::npos;
}

}  // namespace

platform::LaunchRequest launchRequest(platform::System& system, const std::string& exePath) {
    platform::LaunchRequest request;
    if (system.host() == platform::HostKind::Windows) {
        request.program = platform::pathFromUtf8(exePath);
        request.commandLine = "\"" + exePath + "\" " + kNoIntro;
        return request;
    }
    const auto prefix = system.winePrefix();
    if (prefix && !prefix->steamAppId.empty()) {
        // A Proton prefix: only Steam knows how to start its game.
        if (isFlatpakSteam(prefix->root)) {
            request.program = "flatpak";
            request.arguments = {"run", "com.valvesoftware.Steam"};
        } else {
            request.program = "steam";
        }
        request.arguments.insert(request.arguments.end(),
                                 {"-applaunch", prefix->steamAppId, kNoIntro});
        return request;
    }
    request.program = "wine";
    request.arguments = {exePath, kNoIntro};
    if (prefix) request.environment = {{"WINEPREFIX", platform::pathToUtf8(prefix->root)}};
    return request;
}

std::optional<std::string> launchGame(platform::System& system, const std::string& gameExePath) {
    if (gameExePath.empty()) {
        return std::string(
            "The game cannot be started: its registry entry Exe_Path is empty. Please reinstall "
            "Quell Moor or start it yourself.");
    }
    if (gameExePath == "Error") {
        return std::string(
            "The game cannot be started: Quell Moor's registry entry (Exe_Path under "
            "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor) was not found. Is the game "
            "installed?");
    }
    const std::string& exePath = gameExePath;
    if (!system.fileExists(system.nativePath(exePath))) {
        return "The game cannot be started: its program " + exePath + " does not exist.";
    }
    const platform::LaunchRequest request = launchRequest(system, exePath);
    const platform::Status started = system.startProgram(request);
    if (!started) {
        return "The game could not be started (" + platform::pathToUtf8(request.program) +
               "): " + started.reason() + ".";
    }
    return std::nullopt;
}

}  // namespace quorvik::launch
