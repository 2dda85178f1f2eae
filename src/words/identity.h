#pragma once

// Who made the tool and where it lives. Shown in the caption, the About box,
// the programs' --version and the backup mark.

#include <string_view>

namespace quorvik::words::identity {

// The one version number is the build's (CMake's project version): the
// programs' --version, the About box, the packages and Windows' file version.
#ifndef QUORVIK_VERSION
#error "QUORVIK_VERSION comes from the build"
#endif
inline constexpr std::string_view kVersion = QUORVIK_VERSION;
inline constexpr std::string_view kToolVersion = "v" QUORVIK_VERSION " Final";
inline constexpr std::string_view kAuthor = "Quorvik Team";
inline constexpr std::string_view kEmail = "team@quorvik.example.org";
inline constexpr std::string_view kTwitter = "@QuorvikTool";
inline constexpr std::string_view kWebSite = "https://quorvik.example.org/";
// The backup mark points to one page for menu backups and another for save backups.
inline constexpr std::string_view kMenuBackupUpdates = "https://quorvik.example.org/updates";
inline constexpr std::string_view kSaveBackupUpdates = "https://quorvik.example.org/releases";

// Every message box but the About box carries this title.
inline constexpr std::string_view kAppTitle = "Quorvik by Quorvik Team";

}  // namespace quorvik::words::identity
