#pragma once

// Paths as Wine sees them: drive letters inside a prefix, names that match
// without regard to case, and the user's Documents folder of a prefix.

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/wine/wine_registry.h"

namespace quorvik::platform::wine {

// True for "C:\..." and "c:/...": a path on a Windows drive.
bool isDrivePath(std::string_view utf8);

// A drive path as Wine opens it: through <prefix>/dosdevices/<letter>: (for C:
// <prefix>/drive_c when that link is missing), each part matched without regard
// to case where the exact spelling does not exist. Other text is a POSIX path
// and stays as it is.
std::filesystem::path mapWindowsPath(const std::filesystem::path& prefix, std::string_view utf8);

// The path as Wine would open it: a path that exists as written is taken as it
// is; otherwise each part that does not exist is matched without regard to case
// against its folder's entries, from the root down. Parts below the first that
// matches nothing stay as written (a file about to be made, say).
std::filesystem::path resolveCase(const std::filesystem::path& path);

// The user's Documents folder inside the prefix, as Wine reports it ("Personal"
// of the user's Shell Folders), else drive_c/users/<login or steamuser>/
// Documents or My Documents. Symbolic links are resolved. Nothing when none of
// them is a folder.
std::optional<std::filesystem::path> findDocumentsFolder(const std::filesystem::path& prefix,
                                                         const RegistryHive& user,
                                                         std::string_view login);

}  // namespace quorvik::platform::wine
