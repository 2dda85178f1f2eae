#pragma once

// src/platform: the machine and nothing else. The interfaces the tool is
// given (System here, Dialogs, the raw registry, the result type) and their
// back ends: posix (files and processes on Linux), wine (a Wine prefix's
// registry files, Steam's library lists, finding the prefix), win32 (Windows).
//
// The machine the tool runs on: files, the registry, the user's documents
// folder and starting programs. Handlers reach it only through this interface,
// so tests can run them against real files in a temporary folder, or inject
// faults.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry_backend.h"
#include "platform/result.h"
#include "platform/text_codec.h"

namespace quorvik::platform {

namespace fs = std::filesystem;

// A whole file's bytes, or why they could not be read (Problem::Kind::Unreadable).
using ReadResult = Expected<std::string>;

// Reads a whole file, refused when it is larger than maxBytes: the machine back
// end's own reader, handed to the parts that read files outside the handlers.
using FileReader = std::function<ReadResult(const fs::path& path, std::uintmax_t maxBytes)>;

// Where the game lives: natively on Windows, or inside a Wine or Proton prefix.
enum class HostKind { Windows, Wine };

// Who starts games in a prefix: the launcher whose prefix it is, or plain Wine.
enum class PrefixOwner { Wine, Steam, Lutris, Heroic, Bottles, Umu };
// How the owning launcher is installed: Unknown when it was not found.
enum class LauncherInstall { Unknown, Native, Flatpak, Snap };

// A game as the launcher that owns the prefix knows it.
struct LauncherGame {
    std::string id;     // Lutris: its id in pga.db; Heroic: its app name; Bottles: the bottle's
                        // name; umu: the game id the prefix is named after
    std::string slug;   // Lutris: the game's slug, for a game pga.db does not give an id
    std::string store;  // Heroic: the store it came from, as its launch links name it
    fs::path folder;    // where the game is installed; empty: unknown
    bool noIntro = false;  // the launcher's own arguments for the game hold -nologos
    std::string proton;    // umu through Bottles: the Proton it names for the game

    bool operator==(const LauncherGame&) const = default;
};

struct WinePrefix {
    fs::path root{};               // the folder that holds system.reg and drive_c
    std::string steamAppId{};      // set for a Steam compatdata prefix (Proton)
    PrefixOwner owner = PrefixOwner::Wine;
    LauncherInstall install = LauncherInstall::Unknown;
    std::vector<LauncherGame> games{};  // what the owner starts in this prefix
    // Other launchers that name the same prefix, each with its install and
    // games (the same root): a second Steam that lists its library, a launcher
    // that keeps another program there.
    std::vector<WinePrefix> others{};

    bool operator==(const WinePrefix&) const = default;
};

// A game Steam knows from the app manifest of one of its libraries, though the
// registry holds no entry for it (installed and never run, or its prefix reset).
struct SteamGame {
    WinePrefix steam;  // owner Steam with the game's app id and the Steam that lists it;
                       // others: each other Steam that lists the library
    fs::path folder;   // where the manifest says the game is installed
};

// How a file is written.
struct WriteOptions {
    // The file is left read-only. The attribute is set on the temporary file
    // before it takes the target's place, so a kill never leaves it writable.
    bool readOnly = false;
    // A read-only target is replaced; otherwise it is refused, as Windows
    // refuses it.
    bool replaceReadOnly = false;
};

// A file written in full beside its target under a temporary name (one that
// isTemporaryName recognises), synced and given its final attributes: ready
// to take the target's place in one step.
struct StagedFile {
    fs::path temporary;
    fs::path target;  // where it goes: a symbolic link's target, so the link stays
    WriteOptions options;
};

// Held while it lives; the system also ends it when the process ends.
class FolderLock {
public:
    virtual ~FolderLock() = default;
};

// A program to start and not wait for. On Windows the command line is used as
// it stands; elsewhere the program is started with the arguments as an array.
struct LaunchRequest {
    fs::path program;
    std::vector<std::string> arguments;                         // UTF-8
    std::vector<std::pair<std::string, std::string>> environment;  // added to ours
    std::vector<std::string> unset;                             // taken out of ours
    std::string commandLine;                                    // UTF-8, Windows only
    fs::path workingFolder;                                     // empty: ours
};

class System {
public:
    virtual ~System() = default;

