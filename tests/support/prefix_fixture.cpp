#include "support/prefix_fixture.h"

#include "app/game.h"
#include "platform/paths.h"

namespace quorvik::testing {
namespace {

// Backslashes and quotes as Wine escapes them in its registry files.
std::string regEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

fs::path testData(const char* name) {
    return fs::path(QUORVIK_TEST_DATA) / name;
}

}  // namespace

platform::wine::GameSignature gameSignature() {
    return app::game::signature();
}

void makePrefix(const fs::path& root, GameKey key, const std::string& exePath,
                const std::string& version) {
    std::string text =
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n\n"
        "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1796631078\n"
        "#time=1dd86228957f9b6\n\"CurrentVersion\"=\"6.1\"\n\n";
    if (key != GameKey::None) {
        text += key == GameKey::Plain ? "[Software\\\\Grenmark\\\\QuellMoor] 1796631078\n"
                                      : "[Software\\\\Wow6432Node\\\\Grenmark\\\\QuellMoor] 1\n";
        text += "#time=1dd8622899cfdb8\n\"Version\"=\"" + regEscaped(version) + "\"\n";
        if (!exePath.empty()) text += "\"Exe_Path\"=\"" + regEscaped(exePath) + "\"\n";
    }
    writeBytes(root / "system.reg", text);
    fs::create_directories(root / "drive_c");
    fs::create_directories(root / "dosdevices");
    if (!fs::is_symlink(root / "dosdevices/c:")) {
        fs::create_directory_symlink("../drive_c", root / "dosdevices/c:");
    }
}

fs::path makeSettings(const fs::path& prefix, const std::string& user,
                      const std::string& settingsFolder) {
    const fs::path folder =
        prefix / "drive_c/users" / user / "Documents" / platform::pathFromUtf8(settingsFolder);
    fs::create_directories(folder);
    fs::copy_file(testData("Video.scr"), folder / "Video.scr");
    fs::copy_file(testData("Audio.scr"), folder / "Audio.scr");
    return folder;
}

void age(const fs::path& prefix, std::chrono::hours age) {
    const auto when = fs::file_time_type::clock::now() - age;
    std::vector<fs::path> files = {prefix.parent_path() / "pfx.lock"};
    for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
        if (entry.is_regular_file() && !entry.is_symlink()) files.push_back(entry.path());
    }
    for (const fs::path& file : files) {
        std::error_code error;
        fs::last_write_time(file, when, error);
    }
}

std::string libraryFoldersVdf(const std::vector<fs::path>& libraries) {
    std::string text = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < libraries.size(); ++i) {
        text += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + libraries[i].string() +
                "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"contentid\"\t\t\"4213190318361846353\"\n"
                "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"1\"\n\t\t}\n\t}\n";
    }
    return text + "}\n";
}

std::string oldLibraryFoldersVdf(const std::vector<fs::path>& libraries) {
    std::string text = "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1698765432\"\n";
    for (std::size_t i = 0; i < libraries.size(); ++i) {
        text += "\t\"" + std::to_string(i + 1) + "\"\t\t\"" + libraries[i].string() + "\"\n";
    }
    return text + "}\n";
}

FixtureHome::FixtureHome() {
    fs::create_directories(home);
}

platform::wine::PrefixSearch FixtureHome::search() const {
    platform::wine::PrefixSearch search;
    search.home = home;
    search.login = "jane";
    search.game = gameSignature();
    return search;
}

void FixtureHome::listLibraries(const fs::path& steamRoot,
                                const std::vector<fs::path>& libraries) const {
    writeBytes(steamRoot / "steamapps/libraryfolders.vdf", libraryFoldersVdf(libraries));
}

void FixtureHome::lutrisGame(const std::string& file, const fs::path& prefix,
                             const std::string& wineVersion) const {
    writeBytes(home / ".local/share/lutris/games" / file,
               "game:\n  exe: " + prefix.string() +
                   "/drive_c/Games/Quell Moor/QuellMoor.exe\n  prefix: " + prefix.string() +
                   "\n  arch: win64\ngame_slug: quell-moor\nname: Quell Moor\nrequires: null\n"
                   "slug: quell-moor-installer\nsystem: {}\nvariables: {}\nversion: Installer\n"
                   "wine:\n  version: " +
                   wineVersion + "\n");
}

void FixtureHome::heroicGame(const std::string& file, const fs::path& prefix,
                             const fs::path& wineBin, const std::string& type) const {
    writeBytes(home / ".config/heroic/GamesConfig" / file,
               "{\n  \"Quell Moor\": {\n    \"autoInstallDxvk\": true,\n"
               "    \"language\": \"\",\n    \"nvidiaPrime\": false,\n"
               "    \"winePrefix\": \"" +
                   prefix.string() + "\",\n    \"wineVersion\": {\n      \"bin\": \"" +
                   wineBin.string() +
                   "\",\n      \"name\": \"Wine - Wine-GE-Proton8-26\",\n      \"type\": \"" +
                   type + "\"\n    }\n  },\n  \"version\": \"v0\",\n  \"explicit\": true\n}\n");
}

fs::path FixtureHome::bottle(const std::string& name, const std::string& runner) const {
    const fs::path folder = home / ".local/share/bottles/bottles" / name;
    writeBytes(folder / "bottle.yml",
               "Arch: win64\nCustom_Path: false\nEnvironment: gaming\nName: " + name +
                   "\nPath: " + name + "\nRunner: " + runner + "\nVersioning: false\n");
    return folder;
}

}  // namespace quorvik::testing
