#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/win32/win32_text.h"

namespace quorvik::platform::win32 {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;
constexpr const char* kIsAFolder = "it is a folder, not a file";

// Closes a file handle on every path out of a function.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

DWORD attributesOf(const fs::path& path) {
    return GetFileAttributesW(path.c_str());
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

std::string temporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    return "." + pathToUtf8(target.filename()) + "." + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random() % 1000000) + ".tmp";
}

// Where a symbolic link leads, so that the write replaces the file and the link
// stays; the path itself for anything else.
fs::path finalPath(const fs::path& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
    Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) return path;
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetFinalPathNameByHandleW(file.get(), buffer.data(), size,
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return path;
        if (length < size) return fs::path(std::wstring(buffer.data(), length));
        buffer.resize(length + 1);
    }
}

Status writeAll(HANDLE file, std::string_view bytes, unsigned long& error) {
    constexpr std::size_t kChunk = 1u << 30;
    while (!bytes.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min(bytes.size(), kChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), wanted, &written, nullptr)) {
            error = GetLastError();
            return Status::failure(errorText(error));
        }
        if (written == 0) return Status::failure("nothing could be written");
        bytes.remove_prefix(written);
    }
    return Status::success();
}

std::string tooLarge(std::uintmax_t size) {
    return "the file is too large (" + std::to_string(size) + " bytes)";
}

// Another program that holds the file briefly keeps it from being replaced.
bool heldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

constexpr int kReplaceAttempts = 10;
constexpr DWORD kReplacePause = 100;  // milliseconds: about a second in all

// The error code of the last failed call, kept for the caller.
class LastError {
public:
    explicit LastError(unsigned long* out) : out_(out) {}
    Status fail(DWORD code) {
        if (out_ != nullptr) *out_ = code;
        return Status::failure(errorText(code));
    }
    Status fail() { return fail(GetLastError()); }
    Status ours(std::string reason) {
        if (out_ != nullptr) *out_ = 0;
        return Status::failure(std::move(reason));
    }

private:
    unsigned long* out_;
};

}  // namespace

bool fileExists(const fs::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool folderExists(const fs::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) {
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes) return {Status::failure(lastErrorText()), {}};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {Status::failure(kIsAFolder), {}};

    Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return {Status::failure(lastErrorText()), {}};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return {Status::failure(lastErrorText()), {}};
    if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
        return {Status::failure(tooLarge(static_cast<std::uintmax_t>(size.QuadPart))), {}};
    }

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    std::vector<char> chunk(65536);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
            return {Status::failure(lastErrorText()), {}};
        }
        if (got == 0) break;
        bytes.append(chunk.data(), got);
        // A file that grows while it is read can still be too large.
        if (bytes.size() > maxBytes) {
            return {Status::failure("the file is too large (over " + std::to_string(maxBytes) +
                                    " bytes)"),
                    {}};
        }
    }
    return {Status::success(), std::move(bytes)};
}

Status writeFileAtomic(const fs::path& requested, std::string_view bytes, unsigned long* error) {
    LastError last(error);
    DWORD attributes = attributesOf(requested);
    if (attributes == kNoAttributes && !isMissing(GetLastError())) return last.fail();
    const bool exists = attributes != kNoAttributes;
    fs::path target = requested;
    if (exists) {
        target = finalPath(requested, attributes);
        if (target != requested) attributes = attributesOf(target);
        if (attributes == kNoAttributes) return last.fail();
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return last.ours(kIsAFolder);
        // Windows would refuse the replacement too, but Wine running as root
        // would not: the attribute is checked here so that both refuse it.
        if (attributes & FILE_ATTRIBUTE_READONLY) return last.ours("the file is read-only");
    }

    const fs::path folder = folderOf(target);
    if (!folderExists(folder)) {
        return last.ours("the folder " + pathToUtf8(folder) + " does not exist");
    }
    const fs::path temporary = folder / pathFromUtf8(temporaryName(target));
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return last.fail();

    const auto abandon = [&](Status failed) {
        file.close();
        DeleteFileW(temporary.c_str());
        return failed;
    };
    unsigned long writeError = 0;
    if (Status written = writeAll(file.get(), bytes, writeError); !written) {
        return abandon(writeError != 0 ? last.fail(writeError) : last.ours(written.reason()));
    }
    if (!FlushFileBuffers(file.get())) return abandon(last.fail());
    if (!file.close()) return abandon(last.fail());
    if (exists) {
        // The replacement keeps the attributes the player gave the file.
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (const DWORD kept = attributes & kKept; kept != 0) {
            SetFileAttributesW(temporary.c_str(), kept);
        }
    }
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return Status::success();
        }
        const DWORD moveError = GetLastError();
        if (!heldByAnother(moveError) || attempt == kReplaceAttempts) {
            return abandon(last.fail(moveError));
        }
        Sleep(kReplacePause);
    }
}

Status setReadOnly(const fs::path& path, bool readOnly) {
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes) return Status::failure(lastErrorText());
    // Only these can be set; the rest (folder, reparse point ...) the system keeps.
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_TEMPORARY;
    DWORD wanted = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                            : (attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    wanted &= kSettable;
    if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
    if (!SetFileAttributesW(path.c_str(), wanted)) return Status::failure(lastErrorText());
    return Status::success();
}

Status deleteFile(const fs::path& path, unsigned long* error) {
    LastError last(error);
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes) {
        const DWORD code = GetLastError();
        if (isMissing(code)) return Status::success();
        return last.fail(code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return last.ours(kIsAFolder);
    if (!DeleteFileW(path.c_str())) {
        const DWORD code = GetLastError();
        if (isMissing(code)) return Status::success();
        return last.fail(code);
    }
    return Status::success();
}

bool isInside(const fs::path& path, const fs::path& folder) {
    const std::wstring inner = path.lexically_normal().wstring();
    std::wstring outer = folder.lexically_normal().wstring();
    while (!outer.empty() && (outer.back() == L'\\' || outer.back() == L'/')) outer.pop_back();
    if (outer.empty() || inner.size() < outer.size()) return false;
    if (CompareStringOrdinal(inner.c_str(), static_cast<int>(outer.size()), outer.c_str(),
                             static_cast<int>(outer.size()), TRUE) != CSTR_EQUAL) {
        return false;
    }
    return inner.size() == outer.size() || inner[outer.size()] == L'\\' ||
           inner[outer.size()] == L'/';
}

}  // namespace quorvik::platform::win32
