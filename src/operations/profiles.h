#pragma once

// Profiles: the window's settings kept under a name, to switch between
// (docked and handheld, say) and to share as a small file. A profile file is
// JSON, versioned:
//
//   {"format": "quorvik-profile", "version": 1, "name": "docked",
//    "settings": {"<key>": "<value as the window shows it>", ...}}
//
// Values are kept as the window shows them, so that applying a profile writes
// the files it was saved from byte for byte. A file read back is checked as
// typed input is: a value the window would not take refuses the file, and an
// unknown key is named and left out. Profiles live in the user's
// configuration folder, never in the game's folders.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "operations/values.h"
#include "platform/system.h"

namespace quorvik::operations {

struct Profile {
    std::string name;
    std::vector<std::pair<const Setting*, std::string>> values;  // 8-bit, as the window shows them
};

// A profile of the values of the settings for which `kept` is true.
// A value that typed input would not take (a drop-down text that is none of
// its entries) is left out, its "caption value" added to `leftOut`, so that
// every profile kept can be applied.
Profile profileOf(std::string name, const Values& values,
                  const std::function<bool(const Setting&)>& kept,
                  std::vector<std::string>& leftOut);

// The largest profile file read: a profile is a few kilobytes.
inline constexpr std::uintmax_t kProfileMaxBytes = 256 * 1024;

// The longest profile name, in bytes of UTF-8: its file's name, and the
// temporary file's a write makes beside it, must fit the file system.
inline constexpr std::size_t kProfileNameMaxBytes = 216;

// Whether a name can name a profile, or why not. It becomes a file name on
// Linux and on Windows, so it is any UTF-8 text either takes: no control
// characters, none of < > : " / \ | ? *, no '.' or blank at its end, and
// none of the names Windows keeps for devices.
platform::Status checkProfileName(std::string_view name);

// The profile file's bytes.
std::string profileBytes(const Profile& profile, const platform::CodePage& codePage);

// A profile file read back and checked: the profile, or why not; the keys it
// holds that no setting has.
struct ProfileRead {
    // Or the problem: Unreadable when the file could not be read, Unrecognised
    // when what it holds is no profile Quorvik can take.
    platform::Expected<Profile> profile;
    std::vector<std::string> unknownKeys;
};
ProfileRead readProfile(std::string_view bytes, const platform::CodePage& codePage);
// The same, read from a file of at most kProfileMaxBytes.
ProfileRead readProfileFile(platform::System& system, const std::filesystem::path& file);

// Where the profiles are kept, and one profile's file.
std::filesystem::path profilesFolder(const std::filesystem::path& configFolder);
std::filesystem::path profilePath(const std::filesystem::path& configFolder, std::string_view name);

// The names of the kept profiles, sorted.
std::vector<std::string> profileNames(platform::System& system,
                                      const std::filesystem::path& configFolder);

// Writes a file whole (a temporary file first, then in its place), making its
// folder when missing. The problem names the file, or the folder that could
// not be made.
platform::Status writeWhole(platform::System& system, const std::filesystem::path& path,
                            std::string_view bytes);

}  // namespace quorvik::operations
