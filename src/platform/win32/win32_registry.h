#pragma once

// The Windows registry through advapi32's 8-bit calls, which give the text in
// the system's ANSI code page as the registry rules expect it.

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
