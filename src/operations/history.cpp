#include "operations/history.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <set>

#include "overrides/overrides.h"
#include "platform/paths.h"
#include "settings/lines.h"
#include "settings/settings_files.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using platform::Problem;

// What the disk holds at a path: its bytes, or nothing when there is no file.
using Content = std::optional<std::string>;

constexpr std::string_view kListName = "Quorvik entry.txt";
constexpr std::string_view kListHeading = "Quorvik history entry";
// The list's first form, written before anything else of the entry: a folder
// that still holds it was cut off while it was being made.
constexpr std::string_view kBeingWritten = "Quorvik history entry being written";
// One file: the replacements in order, each file's new bytes after its line.
constexpr std::string_view kJournalName = "Quorvik unfinished save.txt";
constexpr std::string_view kJournalHeading = "Quorvik unfinished save";
constexpr std::string_view kLockName = ".lock";
constexpr std::uintmax_t kKeptFileLimit = 64u * 1024u * 1024u;
constexpr int kLockTries = 30;
constexpr std::chrono::milliseconds kLockPause{100};

// Every place Quorvik writes, so that a list can name no other file.
const std::vector<std::string>& knownPlaces() {
    static const std::vector<std::string> places = [] {
        std::vector<std::string> all = {"Settings/Video.scr", "Settings/Audio.scr"};
        for (const std::string_view name : overrides::scriptNames()) {
            all.push_back("Data/Scripts/" + std::string(name));
        }
        all.push_back("Data/Skills/default_levels.xml");
        for (const char* backup : {"Video.sc1", "Audio.sc1", "Video.sc0", "Audio.sc0"}) {
            all.push_back("Settings/" + std::string(backup));
        }
        return all;
    }();
    return places;
}

bool isKnownPlace(std::string_view place) {
    const std::vector<std::string>& places = knownPlaces();
    return std::find(places.begin(), places.end(), place) != places.end();
}

std::string_view fileName(std::string_view place) { return place.substr(place.rfind('/') + 1); }

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The names entries are given: "2026-12-07 13.45.02", perhaps followed by
// " (2)". Nothing else in the history folder is taken for an entry.
bool isEntryName(const std::string& name) {
    constexpr std::string_view shape = "0000-00-00 00.00.00";
    if (name.size() < shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == '0' ? !isDigit(name[i]) : name[i] != shape[i]) return false;
    }
    std::string_view rest = std::string_view(name).substr(shape.size());
    if (rest.empty()) return true;
    if (!rest.starts_with(" (") || !rest.ends_with(")") || rest.size() < 4) return false;
    rest = rest.substr(2, rest.size() - 3);
    return std::all_of(rest.begin(), rest.end(), isDigit);
}

// "2026-12-07 13.45.02 (2)" sorts after "2026-12-07 13.45.02" and before "(10)".
bool newerName(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& name) {
        const auto open = name.find(" (");
        const int number = open == std::string::npos ? 1 : std::atoi(name.c_str() + open + 2);
        return std::pair(name.substr(0, open), number);
    };
    return split(a) > split(b);
}

bool newerFirst(const HistoryEntry& a, const HistoryEntry& b) {
    if (a.number != b.number) return a.number > b.number;
    return newerName(a.name, b.name);
}

enum class ListState { None, BeingWritten, Written };

struct List {
    ListState state = ListState::None;
    HistoryEntry entry;
};

List parseList(std::string name, std::string_view bytes) {
    const std::vector<std::string> lines = settings::splitLines(bytes);
    if (!lines.empty() && lines[0] == kBeingWritten) return {ListState::BeingWritten, {}};
    if (lines.empty() || lines[0] != kListHeading) return {};
    List list{ListState::Written, {std::move(name), {}, 0, {}}};
    HistoryEntry& entry = list.entry;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto colon = line.find(": ");
        if (colon == std::string::npos) continue;
        const std::string_view field = std::string_view(line).substr(0, colon);
        const std::string value = line.substr(colon + 2);
        if (field == "before") {
            entry.what = value;
        } else if (field == "number") {
            entry.number = std::strtoul(value.c_str(), nullptr, 10);
        } else if ((field == "kept" || field == "absent") && isKnownPlace(value)) {
            entry.files.push_back({value, field == "kept" ? Content("") : std::nullopt});
        }
    }
    return list;
}

