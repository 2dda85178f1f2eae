#pragma once

// The machine as a Windows player has it: files through the wide-character
// Win32 calls, the registry through advapi32, the Documents folder from the
// shell, and the game started with CreateProcessW. No shell is involved.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"
#include "platform/win32/win32_registry.h"

namespace quorvik::platform::win32 {

class Win32System : public System {
public:
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

    RegistryBackend& registry() override { return registry_; }
    // FOLDERID_Documents, wherever the user has moved it.
    std::optional<fs::path> documentsFolder() override;
    std::optional<fs::path> configFolder() override;
    // Windows opens what the user or the registry wrote, as it stands.
    fs::path nativePath(std::string_view utf8) override;

    const CodePage& codePage() const override;
    HostKind host() const override { return HostKind::Windows; }
    std::optional<WinePrefix> winePrefix() override { return std::nullopt; }
    // Starts request.commandLine as it stands (the program's quoted path and its
    // arguments) in a normal window, in request.workingFolder (ours when empty),
    // and does not wait. A program that needs elevation is started through
    // startElevated. The argument list is for the other systems' launchers.
    Status startProgram(const LaunchRequest& request) override;

private:
    Win32Registry registry_;
};

// A failed write or deletion (of a file or a folder), with a note on Windows' ransomware protection
// when the system denied access to a path inside the Documents folder.
Status withFolderAccessHint(Status status, unsigned long error, const fs::path& path,
                            const std::optional<fs::path>& documents);

// Starts the request's program through the shell's "runas" verb, which asks
// the player to let it run as administrator.
Status startElevated(const LaunchRequest& request);

// A Windows command line's program (unquoted) and the arguments after it.
struct CommandLineParts {
    std::string program;
    std::string arguments;
};
CommandLineParts splitCommandLine(std::string_view commandLine);

}  // namespace quorvik::platform::win32
