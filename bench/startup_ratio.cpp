// Starts the floor program and Quorvik alternately, many times, measures the
// time from starting the process to its "shown" line, and reports the medians
// and their ratio.
//   startup_ratio <floor binary> <quorvik binary> [runs]

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace {

double startOnce(const char* binary) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(binary), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int error = posix_spawn(&child, binary, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (error != 0) {
        close(pipeEnds[0]);
        return -1;
    }
    std::string output;
    char buffer[256];
    double elapsed = -1;
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
        if (elapsed < 0 && output.find("shown") != std::string::npos) {
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                start)
                          .count();
        }
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <floor binary> <quorvik binary> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 21;
    startOnce(argv[1]);  // warm the caches for both
    startOnce(argv[2]);
    std::vector<double> floor, quorvik;
    for (int i = 0; i < runs; ++i) {
        floor.push_back(startOnce(argv[1]));
        quorvik.push_back(startOnce(argv[2]));
    }
    if (std::count(floor.begin(), floor.end(), -1.0) || std::count(quorvik.begin(), quorvik.end(), -1.0)) {
        std::fprintf(stderr, "a start failed\n");
        return 1;
    }
    const double floorMs = median(floor), quorvikMs = median(quorvik);
    std::printf("start-up to window shown, median of %d runs:\n", runs);
    std::printf("  bare Qt window: %7.1f ms\n", floorMs);
    std::printf("  Quorvik:        %7.1f ms\n", quorvikMs);
    std::printf("  ratio:          %7.2f\n", quorvikMs / floorMs);
    return 0;
}
