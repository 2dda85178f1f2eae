#include "operations/values.h"

#include "overrides/skills_file.h"
#include "platform/text_codec.h"
#include "settings/setting_values.h"

namespace quorvik::operations {

platform::Status setValue(Values& values, const Setting& setting, std::string_view text) {
    if (setting.kind != catalogue::Kind::Angle) return settings::setTyped(values, setting, text);
    const std::string_view view = platform::trimBlanks(text);
    if (!overrides::gameTakesFieldOfView(view)) {
        return platform::refused("takes a number up to 99.9 in the form 00.0, such as 75.0");
    }
    values[setting.id] = std::string(view);
    return platform::Status::success();
}

}  // namespace quorvik::operations
