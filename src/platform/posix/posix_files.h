#pragma once

// File services over POSIX calls. The Windows read-only attribute is the
// absence of every write permission bit, which is also how Wine shows it to
// the game.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/system.h"

namespace quorvik::platform::posix {

bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);
ReadResult readFile(const std::filesystem::path& path, std::uintmax_t maxBytes);
// Writes a temporary file beside the target, syncs it and renames it over the
// target. A read-only target is refused, as Windows refuses it.
Status writeFileAtomic(const std::filesystem::path& path, std::string_view bytes);
Status setReadOnly(const std::filesystem::path& path, bool readOnly);
Status deleteFile(const std::filesystem::path& path);

}  // namespace quorvik::platform::posix
