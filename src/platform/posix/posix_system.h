#pragma once

// The machine as a Linux player has it: files through POSIX calls, and the
// Windows side of things (registry, Documents folder, drive letters) from the
// Wine or Proton prefix the game is installed in.

#include <memory>

#include "platform/system.h"

namespace quorvik::platform::posix {

class PosixSystem : public System {
public:
    PosixSystem();
    ~PosixSystem() override;

    bool fileExists(const fs::path& path) override;
    bool folderExists(const fs::path& path) override;
    ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) override;
    Status writeFile(const fs::path& path, std::string_view bytes) override;
    Status setReadOnly(const fs::path& path, bool readOnly) override;
    Status deleteFile(const fs::path& path) override;

    RegistryBackend& registry() override;
    std::optional<fs::path> documentsFolder() override;
    fs::path nativePath(std::string_view utf8) override;

    HostKind host() const override { return HostKind::Wine; }
    std::optional<WinePrefix> winePrefix() override;
    Status startProgram(const LaunchRequest& request) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace quorvik::platform::posix
