#include "platform/posix/posix_system.h"

#include "platform/paths.h"
#include "platform/posix/posix_files.h"

namespace quorvik::platform::posix {
namespace {

// No prefix known: every key is missing.
class NoRegistry : public RegistryBackend {
public:
    long openKey(RootKey, const std::string&, RegistryView, KeyHandle&) override {
        return kErrorFileNotFound;
    }
    long queryValue(KeyHandle, const std::string&, std::uint32_t&, unsigned char*,
                    std::uint32_t&) override {
        return kErrorInvalidHandle;
    }
    void closeKey(KeyHandle) override {}
};

}  // namespace

struct PosixSystem::State {
    NoRegistry registry;
};

PosixSystem::PosixSystem() : state_(std::make_unique<State>()) {}
PosixSystem::~PosixSystem() = default;

bool PosixSystem::fileExists(const fs::path& path) { return posix::fileExists(path); }
bool PosixSystem::folderExists(const fs::path& path) { return posix::folderExists(path); }
ReadResult PosixSystem::readFile(const fs::path& path, std::uintmax_t maxBytes) {
    return posix::readFile(path, maxBytes);
}
Status PosixSystem::writeFile(const fs::path& path, std::string_view bytes) {
    return writeFileAtomic(path, bytes);
}
Status PosixSystem::setReadOnly(const fs::path& path, bool readOnly) {
    return posix::setReadOnly(path, readOnly);
}
Status PosixSystem::deleteFile(const fs::path& path) { return posix::deleteFile(path); }

RegistryBackend& PosixSystem::registry() { return state_->registry; }
std::optional<fs::path> PosixSystem::documentsFolder() { return std::nullopt; }
fs::path PosixSystem::nativePath(std::string_view utf8) { return pathFromUtf8(utf8); }
std::optional<WinePrefix> PosixSystem::winePrefix() { return std::nullopt; }

Status PosixSystem::startProgram(const LaunchRequest&) {
    return Status::failure("starting programs is not available");
}

}  // namespace quorvik::platform::posix
