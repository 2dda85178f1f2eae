#include "platform/registry_value.h"

#include <array>
#include <span>

#include "platform/text_codec.h"

namespace quorvik::platform {
namespace {

// Characters, two bytes each as the wide-character call counts them.
constexpr std::size_t kBufferSize = 255;

constexpr std::array<RegistryView, 1> kDefaultViews = {RegistryView::Default};
constexpr std::array<RegistryView, 2> kPrefer32Views = {RegistryView::Wow32, RegistryView::Wow64};

}  // namespace

Expected<std::string> readRegistryString(RegistryBackend& registry, RootKey root,
                                         const std::string& subkey, const std::string& name,
                                         ViewPolicy policy) {
    const Problem missing{Problem::Kind::NotFound, {}, "the registry holds no value " + name};
    const std::span<const RegistryView> views = policy == ViewPolicy::Prefer32Bit
                                                    ? std::span<const RegistryView>(kPrefer32Views)
                                                    : std::span<const RegistryView>(kDefaultViews);
    RegistryBackend::KeyHandle key = 0;
    long result = kErrorFileNotFound;
    for (const RegistryView view : views) {
        result = registry.openKey(root, subkey, view, key);
        if (result == kErrorSuccess) break;
    }
    if (result != kErrorSuccess) return missing;

    std::array<unsigned char, 2 * kBufferSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); i += 2) bytes[i] = ' ';
    std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
    std::uint32_t type = kRegSz;
    result = registry.queryValue(key, name, type, bytes.data(), length);
    registry.closeKey(key);
    if (result != kErrorSuccess) return missing;

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

}  // namespace quorvik::platform
