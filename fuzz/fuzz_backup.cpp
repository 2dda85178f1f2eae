// A backup file as the restore reads it, and the promise a backup makes: what
// it gives back is, byte for byte, what was loaded.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/settings_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string restored = quorvik::settings::restoredBytes(bytes);
    if (restored.size() > bytes.size()) std::abort();
    const std::string backup = quorvik::settings::backupContents(bytes, "v0.7.9 Final", "https://x");
    if (quorvik::settings::restoredBytes(backup) != bytes) std::abort();
    return 0;
}
