#include "operations/history.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "overrides/overrides.h"
#include "platform/paths.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

constexpr std::string_view kListName = "Quorvik entry.txt";
constexpr std::string_view kListHeading = "Quorvik history entry";
constexpr std::string_view kLockName = ".lock";
constexpr std::uintmax_t kKeptFileLimit = 64u * 1024u * 1024u;
constexpr int kLockTries = 30;
constexpr std::chrono::milliseconds kLockPause{100};

// Every place Quorvik writes, so that a list can name no other file.
std::vector<std::string> knownPlaces() {
    std::vector<std::string> places = {"Settings/Video.scr", "Settings/Audio.scr"};
    for (const std::string_view name : overrides::scriptNames()) {
        places.push_back("Data/Scripts/" + std::string(name));
    }
    places.push_back("Data/Skills/default_levels.xml");
    return places;
}

bool isKnownPlace(std::string_view place) {
    const std::vector<std::string> places = knownPlaces();
    return std::find(places.begin(), places.end(), place) != places.end();
}

std::string_view fileName(std::string_view place) { return place.substr(place.rfind('/') + 1); }

// "2026-12-07 13.45.02 (2)" sorts after "2026-12-07 13.45.02" and before "(10)".
bool newerFirst(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& name) {
        const auto open = name.find(" (");
        const int number = open == std::string::npos ? 1 : std::atoi(name.c_str() + open + 2);
        return std::pair(name.substr(0, open), number);
    };
    return split(a) > split(b);
}

std::optional<HistoryEntry> parseList(std::string name, std::string_view bytes) {
    const std::vector<std::string> lines = settings::splitLines(bytes);
    if (lines.empty() || lines[0] != kListHeading) return std::nullopt;
    HistoryEntry entry{std::move(name), {}, {}};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto colon = line.find(": ");
        if (colon == std::string::npos) continue;
        const std::string_view field = std::string_view(line).substr(0, colon);
        const std::string value = line.substr(colon + 2);
        if (field == "before") {
            entry.what = value;
        } else if ((field == "kept" || field == "absent") && isKnownPlace(value)) {
            entry.files.push_back({value, field == "kept" ? std::optional<std::string>("") : std::nullopt});
        }
    }
    return entry;
}

std::optional<HistoryEntry> readList(platform::System& system, const fs::path& folder,
                                     const std::string& name) {
    const fs::path list = folder / name / kListName;
    if (!system.fileExists(list)) return std::nullopt;
    const platform::ReadResult read = system.readFile(list, 1024u * 1024u);
    if (!read.status) return std::nullopt;
    return parseList(name, read.bytes);
}

void sweep(platform::System& system, const fs::path& settingsFolder) {
    const fs::path history = historyFolder(settingsFolder);
    for (const fs::path& folder : {settingsFolder, overrides::scriptsFolder(settingsFolder),
                                   overrides::skillsFolder(settingsFolder), history}) {
        for (const fs::path& name : system.listFolder(folder)) {
            if (platform::isTemporaryName(name)) system.deleteFile(folder / name);
        }
    }
    for (const fs::path& name : system.listFolder(history)) {
        const fs::path entry = history / name;
        if (!system.folderExists(entry)) continue;
        for (const fs::path& inner : system.listFolder(entry)) {
            if (platform::isTemporaryName(inner)) system.deleteFile(entry / inner);
        }
        if (!system.fileExists(entry / kListName)) removeHistoryEntry(system, entry);
    }
    pruneHistory(system, settingsFolder);
}

}  // namespace

fs::path historyFolder(const fs::path& settingsFolder) {
    return settingsFolder / kHistoryFolderName;
}

std::optional<fs::path> placePath(const fs::path& settingsFolder, std::string_view place) {
    if (!isKnownPlace(place)) return std::nullopt;
    if (place.starts_with("Settings/")) return settingsFolder / fileName(place);
    if (place.starts_with("Data/Scripts/")) return overrides::scriptsFolder(settingsFolder) / fileName(place);
    return overrides::skillsFile(settingsFolder);
}

std::string shownPlace(std::string_view place) {
    if (place.starts_with("Settings/")) return std::string(fileName(place));
    std::string shown(place);
    std::replace(shown.begin(), shown.end(), '/', '\\');
    return shown;
}

