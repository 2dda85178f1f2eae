#include "operations/profiles.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "platform/paths.h"
#include "platform/text_codec.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "quorvik-profile";
constexpr int kVersion = 1;

// A profile's file is its name and ".json", written whole through a
// temporary file beside it (platform::temporaryName), whose name adds "."
// before and ".<process>-<count>-<random>.tmp" after: at most 34 bytes with a
// ten-digit process id and count. Both must fit in a file name: 255 bytes on
// Linux's file systems, and so under Wine, where Windows' names are kept in
// UTF-8; 255 UTF-16 units on NTFS. UTF-8 never takes fewer bytes than UTF-16
// takes units, so bytes are the measure that holds everywhere, and a profile
// shared between the two keeps its name.
constexpr std::size_t kFileNameMaxBytes = 255;
constexpr std::size_t kTemporaryNameAdds = 34;
constexpr std::string_view kExtension = ".json";
static_assert(kProfileNameMaxBytes == kFileNameMaxBytes - kExtension.size() - kTemporaryNameAdds);

// Whether the bytes are UTF-8: decoded and encoded again, anything else
// (a stray byte, an overlong form, a surrogate) comes back otherwise.
bool utf8Text(std::string_view text) {
    return platform::utf16ToUtf8(platform::utf8ToUtf16(text)) == text;
}

// Characters Windows takes in no file name: the control characters and the
// path's own signs.
bool refusedCharacter(char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

// Names Windows keeps for devices, whatever follows the dot: "CON.json" is
// the console. Windows reads the name up to its first dot, blanks at its end
// aside, and counts the superscript digits 1 to 3 as digits too.
bool deviceName(std::string_view name) {
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices))
        return true;
    if (!stem.starts_with("COM") && !stem.starts_with("LPT")) return false;
    const std::string_view number = std::string_view(stem).substr(3);
    static constexpr std::string_view kSuperscripts[] = {"\u00B9", "\u00B2", "\u00B3"};
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') ||
           std::find(std::begin(kSuperscripts), std::end(kSuperscripts), number) !=
               std::end(kSuperscripts);
}

}  // namespace

platform::Status checkProfileName(std::string_view name) {
    if (name.empty()) return platform::refused("a profile's name is at least one character long");
    if (!utf8Text(name))
        return platform::refused("a profile's name is text in UTF-8, which these bytes are not");
    if (std::any_of(name.begin(), name.end(), refusedCharacter)) {
        return platform::refused(
            "a profile's name holds no control characters and none of < > : \" / \\ | ? *");
    }
    // "." and ".." too: the folder itself and the one above it.
    if (name.back() == ' ' || name.back() == '.')
        return platform::refused("a profile's name does not end in '.' or a blank");
    if (name.size() > kProfileNameMaxBytes) {
        return platform::refused("a profile's name is at most " +
                                 std::to_string(kProfileNameMaxBytes) +
                                 " bytes long in UTF-8: as many letters A-Z, fewer of others");
    }
    if (deviceName(name))
        return platform::refused("\"" + std::string(name) +
                                 "\" is a name Windows keeps for a device");
    return platform::Status::success();
}

std::string profileBytes(const Profile& profile, const platform::CodePage& codePage) {
    Json file = Json::object();
    file["format"] = kFormat;
    file["version"] = kVersion;
    file["name"] = profile.name;
    Json settings = Json::object();
    for (const auto& [setting, value] : profile.values)
        settings[std::string(setting->key)] = codePage.toUtf8(value);
    file["settings"] = std::move(settings);
    return file.dump(2) + "\n";
}

