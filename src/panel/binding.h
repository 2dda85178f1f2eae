#pragma once

// The window's controls and the settings' values: each setting is shown in
// the controls the catalogue names for it, so that the core works on values
// and the window on its controls. A text box holds a value as text, a
// drop-down its field's text, a check box on (1) or off (0).

#include "catalogue/catalogue.h"
#include "panel/panel.h"

namespace quorvik::panel {

// The values the controls hold now.
catalogue::Values valuesOf(const Panel& panel);
// One setting's value as its controls show it (the resolution "width,height").
std::string valueOf(const Panel& panel, catalogue::SettingId setting);
// The values a window holds once start-up has filled its lists, before any
// load: what a front end without a window starts from too.
catalogue::Values startValues();
// The controls set to show the values: a drop-down's selection follows its
// text, as typing does.
void show(const catalogue::Values& values, Panel& panel);

}  // namespace quorvik::panel
