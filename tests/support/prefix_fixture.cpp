#include "support/prefix_fixture.h"

#include <sqlite3.h>

#include "operations/game.h"
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
    return operations::game::signature();
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

void FixtureHome::lutrisGame(const fs::path& data, const std::string& config,
                             const fs::path& prefix, const fs::path& exe,
                             const std::string& arguments) const {
    std::string text = "game:\n  exe: " + exe.string() + "\n";
    if (!prefix.empty()) text += "  prefix: " + prefix.string() + "\n";
    if (!arguments.empty()) text += "  args: " + arguments + "\n";
    text +=
        "  arch: win64\ngame_slug: quell-moor\nname: Quell Moor\nrequires: null\n"
        "slug: quell-moor-installer\nsystem: {}\nvariables: {}\nversion: Installer\n"
        "wine:\n  version: ge-proton\n";
    writeBytes(data / "games" / (config + ".yml"), text);
}

void FixtureHome::lutrisDatabase(const fs::path& data,
                                 const std::vector<std::array<std::string, 4>>& games) const {
    fs::create_directories(data);
    sqlite3* db = nullptr;
    sqlite3_open((data / "pga.db").c_str(), &db);
    std::string sql =
        "CREATE TABLE games (id INTEGER PRIMARY KEY, name TEXT, slug TEXT, installer_slug TEXT, "
        "parent_slug TEXT, platform TEXT, runner TEXT, executable TEXT, directory TEXT, "
        "updated DATETIME, lastplayed INTEGER, installed INTEGER, installed_at INTEGER, "
        "year INTEGER, configpath TEXT, has_custom_banner INTEGER, has_custom_icon INTEGER, "
        "playtime REAL, hidden INTEGER, service TEXT, service_id TEXT);";
    for (const auto& [id, slug, directory, config] : games) {
        sql +=
            "INSERT INTO games (id, name, slug, platform, runner, directory, installed, "
            "configpath) VALUES (" +
            id + ", 'Quell Moor', '" + slug + "', 'Windows', 'wine', '" + directory + "', 1, '" +
            config + "');";
    }
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void FixtureHome::heroicGame(const fs::path& config, const std::string& appName,
                             const fs::path& prefix, const std::string& arguments) const {
    std::string game = "    \"autoInstallDxvk\": true,\n    \"language\": \"\",\n";
    if (!arguments.empty()) game += "    \"launcherArgs\": \"" + arguments + "\",\n";
    if (!prefix.empty()) game += "    \"winePrefix\": \"" + prefix.string() + "\",\n";
    game +=
        "    \"wineVersion\": {\n      \"bin\": \"/home/jane/.config/heroic/tools/proton/"
        "GE-Proton9-20/proton\",\n      \"name\": \"Proton - GE-Proton9-20\",\n"
        "      \"type\": \"proton\"\n    }\n";
    writeBytes(config / "GamesConfig" / (appName + ".json"),
               "{\n  \"" + appName + "\": {\n" + game +
                   "  },\n  \"version\": \"v0\",\n  \"explicit\": true\n}\n");
}

void FixtureHome::heroicInstalled(const fs::path& config, const std::string& store,
                                  const std::string& appName, const std::string& title,
                                  const fs::path& installPath) const {
    const std::string path = installPath.string();
    if (store == "legendary") {
        writeBytes(config / "legendaryConfig/legendary/installed.json",
                   "{\"" + appName + "\": {\"app_name\": \"" + appName + "\", \"title\": \"" +
                       title + "\", \"install_path\": \"" + path +
                       "\", \"executable\": \"QuellMoor.exe\", \"platform\": \"Windows\"}}");
    } else if (store == "gog") {
        writeBytes(config / "gog_store/installed.json",
                   "{\"installed\": [{\"platform\": \"windows\", \"executable\": \"\", "
                   "\"install_path\": \"" +
                       path +
                       "\", \"install_size\": \"5.1 GiB\", "
                       "\"is_dlc\": false, \"version\": \"1.4.2\", \"appName\": \"" +
                       appName + "\", \"installedWithDLCs\": false, \"language\": \"en-US\"}]}");
        writeBytes(config / "store_cache/gog_library.json",
                   "{\"games\": [{\"runner\": \"gog\", \"app_name\": \"" + appName +
                       "\", \"title\": \"" + title + "\"}]}");
    } else if (store == "sideload") {
        writeBytes(config / "sideload_apps/library.json",
                   "{\"games\": [{\"runner\": \"sideload\", \"app_name\": \"" + appName +
                       "\", \"title\": \"" + title + "\", \"install\": {\"executable\": \"" + path +
                       "/QuellMoor.exe\", \"platform\": \"windows\"}}]}");
    } else {
        writeBytes(config / "nile_config/nile/installed.json",
                   "[{\"id\": \"" + appName + "\", \"version\": \"1\", \"path\": \"" + path +
                       "\", \"size\": 1}]");
        if (!title.empty()) {
            writeBytes(config / "store_cache/nile_library.json",
                       "{\"library\": [{\"runner\": \"nile\", \"app_name\": \"" + appName +
                           "\", \"title\": \"" + title + "\"}]}");
        }
    }
}

void FixtureHome::heroicDefaults(const fs::path& config, const fs::path& sharedPrefix,
                                 const fs::path& prefixesFolder,
                                 const fs::path& prefixesDir) const {
    std::string settings = "    \"defaultInstallPath\": \"" + home.string() +
                           "/Games/Heroic\",\n    \"defaultWinePrefix\": \"" +
                           prefixesFolder.string() + "\",\n";
    if (!prefixesDir.empty()) {
        settings += "    \"defaultWinePrefixDir\": \"" + prefixesDir.string() + "\",\n";
    }
    settings += "    \"winePrefix\": \"" + sharedPrefix.string() + "\"\n";
    writeBytes(config / "config.json",
               "{\n  \"defaultSettings\": {\n" + settings + "  },\n  \"version\": \"v0\"\n}\n");
}

fs::path FixtureHome::bottle(const std::string& name, const std::string& runner,
                             const fs::path& bottles) const {
    const fs::path folder =
        (bottles.empty() ? bottlesData() / "bottles" : bottles) / (name + "-folder");
    writeBytes(folder / "bottle.yml",
               "Arch: win64\nCustom_Path: false\nEnvironment: gaming\nName: " + name +
                   "\nPath: " + name + "-folder\nRunner: " + runner + "\nVersioning: false\n");
    return folder;
}

}  // namespace quorvik::testing
