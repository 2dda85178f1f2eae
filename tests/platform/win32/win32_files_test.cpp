// The Windows file services against real files: under Wine in the cross build,
// on Windows itself when built there.

#include "platform/win32/win32_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "platform/paths.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"

namespace quorvik::platform::win32 {
namespace {

using quorvik::testing::readBytes;
using quorvik::testing::TempDir;
using quorvik::testing::writeBytes;
namespace fs = std::filesystem;

DWORD attributesOf(const fs::path& path) {
    return GetFileAttributesW(path.c_str());
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Both halves of a write, as the system's writeFile runs them.
Status writeFileAtomic(const fs::path& path, std::string_view bytes,
                       unsigned long* error = nullptr) {
    Expected<StagedFile> staged = stageFile(path, bytes, {}, error);
    if (!staged) return staged.problem();
    Status committed = commitFile(*staged, error);
    if (!committed) discardFile(*staged);
    return committed;
}

bool isReadOnly(const fs::path& path) {
    return (attributesOf(path) & FILE_ATTRIBUTE_READONLY) != 0;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A folder name with a blank, an apostrophe and letters beyond ASCII: the wide
// calls must carry it whole.
const fs::path kOddFolder = pathFromUtf8("Jane's Quell Moor \xC3\xA9t\xC3\xA9");

TEST(Win32Files, AtomicWriteReplacesWholeKeepsAttributesAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path file = dir.path() / kOddFolder / "Video.scr";
    writeBytes(file, "old contents that are longer than the new ones");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    const std::string bytes("new\0bytes\r\n\xE9", 12);
    ASSERT_TRUE(writeFileAtomic(file, bytes));
    EXPECT_EQ(readBytes(file), bytes);
    EXPECT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_HIDDEN) << "the file stays hidden";
    EXPECT_EQ(entriesIn(dir.path() / kOddFolder), 1u);

    ASSERT_TRUE(writeFileAtomic(dir.path() / kOddFolder / "Audio.scr", "")) << "a new, empty file";
    EXPECT_EQ(readBytes(dir.path() / kOddFolder / "Audio.scr"), "");
    EXPECT_EQ(entriesIn(dir.path() / kOddFolder), 2u);
}

TEST(Win32Files, ReadOnlyTargetIsRefusedAndKept) {
    TempDir dir;
    const fs::path file = dir / "Audio.scr";
    writeBytes(file, "keep me");
    ASSERT_TRUE(setReadOnly(file, true));
    EXPECT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_READONLY);

    const Status status = writeFileAtomic(file, "lost");
    EXPECT_FALSE(status);
    EXPECT_EQ(status.reason(), "the file is read-only");
    EXPECT_EQ(readBytes(file), "keep me");
    EXPECT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_READONLY);

