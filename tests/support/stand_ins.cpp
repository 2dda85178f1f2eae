#include "support/stand_ins.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace quorvik::testing {

namespace fs = std::filesystem;

StandIns::StandIns() {
    fs::create_directories(records_);
    fs::create_directories(dir_ / "bin");
    for (const char* name : {"steam", "flatpak", "snap", "wine", "lutris", "heroic", "xdg-open",
                             "bottles-cli", "umu-run"}) {
        fs::create_symlink(QUORVIK_RECORD_LAUNCH, dir_ / "bin" / name);
    }
    if (const char* path = std::getenv("PATH")) oldPath_ = path;
    // Only the stand-ins: a launcher installed here must not be started.
    ::setenv("PATH", (dir_ / "bin").c_str(), 1);
    ::setenv("QUORVIK_LAUNCH_RECORD", records_.c_str(), 1);
}

StandIns::~StandIns() {
    if (oldPath_) {
        ::setenv("PATH", oldPath_->c_str(), 1);
    } else {
        ::unsetenv("PATH");
    }
    ::unsetenv("QUORVIK_LAUNCH_RECORD");
}

void StandIns::remove(const std::string& name) const {
    fs::remove(dir_ / "bin" / name);
}

std::optional<RecordedRun> StandIns::next() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        for (const auto& entry : fs::directory_iterator(records_)) {
            if (entry.path().extension() != ".run") continue;
            std::ifstream in(entry.path());
            RecordedRun run;
            std::string folder;
            std::getline(in, run.program);
            std::getline(in, folder);
            std::getline(in, run.winePrefix);
            std::getline(in, run.gameId);
            run.folder = folder;
            for (std::string argument; std::getline(in, argument);)
                run.arguments.push_back(argument);
            fs::remove(entry.path());
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

bool StandIns::noneStarted() {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return fs::is_empty(records_);
}

}  // namespace quorvik::testing
