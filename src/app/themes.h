#pragma once

// The label colours of the "Text Color" menu, as colour numbers (0x00BBGGRR).

#include "panel/panel.h"

namespace quorvik::app::themes {

inline constexpr panel::ColorNumber kBlack = 0x000000;
inline constexpr panel::ColorNumber kRed = 0x0000FF;
inline constexpr panel::ColorNumber kGreen = 0x00FF00;
inline constexpr panel::ColorNumber kYellow = 0x00FFFF;
inline constexpr panel::ColorNumber kBlue = 0xFF0000;
inline constexpr panel::ColorNumber kMagenta = 0xFF00FF;
inline constexpr panel::ColorNumber kCyan = 0xFFFF00;
inline constexpr panel::ColorNumber kWhite = 0xFFFFFF;

}  // namespace quorvik::app::themes
