#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <nlohmann/json.hpp>

#include "app/form1.h"
#include "app/identity.h"
#include "cli/console_dialogs.h"
#include "overrides/skills_file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "settings/setting_values.h"

namespace quorvik::cli {
namespace {

namespace fs = std::filesystem;

enum class Exit { Done = 0, Failed = 1, Usage = 2 };

// One setting by its key: a line of Video.scr or Audio.scr, or a control of
// the Data folder's files.
struct Setting {
    std::string key;
    const settings::TemplateLine* line = nullptr;
    panel::CheckBox panel::Panel::*effect = nullptr;  // MotionBlur, DepthOfField
    bool fieldOfView = false;
};

std::vector<Setting> allSettings() {
    std::vector<Setting> all;
    for (const auto* line : settings::videoSettings()) all.push_back({std::string(line->text), line});
    for (const auto* line : settings::audioSettings()) all.push_back({std::string(line->text), line});
    all.push_back({"MotionBlur", nullptr, &panel::Panel::Check4});
    all.push_back({"DepthOfField", nullptr, &panel::Panel::Check11});
    all.push_back({"FieldOfView", nullptr, nullptr, true});
    return all;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

const Setting* findSetting(const std::vector<Setting>& all, const std::string& key) {
    for (const Setting& setting : all) {
        if (lowered(setting.key) == lowered(key)) return &setting;
    }
    return nullptr;
}

std::string valueOf(const panel::Panel& panel, const Setting& setting) {
    if (setting.line != nullptr) return settings::windowText(panel, *setting.line);
    if (setting.effect != nullptr) return (panel.*setting.effect).Value != 0 ? "on" : "off";
    return panel.Text15.Text;
}

// The problem in words when the control cannot take the value.
std::optional<std::string> setValue(panel::Panel& panel, const Setting& setting,
                                    const std::string& value) {
    if (setting.line != nullptr) return settings::setWindowText(panel, *setting.line, value);
    if (setting.effect != nullptr) {
        const std::string text = lowered(value);
        if (text == "on" || text == "1" || text == "true") {
            (panel.*setting.effect).Value = 1;
        } else if (text == "off" || text == "0" || text == "false") {
            (panel.*setting.effect).Value = 0;
        } else {
            return "takes on or off";
        }
        return std::nullopt;
    }
    const std::string view(platform::trimBlanks(value));
    if (!overrides::compareWithDefaultFieldOfView(view)) return "takes a number such as 75.0";
    panel.Text15.Text = view;
    return std::nullopt;
}

std::string keyList(const std::vector<Setting>& all) {
    std::string keys;
    for (const Setting& setting : all) keys += (keys.empty() ? "" : ", ") + setting.key;
    return keys;
}

struct Session {
    ConsoleDialogs dialogs;
    std::unique_ptr<platform::System> system;
    std::unique_ptr<app::Form1> form;

    Session(std::ostream& out, std::ostream& err) : dialogs(out, err) {}

    std::size_t problems() const { return form->ProblemsShown.size(); }
    Exit outcome(std::size_t problemsBefore = 0) const {
        return problems() > problemsBefore ? Exit::Failed : Exit::Done;
    }
};

}  // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
        const MachineFactory& machine) {
    const std::vector<Setting> all = allSettings();
    CLI::App cli{"Shows and changes Quell Moor's video and audio settings as Quorvik's window "
                 "does, restores backups and starts the game.",
                 "quorvik-cli"};
    cli.set_version_flag("--version", "quorvik-cli " + std::string(app::identity::kToolVersion));
    std::string prefix;
    std::string settingsFolder;
    auto* prefixOption =
        cli.add_option("--prefix", prefix, "the Wine prefix the game is installed in (Linux)");
    auto* settingsOption =
        cli.add_option("--settings", settingsFolder, "the settings folder, the one holding Video.scr");
    prefixOption->excludes(settingsOption);
    cli.require_subcommand(1, 1);

    bool json = false;
    auto* show = cli.add_subcommand("show", "print every setting as KEY=VALUE");
    show->add_flag("--json", json, "print one JSON object of key and value instead");

    std::vector<std::string> assignments;
    bool dryRun = false;
    auto* set = cli.add_subcommand(
        "set", "change settings and save them as File > Save Settings does (backups, both files, "
               "the override scripts, the skills file)");
    set->add_option("KEY=VALUE", assignments, "settings to change; keys without regard to case")
        ->required();
    set->add_flag("--dry-run", dryRun, "print the changes and write nothing");

    auto* backup = cli.add_subcommand("backup", "File > Backup: copy both files to Video.sc0 and Audio.sc0");
    std::string from = "sc1";
    auto* restore = cli.add_subcommand(
        "restore", "put Video.scr and Audio.scr back from a backup, keeping them as .sc2");
    restore->add_option("--from", from, "sc1: the last save's backups (default); sc0: File > Backup's")
        ->check(CLI::IsMember({"sc0", "sc1"}));
    auto* launch = cli.add_subcommand("launch", "start the game without its intro videos");
    cli.footer("Settings: " + keyList(all) +
               ".\nValues are the window's: Resolution as 2560,1440, a drop-down's entry, on or off "
               "for MotionBlur, DepthOfField and the check boxes.\nExit status: 0 done, 1 an "
               "operation failed (its message on standard error), 2 a usage error.");

    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = cli.exit(error, out, err);
        return code == 0 ? 0 : static_cast<int>(Exit::Usage);
    }

