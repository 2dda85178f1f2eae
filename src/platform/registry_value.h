#pragma once

// One string value of the registry as the tool reads it, over any raw
// registry back end: the key tried in the views a policy names, the value read
// into a buffer of 255 characters and cut at its NUL.

#include <string>
#include <string_view>

#include "platform/registry_backend.h"
#include "platform/result.h"

namespace quorvik::platform {

// Which views of the registry to try, in order, until the key opens.
enum class ViewPolicy {
    Default,      // the program's own view
    Prefer32Bit,  // a 32-bit installer's key: the 32-bit view, then the 64-bit one
};

// The value's text in UTF-8; a NotFound problem when the key or the value
// cannot be read (or the value does not fit 254 characters).
Expected<std::string> readRegistryString(RegistryBackend& registry, RootKey root,
                                         const std::string& subkey, const std::string& name,
                                         ViewPolicy policy);

}  // namespace quorvik::platform