    ASSERT_TRUE(setReadOnly(file, false));
    EXPECT_FALSE(attributesOf(file) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(writeFileAtomic(file, "now"));
    EXPECT_EQ(readBytes(file), "now");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(Win32Files, ReadOnlyKeepsTheOtherAttributes) {
    TempDir dir;
    const fs::path file = dir / "Video.scr";
    writeBytes(file, "x");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(setReadOnly(file, true));
    EXPECT_EQ(attributesOf(file) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
    ASSERT_TRUE(setReadOnly(file, false));
    EXPECT_EQ(attributesOf(file) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_FALSE(setReadOnly(dir / "missing.scr", true));
}

TEST(Win32Files, WriteIntoMissingFolderNamesTheFolderAndCreatesNothing) {
    TempDir dir;
    const fs::path folder = dir / "missing";
    const Status status = writeFileAtomic(folder / "x.scr", "x");
    EXPECT_FALSE(status);
    EXPECT_TRUE(contains(status.reason(), pathToUtf8(folder) + " does not exist"))
        << status.reason();
    EXPECT_EQ(entriesIn(dir.path()), 0u);
}

TEST(Win32Files, FolderInPlaceOfTheFileIsRefused) {
    TempDir dir;
    fs::create_directories(dir / "Video.scr");
    EXPECT_FALSE(writeFileAtomic(dir / "Video.scr", "x"));
    EXPECT_TRUE(fs::is_directory(dir / "Video.scr"));
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// Each row: whether the target is read-only and replaced on purpose. The
// attribute lifted for the move is back once the move has failed, and the
// staged file, read-only or not, can still be discarded.
TEST(Win32Files, FailedReplaceLeavesTargetAndNoTemporary) {
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly);
        TempDir dir;
        const fs::path file = dir / "Video.scr";
        writeBytes(file, "old");
        ASSERT_TRUE(setReadOnly(file, readOnly));
        // Held open without sharing: the system refuses to replace it.
        const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Expected<StagedFile> staged =
            stageFile(file, "new", {.readOnly = readOnly, .replaceReadOnly = readOnly});
        ASSERT_TRUE(staged);
        const Status status = commitFile(*staged);
        CloseHandle(held);

        if (status) GTEST_SKIP() << "this system replaces files that are held open";
        EXPECT_FALSE(status.reason().empty());
        EXPECT_EQ(readBytes(file), "old");
        EXPECT_EQ(isReadOnly(file), readOnly);
        EXPECT_EQ(entriesIn(dir.path()), 2u) << "the staged file waits for the caller";
        discardFile(*staged);
        EXPECT_EQ(entriesIn(dir.path()), 1u) << "the temporary file is gone";
    }
}

// Each row: the target's attributes before, the write's options, whether the
// write goes through, and the attributes on the staged file and after. The
// staged file has its final attributes before it takes the target's place, so
// a kill at any moment never leaves a read-only settings file writable.
TEST(Win32Files, TheStagedFileHasItsFinalAttributes) {
    constexpr DWORD kNone = 0, kHidden = FILE_ATTRIBUTE_HIDDEN, kReadOnly = FILE_ATTRIBUTE_READONLY;
    struct Row {
        const char* name;
        std::optional<DWORD> before;  // none: there is no file yet
        WriteOptions options;
        bool written;
        DWORD after;  // of hidden and read-only
    };
    const Row rows[] = {
        {"a new file left read-only", std::nullopt, {.readOnly = true}, true, kReadOnly},
        {"a new file", std::nullopt, {}, true, kNone},
        {"read-only replaced, read-only again",
         kReadOnly,
         {.readOnly = true, .replaceReadOnly = true},
         true,
         kReadOnly},
        {"read-only replaced, writable", kReadOnly, {.replaceReadOnly = true}, true, kNone},
        {"hidden stays hidden", kHidden, {.readOnly = true}, true, kHidden | kReadOnly},
        {"read-only not replaced", kHidden | kReadOnly, {.readOnly = true}, false, kNone},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const fs::path file = dir / "Video.scr";
        if (row.before) {
            writeBytes(file, "old");
            ASSERT_TRUE(SetFileAttributesW(file.c_str(),
                                           *row.before == 0 ? FILE_ATTRIBUTE_NORMAL : *row.before));
        }
        Expected<StagedFile> staged = stageFile(file, "new", row.options);
        ASSERT_EQ(staged.ok(), row.written);
        if (!row.written) {
            EXPECT_EQ(staged.problem().reason, "the file is read-only");
            EXPECT_EQ(staged.problem().path, file);
            EXPECT_EQ(attributesOf(file) & (kHidden | kReadOnly), *row.before);
            EXPECT_EQ(entriesIn(dir.path()), 1u);
            continue;
        }
        EXPECT_TRUE(isTemporaryName(staged->temporary.filename())) << staged->temporary;
        // Wine shows every name that starts with a dot as hidden.
        EXPECT_EQ(attributesOf(staged->temporary) & row.after, row.after);
        EXPECT_EQ(isReadOnly(staged->temporary), (row.after & kReadOnly) != 0);
        if (row.before) {
            EXPECT_EQ(readBytes(file), "old") << "untouched until the commit";
        }
        ASSERT_TRUE(commitFile(*staged));
        EXPECT_EQ(readBytes(file), "new");
        EXPECT_EQ(attributesOf(file) & (kHidden | kReadOnly), row.after);
        EXPECT_EQ(entriesIn(dir.path()), 1u);
    }
}

// The lock that keeps two copies of the tool from writing one folder at once.
TEST(Win32Files, ALockIsHeldAgainstEveryOtherTakerUntilReleased) {
    TempDir dir;
    const fs::path lockFile = dir.path() / kOddFolder / "lock";
    fs::create_directories(lockFile.parent_path());
    auto first = tryLock(lockFile);
    ASSERT_TRUE(first) << first.problem().reason;
    const auto second = tryLock(lockFile);
    ASSERT_FALSE(second);
    EXPECT_EQ(second.problem().kind, Problem::Kind::Busy);
    EXPECT_EQ(second.problem().reason, "another program holds it");
    first->reset();
    EXPECT_TRUE(tryLock(lockFile)) << "free again once released";
    const auto nowhere = tryLock(dir / "missing" / "lock");
    ASSERT_FALSE(nowhere);
    EXPECT_EQ(nowhere.problem().kind, Problem::Kind::Failed);
}

TEST(Win32Files, FoldersAreListedMadeAndRemoved) {
    TempDir dir;
    const fs::path folder = dir.path() / kOddFolder;
    ASSERT_TRUE(createFolder(folder));
    EXPECT_TRUE(createFolder(folder)) << "an existing folder is no error";
    EXPECT_FALSE(createFolder(dir / "missing" / "inner")) << "one folder at a time";
    writeBytes(dir / "Video.scr", "x");
    EXPECT_FALSE(createFolder(dir / "Video.scr")) << "a file in its place";

    std::vector<fs::path> names = listFolder(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<fs::path>{kOddFolder, "Video.scr"}));
    EXPECT_TRUE(listFolder(dir / "missing").empty());

    writeBytes(folder / "a.scr", "x");
    EXPECT_FALSE(removeFolder(folder)) << "only an empty folder";
    EXPECT_EQ(listFolder(folder), std::vector<fs::path>{"a.scr"});
    ASSERT_TRUE(deleteFile(folder / "a.scr"));
    EXPECT_TRUE(removeFolder(folder));
    EXPECT_FALSE(folderExists(folder));
}

// A sync client or virus scanner holds the file for a moment after it changes:
// the replacement waits for it instead of failing.
TEST(Win32Files, ReplaceWaitsForAFileHeldBriefly) {
    TempDir dir;
    const fs::path file = dir / "Video.scr";
    writeBytes(file, "old");
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    unsigned long error = 0;
    const Status status = writeFileAtomic(file, "new", &error);
    release.join();
    ASSERT_TRUE(status) << status.reason();
    EXPECT_EQ(readBytes(file), "new");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// Held for longer than the replacement waits: the system's reason and code.
TEST(Win32Files, ReplaceGivesUpAfterAboutASecond) {
    TempDir dir;
    const fs::path file = dir / "Audio.scr";
    writeBytes(file, "old");
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const ULONGLONG start = GetTickCount64();
    unsigned long error = 0;
    const Status status = writeFileAtomic(file, "new", &error);
    const ULONGLONG waited = GetTickCount64() - start;
    CloseHandle(held);
    if (status) GTEST_SKIP() << "this system replaces files that are held open";
    EXPECT_TRUE(error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) << error;
    EXPECT_EQ(status.reason(), errorText(error));
    EXPECT_GE(waited, 800u);
    EXPECT_LE(waited, 3000u);
    EXPECT_EQ(readBytes(file), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

// Each row: a path, a folder, whether the path lies inside it.
TEST(Win32Files, InsideAFolderAsWindowsComparesNames) {
    struct Row {
        const char* path;
        const char* folder;
        bool inside;
    };
    const Row rows[] = {
        {"C:\\Users\\Jane\\Documents\\QuellMoor\\out\\Settings\\Video.scr",
         "C:\\Users\\Jane\\Documents", true},
        {"c:\\users\\jane\\DOCUMENTS\\x.scr", "C:\\Users\\Jane\\Documents", true},
        {"C:\\Users\\Jane\\Documents\\out\\Settings\\..\\Data\\Scripts\\a.scr",
         "C:\\Users\\Jane\\Documents\\", true},
        {"C:\\Users\\Jane\\Documents", "C:\\Users\\Jane\\Documents", true},
        {"C:\\Users\\Jane\\Documents Old\\x.scr", "C:\\Users\\Jane\\Documents", false},
        {"C:\\Users\\Jane\\Documents\\..\\Desktop\\x.scr", "C:\\Users\\Jane\\Documents", false},
        {"D:\\Games\\x.scr", "C:\\Users\\Jane\\Documents", false},
        {"C:\\Users\\Jane\\x.scr", "", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isInside(pathFromUtf8(row.path), pathFromUtf8(row.folder)), row.inside)
            << row.path << " in " << row.folder;
    }
}

TEST(Win32Files, WriteThroughALinkKeepsTheLink) {
    TempDir dir;
    writeBytes(dir / "real" / "Video.scr", "old");
    fs::create_directories(dir / "settings");
    const fs::path link = dir / "settings" / "Video.scr";
    const fs::path real = dir / "real" / "Video.scr";
    // Wine reports success without making a link.
    const bool made = CreateSymbolicLinkW(link.c_str(), real.c_str(),
                                          SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
                      attributesOf(link) != INVALID_FILE_ATTRIBUTES &&
                      (attributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!made) {
        GTEST_SKIP() << "symbolic links cannot be made here";
    }
    ASSERT_TRUE(writeFileAtomic(link, "new"));
    EXPECT_TRUE(attributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(readBytes(real), "new");
}

TEST(Win32Files, ExistsTellsFilesFromFolders) {
    TempDir dir;
    writeBytes(dir.path() / kOddFolder / "Video.scr", "x");
    EXPECT_TRUE(fileExists(dir.path() / kOddFolder / "Video.scr"));
    EXPECT_FALSE(fileExists(dir.path() / kOddFolder));
    EXPECT_FALSE(fileExists(dir / "missing"));
    EXPECT_TRUE(folderExists(dir.path() / kOddFolder));
    EXPECT_FALSE(folderExists(dir.path() / kOddFolder / "Video.scr"));
    EXPECT_FALSE(folderExists(dir / "missing"));
}

TEST(Win32Files, ReadHonoursTheLimitAndRefusesFoldersAndMissingFiles) {
    TempDir dir;
    const std::string bytes = std::string(70000, 'x') + std::string("\0\r\n", 3);
    writeBytes(dir / "big", bytes);
    const ReadResult whole = readFile(dir / "big", bytes.size());
    ASSERT_TRUE(whole) << whole.problem().reason;
    EXPECT_EQ(*whole, bytes) << "read in several pieces, byte for byte";

    const ReadResult large = readFile(dir / "big", bytes.size() - 1);
    EXPECT_FALSE(large);
    EXPECT_TRUE(contains(large.problem().reason, "too large")) << large.problem().reason;

    const ReadResult folder = readFile(dir.path(), 1000);
    EXPECT_FALSE(folder);
    EXPECT_TRUE(contains(folder.problem().reason, "folder")) << folder.problem().reason;

    const ReadResult missing = readFile(dir / "missing", 1000);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.problem().reason.empty());
    EXPECT_NE(missing.problem().reason.back(), '\n') << "fits inside a sentence";
}

TEST(Win32Files, DeleteRemovesOnlyTheNamedFile) {
    TempDir dir;
    const fs::path folder = dir / "Jane's Quell Moor";
    writeBytes(folder / "a b.scr", "x");
    writeBytes(folder / "a", "neighbour");
    writeBytes(folder / "b.scr", "neighbour");
    writeBytes(dir / "Jane's", "neighbour");

    EXPECT_TRUE(deleteFile(folder / "a b.scr"));
    EXPECT_FALSE(fs::exists(folder / "a b.scr"));
    EXPECT_TRUE(fs::exists(folder / "a"));
    EXPECT_TRUE(fs::exists(folder / "b.scr"));
    EXPECT_TRUE(fs::exists(dir / "Jane's"));
    EXPECT_TRUE(deleteFile(folder / "a b.scr")) << "a missing file is no error";
    EXPECT_TRUE(deleteFile(dir / "missing" / "a b.scr")) << "nor is a missing folder";
    EXPECT_FALSE(deleteFile(folder)) << "a folder is never removed";
    EXPECT_TRUE(fs::exists(folder / "a"));
}

}  // namespace
}  // namespace quorvik::platform::win32
