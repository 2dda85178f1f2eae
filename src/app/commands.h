#pragma once

// Every command of the window in one table: a button, a menu item or a
// clickable label, by its control name, and the Form1 handler it runs. Views
// dispatch every click through here and name no handler themselves.

#include <span>
#include <string_view>

#include "app/form1.h"

namespace quorvik::app {

struct Command {
    std::string_view control;
    void (Form1::*handler)();
};

std::span<const Command> commands();

// The command of a control, or nullptr when clicking it does nothing.
const Command* findCommand(std::string_view control);

// Runs the handler of the named control; false when it has none.
bool dispatch(Form1& form, std::string_view control);

}  // namespace quorvik::app
