// The Profiles menu: the window's settings kept under a name in the user's
// configuration folder, applied (shown first, as a preset is), deleted,
// written to a file to share and read from one, checked as typed values are.

#include <algorithm>

#include "app/form1.h"
#include "operations/profiles.h"
#include "panel/binding.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "words/messages.h"

namespace quorvik::app {

using namespace words;

namespace {
// Profiles as the file dialogs offer them.
const platform::FileKind kProfileFiles{"Quorvik profile", "json"};
constexpr const char* kNoConfigFolder =
    "There is no configuration folder to keep profiles in, so nothing was done.";
}  // namespace

std::optional<std::filesystem::path> Form1::profilesConfig() {
    const auto config = system_.configFolder();
    if (!config) problem(kNoConfigFolder, platform::kExclamation);
    return config;
}

bool Form1::profileNameWillDo(const std::string& name) {
    const platform::Status taken = operations::checkProfileName(name);
    if (!taken)
        problem("\"" + name + "\" will not do: " + taken.reason() + ".", platform::kExclamation);
    return taken.ok();
}

std::optional<Form1::ChosenProfile> Form1::chooseProfile(const std::string& question,
                                                         const std::string& button,
                                                         const std::string& title) {
    const auto config = profilesConfig();
    if (!config) return std::nullopt;
    const std::vector<std::string> names = operations::profileNames(system_, *config);
    if (names.empty()) {
        problem(
            "There is no profile yet: Profiles > Save Profile... keeps the window's settings "
            "as one.",
            platform::kExclamation);
        return std::nullopt;
    }
    const int chosen = dialogs_.chooseItem(question, names, button, title);
    if (chosen < 0 || chosen >= static_cast<int>(names.size())) return std::nullopt;
    const std::string& name = names[static_cast<std::size_t>(chosen)];
    return ChosenProfile{name, operations::profilePath(*config, name)};
}

// Reads and checks a profile file; nothing, and the player told why, when it
// cannot be used. Keys no setting has are named.
std::optional<operations::Profile> Form1::readProfileFile(const std::filesystem::path& file) {
    operations::ProfileRead checked = operations::readProfileFile(system_, file);
    if (!checked.profile) {
        problem(shownPath(file) +
                    (checked.profile.problem().kind == platform::Problem::Kind::Unreadable
                         ? " could not be read: "
                         : " cannot be used: ") +
                    checked.profile.problem().reason + ".",
                platform::kExclamation);
        return std::nullopt;
    }
    if (!checked.unknownKeys.empty()) {
        message(shownPath(file) + " holds settings Quorvik does not know; they are left out: " +
                    platform::joined(checked.unknownKeys) + ".",
                platform::kInformation);
    }
    return std::move(*checked.profile);
}

bool Form1::keepProfile(const std::filesystem::path& config, operations::Profile profile) {
    const std::filesystem::path path = operations::profilePath(config, profile.name);
    if (system_.fileExists(path) &&
        message("There is a profile called \"" + profile.name + "\" already. Replace it?",
                platform::kYesNo | platform::kQuestion) != platform::kYes) {
        return false;
    }
    const platform::Status written = operations::writeWhole(
        system_, path, operations::profileBytes(profile, system_.codePage()));
    if (!written) {
        problem("The profile was not kept in " + shownPath(written.problem().path) + ": " +
                    written.problem().reason + ".",
                platform::kExclamation);
        return false;
    }
    return true;
}

void Form1::ProfileSave_Click() {
    const auto config = profilesConfig();
    if (!config) return;
    if (!videoLoaded() && !audioLoaded()) {
        problem(
            "Load Video.scr or Audio.scr first: a profile keeps the settings they hold, as the "
            "window shows them.",
            platform::kExclamation);
        return;
    }
    const std::string name =
        dialogs_.inputBox("Keep the window's settings as a profile named:", "Save Profile");
    if (name.empty() || !profileNameWillDo(name)) return;
    // The settings of what was loaded: a file never loaded has nothing to keep.
    const auto loaded = [this](const operations::Setting& setting) {
        return placeLoaded(setting.place);
    };
    std::vector<std::string> leftOut;
    operations::Profile profile =
        operations::profileOf(name, panel::valuesOf(panel), loaded, leftOut);
    if (!keepProfile(*config, std::move(profile))) return;
    std::string text =
        "Profile \"" + name + "\" kept. Profiles > Apply Profile... brings its settings back.";
    if (!leftOut.empty()) {
        text += "\r\n\r\nLeft out, as values their settings do not take: " +
                system_.codePage().toUtf8(platform::joined(leftOut)) + ".";
    }
    message(text, platform::kInformation);
}

void Form1::ProfileApply_Click() {
    const auto chosen =
        chooseProfile("Set the window's settings from which profile?", "Apply", "Apply Profile");
    if (!chosen) return;
    const auto profile = readProfileFile(chosen->path);
    if (!profile) return;
    offerValues("Profile \"" + chosen->name + "\"", profile->values);
}

void Form1::ProfileDelete_Click() {
    const auto chosen = chooseProfile("Delete which profile?", "Delete", "Delete Profile");
    if (!chosen) return;
    if (message("Delete profile \"" + chosen->name + "\"? It cannot be brought back.",
                platform::kYesNo | platform::kQuestion | platform::kDefaultButton2) !=
        platform::kYes) {
        return;
    }
    const platform::Status deleted = system_.deleteFile(chosen->path);
    if (!deleted) {
        problem("The profile was not deleted (" + shownPath(chosen->path) +
                    "): " + deleted.problem().reason + ".",
                platform::kExclamation);
    }
}

void Form1::ProfileExport_Click() {
    const auto chosen =
        chooseProfile("Write which profile to a file, to share?", "Export", "Export Profile");
    if (!chosen) return;
    const auto profile = readProfileFile(chosen->path);
    if (!profile) return;
    const std::string typed =
        dialogs_.saveFileName("Export Profile", chosen->name + ".json", kProfileFiles);
    if (typed.empty()) return;
    const std::filesystem::path file = system_.nativePath(typed);
    // The system's dialog leaves this question to us, so that both windows ask it alike.
    if (system_.fileExists(file) &&
        message(shownPath(file) + " is there already. Replace it with profile \"" + chosen->name +
                    "\"?",
                platform::kYesNo | platform::kQuestion | platform::kDefaultButton2) !=
            platform::kYes) {
        return;
    }
    const platform::Status written = operations::writeWhole(
        system_, file, operations::profileBytes(*profile, system_.codePage()));
    if (!written) {
        problem("The profile was not written to " + shownPath(written.problem().path) + ": " +
                    written.problem().reason + ".",
                platform::kExclamation);
        return;
    }
    message("Profile \"" + chosen->name + "\" written to " + shownPath(file) + ".",
            platform::kInformation);
}

void Form1::ProfileImport_Click() {
    const auto config = profilesConfig();
    if (!config) return;
    const std::string typed = dialogs_.openFileName("Import Profile", kProfileFiles);
    if (typed.empty()) return;
    auto profile = readProfileFile(system_.nativePath(typed));
    if (!profile) return;
    if (!operations::checkProfileName(profile->name)) {
        profile->name = dialogs_.inputBox("Keep it as a profile named:", "Import Profile");
        if (profile->name.empty() || !profileNameWillDo(profile->name)) return;
    }
    const std::string name = profile->name;
    if (!keepProfile(*config, std::move(*profile))) return;
    message("Profile \"" + name + "\" kept. Profiles > Apply Profile... sets the window from it.",
            platform::kInformation);
}

}  // namespace quorvik::app
