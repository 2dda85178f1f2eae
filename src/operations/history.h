#pragma once

// The history: before a command replaces or removes a file of the game's, the
// file's exact bytes are kept in an entry of their own beside the settings
// ("Quorvik history/2026-12-07 13.45.02/"), with a list of what the entry
// holds, so that any save or restore can be undone. The newest 20 entries are
// kept; which are newest, each entry's own number says, so that a clock set
// back (another time zone, a correction) never makes a new entry look old.
//
// Also the lock that lets one Quorvik at a time change the folder, and what
// the next Quorvik to take it does with what a killed one left: a save cut
// off between its replacements is finished from what its entry recorded
// before the first of them, and temporary files and entries cut off before
// their list was written are removed. Quorvik removes only what it recognises
// as its own, in the history folder itself, never through a link.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/result.h"
#include "platform/system.h"

namespace quorvik::operations {

inline constexpr std::string_view kHistoryFolderName = "Quorvik history";
inline constexpr std::size_t kHistoryKept = 20;

std::filesystem::path historyFolder(const std::filesystem::path& settingsFolder);

// A file by its place under the game's "out" folder ("Settings/Video.scr",
// "Settings/Video.sc1", "Data/Scripts/varlist_blur.scr"); nothing for a place
// that is none of the files Quorvik writes.
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
    // Counts up by one with each entry made; 0 for an entry an older Quorvik
    // made, which only its name orders (before every numbered one).
    unsigned long number = 0;
    std::vector<KeptFile> files;
};

// Newest first, without the files' bytes. An entry cut off before its list
// was written is none.
std::vector<HistoryEntry> listHistory(platform::System& system,
                                      const std::filesystem::path& settingsFolder);
// One entry with its files' bytes.
platform::Expected<HistoryEntry> readHistoryEntry(platform::System& system,
                                                  const std::filesystem::path& settingsFolder,
                                                  std::string_view name);
// A new entry, numbered after every other; the entry's folder.
platform::Expected<std::filesystem::path> writeHistoryEntry(platform::System& system,
                                                            const std::filesystem::path& settingsFolder,
                                                            std::string_view what,
                                                            const std::vector<KeptFile>& files);
// Removes an entry's files and its folder; anything else the player put
// there stays, and with it the folder. An entry that is a link is left alone.
void removeHistoryEntry(platform::System& system, const std::filesystem::path& entry);
// Removes all but the newest kHistoryKept entries, never `keep`.
void pruneHistory(platform::System& system, const std::filesystem::path& settingsFolder,
                  const std::filesystem::path& keep = {});
// Whether an entry of the history keeps exactly these bytes for the place.
bool isKept(platform::System& system, const std::filesystem::path& settingsFolder,
            std::string_view place, std::string_view bytes);

// One replacement of a save, as its entry records it before the first.
struct Replacement {
    std::string place;
    std::optional<std::string> bytes;  // what the save puts there; nothing: it removes the file
    // Settings files: written read-only, and replaced or removed though read-only.
    bool readOnly = false;
};
// Records in the entry, in one file written whole, what the save is about to
// replace and with which bytes: from then until finishReplacing, a save cut
// off is one the next Quorvik finishes.
platform::Status beginReplacing(platform::System& system, const std::filesystem::path& entry,
                                const std::vector<Replacement>& replacements);
// The save went through, or was put back: nothing is left to finish.
void finishReplacing(platform::System& system, const std::filesystem::path& entry);

// What the next Quorvik did with a save that was cut off between its
// replacements. Files are named as shown.
struct Recovery {
    std::filesystem::path entry;  // the entry that keeps what the save replaced
    // Finished: each file named in done now holds what the save wrote. Undone
    // (the entry no longer held what the save was to write): each holds again
    // what it held before.
    bool undone = false;
    std::vector<std::string> done;
    // Changed since (by the game, or by hand): left as it is.
    std::vector<std::string> leftAlone;
    // Could not be written or removed now, with why: tried again next time.
    std::vector<std::pair<std::string, std::string>> failed;
};

// The lock of the settings folder and its Data folder, tried for about three
// seconds while another Quorvik holds it (then a Busy problem). Taking it
// finishes a save that a kill cut off (told in `recovered`), and removes what
// a killed or crashed Quorvik left (temporary files, entries cut off before
// their list) and entries beyond the newest kHistoryKept. A history folder
// that is a link is not used: it would lead outside the settings.
platform::Expected<std::unique_ptr<platform::FolderLock>> lockSettingsFolder(
    platform::System& system, const std::filesystem::path& settingsFolder,
    std::vector<Recovery>* recovered = nullptr);
// The same at a load, when no one holds the lock and there is a history (a
// load makes no folder).
std::vector<Recovery> sweepIfIdle(platform::System& system,
                                  const std::filesystem::path& settingsFolder);

}  // namespace quorvik::operations
