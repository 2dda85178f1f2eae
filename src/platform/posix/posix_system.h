#pragma once

// The machine as a Linux player has it: files through POSIX calls, and the
// Windows side of things (registry, Documents folder, drive letters) from the
// Wine or Proton prefix the game is installed in.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "platform/wine/wine_registry.h"

namespace quorvik::platform::posix {

// What the prefix search takes from the process.
struct WineEnvironment {
    std::optional<fs::path> winePrefix;  // $WINEPREFIX; unset or empty: none
    std::optional<fs::path> home;        // $HOME, else the account's home folder
    std::string login;                   // the account's login name
};

// The environment of this process; the login name comes from the account
// database, not from the environment.
WineEnvironment processEnvironment();

// Steam's library folders under home, each once: every Steam root that exists,
// and after each root the libraries its libraryfolders.vdf lists.
std::vector<fs::path> steamLibraries(const fs::path& home);

// Every prefix the game may be installed in, in the order they are tried:
// $WINEPREFIX (else ~/.wine), then the Proton prefix of every Steam game,
// steamapps/compatdata/<appid>/pfx, library by library. A prefix reached twice
// (through a symbolic link, say) is listed once.
std::vector<WinePrefix> candidatePrefixes(const WineEnvironment& environment);

struct ChosenPrefix {
    WinePrefix prefix;
    std::unique_ptr<wine::WineRegistry> registry;
};

// The first candidate whose registry holds the game's key, in either view;
// where none does, $WINEPREFIX or ~/.wine. Nothing without either.
std::optional<ChosenPrefix> choosePrefix(const WineEnvironment& environment);

// The user's Documents folder inside the prefix, as Wine reports it ("Personal"
// of the user's Shell Folders), else drive_c/users/<login or steamuser>/
// Documents or My Documents. Symbolic links are resolved. Nothing when none of
// them is a folder.
std::optional<fs::path> findDocumentsFolder(const fs::path& prefix, const wine::RegistryHive& user,
                                            std::string_view login);

// True for "C:\..." and "c:/...": a path on a Windows drive.
bool isDrivePath(std::string_view utf8);

// A drive path as Wine opens it: through <prefix>/dosdevices/<letter>: (for C:
// <prefix>/drive_c when that link is missing), each part matched without regard
// to case where the exact spelling does not exist. Other text is a POSIX path
// and stays as it is.
fs::path mapWindowsPath(const fs::path& prefix, std::string_view utf8);

class PosixSystem : public System {
public:
    // Uses this process's environment.
    PosixSystem();
    explicit PosixSystem(WineEnvironment environment);
    ~PosixSystem() override;

    bool fileExists(const fs::path& path) override;
    bool folderExists(const fs::path& path) override;
    ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) override;
    Status writeFile(const fs::path& path, std::string_view bytes) override;
    Status setReadOnly(const fs::path& path, bool readOnly) override;
    Status deleteFile(const fs::path& path) override;

    // The registry, Documents folder and drive letters all come from one prefix,
    // chosen on first use and kept.
    RegistryBackend& registry() override;
    std::optional<fs::path> documentsFolder() override;
    fs::path nativePath(std::string_view utf8) override;

    // Wine's code page for a Western Windows.
    const CodePage& codePage() const override { return windows1252(); }
    HostKind host() const override { return HostKind::Wine; }
    std::optional<WinePrefix> winePrefix() override;
    Status startProgram(const LaunchRequest& request) override;

private:
    struct State;
    State& chosen();
    std::unique_ptr<State> state_;
};

}  // namespace quorvik::platform::posix