// An entry's list, read only from a folder of the history that is no link.
List readList(platform::System& system, const fs::path& folder, const std::string& name) {
    const fs::path entry = folder / platform::pathFromUtf8(name);
    if (system.isLink(entry) || !system.folderExists(entry) ||
        !system.fileExists(entry / kListName)) {
        return {};
    }
    const platform::ReadResult read = system.readFile(entry / kListName, 1024u * 1024u);
    if (!read) return {};
    return parseList(name, *read);
}

// Whether the history folder is one Quorvik may use: a link would lead what
// it writes and removes outside the settings.
platform::Status usable(platform::System& system, const fs::path& history) {
    if (system.isLink(history)) {
        return Problem{Problem::Kind::Failed, history,
                       "it is a link to another place, and Quorvik keeps its history only in a "
                       "folder of its own there; remove the link (or move the folder it leads "
                       "to in its place) and try again"};
    }
    return platform::Status::success();
}

// Removes a file Quorvik made and may have left read-only (a temporary
// settings file is read-only before it takes its place). Never a link's target.
void removeOwnFile(platform::System& system, const fs::path& path) {
    if (system.isLink(path)) {
        system.deleteFile(path);
    } else if (system.fileExists(path)) {
        system.setReadOnly(path, false);
        system.deleteFile(path);
    }
}

// A file's bytes, nothing when it is not there, or why it could not be read.
platform::Expected<Content> readContent(platform::System& system, const fs::path& path) {
    if (!system.isLink(path) && !system.fileExists(path)) return Content{};
    platform::ReadResult read = system.readFile(path, kKeptFileLimit);
    if (!read) return platform::unreadable(path, read.problem().reason);
    return Content{std::move(*read)};
}

// The journal's text: a line a replacement, "write: Settings/Video.scr 1234"
// followed by the file's 1234 new bytes and a line end, or "delete: place".
// A write whose bytes are not all there ends it, not whole: the save is then
// undone (the journal is written whole, so only a damaged disk does that).
struct Journal {
    std::vector<Replacement> steps;
    bool whole = true;
};

Journal parseJournal(std::string_view bytes) {
    Journal journal;
    std::vector<Replacement>& replacements = journal.steps;
    const auto nextLine = [&]() -> std::optional<std::string_view> {
        const auto end = bytes.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 2);
        return line;
    };
    if (nextLine() != kJournalHeading) return journal;
    while (const std::optional<std::string_view> line = nextLine()) {
        const auto colon = line->find(": ");
        if (colon == std::string_view::npos) break;
        const std::string_view action = line->substr(0, colon);
        std::string_view place = line->substr(colon + 2);
        const bool writes = action.starts_with("write");
        if (!writes && !action.starts_with("delete")) break;
        Replacement step{{}, std::nullopt, action.ends_with(" read-only")};
        if (writes) {
            const auto blank = place.rfind(' ');
            const std::size_t size =
                blank == std::string_view::npos
                    ? 0
                    : std::strtoull(std::string(place.substr(blank + 1)).c_str(), nullptr, 10);
            if (blank == std::string_view::npos || bytes.size() < size + 2 ||
                bytes.substr(size, 2) != "\r\n") {
                journal.whole = false;
                break;
            }
            place = place.substr(0, blank);
            step.bytes = std::string(bytes.substr(0, size));
            bytes.remove_prefix(size + 2);
        }
        if (!isKnownPlace(place)) {
            journal.whole = false;
            break;
        }
        step.place = std::string(place);
        replacements.push_back(std::move(step));
    }
    return journal;
}

// Puts one file as a replacement says: its bytes, or no file.
platform::Status carryOut(platform::System& system, const fs::path& path, const Content& bytes,
                          bool readOnly) {
    if (!bytes) {
        if (readOnly && system.fileExists(path)) system.setReadOnly(path, false);
        return system.deleteFile(path);
    }
    return system.writeFile(path, *bytes, {.readOnly = readOnly, .replaceReadOnly = readOnly});
}

