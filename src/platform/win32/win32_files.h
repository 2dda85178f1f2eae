#pragma once

// File services over the wide-character Win32 calls. Paths are UTF-16 on
// Windows, so any name the user's system allows can be read and written.

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/system.h"

namespace quorvik::platform::win32 {

bool fileExists(const std::filesystem::path& path);
bool folderExists(const std::filesystem::path& path);
ReadResult readFile(const std::filesystem::path& path, std::uintmax_t maxBytes);
// Writes a temporary file beside the target, flushes it to the disk and moves
// it over the target. A read-only target is refused and kept as it was; the
// temporary file never outlives a failure. A symbolic link stays a link and
// its target is replaced. A target that another program holds for a moment
// (a cloud sync client or a virus scanner reading the file) is tried again for
// about a second. On failure `error`, when given, receives the system's error
// code of the step that failed (0 for a failure of our own).
Status writeFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                       unsigned long* error = nullptr);
Status setReadOnly(const std::filesystem::path& path, bool readOnly);
// Removes exactly this file; a missing file is no error, a folder is refused.
Status deleteFile(const std::filesystem::path& path, unsigned long* error = nullptr);

// Whether `path` is `folder` or lies inside it, compared as Windows compares
// names: letter case aside, ".." resolved.
bool isInside(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace quorvik::platform::win32
