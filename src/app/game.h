#pragma once

// The game this tool edits, as Windows knows it: the registry key its installer
// writes (a 32-bit installer, so on 64-bit Windows it lies in the 32-bit view)
// and the values read from it.

#include <string_view>

namespace quorvik::app::game {

// Under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kSubkey = "Software\\Grenmark\\QuellMoor";
inline constexpr std::string_view kKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor";
static_assert(kKeyPath.ends_with(kSubkey));
inline constexpr std::string_view kVersionValue = "Version";
inline constexpr std::string_view kExePathValue = "Exe_Path";

}  // namespace quorvik::app::game
