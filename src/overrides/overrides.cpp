#include "overrides/overrides.h"

namespace quorvik::overrides {

std::vector<Notice> saveOverrideScripts(platform::System&, const std::filesystem::path&,
                                        const panel::Panel&) {
    return {};
}

std::vector<Notice> saveSkillsFile(platform::System&, const std::filesystem::path&,
                                   const panel::Panel&) {
    return {};
}

std::vector<Notice> loadOverrideStates(platform::System&, const std::filesystem::path&,
                                       panel::Panel&) {
    return {};
}

std::vector<Notice> loadFieldOfView(platform::System&, const std::filesystem::path&,
                                    panel::Panel&) {
    return {};
}

}  // namespace quorvik::overrides
