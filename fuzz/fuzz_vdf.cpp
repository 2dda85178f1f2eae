// Steam's list of library folders, its config.vdf, and a game's app manifest.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/wine/steam_libraries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto folders = quorvik::platform::wine::parseLibraryFolders(text);
    std::size_t total = 0;
    for (const auto& folder : folders) total += folder.size();
    // Folders are pieces of the text: never more than it holds.
    if (total > size) __builtin_trap();
    total = 0;
    for (const auto& folder : quorvik::platform::wine::parseConfigLibraryFolders(text)) {
        total += folder.size();
    }
    if (total > size) __builtin_trap();
    // An app manifest's install folder is one name, never a way out of the library.
    if (const auto manifest = quorvik::platform::wine::parseAppManifest(text);
        manifest &&
        (manifest->installDir.find('/') != std::string::npos || manifest->installDir == "..")) {
        __builtin_trap();
    }
    return 0;
}
