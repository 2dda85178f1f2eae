#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
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
    // The handle is the caller's from now on.
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
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
    return "the file is too large: " + std::to_string(size) + " bytes";
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

// The attributes a replacement keeps from the file the player had.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Windows refuses to delete a read-only file: the attribute goes first.
void removeTemporary(const fs::path& temporary) {
    SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temporary.c_str());
}

Problem writeProblem(const fs::path& target, const Status& failed) {
    return Problem{Problem::Kind::Failed, target, failed.reason()};
}

}  // namespace

bool fileExists(const fs::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool folderExists(const fs::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isLink(const fs::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) {
    const DWORD attributes = attributesOf(path);
    if (attributes == kNoAttributes) return unreadable(path, lastErrorText());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return unreadable(path, kIsAFolder);

    Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return unreadable(path, lastErrorText());
    // A pipe or a device named in a file's place is not read: it may never end.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return unreadable(path, "it is not a regular file");
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return unreadable(path, lastErrorText());
    if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
        return unreadable(path, tooLarge(static_cast<std::uintmax_t>(size.QuadPart)));
    }

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    std::vector<char> chunk(65536);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
            return unreadable(path, lastErrorText());
        }
        if (got == 0) break;
        bytes.append(chunk.data(), got);
        // A file that grows while it is read can still be too large.
        if (bytes.size() > maxBytes) {
            return unreadable(path,
                              "the file is too large: over " + std::to_string(maxBytes) + " bytes");
        }
    }
    return bytes;
}

Expected<StagedFile> stageFile(const fs::path& requested, std::string_view bytes,
                               WriteOptions options, unsigned long* error) {
    LastError last(error);
    DWORD attributes = attributesOf(requested);
    if (attributes == kNoAttributes && !isMissing(GetLastError())) {
        return writeProblem(requested, last.fail());
    }
    const bool exists = attributes != kNoAttributes;
    fs::path target = requested;
    if (exists) {
        target = finalPath(requested, attributes);
        if (target != requested) attributes = attributesOf(target);
        if (attributes == kNoAttributes) return writeProblem(target, last.fail());
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return writeProblem(target, last.ours(kIsAFolder));
        // Windows would refuse the replacement too, but Wine running as root
        // would not: the attribute is checked here so that both refuse it.
        if ((attributes & FILE_ATTRIBUTE_READONLY) && !options.replaceReadOnly) {
            return writeProblem(target, last.ours("the file is read-only"));
        }
    }

    const fs::path folder = folderOf(target);
    if (!folderExists(folder)) {
        return writeProblem(target,
                            last.ours("the folder " + pathToUtf8(folder) + " does not exist"));
    }
    const fs::path temporary =
        folder / pathFromUtf8(platform::temporaryName(target, GetCurrentProcessId()));
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return writeProblem(target, last.fail());

    const auto abandon = [&](const Status& failed) -> Expected<StagedFile> {
        file.close();
        removeTemporary(temporary);
        return writeProblem(target, failed);
    };
    unsigned long writeError = 0;
    if (Status written = writeAll(file.get(), bytes, writeError); !written) {
        return abandon(writeError != 0 ? last.fail(writeError) : last.ours(written.reason()));
    }
    if (!FlushFileBuffers(file.get())) return abandon(last.fail());
    if (!file.close()) return abandon(last.fail());
    // Set before the file takes its place, so that no moment leaves a
    // read-only settings file writable or a hidden one shown.
    DWORD wanted = exists ? (attributes & kKeptAttributes) : 0;
    if (options.readOnly) wanted |= FILE_ATTRIBUTE_READONLY;
    if (wanted != 0 && !SetFileAttributesW(temporary.c_str(), wanted)) return abandon(last.fail());
    return StagedFile{temporary, target, options};
}

Status commitFile(const StagedFile& staged, unsigned long* error) {
    LastError last(error);
    // Windows refuses to replace a read-only file: the caller that means to
    // replace it has the attribute lifted for the move, and back if it fails.
    const DWORD attributes = attributesOf(staged.target);
    bool lifted = false;
    if (staged.options.replaceReadOnly && attributes != kNoAttributes &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        lifted = static_cast<bool>(setReadOnly(staged.target, false));
    }
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(staged.temporary.c_str(), staged.target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return Status::success();
        }
        const DWORD moveError = GetLastError();
        if (!heldByAnother(moveError) || attempt == kReplaceAttempts) {
            if (lifted) setReadOnly(staged.target, true);
            return last.fail(moveError);
        }
        Sleep(kReplacePause);
    }
}

void discardFile(const StagedFile& staged) {
    removeTemporary(staged.temporary);
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
    // Windows refuses it too, but in words that do not say why.
    if (attributes & FILE_ATTRIBUTE_READONLY) return last.ours("the file is read-only");
    if (!DeleteFileW(path.c_str())) {
        const DWORD code = GetLastError();
        if (isMissing(code)) return Status::success();
        return last.fail(code);
    }
    return Status::success();
}

std::vector<fs::path> listFolder(const fs::path& folder) {
    std::vector<fs::path> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") names.emplace_back(std::wstring(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

Status createFolder(const fs::path& folder, unsigned long* error) {
    LastError last(error);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return Status::success();
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS && folderExists(folder)) return Status::success();
    return last.fail(code);
}

Status removeFolder(const fs::path& folder, unsigned long* error) {
    LastError last(error);
    if (RemoveDirectoryW(folder.c_str())) return Status::success();
    return last.fail();
}

namespace {

class HandleLock : public FolderLock {
public:
    explicit HandleLock(HANDLE file) : file_(file) {}
    // Windows may release a closed handle's locks only later: unlocked first,
    // so the next taker finds the file free at once.
    ~HandleLock() override {
        OVERLAPPED start{};
        UnlockFileEx(file_, 0, 1, 0, &start);
        CloseHandle(file_);
    }

private:
    HANDLE file_;
};

}  // namespace

Expected<std::unique_ptr<FolderLock>> tryLock(const fs::path& lockFile, unsigned long* error) {
    LastError last(error);
    // Shared in full: a lock file only ever holds a lock, never bytes to guard,
    // and one left by a crash must open.
    Handle file(CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Problem{Problem::Kind::Failed, lockFile, last.fail().reason()};
    OVERLAPPED start{};
    if (!LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &start)) {
        const DWORD code = GetLastError();
        const Status failed = last.fail(code);
        if (code == ERROR_LOCK_VIOLATION) {
            return Problem{Problem::Kind::Busy, lockFile, "another program holds it"};
        }
        return Problem{Problem::Kind::Failed, lockFile, failed.reason()};
    }
    return std::unique_ptr<FolderLock>(std::make_unique<HandleLock>(file.release()));
}

std::string localTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[32] = {};
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u.%02u.%02u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
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
