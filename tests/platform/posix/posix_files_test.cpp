#include "platform/posix/posix_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace quorvik::platform::posix {
namespace {

using quorvik::testing::readBytes;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;
namespace fs = std::filesystem;

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

Status writeFileAtomic(const fs::path& path, std::string_view bytes, WriteOptions options = {}) {
    Expected<StagedFile> staged = stageFile(path, bytes, options);
    if (!staged) return staged.problem();
    return commitFile(*staged);
}

TEST(PosixFiles, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
    TempDir dir;
    const auto file = dir / "Video.scr";
    writeBytes(file, "old contents that are longer than the new ones");
    ::chmod(file.c_str(), 0640);

    ASSERT_TRUE(writeFileAtomic(file, std::string("new\0bytes\r\n", 11)));
    EXPECT_EQ(readBytes(file), std::string("new\0bytes\r\n", 11));
    EXPECT_EQ(modeOf(file), 0640u) << "the file keeps its permissions";
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(PosixFiles, ReadOnlyTargetIsRefusedAndKept) {
    TempDir dir;
    const auto file = dir / "Audio.scr";
    writeBytes(file, "keep me");
    ASSERT_TRUE(setReadOnly(file, true));
    EXPECT_EQ(modeOf(file) & 0222, 0u);

    const Status status = writeFileAtomic(file, "lost");
    EXPECT_FALSE(status);
    EXPECT_EQ(status.reason(), "the file is read-only");
    EXPECT_EQ(readBytes(file), "keep me");
    // Removing it is refused alike, as Windows refuses it.
    EXPECT_EQ(deleteFile(file).reason(), "the file is read-only");
    EXPECT_EQ(readBytes(file), "keep me");

    ASSERT_TRUE(setReadOnly(file, false));
    EXPECT_TRUE(writeFileAtomic(file, "now"));
    EXPECT_EQ(readBytes(file), "now");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// A settings file is read-only before it takes its place, so a kill at any
// moment never leaves it writable; only the caller that means to replace a
// read-only file may.
TEST(PosixFiles, TheReadOnlyAttributeIsOnTheStagedFile) {
    TempDir dir;
    const auto file = dir / "Video.scr";
    writeBytes(file, "old");
    ASSERT_TRUE(setReadOnly(file, true));
    Expected<StagedFile> staged = stageFile(file, "new", {.readOnly = true, .replaceReadOnly = true});
    ASSERT_TRUE(staged);
    EXPECT_TRUE(isTemporaryName(staged->temporary.filename())) << staged->temporary;
    EXPECT_EQ(modeOf(staged->temporary) & 0222, 0u);
    EXPECT_EQ(readBytes(file), "old");
    ASSERT_TRUE(commitFile(*staged));
    EXPECT_EQ(readBytes(file), "new");
    EXPECT_EQ(modeOf(file) & 0222, 0u);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(PosixFiles, ALockIsHeldAgainstEveryOtherTakerUntilReleased) {
    TempDir dir;
    const auto lockFile = dir / "lock";
    auto first = tryLock(lockFile);
    ASSERT_TRUE(first);
    const auto second = tryLock(lockFile);
    ASSERT_FALSE(second);
    EXPECT_EQ(second.problem().kind, Problem::Kind::Busy);
    first->reset();
    EXPECT_TRUE(tryLock(lockFile));
    EXPECT_FALSE(tryLock(dir / "missing" / "lock")) << "a lock where no file can be made";
}

TEST(PosixFiles, WriteIntoMissingFolderNamesTheFolder) {
    TempDir dir;
    const Status status = writeFileAtomic(dir / "missing" / "x.scr", "x");
    EXPECT_FALSE(status);
    EXPECT_NE(status.reason().find("does not exist"), std::string::npos) << status.reason();
}

TEST(PosixFiles, WriteThroughALinkKeepsTheLink) {
    TempDir dir;
    writeBytes(dir / "real" / "Video.scr", "old");
    fs::create_directories(dir / "settings");
    fs::create_symlink(dir / "real" / "Video.scr", dir / "settings" / "Video.scr");

    ASSERT_TRUE(writeFileAtomic(dir / "settings" / "Video.scr", "new"));
    EXPECT_TRUE(fs::is_symlink(dir / "settings" / "Video.scr"));
    EXPECT_EQ(readBytes(dir / "real" / "Video.scr"), "new");
}

TEST(PosixFiles, ReadRefusesLargeFilesAndFolders) {
    TempDir dir;
    writeBytes(dir / "big", std::string(100, 'x'));
    EXPECT_EQ(readFile(dir / "big", 100)->size(), 100u);
    const ReadResult large = readFile(dir / "big", 99);
    EXPECT_FALSE(large);
    EXPECT_NE(large.problem().reason.find("too large"), std::string::npos);
    EXPECT_FALSE(readFile(dir.path(), 1000));
    EXPECT_FALSE(readFile(dir / "missing", 1000));

    // A pipe with no writer would block the open; a device never ends.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    for (const fs::path& path : {dir / "pipe", fs::path("/dev/zero")}) {
        const ReadResult special = readFile(path, 1000);
        EXPECT_FALSE(special) << path;
        EXPECT_EQ(special.problem().reason, "it is not a regular file") << path;
    }
}

TEST(PosixFiles, DeleteRemovesOnlyTheNamedFile) {
    TempDir dir;
    writeBytes(dir / "Quell Moor" / "a b.scr", "x");
    writeBytes(dir / "Quell Moor" / "a", "neighbour");
    writeBytes(dir / "Quell", "neighbour");

    EXPECT_TRUE(deleteFile(dir / "Quell Moor" / "a b.scr"));
    EXPECT_FALSE(fs::exists(dir / "Quell Moor" / "a b.scr"));
    EXPECT_TRUE(fs::exists(dir / "Quell Moor" / "a"));
    EXPECT_TRUE(fs::exists(dir / "Quell"));
    EXPECT_TRUE(deleteFile(dir / "Quell Moor" / "a b.scr")) << "a missing file is no error";
    EXPECT_FALSE(deleteFile(dir / "Quell Moor")) << "a folder is never removed";
}

// The lock a Quorvik run with sudo left belongs to root: the reason says so,
// and how to give it back. Only root can make such a file for another user
// to meet.
TEST(PosixFiles, ALockLeftByAnotherUserSaysWhoseItIsAndWhatToDo) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to leave a lock as another user would meet it";
    TempDir dir;
    const fs::path history = dir / "Quorvik history";
    fs::create_directories(history);
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_TRUE(tryLock(history / ".lock"));  // made by root, 0644 under its umask
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        const auto lock = tryLock(history / ".lock");
        const std::string reason = lock ? std::string("locked") : lock.problem().reason;
        (void)!::write(pipeEnds[1], reason.data(), reason.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string reason;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        reason.append(buffer, got);
    ::close(pipeEnds[0]);
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(
        reason,
        "Permission denied: it belongs to root, not to you (a Quorvik run with sudo leaves it so); "
        "give the folder back to yourself, for example with: sudo chown -R \"$USER\" \"" +
            history.string() + "\"");
}

}  // namespace
}  // namespace quorvik::platform::posix