namespace {

// What a profile file holds that is not one Quorvik can take.
platform::Problem notAProfile(std::string reason) {
    return platform::Problem{platform::Problem::Kind::Unrecognised, {}, std::move(reason)};
}

platform::Expected<Profile> parseProfile(std::string_view bytes, const platform::CodePage& codePage,
                                         std::vector<std::string>& unknownKeys) {
    const Json file = Json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (file.is_discarded() || !file.is_object()) {
        return notAProfile("it is not a profile: it holds no JSON object");
    }
    if (file.value("format", "") != kFormat || !file.contains("version") ||
        !file["version"].is_number_integer()) {
        return notAProfile("it is not a profile: its \"format\" is not \"quorvik-profile\"");
    }
    if (file["version"].get<long long>() != kVersion) {
        return notAProfile("it is a profile of version " + file["version"].dump() +
                           ", which this Quorvik does not know; it reads version 1");
    }
    if (!file.contains("settings") || !file["settings"].is_object()) {
        return notAProfile("its \"settings\" is not an object of keys and values");
    }
    Profile profile;
    if (file.contains("name") && file["name"].is_string()) profile.name = file["name"];
    // Values to check each one on, as typed input.
    Values checking;
    for (const auto& [key, value] : file["settings"].items()) {
        const Setting* setting = catalogue::find(key);
        if (setting == nullptr) {
            unknownKeys.push_back(key);
            continue;
        }
        // Written by Quorvik a value is text; by hand it may be a number or true/false.
        std::string text;
        if (value.is_string()) {
            text = value.get<std::string>();
        } else if (value.is_boolean()) {
            text = value.get<bool>() ? "on" : "off";
        } else if (value.is_number()) {
            text = value.dump();
        } else {
            return notAProfile(std::string(setting->key) + " is " + std::string(value.type_name()) +
                               ", not a value the window takes");
        }
        const std::string typed = codePage.fromUtf8(text);
        if (const platform::Status taken = setValue(checking, *setting, typed); !taken) {
            return notAProfile(std::string(setting->key) + " " + taken.reason() + "; \"" + text +
                               "\" cannot be set");
        }
        profile.values.emplace_back(setting, checking.shown(setting->id));
    }
    return profile;
}

}  // namespace

ProfileRead readProfile(std::string_view bytes, const platform::CodePage& codePage) {
    std::vector<std::string> unknownKeys;
    platform::Expected<Profile> profile = parseProfile(bytes, codePage, unknownKeys);
    return ProfileRead{std::move(profile), std::move(unknownKeys)};
}

ProfileRead readProfileFile(platform::System& system, const std::filesystem::path& file) {
    const platform::ReadResult read = system.readFile(file, kProfileMaxBytes);
    if (!read) return ProfileRead{platform::unreadable(file, read.problem().reason), {}};
    return readProfile(*read, system.codePage());
}

Profile profileOf(std::string name, const Values& values,
                  const std::function<bool(const Setting&)>& kept,
                  std::vector<std::string>& leftOut) {
    Profile profile{std::move(name), {}};
    Values checking;
    for (const Setting& setting : catalogue::settings()) {
        if (!kept(setting)) continue;
        const std::string value = values.shown(setting.id);
        if (!setValue(checking, setting, value)) {
            leftOut.push_back(setting.caption() + " " + value);
            continue;
        }
        profile.values.emplace_back(&setting, value);
    }
    return profile;
}

fs::path profilesFolder(const fs::path& configFolder) {
    return configFolder / "profiles";
}

fs::path profilePath(const fs::path& configFolder, std::string_view name) {
    return profilesFolder(configFolder) /
           platform::pathFromUtf8(std::string(name) + std::string(kExtension));
}

std::vector<std::string> profileNames(platform::System& system, const fs::path& configFolder) {
    std::vector<std::string> names;
    for (const fs::path& file : system.listFolder(profilesFolder(configFolder))) {
        if (file.extension() != kExtension) continue;
        const std::string name = platform::pathToUtf8(file.stem());
        if (checkProfileName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

platform::Status writeWhole(platform::System& system, const fs::path& path,
                            std::string_view bytes) {
    if (!system.folderExists(path.parent_path())) {
        // The folders above it first: a configuration folder may not exist yet.
        std::vector<fs::path> missing;
        for (fs::path folder = path.parent_path();
             !folder.empty() && !system.folderExists(folder) && folder != folder.parent_path();
             folder = folder.parent_path()) {
            missing.push_back(folder);
        }
        for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
            if (const platform::Status made = system.createFolder(*folder); !made) {
                return platform::Problem{platform::Problem::Kind::WriteFailed, *folder,
                                         made.reason()};
            }
        }
    }
    const auto staged = system.stageFile(path, bytes, {});
    if (!staged)
        return platform::Problem{platform::Problem::Kind::WriteFailed, path,
                                 staged.problem().reason};
    if (const platform::Status committed = system.commitFile(*staged); !committed) {
        system.discardFile(*staged);
        return platform::Problem{platform::Problem::Kind::WriteFailed, path, committed.reason()};
    }
    return platform::Status::success();
}

}  // namespace quorvik::operations
