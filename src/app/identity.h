#pragma once

// Who made the tool, as the window shows it: the words' identity, and the
// donation address the donation label carries.

#include <string_view>

#include "panel/layout.h"
#include "words/identity.h"

namespace quorvik::app::identity {

using namespace words::identity;

// The donation address: the tail of the donation label's designed caption.
inline constexpr std::string_view kDonationAddress =
    panel::kDonationCaption.substr(panel::kDonationCaption.find(' ') + 1);

}  // namespace quorvik::app::identity
