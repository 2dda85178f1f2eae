#pragma once

// File services over POSIX calls. The Windows read-only attribute is the
// absence of every write permission bit, which is also how Wine shows it to
// the game.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system.h"

namespace quorvik::platform::posix {

bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);
bool isLink(const std::filesystem::path& path);
ReadResult readFile(const std::filesystem::path& path, std::uintmax_t maxBytes);
// Writes a temporary file beside the target and syncs it, with the target's
// permissions (none to write when options.readOnly). A read-only target is
// refused, as Windows refuses it, unless options.replaceReadOnly.
Expected<StagedFile> stageFile(const std::filesystem::path& path, std::string_view bytes,
                               WriteOptions options);
// Renames the staged file over its target and syncs the folder.
Status commitFile(const StagedFile& staged);
void discardFile(const StagedFile& staged);
Status setReadOnly(const std::filesystem::path& path, bool readOnly);
Status deleteFile(const std::filesystem::path& path);
std::vector<std::filesystem::path> listFolder(const std::filesystem::path& folder);
Status createFolder(const std::filesystem::path& folder);
Status removeFolder(const std::filesystem::path& folder);
// An open-file-description lock on the file's first byte: it conflicts with
// another process's, and with the locks Wine takes for Windows programs.
Expected<std::unique_ptr<FolderLock>> tryLock(const std::filesystem::path& lockFile);
std::string localTime();

}  // namespace quorvik::platform::posix
