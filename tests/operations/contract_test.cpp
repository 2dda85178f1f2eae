// The core's contracts, without the window: planSave is a pure function of
// what was loaded and the values; apply carries a plan out whole or leaves
// every file as it was, whichever step fails; planRestore and the profile
// reader say what they would put back or take, and why not.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "operations/apply.h"
#include "operations/profiles.h"
#include "operations/restore.h"
#include "operations/save_plan.h"
#include "settings/settings_files.h"
#include "support/fake_system.h"
#include "support/game_folder.h"

namespace quorvik::operations {
namespace {

namespace fs = std::filesystem;
using quorvik::testing::dataBytes;
using quorvik::testing::FileOp;
using quorvik::testing::readBytes;
using quorvik::testing::writeBytes;

// Both sample files loaded and the Data folder read, as the inputs of a save.
struct Loaded : quorvik::testing::GameFolder {
    quorvik::testing::FakeSystem system;
    Values values;
    LoadedFile video, audio;
    DataFolder data;
    std::vector<SettingId> typed;
    std::optional<fs::path> folder = settings;

    Loaded() {
        copySamples();
        values[SettingId::FieldOfView] = "62.5";  // as the window starts: the game's own
        video = loadSettingsFile(system, settings / "Video.scr", Place::Video, values);
        audio = loadSettingsFile(system, settings / "Audio.scr", Place::Audio, values);
        std::vector<platform::Problem> problems;
        data = readDataFolder(system, settings, values, problems);
    }
    Plan plan() const {
        return planSave(
            {folder, video, audio, data, values, typed, {"v1", "x"}, platform::windows1252()});
    }
};

// A plan in words: each file's action and name, each refusal and note.
std::vector<std::string> summary(const Plan& plan) {
    std::vector<std::string> lines;
    const char* actions[] = {"backup ", "write ", "delete "};
    for (const FileChange& file : plan.files)
        lines.push_back(actions[static_cast<int>(file.action)] + file.shown);
    for (const Refusal& refusal : plan.refused) {
        lines.push_back("refused " + refusal.file + " " +
                        std::to_string(static_cast<int>(refusal.kind)));
    }
    for (const Note& note : plan.notes)
        lines.push_back("note " + std::to_string(static_cast<int>(note.kind)));
    return lines;
}

const std::vector<std::string> kBoth = {"backup Video.sc1", "backup Audio.sc1", "write Video.scr",
                                        "write Audio.scr"};

std::vector<std::string> with(std::vector<std::string> lines,
                              std::initializer_list<std::string> more) {
    lines.insert(lines.end(), more);
    return lines;
}

TEST(Contract, PlanSaveIsWhatWasLoadedAndTheValues) {
    struct Row {
        const char* what;
        std::function<void(Loaded&)> change;
        std::vector<std::string> plan;
    };
    const std::string refusedVideo = "refused Video.scr ";
    const std::vector<Row> rows = {
        {"as loaded", [](Loaded&) {}, kBoth},
        {"Video.scr not loaded",
         [](Loaded& in) { in.video = {}; },
         {"backup Audio.sc1", "write Audio.scr", refusedVideo + "0"}},
        {"a number the game cannot read",
         [](Loaded& in) { in.values[SettingId::BPP] = "3 2"; },
         {"backup Audio.sc1", "write Audio.scr", refusedVideo + "1"}},
        {"a setting its file lacks",
         [](Loaded& in) {
             in.video.missing.emplace_back(SettingId::BPP, in.values[SettingId::BPP]);
         },
         {"backup Audio.sc1", "write Audio.scr", refusedVideo + "2"}},
        {"a setting its file lacks, typed",
         [](Loaded& in) {
             in.video.missing.emplace_back(SettingId::BPP, in.values[SettingId::BPP]);
             in.typed.push_back(SettingId::BPP);
         },
         kBoth},
        {"motion blur off", [](Loaded& in) { in.values[SettingId::MotionBlur] = "off"; },
         with(kBoth, {"write Data\\Scripts\\varlist_blur_camera_motion.scr",
                      "write Data\\Scripts\\varlist_blur.scr",
                      "write Data\\Scripts\\varlist_blur_radial.scr"})},
        {"a wider view", [](Loaded& in) { in.values[SettingId::FieldOfView] = " 75.0 "; },
         with(kBoth, {"write Data\\Skills\\default_levels.xml"})},
        {"a narrower view", [](Loaded& in) { in.values[SettingId::FieldOfView] = "60.0"; },
         with(kBoth, {"note 5"})},
        {"a view that is no number", [](Loaded& in) { in.values[SettingId::FieldOfView] = "wide"; },
         with(kBoth, {"note 4"})},
        {"the Data folder not read", [](Loaded& in) { in.data = {}; }, with(kBoth, {"note 1"})},
        {"no settings folder", [](Loaded& in) { in.folder.reset(); }, {"note 0"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Loaded in;
        row.change(in);
        const Values before = in.values;
        const Plan plan = in.plan();
        EXPECT_EQ(summary(plan), row.plan);
        EXPECT_EQ(in.values, before) << "planning changes nothing";
        EXPECT_EQ(summary(in.plan()), row.plan) << "and gives the same plan again";
    }
}

// Every step of a plan that writes or removes something fails in turn: the
// report names the step and every file keeps its bytes.
TEST(Contract, ApplyCarriesOutAPlanWholeOrLeavesEveryFileAsItWas) {
    const auto disk = [](const Loaded& in) {
        std::map<std::string, std::optional<std::string>> files;
        for (const auto& entry : fs::recursive_directory_iterator(in.out)) {
            const std::string name = entry.path().lexically_relative(in.out).generic_string();
            if (entry.is_regular_file() && name.find("Quorvik history") == std::string::npos) {
                files[name] = readBytes(entry.path());
            }
        }
        return files;
    };
    const auto prepare = [](Loaded& in) {
        writeBytes(in.settings / "Video.sc1", "another tool's backup\r\n");
        in.values[SettingId::MotionBlur] = "off";
        in.values[SettingId::FieldOfView] = "75.0";
        in.values[SettingId::BPP] = "16";
    };
    Loaded whole;
    prepare(whole);
    ASSERT_TRUE(apply(whole.system, whole.plan(), {false, "a save"}).done());
    std::vector<std::pair<FileOp, fs::path>> steps;
    for (const auto& [op, path] : whole.system.fileLog) {
        const bool tidying =
            op == FileOp::Delete && path.string().find("Quorvik history") != std::string::npos;
        if ((op == FileOp::Write || op == FileOp::Commit || op == FileOp::Delete) && !tidying) {
            steps.emplace_back(op, path.lexically_relative(whole.dir.path()));
        }
    }
    ASSERT_GE(steps.size(), 12u);
    for (const auto& [failing, at] : steps) {
        SCOPED_TRACE(std::to_string(static_cast<int>(failing)) + " " + at.string());
        Loaded in;
        prepare(in);
        const Plan plan = in.plan();
        const auto before = disk(in);
        in.system.fault = [&](FileOp op, const fs::path& path) -> std::optional<platform::Status> {
            if (op == failing && path.lexically_relative(in.dir.path()) == at) {
                return platform::Status::failure("No space left on device");
            }
            return std::nullopt;
        };
        const Report report = apply(in.system, plan, {false, "a save"});
        EXPECT_EQ(report.outcome, Report::Outcome::Failed);
        EXPECT_EQ(report.failure->reason, "No space left on device");
        EXPECT_EQ(disk(in), before);
    }
}

TEST(Contract, PlanRestoreSaysWhatItPutsBackAndWhatItLeavesAlone) {
    struct Row {
        const char* what;
        const char* videoBackup;  // nullptr: none
        std::vector<std::string> plan;
        std::vector<std::string> leftAlone;
    };
    const std::string kept = settings::backupContents(dataBytes("Video.scr"), "v1", "x");
    const Row rows[] = {
        {"a backup Quorvik wrote", kept.c_str(), {"write Video.scr"}, {"Audio.scr"}},
        {"no backup", nullptr, {}, {"Video.scr", "Audio.scr"}},
        {"a backup with no setting", "just words\r\n", {}, {"Video.scr", "Audio.scr"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Loaded in;
        if (row.videoBackup != nullptr) writeBytes(in.settings / "Video.sc1", row.videoBackup);
        const RestorePlan restore =
            planRestore(in.system, in.settings, {RestoreChoice::Kind::LastSave, "sc1", {}, {}});
        EXPECT_EQ(summary(restore.plan), row.plan);
        std::vector<std::string> leftAlone;
        for (const auto& [file, why] : restore.leftAlone) leftAlone.push_back(file);
        EXPECT_EQ(leftAlone, row.leftAlone);
        if (!restore.plan.files.empty()) {
            EXPECT_EQ(restore.plan.files[0].bytes, dataBytes("Video.scr"));
        }
    }
}

TEST(Contract, AProfileIsTakenOnlyWhenEveryValueIsOneTheWindowTakes) {
    const std::string head =
        R"({"format": "quorvik-profile", "version": 1, "name": "p", "settings": )";
    // The profile, and what is wrong with it; nothing: it is taken.
    const std::string cases[][2] = {
        {head + R"({"bpp": 16, "VSync": true, "Brightness": 5}})", ""},
        {head + R"({"TextureQuality": "Ultra"}})",
         "TextureQuality takes one of VeryLow, Low, High"},
        {head + R"({"FieldOfView": "120.0"}})", "FieldOfView takes a number up to 99.9"},
        {R"({"format": "quorvik-profile", "version": 2})", "a profile of version 2"},
    };
    for (const auto& [bytes, problem] : cases) {
        SCOPED_TRACE(bytes);
        const ProfileRead read = readProfile(bytes, platform::windows1252());
        ASSERT_EQ(read.profile.ok(), problem.empty()) << read.profile.problem().reason;
        if (!problem.empty()) {
            EXPECT_NE(read.profile.problem().reason.find(problem), std::string::npos)
                << read.profile.problem().reason;
            continue;
        }
        ASSERT_EQ(read.profile->values.size(), 2u);
        EXPECT_EQ(read.profile->values[0].first->id, SettingId::BPP);
        EXPECT_EQ(read.profile->values[0].second, "16");
        EXPECT_EQ(read.profile->values[1].second, "on");
        EXPECT_EQ(read.unknownKeys, std::vector<std::string>{"Brightness"});
    }
}

}  // namespace
}  // namespace quorvik::operations
