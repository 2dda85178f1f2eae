#pragma once

// src/settings: the game's Video.scr and Audio.scr. The line format and its
// rules as tables (scr_format.h), the keys each file sets and the fixed
// templates it is written from (here), lines and backups. Pure: bytes and the
// panel in, lines out; Form1 does the file work.
//
// Video.scr and Audio.scr: how their lines set the controls, and the fixed
// templates the files are written from.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panel/panel.h"
#include "settings/scr_format.h"

namespace quorvik::settings {

std::span<const KeyRule> videoKeys();
std::span<const KeyRule> audioKeys();

// The 51 lines of Video.scr and the 35 lines of Audio.scr from the controls.
std::vector<std::string> videoFileLines(const panel::Panel& panel);
std::vector<std::string> audioFileLines(const panel::Panel& panel);

// Trims blanks around every number each file writes and returns the values
// the game could not read.
std::vector<BadNumber> tidyVideoNumbers(panel::Panel& panel);
std::vector<BadNumber> tidyAudioNumbers(panel::Panel& panel);

// A backup: the lines as last loaded, then the backup mark.
std::string backupContents(std::span<const std::string> lines, std::string_view toolVersion,
                           std::string_view updateAddress);

}  // namespace quorvik::settings
