#include "app/commands.h"

namespace quorvik::app {
namespace {

constexpr Command kCommands[] = {
    {"Command1", &Form1::Command1_Click},
    {"Command2", &Form1::Command2_Click},
    {"Label47", &Form1::Label47_Click},
    // File
    {"Launch", &Form1::Launch_Click},
    {"Backup", &Form1::Backup_Click},
    {"save", &Form1::save_Click},
    {"Exit", &Form1::Exit_Click},
    {"Restore", &Form1::Restore_Click},
    {"Changes", &Form1::Changes_Click},
    // Text Color
    {"black", &Form1::black_Click},
    {"Red", &Form1::Red_Click},
    {"Green", &Form1::Green_Click},
    {"Yellow", &Form1::Yellow_Click},
    {"blue", &Form1::blue_Click},
    {"Magenta", &Form1::Magenta_Click},
    {"Cyan", &Form1::Cyan_Click},
    {"White", &Form1::White_Click},
    // Background
    {"qm", &Form1::qm_Click},
    {"bgblack", &Form1::bgblack_Click},
    // The About menu's title is its command.
    {"About", &Form1::About_Click},
    // Settings and Presets, after the designed menus
    {"ResetAll", &Form1::ResetAll_Click},
    {"Performance", &Form1::Performance_Click},
    {"Quality", &Form1::Quality_Click},
    {"Handheld", &Form1::Handheld_Click},
    {"ProfileSave", &Form1::ProfileSave_Click},
    {"ProfileApply", &Form1::ProfileApply_Click},
    {"ProfileDelete", &Form1::ProfileDelete_Click},
    {"ProfileExport", &Form1::ProfileExport_Click},
    {"ProfileImport", &Form1::ProfileImport_Click},
};

}  // namespace

std::span<const Command> commands() { return kCommands; }

const Command* findCommand(std::string_view control) {
    for (const Command& command : kCommands) {
        if (command.control == control) return &command;
    }
    return nullptr;
}

bool dispatch(Form1& form, std::string_view control) {
    const Command* command = findCommand(control);
    if (command == nullptr) return false;
    (form.*command->handler)();
    return true;
}

}  // namespace quorvik::app
