#pragma once

// Who made the tool and where it lives. Shown in the caption, the About box,
// the donation label and the backup mark.

#include <string_view>

namespace quorvik::identity {

inline constexpr std::string_view kToolVersion = "v0.7.9 Final";
inline constexpr std::string_view kAuthor = "Quorvik Team";
inline constexpr std::string_view kEmail = "team@quorvik.example.org";
inline constexpr std::string_view kTwitter = "@QuorvikTool";
// The donation label's caption; the address is its tail. A placeholder that
// belongs to nobody: the project takes no donations yet.
inline constexpr std::string_view kDonationCaption = "BitCoin bc1qquorvikexampledonationaddress0000";
inline constexpr std::string_view kDonationAddress = kDonationCaption.substr(8);
inline constexpr std::string_view kWebSite = "https://quorvik.example.org/";
// The backup mark points to one page for menu backups and another for save backups.
inline constexpr std::string_view kMenuBackupUpdates = "https://quorvik.example.org/updates";
inline constexpr std::string_view kSaveBackupUpdates = "https://quorvik.example.org/releases";

// Every message box but the About box carries this title.
inline constexpr std::string_view kAppTitle = "Quorvik by Quorvik Team";

}  // namespace quorvik::identity
