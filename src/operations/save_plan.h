#pragma once

// "Save Settings" as a plan: the backups of what was loaded, Video.scr and
// Audio.scr from the window, then the Data folder's override scripts and
// skills file, each only where the session's loads allow it.

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "operations/load.h"
#include "operations/plan.h"
#include "operations/values.h"
#include "platform/text_codec.h"

namespace quorvik::operations {

// The backup mark's parts: the tool's version and the update address.
struct BackupMark {
    std::string_view toolVersion;
    std::string_view updateAddress;
};

struct SaveInput {
    std::optional<std::filesystem::path> settingsFolder;  // nothing while none is known
    const LoadedFile& video;
    const LoadedFile& audio;
    const DataFolder& data;
    const Values& values;  // as the player left them
    // Settings given a value on purpose (the console's KEY=VALUE): a value
    // for a setting its file lacks, even when it equals the window's.
    std::span<const SettingId> typed;
    BackupMark mark;
    const platform::CodePage& codePage;
};

// Pure: reads no file and writes none. A settings file is written only when
// it was loaded, every number in it is one the game reads and no setting is
// missing from it without a value typed; the Data folder only once "Set
// Video.scr" has read it in this session.
Plan planSave(const SaveInput& input);

// After a plan was carried out, what the session knows of the disk follows
// what it wrote, so that the next save checks against that and compares with
// it. The backups still hold the bytes loaded.
void recordWritten(const Plan& plan, LoadedFile& video, LoadedFile& audio, DataFolder& data);

}  // namespace quorvik::operations
