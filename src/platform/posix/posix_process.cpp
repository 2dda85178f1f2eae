#include "platform/posix/posix_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/paths.h"

extern char** environ;

namespace quorvik::platform::posix {
namespace {

// Our environment with the request's variables set over it, and those it
// unsets taken out.
std::vector<std::string> environmentFor(const LaunchRequest& request) {
    std::vector<std::string> variables;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        const std::string name = variable.substr(0, variable.find('='));
        bool replaced =
            std::find(request.unset.begin(), request.unset.end(), name) != request.unset.end();
        for (const auto& [key, value] : request.environment) replaced = replaced || key == name;
        if (!replaced) variables.push_back(variable);
    }
    for (const auto& [key, value] : request.environment) variables.push_back(key + "=" + value);
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

}  // namespace

Status startDetached(const LaunchRequest& request) {
    std::vector<std::string> arguments = {pathToUtf8(request.program)};
    arguments.insert(arguments.end(), request.arguments.begin(), request.arguments.end());
    std::vector<std::string> environment = environmentFor(request);
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);

    // Said plainly here: a failed change of folder in the child reads like a
    // missing program.
    std::error_code folderError;
    if (!request.workingFolder.empty() && !fs::is_directory(request.workingFolder, folderError)) {
        return Status::failure("its folder " + pathToUtf8(request.workingFolder) +
                               " does not exist");
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!request.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, request.workingFolder.c_str());
    }
    // The game and its launcher write to no terminal of ours, and read from none.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: the game keeps running when the tool closes. The
    // console program ignores SIGPIPE for its own output; the game gets the
    // usual handling back.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    const int error =
        posix_spawnp(&child, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error == ENOENT && pathToUtf8(request.program).find('/') == std::string::npos) {
        return Status::failure("it is not installed: there is no " + pathToUtf8(request.program) +
                               " on PATH");
    }
    if (error != 0) return Status::failure(std::generic_category().message(error));

    // Nobody waits for the game, but its exit must not leave a zombie behind.
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return Status::success();
}

}  // namespace quorvik::platform::posix
