// The field of view read back from a skills file, and the check of a typed value.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "overrides/skills_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto value = quorvik::overrides::fieldOfViewIn(bytes);
    // A value read back never runs past its line.
    if (value && (value->find('\n') != std::string::npos || value->find('\r') != std::string::npos)) {
        std::abort();
    }
    // Whatever the check accepts, the written file reads back as the same value.
    if (quorvik::overrides::compareWithTheGamesView(bytes.substr(0, 64))) {
        const std::string_view typed = bytes.substr(0, 64);
        const auto again = quorvik::overrides::fieldOfViewIn(quorvik::overrides::skillsFileText(typed));
        if (!again || *again != typed) std::abort();
    }
    return 0;
}
