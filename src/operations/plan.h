#pragma once

// A plan: every file a command will back up, write or delete, what each held
// when it was loaded, its new bytes and what changes in it, and what the
// command leaves alone and why. Previews render a plan; apply() carries out
// the same plan, so what is shown is what is written.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "platform/result.h"
#include "platform/system.h"
#include "settings/scr_format.h"

namespace quorvik::operations {

enum class Action {
    Backup,  // a copy the player keeps (.sc0, .sc1): written before anything is replaced
    Write,   // the file is written whole, created or replaced
    Delete,  // the file is removed
};

// One change within a file, in the window's terms (UTF-8).
struct LineChange {
    std::string caption;  // the setting; empty for a line of no setting
    std::string before;
    std::string after;

    bool operator==(const LineChange&) const = default;
};

struct FileChange {
    Action action = Action::Write;
    std::filesystem::path path;  // as the machine opens it
    std::string shown;           // "Video.scr", "Data\Scripts\varlist_blur.scr"
    // The file's place under the game's "out" folder ("Settings/Video.scr",
    // "Data/Scripts/varlist_blur.scr"): where the history keeps it.
    std::string place;
    // What the file held when it was loaded (nothing: it was not there); the
    // disk must still hold it when the plan is carried out. Unset: not checked.
    std::optional<std::optional<std::string>> whenLoaded;
    std::string bytes;  // Backup, Write
    platform::WriteOptions options;
    // A settings file: the player is told before and after it is written.
    bool announced = false;
    // The file holds what Quorvik would not have written: the player's own
    // (a settings file: a line it drops that the game did not write).
    bool handEdited = false;

    std::vector<LineChange> settings;   // setting by setting
    std::vector<std::string> dropped;   // lines the new file no longer holds
    std::vector<LineChange> rewritten;  // lines of no changed setting, written another way
    // The bytes change though no line above says so: line ends, blank lines,
    // a byte-order mark.
    bool reformatted = false;
    // Part of a setting change listed for the Data folder, and nothing more.
    bool implied = false;
};

// A settings file a save leaves as it is, and why.
struct Refusal {
    enum class Kind {
        NotLoaded,        // problem: why the last load brought nothing; none before any load
        BadNumbers,       // numbers: values the game cannot read
        MissingSettings,  // missing: captions of settings the file has no line for
    };
    Kind kind;
    std::string file;  // "Video.scr"
    std::optional<platform::Problem> problem;
    std::vector<settings::BadNumber> numbers;
    std::vector<std::string> missing;
};

// Something in the Data folder a save leaves as it is, and why.
struct Note {
    enum class Kind {
        FolderUnknown,   // no settings folder is known
        DataNotRead,     // "Set Video.scr" has not read the Data folder in this session
        FolderMissing,   // path: the folder; detail: what could not be done
        FileUnreadable,  // path: the file, unreadable when loaded; detail: why
        NotANumber,      // detail: the field of view as typed (8-bit)
        BelowDefault,    // detail: the field of view (8-bit), below the game's own
        TooWide,         // detail: the field of view (8-bit), wider than 99.9
    };
    Kind kind;
    std::filesystem::path path;
    std::string detail;

    bool operator==(const Note&) const = default;
};

struct Plan {
    std::filesystem::path settingsFolder;
    std::vector<FileChange> files;  // in the order carried out: backups first
    std::vector<Refusal> refused;
    // The Data folder's settings that change, by where they are saved
    // ("Data\Scripts", "Data\Skills\default_levels.xml").
    std::vector<std::pair<std::string, LineChange>> dataSettings;
    std::vector<Note> notes;
    // Values of the files written that are outside what their help texts list.
    std::vector<catalogue::OutsideValue> outside;

    bool writesAnything() const { return !files.empty(); }
};

}  // namespace quorvik::operations
