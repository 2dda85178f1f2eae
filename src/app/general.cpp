#include "app/general.h"

#include <array>
#include <span>
#include <utility>

#include "app/identity.h"
#include "platform/text_codec.h"

namespace quorvik::app::General {
namespace {

using namespace platform;

// Characters, two bytes each as the wide-character call counts them.
constexpr std::size_t kBufferSize = 255;

constexpr std::array<std::pair<std::string_view, RootKey>, 7> kRoots = {{
    {"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
    {"HKEY_CURRENT_USER", kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
    {"HKEY_USERS", kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", kHkeyPerformanceData},
    {"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
    {"HKEY_DYN_DATA", kHkeyDynData},
}};

constexpr std::array<RegistryView, 1> kDefaultViews = {RegistryView::Default};
constexpr std::array<RegistryView, 2> kPrefer32Views = {RegistryView::Wow32, RegistryView::Wow64};

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

    const std::span<const RegistryView> views =
        policy == ViewPolicy::Prefer32Bit ? std::span<const RegistryView>(kPrefer32Views)
                                          : std::span<const RegistryView>(kDefaultViews);
    RegistryBackend::KeyHandle key = 0;
    long result = kErrorFileNotFound;
    for (const RegistryView view : views) {
        result = registry.openKey(root, KeyPath, view, key);
        if (result == kErrorSuccess) break;
    }
    if (result != kErrorSuccess) return "Error";

    std::array<unsigned char, 2 * kBufferSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); i += 2) bytes[i] = ' ';
    std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
    std::uint32_t type = kRegSz;
    result = registry.queryValue(key, ValueName, type, bytes.data(), length);
    registry.closeKey(key);
    if (result != kErrorSuccess) return "Error";
    if (found != nullptr) *found = true;

    std::u16string buffer(kBufferSize, u' ');
    for (std::size_t i = 0; i < kBufferSize; ++i) {
        buffer[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    // The whole buffer counts: the value, its terminating NUL and the spaces
    // after it. Trimming stops at the NUL, which is then dropped.
    const auto first = buffer.find_first_not_of(u' ');
    if (first == std::u16string::npos) return std::string();
    const auto last = buffer.find_last_not_of(u' ');
    std::u16string text = buffer.substr(first, last - first + 1);
    text.pop_back();
    return utf16ToUtf8(text);
}

}  // namespace quorvik::app::General