    Session session(out, err);
    std::string machineError;
    session.system = machine(prefix.empty() ? std::nullopt : std::optional<fs::path>(prefix), machineError);
    if (!session.system) {
        err << "quorvik-cli: " << machineError << '\n';
        return static_cast<int>(Exit::Usage);
    }
    session.form = std::make_unique<app::Form1>(session.dialogs, *session.system);
    app::Form1& form = *session.form;
    session.dialogs.problems = &form.ProblemsShown;
    // Start-up's own messages are the window's; only its problems are printed.
    session.dialogs.printMessages = false;
    session.dialogs.yesNoAnswer = settingsFolder.empty() ? platform::kYes : platform::kNo;
    form.Form_Load();
    if (!settingsFolder.empty()) form.SettingsPath = platform::pathToUtf8(fs::absolute(settingsFolder));
    if (platform::utf8Length(form.SettingsPath) < 2) return static_cast<int>(Exit::Failed);

    if (launch->parsed()) {
        form.Launch_Click();
        return static_cast<int>(session.outcome());
    }
    if (restore->parsed()) {
        session.dialogs.printMessages = true;
        form.restoreBackup(from == "sc0" ? app::BackupSet::Menu : app::BackupSet::LastSave);
        return static_cast<int>(session.outcome());
    }

    form.Command1_Click();
    form.Command2_Click();
    const platform::CodePage& codePage = session.system->codePage();
    if (show->parsed()) {
        if (json) {
            nlohmann::ordered_json values = nlohmann::ordered_json::object();
            for (const Setting& setting : all) {
                values[setting.key] = codePage.toUtf8(valueOf(form.panel, setting));
            }
            out << values.dump(2) << '\n';
        } else {
            for (const Setting& setting : all) {
                out << setting.key << '=' << codePage.toUtf8(valueOf(form.panel, setting)) << '\n';
            }
        }
        return static_cast<int>(session.outcome());
    }
    if (backup->parsed()) {
        const std::size_t before = session.problems();
        session.dialogs.printMessages = true;
        form.Backup_Click();
        return static_cast<int>(session.outcome(before));
    }

    // set: every value is checked before anything is written.
    for (const std::string& assignment : assignments) {
        const auto equals = assignment.find('=');
        const std::string key = assignment.substr(0, equals);
        const Setting* setting = findSetting(all, key);
        if (equals == std::string::npos || setting == nullptr) {
            err << "quorvik-cli: unknown setting \"" << key << "\"; the settings are " << keyList(all)
                << ". Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
        const std::string value = codePage.fromUtf8(assignment.substr(equals + 1));
        if (const auto problem = setValue(form.panel, *setting, value)) {
            err << "quorvik-cli: " << setting->key << " " << *problem << "; \""
                << assignment.substr(equals + 1) << "\" cannot be set. Nothing was written.\n";
            return static_cast<int>(Exit::Usage);
        }
    }
    std::vector<std::string> notes;
    const std::vector<app::Change> changes = form.changesOfSave(&notes);
    if (changes.empty()) out << "No setting would change.\n";
    for (const app::Change& change : changes) {
        out << change.file << ": " << change.caption << ": " << change.before << " -> " << change.after
            << '\n';
    }
    for (const std::string& note : notes) out << note << '\n';
    if (dryRun) {
        out << "Dry run: nothing was written.\n";
        return static_cast<int>(session.outcome());
    }
    const std::size_t before = session.problems();
    session.dialogs.printMessages = true;
    form.save_Click();
    return static_cast<int>(session.outcome(before));
}

}  // namespace quorvik::cli
