#include "settings/settings_files.h"

namespace quorvik::settings {

std::string backupContents(std::span<const std::string> lines, std::string_view toolVersion,
                           std::string_view updateAddress) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    text += kBackupMarkStart;
    text += toolVersion;
    text += " - Updates? ";
    text += updateAddress;
    text += "\r\n";
    return text;
}

}  // namespace quorvik::settings
