#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <system_error>

#include "platform/paths.h"

namespace quorvik::platform::posix {
namespace {

namespace fs = std::filesystem;

std::string errnoText(int error) { return std::generic_category().message(error); }

// Closes a descriptor on every path out of a function.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int close() {
        const int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

fs::path folderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

Status writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return Status::failure(errnoText(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return Status::success();
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool fileExists(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool folderExists(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isLink(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) {
    // Opened without blocking and read only when it is a regular file: a pipe
    // or a device in a file's place would otherwise wait for a writer, or
    // give bytes for ever.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) return unreadable(path, errnoText(errno));
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return unreadable(path, errnoText(errno));
    if (S_ISDIR(info.st_mode)) return unreadable(path, errnoText(EISDIR));
    if (!S_ISREG(info.st_mode)) return unreadable(path, "it is not a regular file");
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return unreadable(path,
                          "the file is too large: " + std::to_string(info.st_size) + " bytes");
    }
    std::string bytes;
    // One buffer of the file's size. Grown by doubling, the buffer touched over
    // twice the file in fresh pages; start-up reads a 1.7 MB system.reg for every
    // prefix, and faulting those pages in cost more than the reading.
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return unreadable(path, errnoText(errno));
        }
        if (got == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A file that grows while being read can still be too large.
        if (bytes.size() > maxBytes) {
            return unreadable(path,
                              "the file is too large: over " + std::to_string(maxBytes) + " bytes");
        }
    }
    return bytes;
}

Expected<StagedFile> stageFile(const fs::path& requested, std::string_view bytes,
                               WriteOptions options) {
    std::error_code error;
    // A settings file that is a link to a file elsewhere stays a link.
    fs::path target = requested;
    if (fs::is_symlink(requested, error)) {
        const fs::path resolved = fs::canonical(requested, error);
        if (!error) target = resolved;
    }

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return Problem{Problem::Kind::Failed, target, errnoText(EISDIR)};
    if (exists && !S_ISREG(existing.st_mode)) {
        return Problem{Problem::Kind::Failed, target, "it is not a regular file"};
    }
    if (exists && (existing.st_mode & 0222) == 0 && !options.replaceReadOnly) {
        return Problem{Problem::Kind::Failed, target, "the file is read-only"};
    }

    const fs::path folder = folderOf(target);
    if (!folderExists(folder)) {
        return Problem{Problem::Kind::Failed, target,
                       "the folder " + pathToUtf8(folder) + " does not exist"};
    }
    const fs::path temporary = folder / temporaryName(target, static_cast<unsigned long>(::getpid()));
    Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0) return Problem{Problem::Kind::Failed, target, errnoText(errno)};

    const auto abandon = [&](const std::string& reason) -> Expected<StagedFile> {
        fd.close();
        ::unlink(temporary.c_str());
        return Problem{Problem::Kind::Failed, target, reason};
    };
    // The target's permissions, or for a new file what the umask leaves.
    mode_t mode = 0;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        struct stat created {};
        if (::fstat(fd.get(), &created) != 0) return abandon(errnoText(errno));
        mode = created.st_mode & 07777;
    }
    if (options.readOnly) {
        mode &= ~mode_t{0222};
    } else if ((mode & 0222) == 0) {
        mode |= S_IWUSR;
    }
    if (::fchmod(fd.get(), mode) != 0) return abandon(errnoText(errno));
    if (Status written = writeAll(fd.get(), bytes); !written) return abandon(written.reason());
    if (::fsync(fd.get()) != 0) return abandon(errnoText(errno));
    if (fd.close() != 0) return abandon(errnoText(errno));
    return StagedFile{temporary, target, options};
}

Status commitFile(const StagedFile& staged) {
    if (::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
        return Status::failure(errnoText(errno));
    }
    syncFolder(folderOf(staged.target));
    return Status::success();
}

void discardFile(const StagedFile& staged) { ::unlink(staged.temporary.c_str()); }

Status setReadOnly(const fs::path& path, bool readOnly) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Status::failure(errnoText(errno));
    const mode_t mode = readOnly ? (info.st_mode & ~mode_t{0222}) : (info.st_mode | S_IWUSR);
    if (::chmod(path.c_str(), mode & 07777) != 0) return Status::failure(errnoText(errno));
    return Status::success();
}

Status deleteFile(const fs::path& path) {
    // Linux would remove a read-only file where Windows refuses: both refuse
    // it, so that one rule holds on both. A link is removed, not its target.
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT ? Status::success() : Status::failure(errnoText(errno));
    }
    if (S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0)
        return Status::failure("the file is read-only");
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return Status::success();
    return Status::failure(errnoText(errno));
}

std::vector<fs::path> listFolder(const fs::path& folder) {
    std::vector<fs::path> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        names.push_back(entry->path().filename());
    }
    return names;
}

Status createFolder(const fs::path& folder) {
    if (::mkdir(folder.c_str(), 0777) == 0) return Status::success();
    if (errno == EEXIST && folderExists(folder)) return Status::success();
    return Status::failure(errnoText(errno));
}

Status removeFolder(const fs::path& folder) {
    if (::rmdir(folder.c_str()) == 0) return Status::success();
    return Status::failure(errnoText(errno));
}

namespace {

class FileLock : public FolderLock {
public:
    explicit FileLock(int fd) : fd_(fd) {}
    ~FileLock() override { ::close(fd_); }

private:
    int fd_;
};

}  // namespace

namespace {

// Why a file or folder Quorvik made cannot be used, where the reason alone
// does not tell: one left by a Quorvik run as another user (with sudo) belongs
// to that user, and only giving it back helps.
std::string ownedByAnother(const fs::path& path, int error) {
    struct stat info {};
    const fs::path folder = folderOf(path);
    const bool found = ::stat(path.c_str(), &info) == 0 || ::stat(folder.c_str(), &info) == 0;
    if (error != EACCES || !found || info.st_uid == ::geteuid()) return errnoText(error);
    struct passwd entry {};
    struct passwd* owner = nullptr;
    char buffer[4096];
    const bool named =
        ::getpwuid_r(info.st_uid, &entry, buffer, sizeof buffer, &owner) == 0 && owner != nullptr;
    const std::string who =
        named ? std::string(owner->pw_name) : "user " + std::to_string(info.st_uid);
    return errnoText(error) + ": it belongs to " + who +
           ", not to you (a Quorvik run with sudo leaves it so); give the folder back to yourself, "
           "for example with: sudo chown -R \"$USER\" \"" +
           pathToUtf8(folder) + "\"";
}

}  // namespace

Expected<std::unique_ptr<FolderLock>> tryLock(const fs::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Problem{Problem::Kind::Failed, lockFile, ownedByAnother(lockFile, errno)};
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    if (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EAGAIN || error == EACCES) {
            return Problem{Problem::Kind::Busy, lockFile, "another program holds it"};
        }
        return Problem{Problem::Kind::Failed, lockFile, errnoText(error)};
    }
    return std::unique_ptr<FolderLock>(std::make_unique<FileLock>(fd));
}

std::string localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H.%M.%S", &local);
    return text;
}

}  // namespace quorvik::platform::posix
