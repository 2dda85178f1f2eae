#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
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

std::string temporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    return "." + pathToUtf8(target.filename()) + "." + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random() % 1000000) + ".tmp";
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

ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return {Status::failure(errnoText(errno)), {}};
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return {Status::failure(errnoText(errno)), {}};
    if (S_ISDIR(info.st_mode)) return {Status::failure(errnoText(EISDIR)), {}};
    if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return {Status::failure("the file is too large (" + std::to_string(info.st_size) +
                                " bytes)"),
                {}};
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return {Status::failure(errnoText(errno)), {}};
        }
        if (got == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
        // A pipe or a file that grows while being read can still be too large.
        if (bytes.size() > maxBytes) {
            return {Status::failure("the file is too large (over " + std::to_string(maxBytes) +
                                    " bytes)"),
                    {}};
        }
    }
    return {Status::success(), std::move(bytes)};
}

Status writeFileAtomic(const fs::path& requested, std::string_view bytes) {
    std::error_code error;
    // A settings file that is a link to a file elsewhere stays a link.
    fs::path target = requested;
    if (fs::is_symlink(requested, error)) {
        const fs::path resolved = fs::canonical(requested, error);
        if (!error) target = resolved;
    }

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return Status::failure(errnoText(EISDIR));
    if (exists && (existing.st_mode & 0222) == 0) return Status::failure("the file is read-only");

    const fs::path folder = folderOf(target);
    if (!folderExists(folder)) {
        return Status::failure("the folder " + pathToUtf8(folder) + " does not exist");
    }
    const fs::path temporary = folder / temporaryName(target);
    Descriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.get() < 0) return Status::failure(errnoText(errno));

    const auto abandon = [&](const std::string& reason) {
        fd.close();
        ::unlink(temporary.c_str());
        return Status::failure(reason);
    };
    if (exists && ::fchmod(fd.get(), existing.st_mode & 07777) != 0) {
        return abandon(errnoText(errno));
    }
    if (Status written = writeAll(fd.get(), bytes); !written) return abandon(written.reason());
    if (::fsync(fd.get()) != 0) return abandon(errnoText(errno));
    if (fd.close() != 0) return abandon(errnoText(errno));
    if (::rename(temporary.c_str(), target.c_str()) != 0) return abandon(errnoText(errno));
    syncFolder(folder);
    return Status::success();
}

Status setReadOnly(const fs::path& path, bool readOnly) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Status::failure(errnoText(errno));
    const mode_t mode = readOnly ? (info.st_mode & ~mode_t{0222}) : (info.st_mode | S_IWUSR);
    if (::chmod(path.c_str(), mode & 07777) != 0) return Status::failure(errnoText(errno));
    return Status::success();
}

Status deleteFile(const fs::path& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return Status::success();
    return Status::failure(errnoText(errno));
}

}  // namespace quorvik::platform::posix
