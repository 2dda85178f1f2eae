// A Linux player's home with the game in several prefixes, through the
// window's handlers: Yes finds the live prefix, the save writes there and
// nowhere else, Launch goes through the Steam that owns the library.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/form1.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"
#include "support/fake_dialogs.h"
#include "support/prefix_fixture.h"
#include "support/stand_ins.h"

namespace quorvik::app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using quorvik::testing::FixtureHome;
using quorvik::testing::GameKey;
using quorvik::testing::makePrefix;
using quorvik::testing::makeSettings;

constexpr const char* kExe = "C:\\Games\\Quell Moor\\QuellMoor.exe";
constexpr const char* kFound =
    "Settings path auto-detected :) Click Video.scr and Audio.scr to detect values.\r\n";

// A prefix with the game installed; the settings folder spelt as given, if any.
fs::path installGame(const fs::path& prefix, const std::string& settingsFolder = {}) {
    makePrefix(prefix, GameKey::Wow6432Node, kExe);
    quorvik::testing::writeBytes(prefix / "drive_c/Games/Quell Moor/QuellMoor.exe", "MZ");
    if (settingsFolder.empty()) return {};
    const fs::path settings = makeSettings(prefix, "steamuser", settingsFolder);
    for (const char* data : {"../data/scripts", "../data/skills"}) {
        fs::create_directories(settings / data);
    }
    return settings;
}

// Every file under root but those under except, with its size and time.
std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> filesBut(const fs::path& root,
                                                                           const fs::path& except) {
    std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto [stop, rest] =
            std::mismatch(except.begin(), except.end(), entry.path().begin(), entry.path().end());
        if (stop == except.end() || !entry.is_regular_file() || entry.is_symlink()) continue;
        files[entry.path()] = {entry.file_size(), entry.last_write_time()};
    }
    return files;
}

struct Played {
    quorvik::testing::FakeDialogs dialogs;
    std::ostringstream report;
    platform::posix::PosixSystem system;
    Form1 form{dialogs, system};

    explicit Played(const FixtureHome& h) : system(h.search(), &report) {
        dialogs.yesNoAnswers = {platform::kYes};
        form.Form_Load();
    }
    void loadAndSave() {
        form.Command1_Click();
        form.Command2_Click();
        form.save_Click();
    }
};

TEST(LinuxPrefixes, YesFindsTheLivePrefixTheSaveWritesOnlyThereLaunchGoesThroughItsSteam) {
    FixtureHome h;
    installGame(h.home / ".wine");  // an old install with the key still in place
    const fs::path secondLibrary = h.dir / "games drive/SteamLibrary";
    h.listLibraries(h.flatpakSteam(), {h.flatpakSteam(), secondLibrary});
    installGame(h.protonPrefix(h.flatpakSteam(), "4711"));  // stale, left behind by a move
    const fs::path live = h.protonPrefix(secondLibrary, "4711");
    const fs::path settings = installGame(live, "QuellMoor/out/Settings");
    quorvik::testing::age(live, 72h);  // the stale prefix was touched later
    const auto untouched = filesBut(h.dir.path(), settings.parent_path());

    Played played(h);
    EXPECT_EQ(played.form.SettingsPath, platform::pathToUtf8(fs::canonical(settings)));
    ASSERT_EQ(played.dialogs.boxes.size(), 2u);
    EXPECT_EQ(played.dialogs.boxes[1].text, kFound + played.form.SettingsPath);
    EXPECT_NE(played.report.str().find(platform::pathToUtf8(live)), std::string::npos)
        << played.report.str();

    played.loadAndSave();
    EXPECT_TRUE(fs::exists(settings / "Video.sc1"));
    EXPECT_TRUE(fs::exists(settings / "Audio.sc1"));
    EXPECT_EQ(filesBut(h.dir.path(), settings.parent_path()), untouched);

    quorvik::testing::StandIns standIns;
    const std::size_t shown = played.dialogs.boxes.size();
    played.form.Launch_Click();
    const auto run = standIns.next();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->program, "flatpak");
    EXPECT_EQ(run->arguments, (std::vector<std::string>{"run", "com.valvesoftware.Steam",
                                                        "-applaunch", "4711", "-nologos"}));
    EXPECT_EQ(run->folder, fs::canonical(live / "drive_c/Games/Quell Moor"));
    EXPECT_EQ(played.dialogs.boxes.size(), shown) << "nothing to say";
}

TEST(LinuxPrefixes, ASettingsFolderInLowerCaseIsFoundAndSavedTo) {
    FixtureHome h;
    const fs::path settings =
        installGame(h.protonPrefix(h.nativeSteam(), "4711"), "quellmoor/out/settings");
    Played played(h);
    EXPECT_EQ(played.form.SettingsPath, platform::pathToUtf8(fs::canonical(settings)));
    played.form.Command1_Click();
    played.form.panel.Check4.Value = 0;  // motion blur off: its override scripts are written
    played.form.save_Click();
    EXPECT_TRUE(fs::exists(settings / "Video.sc1"));
    EXPECT_TRUE(fs::exists(settings / "../data/scripts/varlist_blur.scr"));
    EXPECT_FALSE(fs::exists(settings.parent_path().parent_path().parent_path() / "QuellMoor"))
        << "no folder of another spelling beside it";
}

}  // namespace
}  // namespace quorvik::app
