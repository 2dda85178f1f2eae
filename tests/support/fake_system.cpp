#include "support/fake_system.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/paths.h"

#ifdef _WIN32
#include "platform/win32/win32_system.h"
#else
#include "platform/posix/posix_system.h"
#endif

namespace quorvik::testing {
namespace {

using platform::RegistryView;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Where a key lives for a view: 32-bit programs see Software\Wow6432Node.
std::string placed(platform::RootKey root, const std::string& subkey, RegistryView view) {
    const std::string key = lower(subkey);
    if (view == RegistryView::Wow32 && root == platform::kHkeyLocalMachine &&
        key.starts_with("software\\") && !key.starts_with("software\\wow6432node")) {
        return "software\\wow6432node\\" + key.substr(9);
    }
    return key;
}

}  // namespace

std::string utf16Bytes(std::string_view utf8) {
    std::string bytes;
    for (const char16_t unit : platform::utf8ToUtf16(utf8)) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

void MemoryRegistry::addKey(platform::RootKey root, const std::string& subkey) {
    keys_[{root, lower(subkey)}];
}

void MemoryRegistry::setBytes(platform::RootKey root, const std::string& subkey,
                              const std::string& name, std::uint32_t type,
                              const std::string& bytes) {
    keys_[{root, lower(subkey)}][lower(name)] = {type, bytes};
}

void MemoryRegistry::setString(platform::RootKey root, const std::string& subkey,
                               const std::string& name, const std::string& value) {
    setBytes(root, subkey, name, platform::kRegSz, utf16Bytes(value + std::string(1, '\0')));
}

long MemoryRegistry::openKey(platform::RootKey root, const std::string& subkey, RegistryView view,
                             KeyHandle& key) {
    viewsAsked.push_back(view);
    const auto found = keys_.find({root, placed(root, subkey, view)});
    if (found == keys_.end()) return platform::kErrorFileNotFound;
    key = next_++;
    open_[key] = &found->second;
    return platform::kErrorSuccess;
}

long MemoryRegistry::queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                                unsigned char* data, std::uint32_t& length) {
    const auto handle = open_.find(key);
    if (handle == open_.end()) return platform::kErrorInvalidHandle;
    const auto value = handle->second->find(lower(valueName));
    if (value == handle->second->end()) return platform::kErrorFileNotFound;
    type = value->second.type;
    const auto size = static_cast<std::uint32_t>(value->second.bytes.size());
    if (size > length) {
        length = size;
        return platform::kErrorMoreData;
    }
    std::memcpy(data, value->second.bytes.data(), size);
    length = size;
    return platform::kErrorSuccess;
}

void MemoryRegistry::closeKey(KeyHandle key) { open_.erase(key); }

#ifdef _WIN32
FakeSystem::FakeSystem() : real_(std::make_unique<platform::win32::Win32System>()) {}
#else
FakeSystem::FakeSystem() : real_(std::make_unique<platform::posix::PosixSystem>()) {}
#endif
FakeSystem::~FakeSystem() = default;

std::optional<platform::Status> FakeSystem::injected(FileOp op, const fs::path& path) {
    fileLog.emplace_back(op, path);
    return fault ? fault(op, path) : std::nullopt;
}

bool FakeSystem::fileExists(const fs::path& path) { return real_->fileExists(path); }
bool FakeSystem::folderExists(const fs::path& path) { return real_->folderExists(path); }
bool FakeSystem::isLink(const fs::path& path) {
    return real_->isLink(path);
}

platform::ReadResult FakeSystem::readFile(const fs::path& path, std::uintmax_t maxBytes) {
    if (auto failure = injected(FileOp::Read, path)) return failure->problem();
    return real_->readFile(path, maxBytes);
}

platform::Expected<platform::StagedFile> FakeSystem::stageFile(const fs::path& path,
                                                               std::string_view bytes,
                                                               platform::WriteOptions options) {
    if (auto failure = injected(FileOp::Write, path)) {
        return platform::Problem{platform::Problem::Kind::Failed, path, failure->reason()};
    }
    return real_->stageFile(path, bytes, options);
}

platform::Status FakeSystem::commitFile(const platform::StagedFile& staged) {
    if (auto failure = injected(FileOp::Commit, staged.target)) return *failure;
    return real_->commitFile(staged);
}

void FakeSystem::discardFile(const platform::StagedFile& staged) { real_->discardFile(staged); }

platform::Status FakeSystem::setReadOnly(const fs::path& path, bool readOnly) {
    if (auto failure = injected(readOnly ? FileOp::SetReadOnly : FileOp::ClearReadOnly, path)) {
        return *failure;
    }
    return real_->setReadOnly(path, readOnly);
}

platform::Status FakeSystem::deleteFile(const fs::path& path) {
    if (auto failure = injected(FileOp::Delete, path)) return *failure;
    return real_->deleteFile(path);
}

std::vector<fs::path> FakeSystem::listFolder(const fs::path& folder) {
    return real_->listFolder(folder);
}

platform::Status FakeSystem::createFolder(const fs::path& folder) {
    if (auto failure = injected(FileOp::Write, folder)) return *failure;
    return real_->createFolder(folder);
}

platform::Status FakeSystem::removeFolder(const fs::path& folder) {
    if (auto failure = injected(FileOp::Delete, folder)) return *failure;
    return real_->removeFolder(folder);
}

platform::Expected<std::unique_ptr<platform::FolderLock>> FakeSystem::tryLock(const fs::path& lockFile) {
    if (auto failure = injected(FileOp::Lock, lockFile)) {
        return failure->problem();
    }
    return real_->tryLock(lockFile);
}

std::string FakeSystem::localTime() {
    // Within the day: a test sets the clock back by lowering clockReadings.
    const int seconds = 13 * 3600 + 45 * 60 + clockReadings++;
    char text[32];
    std::snprintf(text, sizeof text, "2026-12-07 %02d.%02d.%02d", seconds / 3600 % 24,
                  seconds / 60 % 60, seconds % 60);
    return text;
}

fs::path FakeSystem::nativePath(std::string_view utf8) { return platform::pathFromUtf8(utf8); }

platform::Status FakeSystem::startProgram(const platform::LaunchRequest& request) {
    launches.push_back(request);
    return launchResult;
}

}  // namespace quorvik::testing
