#pragma once

// The drop-down lists: start-up fills each with its setting's entries, in the
// order of the drop-downs' names, and selects the first.

#include "panel/panel.h"

namespace quorvik::panel {

// Every drop-down's list filled with its entries, as start-up fills them.
void addListEntries(Panel& panel);

}  // namespace quorvik::panel
