#pragma once

// The machine for tests: real files (through the native back end), with faults
// that a test injects per operation; an in-memory registry; a Documents folder
// and a Wine prefix of the test's choosing; program starts recorded, not run.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace quorvik::testing {

namespace fs = std::filesystem;

// The bytes of a UTF-8 text as the wide-character registry call gives them.
std::string utf16Bytes(std::string_view utf8);

// Registry values held in memory, as a 64-bit Windows keeps them: the 32-bit
// view of HKEY_LOCAL_MACHINE\Software is Software\Wow6432Node.
class MemoryRegistry : public platform::RegistryBackend {
public:
    // A REG_SZ value of UTF-8 text, stored in UTF-16 with its NUL.
    void setString(platform::RootKey root, const std::string& subkey, const std::string& name,
                   const std::string& value);
    void setBytes(platform::RootKey root, const std::string& subkey, const std::string& name,
                  std::uint32_t type, const std::string& bytes);
    void addKey(platform::RootKey root, const std::string& subkey);

    long openKey(platform::RootKey root, const std::string& subkey, platform::RegistryView view,
                 KeyHandle& key) override;
    long queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& length) override;
    void closeKey(KeyHandle key) override;

    int openHandles() const { return static_cast<int>(open_.size()); }
    std::vector<platform::RegistryView> viewsAsked;

private:
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    using Key = std::map<std::string, Value>;  // value names in lower case
    std::map<std::pair<platform::RootKey, std::string>, Key> keys_;  // subkeys in lower case
    std::map<KeyHandle, const Key*> open_;
    KeyHandle next_ = 1;
};

// Write is a file written in full under its temporary name (the path is the
// target's), Commit the step that puts it in the target's place.
enum class FileOp { Read, Write, Commit, SetReadOnly, ClearReadOnly, Delete, Lock };

class FakeSystem : public platform::System {
public:
    FakeSystem();
    ~FakeSystem() override;

    // Returns a failure to inject for this operation, or nothing to let it run.
    std::function<std::optional<platform::Status>(FileOp, const fs::path&)> fault;
    // Every file operation that ran or was refused, in order.
    std::vector<std::pair<FileOp, fs::path>> fileLog;

    MemoryRegistry memoryRegistry;
    std::optional<fs::path> documents;
    std::optional<fs::path> config;  // configFolder()
    platform::HostKind hostKind = platform::HostKind::Windows;
    std::optional<platform::WinePrefix> prefix;
    std::vector<std::string> searched;  // the prefixes it says it looked in
    std::vector<platform::LaunchRequest> launches;
    platform::Status launchResult = platform::Status::success();

    bool fileExists(const fs::path& path) override;
    bool folderExists(const fs::path& path) override;
    bool isLink(const fs::path& path) override;
    platform::ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) override;
    platform::Expected<platform::StagedFile> stageFile(const fs::path& path, std::string_view bytes,
                                                       platform::WriteOptions options) override;
    platform::Status commitFile(const platform::StagedFile& staged) override;
    void discardFile(const platform::StagedFile& staged) override;
    platform::Status setReadOnly(const fs::path& path, bool readOnly) override;
    platform::Status deleteFile(const fs::path& path) override;
    std::vector<fs::path> listFolder(const fs::path& folder) override;
    platform::Status createFolder(const fs::path& folder) override;
    platform::Status removeFolder(const fs::path& folder) override;
    platform::Expected<std::unique_ptr<platform::FolderLock>> tryLock(const fs::path& lockFile) override;
    // A clock that moves one second on at every reading, from 2026-12-07 13.45.00
    // (clockReadings seconds later).
    std::string localTime() override;
    // Waits are counted, not waited.
    void pause(std::chrono::milliseconds duration) override { paused += duration; }
    std::chrono::milliseconds paused{0};
    int clockReadings = 0;

    platform::RegistryBackend& registry() override { return memoryRegistry; }
    std::optional<fs::path> documentsFolder() override { return documents; }
    std::optional<fs::path> configFolder() override { return config; }
    fs::path nativePath(std::string_view utf8) override;
    const platform::CodePage& codePage() const override { return platform::windows1252(); }
    platform::HostKind host() const override { return hostKind; }
    std::optional<platform::WinePrefix> winePrefix() override { return prefix; }
    std::vector<std::string> searchedPlaces() override { return searched; }
    platform::Status startProgram(const platform::LaunchRequest& request) override;

private:
    std::optional<platform::Status> injected(FileOp op, const fs::path& path);
    std::unique_ptr<platform::System> real_;
};

}  // namespace quorvik::testing
