#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstdint>

#include "platform/win32/win32_text.h"

namespace quorvik::platform::win32 {
namespace {

// The predefined keys are 32-bit values that a 64-bit program sees sign-extended
// (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there), as the system headers define them.
HKEY rootHandle(RootKey root) {
    const auto value = static_cast<std::intptr_t>(static_cast<std::int32_t>(root));
    return reinterpret_cast<HKEY>(value);
}

HKEY keyHandle(RegistryBackend::KeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

REGSAM accessFor(RegistryView view) {
    switch (view) {
        case RegistryView::Wow32:
            return KEY_READ | KEY_WOW64_32KEY;
        case RegistryView::Wow64:
            return KEY_READ | KEY_WOW64_64KEY;
        case RegistryView::Default:
            break;
    }
    return KEY_READ;
}

}  // namespace

long Win32Registry::openKey(RootKey root, const std::string& subkey, RegistryView view,
                            KeyHandle& key) {
    HKEY opened = nullptr;
    const LONG result =
        RegOpenKeyExW(rootHandle(root), widen(subkey).c_str(), 0, accessFor(view), &opened);
    if (result == ERROR_SUCCESS) key = reinterpret_cast<KeyHandle>(opened);
    return result;
}

long Win32Registry::queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                               unsigned char* data, std::uint32_t& length) {
    DWORD valueType = type;
    DWORD size = length;
    const LONG result =
        RegQueryValueExW(keyHandle(key), widen(valueName).c_str(), nullptr, &valueType, data, &size);
    type = valueType;
    length = size;
    return result;
}

void Win32Registry::closeKey(KeyHandle key) {
    RegCloseKey(keyHandle(key));
}

}  // namespace quorvik::platform::win32
