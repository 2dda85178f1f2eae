#pragma once

// File services over the wide-character Win32 calls. Paths are UTF-16 on
// Windows, so any name the user's system allows can be read and written.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace quorvik::platform::win32 {

bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);
bool isLink(const std::filesystem::path& path);
ReadResult readFile(const std::filesystem::path& path, std::uintmax_t maxBytes);
// Writes a temporary file beside the target, flushes it to the disk and gives
// it its final attributes: those the player gave the old file (hidden, system,
// archive, not indexed), read-only when options.readOnly. A read-only target is
// refused, unless options.replaceReadOnly. A symbolic link stays a link: the
// staged file replaces its target. The temporary file never outlives a
// failure. On failure `error`, when given, receives the system's error code of
// the step that failed (0 for a failure of our own); so do the calls below.
Expected<StagedFile> stageFile(const std::filesystem::path& path, std::string_view bytes,
                               WriteOptions options, unsigned long* error = nullptr);
// Moves the staged file over its target. A target that another program holds
// for a moment (a cloud sync client or a virus scanner reading the file) is
// tried again for about a second. On failure the staged file stays.
Status commitFile(const StagedFile& staged, unsigned long* error = nullptr);
void discardFile(const StagedFile& staged);
Status setReadOnly(const std::filesystem::path& path, bool readOnly);
// Removes exactly this file; a missing file is no error, a folder is refused.
Status deleteFile(const std::filesystem::path& path, unsigned long* error = nullptr);

std::vector<std::filesystem::path> listFolder(const std::filesystem::path& folder);
Status createFolder(const std::filesystem::path& folder, unsigned long* error = nullptr);
Status removeFolder(const std::filesystem::path& folder, unsigned long* error = nullptr);
// A lock on the file's first byte, which Windows keeps per handle: a second
// taker in this process is refused too.
Expected<std::unique_ptr<FolderLock>> tryLock(const std::filesystem::path& lockFile,
                                              unsigned long* error = nullptr);
std::string localTime();

// Whether `path` is `folder` or lies inside it, compared as Windows compares
// names: letter case aside, ".." resolved.
bool isInside(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace quorvik::platform::win32