    // True when a file (not a folder) of that name exists.
    virtual bool fileExists(const fs::path& path) = 0;
    virtual bool folderExists(const fs::path& path) = 0;
    // True when the path itself is a symbolic link (on Windows any reparse
    // point, a junction too), whatever it points to: what Quorvik removes it
    // never reaches through one.
    virtual bool isLink(const fs::path& path) = 0;
    // The whole file, refused when it is larger than maxBytes.
    virtual ReadResult readFile(const fs::path& path, std::uintmax_t maxBytes) = 0;
    // Replaces the file whole, or leaves it as it was: never half-written.
    Status writeFile(const fs::path& path, std::string_view bytes, WriteOptions options = {});
    // The two halves of writeFile, so that several files can be written in
    // full before any of them replaces its target.
    virtual Expected<StagedFile> stageFile(const fs::path& path, std::string_view bytes,
                                           WriteOptions options) = 0;
    // Puts the staged file in its target's place; on failure the staged file
    // is still there, for another try or discardFile.
    virtual Status commitFile(const StagedFile& staged) = 0;
    virtual void discardFile(const StagedFile& staged) = 0;
    virtual Status setReadOnly(const fs::path& path, bool readOnly) = 0;
    // Removes exactly this file; a file that is not there is no error. A
    // read-only file is refused, as Windows refuses it: a caller that means to
    // remove one clears the attribute first.
    virtual Status deleteFile(const fs::path& path) = 0;
    // The names (files and folders) in a folder; none when it cannot be read.
    virtual std::vector<fs::path> listFolder(const fs::path& folder) = 0;
    // One folder, in a folder that exists; an existing folder is no error.
    virtual Status createFolder(const fs::path& folder) = 0;
    // An empty folder only.
    virtual Status removeFolder(const fs::path& folder) = 0;
    // The exclusive lock of a lock file, which is made when missing. Another
    // process's lock is a Busy problem, at once: the caller decides how long
    // to try.
    virtual Expected<std::unique_ptr<FolderLock>> tryLock(const fs::path& lockFile) = 0;
    // The local time, as names of the history's entries give it: "2026-12-07 13.45.02".
    virtual std::string localTime() = 0;
    virtual void pause(std::chrono::milliseconds duration) = 0;

    virtual RegistryBackend& registry() = 0;
    // The user's Documents folder as the system reports it, if there is one.
    virtual std::optional<fs::path> documentsFolder() = 0;
    // Quorvik's own folder in the user's configuration (the profiles live
    // there, never in the game's folders): $XDG_CONFIG_HOME/quorvik on Linux,
    // %APPDATA%\Quorvik on Windows. Nothing when the system names none.
    virtual std::optional<fs::path> configFolder() = 0;
    // A path as a user or the registry writes it, as this machine opens it: under
    // Wine, "C:\Games\x.exe" lies inside the prefix.
    virtual fs::path nativePath(std::string_view utf8) = 0;

    // What the bytes of the game's files mean as text on this machine.
    virtual const CodePage& codePage() const = 0;

    virtual HostKind host() const = 0;
    // Chooses the Wine prefix the game lives in, once, and says which and why
    // where the system reports such things; nothing to choose on Windows.
    // Start-up calls it before it reads the registry, which comes from that
    // prefix; a system asked anything of the prefix before then chooses first.
    virtual void choosePrefix() {}
    // May start, on a thread of its own, what choosePrefix and the first
    // registry read will need (finding the prefix, reading its registry
    // files), while start-up's question waits for its answer. Says nothing:
    // choosePrefix still says which and why, then. Nothing to do on Windows.
    virtual void prepare() {}
    virtual std::optional<WinePrefix> winePrefix() = 0;
    // The game as a Steam here knows it from its app manifest: for a machine
    // whose registry has no entry for the game. Nothing elsewhere.
    virtual std::optional<SteamGame> steamGame() { return std::nullopt; }
    // The prefixes looked in for the game, for a player told that nothing was
    // found; none where the game does not live in a prefix.
    virtual std::vector<std::string> searchedPlaces() { return {}; }
    virtual Status startProgram(const LaunchRequest& request) = 0;
};

// The temporary name of a file being written beside `target`:
// ".Video.scr.<process>-<count>-<random>.tmp".
std::string temporaryName(const fs::path& target, unsigned long processId);
// Whether a name is such a temporary name: the leftover of a write that a kill
// or a crash cut off, once no one holds the folder's lock.
bool isTemporaryName(const fs::path& name);

}  // namespace quorvik::platform
