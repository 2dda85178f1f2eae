#pragma once

// The words and message-box styles of the problems the domain reports: the
// domain says what happened, the app decides how the player is told.

#include <string>

#include "platform/result.h"
#include "platform/text_codec.h"

namespace quorvik::app {

struct Message {
    std::string text;  // UTF-8
    int style;

    bool operator==(const Message&) const = default;
};

// A problem with the game's Data folder: an override script, the skills file
// or the field of view. 8-bit values are shown through the code page.
Message dataFolderMessage(const platform::Problem& problem, const platform::CodePage& codePage);

// A path as the player should read it: ".." resolved in words only.
std::string shownPath(const std::filesystem::path& path);

}  // namespace quorvik::app
