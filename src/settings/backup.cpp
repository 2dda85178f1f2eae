// Backups are the loaded bytes with a mark at the end, and give back exactly
// those bytes.

#include "settings/settings_files.h"

namespace quorvik::settings {
namespace {

bool endsALine(std::string_view bytes) {
    return bytes.empty() || bytes.back() == '\n' || bytes.back() == '\r';
}

}  // namespace

std::string backupContents(std::string_view loaded, std::string_view toolVersion,
                           std::string_view updateAddress) {
    std::string text(loaded);
    const bool open = !endsALine(loaded);
    if (open) text += "\r\n";
    text += kBackupMarkStart;
    text += toolVersion;
    text += " - Updates? ";
    text += updateAddress;
    if (!open) text += "\r\n";
    return text;
}

std::string restoredBytes(std::string_view backup) {
    std::string_view body = backup;
    bool closed = false;
    if (body.ends_with("\r\n")) {
        body.remove_suffix(2);
        closed = true;
    } else if (body.ends_with('\n') || body.ends_with('\r')) {
        body.remove_suffix(1);
        closed = true;
    }
    const std::size_t lineEnd = body.find_last_of("\r\n");
    const std::size_t start = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    if (!body.substr(start).starts_with(kBackupMarkStart)) return std::string(backup);
    std::string_view restored = backup.substr(0, start);
    // A mark without a line end of its own followed a last line that had none.
    if (!closed && restored.ends_with("\r\n")) restored.remove_suffix(2);
    return std::string(restored);
}

}  // namespace quorvik::settings
