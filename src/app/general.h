#pragma once

// Reading single string values from the registry by a full key path written as
// text ("HKEY_LOCAL_MACHINE\Software\..."), over any raw registry back end.

#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/registry_backend.h"
#include "platform/registry_value.h"

namespace quorvik::app::General {

using platform::Dialogs;
using platform::RegistryBackend;
using platform::RootKey;

// Which views of the registry to try, in order, until the key opens.
using platform::ViewPolicy;

// The predefined handle for a root key name; 0 for any other text.
RootKey RootKeyFromName(std::string_view name);

// Splits "ROOT\sub\key" into the root's handle and "sub\key" (rewritten in
// KeyPath). A path not starting with "HKEY_" or ending in "\" is refused with a
// message: KeyPath stays as it was and Root becomes 0.
void SplitKeyPath(std::string& KeyPath, RootKey& Root, Dialogs& dialogs);

// The value's text in UTF-8; "Error" when the key or value cannot be read or
// the value does not fit 254 characters; nothing for a malformed path or
// unknown root.
// KeyPath is rewritten to the subkey, so callers pass a copy. `found`, when
// given, tells whether the value itself was read.
std::optional<std::string> ReadRegistryValue(RegistryBackend& registry, Dialogs& dialogs,
                                             std::string& KeyPath, const std::string& ValueName,
                                             ViewPolicy policy = ViewPolicy::Default,
                                             bool* found = nullptr);

}  // namespace quorvik::app::General
