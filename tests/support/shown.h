#pragma once

// The messages the window shows for the problems a step reports.

#include <vector>

#include "app/messages.h"
#include "platform/result.h"
#include "platform/text_codec.h"

namespace quorvik::testing {

inline std::vector<app::Message> shown(const std::vector<platform::Problem>& problems) {
    std::vector<app::Message> messages;
    for (const auto& problem : problems) {
        messages.push_back(app::dataFolderMessage(problem, platform::windows1252()));
    }
    return messages;
}

}  // namespace quorvik::testing