// A save cut off between its replacements, finished from what its entry
// recorded: every file still as it was before goes as the save meant it to.
// Where the entry no longer holds the new bytes, the save is undone instead.
// A file that holds neither (someone changed it since) is left alone.
std::optional<Recovery> recover(platform::System& system, const fs::path& settingsFolder,
                                const fs::path& entry, const HistoryEntry& list) {
    const platform::ReadResult journal = system.readFile(entry / kJournalName, kKeptFileLimit);
    if (!journal) return std::nullopt;
    Journal parsed = parseJournal(*journal);
    std::vector<Replacement>& steps = parsed.steps;
    Recovery recovery;
    recovery.entry = entry;
    recovery.undone = !parsed.whole;

    std::map<std::string, Content> before;
    for (const KeptFile& file : list.files) {
        Content bytes;
        if (file.bytes) {
            auto kept = readContent(system, entry / fileName(file.place));
            if (!kept || !*kept) continue;  // unknown: only another entry may still know it
            bytes = std::move(*kept);
        }
        before[file.place] = std::move(bytes);
    }
    // Undone, newest first, as a failed save puts files back.
    if (recovery.undone) std::reverse(steps.begin(), steps.end());

    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Replacement& step = steps[i];
        const fs::path path = *placePath(settingsFolder, step.place);
        const std::string shown = shownPlace(step.place);
        const auto read = readContent(system, path);
        if (!read) {
            recovery.failed.emplace_back(shown, read.problem().reason);
            continue;
        }
        const Content& now = *read;
        const auto old = before.find(step.place);
        Content wanted;
        bool ours = false;
        if (!recovery.undone) {
            if (now == step.bytes) continue;
            ours = (old != before.end() && now == old->second) ||
                   (now && isKept(system, settingsFolder, step.place, *now));
            wanted = step.bytes;
        } else {
            if (old == before.end() || now == old->second) continue;
            ours = now == step.bytes;
            wanted = old->second;
        }
        if (!ours) {
            recovery.leftAlone.push_back(shown);
            continue;
        }
        if (const platform::Status done = carryOut(system, path, wanted, step.readOnly); !done) {
            recovery.failed.emplace_back(shown, done.reason());
            continue;
        }
        recovery.done.push_back(shown);
    }
    // A file that could not be written now is tried again by the next one.
    if (recovery.failed.empty()) finishReplacing(system, entry);
    if (recovery.done.empty() && recovery.leftAlone.empty() && recovery.failed.empty())
        return std::nullopt;
    return recovery;
}

// Temporary files a kill left beside a file that is a link: they lie in the
// folder of the file it leads to, named after that file.
void sweepLinkedTargets(platform::System& system, const fs::path& settingsFolder,
                        std::set<fs::path>& swept) {
    for (const std::string& place : knownPlaces()) {
        const fs::path path = *placePath(settingsFolder, place);
        if (!system.isLink(path)) continue;
        const fs::path target = platform::resolvedPath(path);
        const fs::path folder = target.parent_path();
        if (swept.count(folder) != 0) continue;
        const std::string prefix = "." + platform::pathToUtf8(target.filename()) + ".";
        for (const fs::path& name : system.listFolder(folder)) {
            if (platform::isTemporaryName(name) && platform::pathToUtf8(name).starts_with(prefix)) {
                removeOwnFile(system, folder / name);
            }
        }
    }
}

