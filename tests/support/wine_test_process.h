#pragma once

// Starting a helper program from a test, without a shell: the arguments as an
// array, output discarded or kept in files, the program killed when it
// overruns its time.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace quorvik::testing {

// The program's full path when it is on PATH.
inline std::optional<std::filesystem::path> findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        auto stop = folders.find(':', start);
        if (stop == std::string::npos) stop = folders.size();
        const std::filesystem::path candidate =
            std::filesystem::path(folders.substr(start, stop - start)) / name;
        if (stop > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = stop + 1;
    }
    return std::nullopt;
}

// Where a started program's standard output goes: the file (or /dev/null), a
// full disk, nowhere (closed), or a pipe whose reader has already gone.
enum class StandardOutput { File, Full, Closed, GonePipe };

// Starts the program and does not wait; its process id, or nothing when it
// could not start. With an output folder, its standard output and error go
// to the files "stdout" and "stderr" there.
inline std::optional<pid_t> startProgram(
    const std::vector<std::string>& arguments,
    const std::vector<std::pair<std::string, std::string>>& environment,
    const std::filesystem::path& outputFolder = {},
    StandardOutput standardOutput = StandardOutput::File) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        // The launchers' XDG folders of the machine running the tests would
        // lead the search away from the test's home folder.
        bool replaced = variable.starts_with("XDG_DATA_HOME=") || variable.starts_with("XDG_CONFIG_HOME=");
        for (const auto& [name, value] : environment) {
            replaced = replaced || variable.starts_with(name + "=");
        }
        if (!replaced) variables.push_back(variable);
    }
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string out = outputFolder.empty() ? "/dev/null" : (outputFolder / "stdout").string();
    const std::string err = outputFolder.empty() ? "/dev/null" : (outputFolder / "stderr").string();
    int pipeEnds[2] = {-1, -1};
    switch (standardOutput) {
        case StandardOutput::File:
            posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                             0644);
            break;
        case StandardOutput::Full:
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
            break;
        case StandardOutput::Closed:
            posix_spawn_file_actions_addclose(&actions, 1);
            break;
        case StandardOutput::GonePipe:
            if (::pipe(pipeEnds) != 0) return std::nullopt;
            ::close(pipeEnds[0]);
            posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
            posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
            break;
    }
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (pipeEnds[1] >= 0) ::close(pipeEnds[1]);
    if (started != 0) return std::nullopt;
    return pid;
}

// Waits for a started program; its exit code, or nothing when it died of a
// signal or overran the deadline (then it is killed).
inline std::optional<int> waitProgram(pid_t pid, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return std::nullopt;
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!WIFEXITED(status)) return std::nullopt;
    return WEXITSTATUS(status);
}

// Runs the program to its end: startProgram, then waitProgram.
inline std::optional<int> runProgram(
    const std::vector<std::string>& arguments,
    const std::vector<std::pair<std::string, std::string>>& environment,
    std::chrono::milliseconds deadline, const std::filesystem::path& outputFolder = {},
    StandardOutput standardOutput = StandardOutput::File) {
    const std::optional<pid_t> pid =
        startProgram(arguments, environment, outputFolder, standardOutput);
    if (!pid) return std::nullopt;
    return waitProgram(*pid, deadline);
}

}  // namespace quorvik::testing
