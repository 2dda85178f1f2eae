#include "operations/profiles.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "platform/paths.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

constexpr std::string_view kFormat = "quorvik-profile";
constexpr int kVersion = 1;

bool nameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           c == '-' || c == '_' || c == '.';
}

}  // namespace

// Names Windows keeps for devices, whatever follows the dot: "CON.json" is
// the console.
bool deviceName(std::string_view name) {
    std::string stem(name.substr(0, name.find('.')));
    for (char& c : stem) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    if (std::find(std::begin(kDevices), std::end(kDevices), stem) != std::end(kDevices))
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
           stem[3] >= '0' && stem[3] <= '9';
}

platform::Status checkProfileName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.front() == '.' || name.front() == ' ' ||
        name.back() == ' ' || name.back() == '.' ||
        !std::all_of(name.begin(), name.end(), nameCharacter)) {
        return platform::refused(
            "a profile's name is 1 to 64 letters (A-Z, a-z), digits, blanks, '-', '_' or '.', "
            "not starting with '.' or a blank nor ending with either");
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
    return profilesFolder(configFolder) / platform::pathFromUtf8(std::string(name) + ".json");
}

std::vector<std::string> profileNames(platform::System& system, const fs::path& configFolder) {
    std::vector<std::string> names;
    for (const fs::path& file : system.listFolder(profilesFolder(configFolder))) {
        if (file.extension() != ".json") continue;
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
