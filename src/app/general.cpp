#include "app/general.h"

#include <array>
#include <span>
#include <utility>

#include "app/identity.h"
#include "platform/text_codec.h"

namespace quorvik::app::General {
namespace {

using namespace platform;

constexpr std::array<std::pair<std::string_view, RootKey>, 7> kRoots = {{
    {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKEY_USERS", kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", kHkeyDynData},
}};

}  // namespace

RootKey RootKeyFromName(std::string_view name) {
    for (const auto& [rootName, handle] : kRoots) {
        if (rootName == name) return handle;
    }
    return 0;
}

void SplitKeyPath(std::string& KeyPath, RootKey& Root, Dialogs& dialogs) {
    if (!KeyPath.starts_with("HKEY_") || KeyPath.ends_with('\\')) {
        dialogs.messageBox("Incorrect Format:\n\n" + KeyPath, kOkOnly,
                           std::string(identity::kAppTitle));
        Root = 0;
        return;
    }
    const auto slash = KeyPath.find('\\');
    if (slash == std::string::npos) {
        Root = RootKeyFromName(KeyPath);
        KeyPath.clear();
    } else {
        Root = RootKeyFromName(std::string_view(KeyPath).substr(0, slash));
        KeyPath.erase(0, slash + 1);
    }
}

std::optional<std::string> ReadRegistryValue(RegistryBackend& registry, Dialogs& dialogs,
                                             std::string& KeyPath, const std::string& ValueName,
                                             ViewPolicy policy, bool* found) {
    if (found != nullptr) *found = false;
    RootKey root = 0;
    SplitKeyPath(KeyPath, root, dialogs);
    if (root == 0) return std::nullopt;
    Expected<std::string> value = readRegistryString(registry, root, KeyPath, ValueName, policy);
    // The window shows a value it could not read as "Error".
    if (!value) return "Error";
    if (found != nullptr) *found = true;
    return std::move(*value);
}

}  // namespace quorvik::app::General
