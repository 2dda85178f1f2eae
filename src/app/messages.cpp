#include "app/messages.h"

#include <algorithm>

#include "platform/dialogs.h"
#include "platform/paths.h"

namespace quorvik::app {

using platform::Problem;

std::string shownPath(const std::filesystem::path& path) {
    return platform::pathToUtf8(path.lexically_normal());
}

Message dataFolderMessage(const Problem& problem, const platform::CodePage& codePage) {
    const std::string path = shownPath(problem.path);
    switch (problem.kind) {
        case Problem::Kind::WriteFailed:
            return {"Could not write " + path + ": " + problem.reason, platform::kCritical};
        case Problem::Kind::DeleteFailed:
            return {"Could not delete " + path + ": " + problem.reason, platform::kCritical};
        case Problem::Kind::FolderMissing: {
            // "Scripts" or "Skills": the folder names what it holds.
            std::string folder = platform::pathToUtf8(problem.path.lexically_normal().filename());
            std::transform(folder.begin(), folder.end(), folder.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
            return {"The game's " + folder + " folder was not found:\r\n" + path + "\r\n" +
                        problem.reason,
                    platform::kExclamation};
        }
        case Problem::Kind::NotANumber: {
            const std::string what =
                problem.reason.empty()
                    ? "The field of view is empty."
                    : "The field of view \"" + codePage.toUtf8(problem.reason) + "\" is not a number.";
            return {what + " Enter it as 00.0, for example 75.0; the skills file was left as it is.",
                    platform::kExclamation};
        }
        case Problem::Kind::NotApplied:
            return {"The field of view " + codePage.toUtf8(problem.reason) +
                        " was not applied: Quorvik only writes a field of view wider than the "
                        "game's own 62.5, and 62.5 itself brings the game's own back. The skills "
                        "file was left as it is.",
                    platform::kInformation};
        case Problem::Kind::Unreadable:
            return {"Could not read the field of view from " + path + ": " + problem.reason,
                    platform::kExclamation};
        default:
            return {path + ": " + problem.reason, platform::kCritical};
    }
}

}  // namespace quorvik::app
