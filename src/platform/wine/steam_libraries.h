#pragma once

// Steam keeps the list of its library folders in steamapps/libraryfolders.vdf,
// a text file of quoted keys, values and braced blocks. Each library holds the
// Proton prefixes of its games under steamapps/compatdata.

#include <string>
#include <string_view>
#include <vector>

namespace quorvik::platform::wine {

// The library folders the file lists, in file order, as UTF-8 paths. Reads the
// old layout ("LibraryFolders" { "1" "/path" }) and the current one
// ("libraryfolders" { "0" { "path" "/path" ... } }); keys compare without
// regard to case. Anything else, garbage included, is passed over.
std::vector<std::string> parseLibraryFolders(std::string_view text);

}  // namespace quorvik::platform::wine