std::vector<HistoryEntry> listHistory(platform::System& system, const fs::path& settingsFolder) {
    const fs::path folder = historyFolder(settingsFolder);
    std::vector<HistoryEntry> entries;
    for (const fs::path& name : system.listFolder(folder)) {
        if (std::optional<HistoryEntry> entry = readList(system, folder, platform::pathToUtf8(name))) {
            entries.push_back(std::move(*entry));
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const HistoryEntry& a, const HistoryEntry& b) { return newerFirst(a.name, b.name); });
    return entries;
}

platform::Expected<HistoryEntry> readHistoryEntry(platform::System& system, const fs::path& settingsFolder,
                                                  std::string_view name) {
    const fs::path folder = historyFolder(settingsFolder);
    std::optional<HistoryEntry> entry = readList(system, folder, std::string(name));
    if (!entry) {
        return Problem{Problem::Kind::NotFound, folder / platform::pathFromUtf8(name),
                       "there is no such entry in the history"};
    }
    for (KeptFile& file : entry->files) {
        if (!file.bytes) continue;
        const fs::path path = folder / platform::pathFromUtf8(name) / fileName(file.place);
        platform::ReadResult read = system.readFile(path, kKeptFileLimit);
        if (!read.status) return Problem{Problem::Kind::Unreadable, path, read.status.reason()};
        file.bytes = std::move(read.bytes);
    }
    return std::move(*entry);
}

platform::Expected<fs::path> writeHistoryEntry(platform::System& system, const fs::path& settingsFolder,
                                               std::string_view what, const std::vector<KeptFile>& files) {
    const fs::path folder = historyFolder(settingsFolder);
    if (platform::Status made = system.createFolder(folder); !made) {
        return Problem{Problem::Kind::WriteFailed, folder, made.reason()};
    }
    const std::string stamp = system.localTime();
    fs::path entry = folder / platform::pathFromUtf8(stamp);
    for (int number = 2; system.folderExists(entry) || system.fileExists(entry); ++number) {
        entry = folder / platform::pathFromUtf8(stamp + " (" + std::to_string(number) + ")");
    }
    if (platform::Status made = system.createFolder(entry); !made) {
        return Problem{Problem::Kind::WriteFailed, entry, made.reason()};
    }
    std::string list = std::string(kListHeading) + "\r\nbefore: " + std::string(what) + "\r\n";
    for (const KeptFile& file : files) {
        if (file.bytes) {
            const fs::path path = entry / fileName(file.place);
            if (platform::Status written = system.writeFile(path, *file.bytes); !written) {
                removeHistoryEntry(system, entry);
                return Problem{Problem::Kind::WriteFailed, path, written.reason()};
            }
        }
        list += (file.bytes ? "kept: " : "absent: ") + file.place + "\r\n";
    }
    // The list last: an entry without it was cut off, and is none.
    if (platform::Status written = system.writeFile(entry / kListName, list); !written) {
        removeHistoryEntry(system, entry);
        return Problem{Problem::Kind::WriteFailed, entry / kListName, written.reason()};
    }
    return entry;
}

void removeHistoryEntry(platform::System& system, const fs::path& entry) {
    for (const std::string& place : knownPlaces()) system.deleteFile(entry / fileName(place));
    system.deleteFile(entry / kListName);
    system.removeFolder(entry);
}

void pruneHistory(platform::System& system, const fs::path& settingsFolder) {
    const std::vector<HistoryEntry> entries = listHistory(system, settingsFolder);
    for (std::size_t i = kHistoryKept; i < entries.size(); ++i) {
        removeHistoryEntry(system, historyFolder(settingsFolder) / platform::pathFromUtf8(entries[i].name));
    }
}

platform::Expected<std::unique_ptr<platform::FolderLock>> lockSettingsFolder(platform::System& system,
                                                                             const fs::path& settingsFolder) {
    const fs::path folder = historyFolder(settingsFolder);
    if (platform::Status made = system.createFolder(folder); !made) {
        return Problem{Problem::Kind::WriteFailed, folder, made.reason()};
    }
    for (int attempt = 1;; ++attempt) {
        auto lock = system.tryLock(folder / kLockName);
        if (lock) {
            sweep(system, settingsFolder);
            return lock;
        }
        if (lock.problem().kind != Problem::Kind::Busy || attempt == kLockTries) return lock.problem();
        system.pause(kLockPause);
    }
}

void sweepIfIdle(platform::System& system, const fs::path& settingsFolder) {
    const fs::path folder = historyFolder(settingsFolder);
    if (!system.folderExists(folder)) return;
    auto lock = system.tryLock(folder / kLockName);
    if (lock) sweep(system, settingsFolder);
}

}  // namespace quorvik::operations