void sweep(platform::System& system, const fs::path& settingsFolder,
           std::vector<Recovery>* recovered) {
    const fs::path history = historyFolder(settingsFolder);
    const bool historyUsable = usable(system, history) && system.folderExists(history);

    // An unfinished save first: its files are the player's settings.
    if (historyUsable) {
        for (const fs::path& name : system.listFolder(history)) {
            const std::string text = platform::pathToUtf8(name);
            if (!isEntryName(text) || !system.fileExists(history / name / kJournalName)) continue;
            List list = readList(system, history, text);
            if (list.state != ListState::Written) continue;
            if (std::optional<Recovery> recovery =
                    recover(system, settingsFolder, history / name, list.entry);
                recovery && recovered != nullptr) {
                recovered->push_back(std::move(*recovery));
            }
        }
    }

    std::set<fs::path> swept;
    for (const fs::path& folder : {settingsFolder, overrides::scriptsFolder(settingsFolder),
                                   overrides::skillsFolder(settingsFolder)}) {
        swept.insert(folder);
        for (const fs::path& name : system.listFolder(folder)) {
            if (platform::isTemporaryName(name)) removeOwnFile(system, folder / name);
        }
    }
    sweepLinkedTargets(system, settingsFolder, swept);
    if (!historyUsable) return;

    for (const fs::path& name : system.listFolder(history)) {
        const fs::path path = history / name;
        if (platform::isTemporaryName(name)) {
            removeOwnFile(system, path);
            continue;
        }
        const std::string text = platform::pathToUtf8(name);
        if (!isEntryName(text) || system.isLink(path) || !system.folderExists(path)) continue;
        for (const fs::path& inner : system.listFolder(path)) {
            if (platform::isTemporaryName(inner)) removeOwnFile(system, path / inner);
        }
        const List list = readList(system, history, text);
        if (list.state == ListState::BeingWritten) removeHistoryEntry(system, path);
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
    if (system.isLink(folder)) return entries;
    for (const fs::path& name : system.listFolder(folder)) {
        List list = readList(system, folder, platform::pathToUtf8(name));
        if (list.state == ListState::Written) entries.push_back(std::move(list.entry));
    }
    std::sort(entries.begin(), entries.end(), newerFirst);
    return entries;
}

platform::Expected<HistoryEntry> readHistoryEntry(platform::System& system, const fs::path& settingsFolder,
                                                  std::string_view name) {
    const fs::path folder = historyFolder(settingsFolder);
    List list = system.isLink(folder) ? List{} : readList(system, folder, std::string(name));
    if (list.state != ListState::Written) {
        return Problem{Problem::Kind::NotFound, folder / platform::pathFromUtf8(name),
                       "there is no such entry in the history"};
    }
    HistoryEntry& entry = list.entry;
    for (KeptFile& file : entry.files) {
        if (!file.bytes) continue;
        const fs::path path = folder / platform::pathFromUtf8(name) / fileName(file.place);
        platform::ReadResult read = system.readFile(path, kKeptFileLimit);
        if (!read) return platform::unreadable(path, read.problem().reason);
        file.bytes = std::move(*read);
    }
    return std::move(entry);
}

platform::Expected<fs::path> writeHistoryEntry(platform::System& system, const fs::path& settingsFolder,
                                               std::string_view what, const std::vector<KeptFile>& files) {
    const fs::path folder = historyFolder(settingsFolder);
    if (platform::Status fit = usable(system, folder); !fit) return fit.problem();
    if (platform::Status made = system.createFolder(folder); !made) {
        return Problem{Problem::Kind::WriteFailed, folder, made.reason()};
    }
    unsigned long number = 1;
    for (const HistoryEntry& entry : listHistory(system, settingsFolder))
        number = std::max(number, entry.number + 1);
    const std::string stamp = system.localTime();
    fs::path entry = folder / platform::pathFromUtf8(stamp);
    for (int copy = 2;
         system.folderExists(entry) || system.fileExists(entry) || system.isLink(entry); ++copy) {
        entry = folder / platform::pathFromUtf8(stamp + " (" + std::to_string(copy) + ")");
    }
    if (platform::Status made = system.createFolder(entry); !made) {
        return Problem{Problem::Kind::WriteFailed, entry, made.reason()};
    }
    // Marked as Quorvik's before anything goes in: a kill from here on leaves
    // a folder the next Quorvik knows it may remove.
    const auto abandon = [&](const fs::path& path,
                             const platform::Status& failed) -> platform::Expected<fs::path> {
        removeHistoryEntry(system, entry);
        return Problem{Problem::Kind::WriteFailed, path, failed.reason()};
    };
    if (platform::Status marked =
            system.writeFile(entry / kListName, std::string(kBeingWritten) + "\r\n");
        !marked) {
        system.removeFolder(entry);
        return Problem{Problem::Kind::WriteFailed, entry / kListName, marked.reason()};
    }
    std::string list = std::string(kListHeading) + "\r\nbefore: " + std::string(what) +
                       "\r\nnumber: " + std::to_string(number) + "\r\n";
    for (const KeptFile& file : files) {
        if (file.bytes) {
            const fs::path path = entry / fileName(file.place);
            if (platform::Status written = system.writeFile(path, *file.bytes); !written) {
                return abandon(path, written);
            }
        }
        list += (file.bytes ? "kept: " : "absent: ") + file.place + "\r\n";
    }
    // The list last: until it is there, the entry is none.
    if (platform::Status written = system.writeFile(entry / kListName, list); !written) {
        return abandon(entry / kListName, written);
    }
    return entry;
}

void removeHistoryEntry(platform::System& system, const fs::path& entry) {
    if (system.isLink(entry)) return;
    for (const std::string& place : knownPlaces()) removeOwnFile(system, entry / fileName(place));
    removeOwnFile(system, entry / kJournalName);
    removeOwnFile(system, entry / kListName);
    system.removeFolder(entry);
}

void pruneHistory(platform::System& system, const fs::path& settingsFolder, const fs::path& keep) {
    const fs::path folder = historyFolder(settingsFolder);
    std::vector<HistoryEntry> entries = listHistory(system, settingsFolder);
    std::erase_if(entries, [&](const HistoryEntry& entry) { return !isEntryName(entry.name); });
    for (std::size_t i = kHistoryKept; i < entries.size(); ++i) {
        const fs::path entry = folder / platform::pathFromUtf8(entries[i].name);
        // An entry that is still to finish a save keeps what that save replaced.
        if (entry == keep || system.fileExists(entry / kJournalName)) continue;
        removeHistoryEntry(system, entry);
    }
}

bool isKept(platform::System& system, const fs::path& settingsFolder, std::string_view place,
            std::string_view bytes) {
    const fs::path folder = historyFolder(settingsFolder);
    for (const HistoryEntry& entry : listHistory(system, settingsFolder)) {
        for (const KeptFile& file : entry.files) {
            if (file.place != place || !file.bytes) continue;
            const platform::ReadResult read = system.readFile(
                folder / platform::pathFromUtf8(entry.name) / fileName(place), kKeptFileLimit);
            if (read && *read == bytes) return true;
        }
    }
    return false;
}

platform::Status beginReplacing(platform::System& system, const fs::path& entry,
                                const std::vector<Replacement>& replacements) {
    std::string journal = std::string(kJournalHeading) + "\r\n";
    for (const Replacement& step : replacements) {
        journal += std::string(step.bytes ? "write" : "delete") +
                   (step.readOnly ? " read-only" : "") + ": " + step.place;
        if (step.bytes) journal += " " + std::to_string(step.bytes->size()) + "\r\n" + *step.bytes;
        journal += "\r\n";
    }
    // One file, written whole: a save is to be finished exactly when it is there.
    if (platform::Status written = system.writeFile(entry / kJournalName, journal); !written) {
        return Problem{Problem::Kind::WriteFailed, entry / kJournalName, written.reason()};
    }
    return platform::Status::success();
}

void finishReplacing(platform::System& system, const fs::path& entry) {
    removeOwnFile(system, entry / kJournalName);
}

platform::Expected<std::unique_ptr<platform::FolderLock>> lockSettingsFolder(
    platform::System& system, const fs::path& settingsFolder, std::vector<Recovery>* recovered) {
    const fs::path folder = historyFolder(settingsFolder);
    if (platform::Status fit = usable(system, folder); !fit) return fit.problem();
    if (platform::Status made = system.createFolder(folder); !made) {
        return Problem{Problem::Kind::WriteFailed, folder, made.reason()};
    }
    for (int attempt = 1;; ++attempt) {
        auto lock = system.tryLock(folder / kLockName);
        if (lock) {
            sweep(system, settingsFolder, recovered);
            return lock;
        }
        if (lock.problem().kind != Problem::Kind::Busy || attempt == kLockTries) return lock.problem();
        system.pause(kLockPause);
    }
}

std::vector<Recovery> sweepIfIdle(platform::System& system, const fs::path& settingsFolder) {
    std::vector<Recovery> recovered;
    const fs::path folder = historyFolder(settingsFolder);
    if (system.isLink(folder) || !system.folderExists(folder)) return recovered;
    auto lock = system.tryLock(folder / kLockName);
    if (lock) sweep(system, settingsFolder, &recovered);
    return recovered;
}

}  // namespace quorvik::operations
