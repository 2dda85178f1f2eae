#pragma once

// The history: before a command replaces or removes a file of the game's, the
// file's exact bytes are kept in an entry of their own beside the settings
// ("Quorvik history/2026-12-07 13.45.02/"), with a list of what the entry
// holds, so that any save or restore can be undone. The newest 20 entries are
// kept. Also the lock that lets one Quorvik at a time change the folder, and
// the clean-up of what a killed one left.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::operations {

inline constexpr std::string_view kHistoryFolderName = "Quorvik history";
inline constexpr std::size_t kHistoryKept = 20;

std::filesystem::path historyFolder(const std::filesystem::path& settingsFolder);

// A file by its place under the game's "out" folder ("Settings/Video.scr",
// "Data/Scripts/varlist_blur.scr"); nothing for a place that is none of the
// files Quorvik writes.
std::optional<std::filesystem::path> placePath(const std::filesystem::path& settingsFolder,
                                               std::string_view place);
// The place as the player reads it: "Video.scr", "Data\Scripts\varlist_blur.scr".
std::string shownPlace(std::string_view place);

struct KeptFile {
    std::string place;
    std::optional<std::string> bytes;  // nothing: the file was not there

    bool operator==(const KeptFile&) const = default;
};

struct HistoryEntry {
    std::string name;  // its folder's name: the local time it was made
    std::string what;  // what came after it: "a save", "restoring ..."
    std::vector<KeptFile> files;
};

// Newest first, without the files' bytes. An entry without its list, which a
// kill cut off, is none.
std::vector<HistoryEntry> listHistory(platform::System& system,
                                      const std::filesystem::path& settingsFolder);
// One entry with its files' bytes.
platform::Expected<HistoryEntry> readHistoryEntry(platform::System& system,
                                                  const std::filesystem::path& settingsFolder,
                                                  std::string_view name);
// A new entry, its list written last; the entry's folder.
platform::Expected<std::filesystem::path> writeHistoryEntry(platform::System& system,
                                                            const std::filesystem::path& settingsFolder,
                                                            std::string_view what,
                                                            const std::vector<KeptFile>& files);
// Removes an entry's files and its folder; anything else the player put
// there stays, and with it the folder.
void removeHistoryEntry(platform::System& system, const std::filesystem::path& entry);
// Removes all but the newest kHistoryKept entries.
void pruneHistory(platform::System& system, const std::filesystem::path& settingsFolder);

// The lock of the settings folder and its Data folder, tried for about three
// seconds while another Quorvik holds it (then a Busy problem). Taking it
// removes what a killed or crashed Quorvik left (temporary files, entries
// cut off before their list) and entries beyond the newest kHistoryKept.
platform::Expected<std::unique_ptr<platform::FolderLock>> lockSettingsFolder(
    platform::System& system, const std::filesystem::path& settingsFolder);
// The same clean-up at a load, when no one holds the lock and there is a
// history (a load makes no folder).
void sweepIfIdle(platform::System& system, const std::filesystem::path& settingsFolder);

}  // namespace quorvik::operations
