#pragma once

// The machine as a Linux player has it: files through POSIX calls, and the
// Windows side of things (registry, Documents folder, drive letters) from the
// Wine or Proton prefix the game is installed in. File names match as Wine
// matches them: without regard to case where the exact spelling is missing.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "platform/wine/prefix_finder.h"

namespace quorvik::platform::posix {

// The prefix search as this process sets it: $WINEPREFIX, $HOME (else the
// account's home folder) and the login name from the account database.
wine::PrefixSearch processPrefixSearch(wine::GameSignature game,
                                       std::optional<fs::path> chosenPrefix = std::nullopt);

class PosixSystem : public System {
public:
    // Looks for no game: only $WINEPREFIX can give a prefix. Reports nothing.
    PosixSystem();
    // The prefix is chosen on first use and kept; the choice and why are written
    // to report (nothing when it is null), in a line that starts with the
    // program's name.
    PosixSystem(wine::PrefixSearch search, std::ostream* report,
                std::string_view program = "Quorvik");
    ~PosixSystem() override;

    bool fileExists(const fs::path& path) override;
    bool folderExists(const fs::path& path) override;
    bool isLink(const fs::path& path) override;
    ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) override;
    Expected<StagedFile> stageFile(const fs::path& path, std::string_view bytes,
                                   WriteOptions options) override;
    Status commitFile(const StagedFile& staged) override;
    void discardFile(const StagedFile& staged) override;
    Status setReadOnly(const fs::path& path, bool readOnly) override;
    Status deleteFile(const fs::path& path) override;
    std::vector<fs::path> listFolder(const fs::path& folder) override;
    Status createFolder(const fs::path& folder) override;
    Status removeFolder(const fs::path& folder) override;
    Expected<std::unique_ptr<FolderLock>> tryLock(const fs::path& lockFile) override;
    std::string localTime() override;
    void pause(std::chrono::milliseconds duration) override;

    // The registry, Documents folder and drive letters all come from one prefix.
    RegistryBackend& registry() override;
    std::optional<fs::path> documentsFolder() override;
    std::optional<fs::path> configFolder() override;
    // Drive paths lie inside the prefix; every path is spelt as it exists.
    fs::path nativePath(std::string_view utf8) override;

    // Wine's code page for a Western Windows.
    const CodePage& codePage() const override { return windows1252(); }
    HostKind host() const override { return HostKind::Wine; }
    void choosePrefix() override;
    void prepare() override;
    std::optional<WinePrefix> winePrefix() override;
    std::optional<SteamGame> steamGame() override;
    std::vector<std::string> searchedPlaces() override;
    Status startProgram(const LaunchRequest& request) override;

private:
    struct State;
    State& chosen();
    std::unique_ptr<State> state_;
};

}  // namespace quorvik::platform::posix
