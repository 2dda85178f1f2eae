#pragma once

// Stand-ins for steam, flatpak, snap and wine, first on PATH while a StandIns
// lives: each records how it was started (see record_launch.cpp) and ends.

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
    std::vector<std::string> arguments;
};

class StandIns {
public:
    StandIns();
    ~StandIns();
    StandIns(const StandIns&) = delete;
    StandIns& operator=(const StandIns&) = delete;

    // A further stand-in at a full path, such as a launcher's own Wine build.
    void placeAt(const std::filesystem::path& path) const;
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
