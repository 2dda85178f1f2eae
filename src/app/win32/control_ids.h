#pragma once

// Every control and menu command of the window has a fixed command id derived
// from its name, so that the window, its tooltip and the tests outside the
// process (which find a control with GetDlgItem) agree on it.

#include <string_view>

namespace quorvik::win32 {

// Controls: 1000 + their place in the layout table; menu commands: 2000 + their
// place in the menu bar. Ids 1 and 2 stay free: the dialog manager sends them
// for Enter and Escape.
int controlId(std::string_view name);
int menuCommandId(std::string_view name);
// The name behind an id, or empty for an id that is neither.
std::string_view controlName(int id);
std::string_view menuCommandName(int id);

}  // namespace quorvik::win32
