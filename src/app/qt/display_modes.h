#pragma once

// The monitor a widget is on: its resolution from Qt, and under X11 the
// modes its output offers, from the X server's RandR extension (Qt lists no
// modes). Under Wayland only the current resolution is known.

#include <QWidget>

#include "app/control_menu.h"

namespace quorvik::qt {

app::Display displayOf(const QWidget& widget);

}  // namespace quorvik::qt
