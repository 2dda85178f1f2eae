#pragma once

// The Windows registry through advapi32's wide-character calls: names go in as
// UTF-16, string data comes back as UTF-16, never through the ANSI code page.

#include <string>

#include "platform/registry_backend.h"

namespace quorvik::platform::win32 {

class Win32Registry : public RegistryBackend {
public:
    // Opens for reading (KEY_READ); the 32-bit or 64-bit view when one is asked for.
    long openKey(RootKey root, const std::string& subkey, RegistryView view,
                 KeyHandle& key) override;
    long queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& length) override;
    void closeKey(KeyHandle key) override;
};

}  // namespace quorvik::platform::win32
