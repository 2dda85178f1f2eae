#pragma once

// Stand-ins for the launchers (steam, lutris, heroic, bottles-cli, umu-run),
// flatpak, snap, xdg-open and wine, first on PATH while a StandIns lives, and
// the only programs there: each records how it was started (see
// record_launch.cpp) and ends.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace quorvik::testing {

struct RecordedRun {
    std::string program;  // as started: a name found on PATH, or a full path
    std::filesystem::path folder;
    std::string winePrefix;
    std::string gameId;
    std::vector<std::string> arguments;
};

class StandIns {
public:
    StandIns();
    ~StandIns();
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;

    // A program missing from PATH.
    void remove(const std::string& name) const;
    // The next run recorded, waiting up to ten seconds; nothing when none came.
    std::optional<RecordedRun> next();
    // True when no run is recorded within a short wait.
    bool noneStarted();

private:
    TempDir dir_;
    std::filesystem::path records_ = dir_ / "records";
    std::optional<std::string> oldPath_;
};

}  // namespace quorvik::testing
