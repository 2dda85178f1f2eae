#pragma once

// The raw registry read the registry rules stand on: open a key of a root, read
// a value's bytes into the caller's buffer, close the key. Results are Windows
// error codes (0 success). Back ends: the Windows registry, and a Wine prefix's
// registry files. Text stays Unicode all the way: names are UTF-8, string data
// comes as the wide-character call gives it, so no 8-bit code page can turn a
// letter into "?".

#include <cstdint>
#include <string>

namespace quorvik::platform {

using RootKey = std::uint32_t;

inline constexpr RootKey kHkeyClassesRoot = 0x80000000u;
inline constexpr RootKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RootKey kHkeyLocalMachine = 0x80000002u;
inline constexpr RootKey kHkeyUsers = 0x80000003u;
inline constexpr RootKey kHkeyPerformanceData = 0x80000004u;
inline constexpr RootKey kHkeyCurrentConfig = 0x80000005u;
inline constexpr RootKey kHkeyDynData = 0x80000006u;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;

inline constexpr std::uint32_t kRegSz = 1;

// Which half of a 64-bit registry to read. 32-bit programs see the Wow6432Node
// half of HKEY_LOCAL_MACHINE\Software.
enum class RegistryView { Default, Wow32, Wow64 };

class RegistryBackend {
public:
    using KeyHandle = std::uintptr_t;

    virtual ~RegistryBackend() = default;

    // Opens subkey (UTF-8; empty: the root itself) for reading.
    virtual long openKey(RootKey root, const std::string& subkey, RegistryView view,
                         KeyHandle& key) = 0;
    // Reads the value's data as the wide-character ("W") call gives it, strings in
    // UTF-16LE with their NUL, into data[0..length). The value's name is UTF-8. On
    // entry length is the buffer's size in bytes, on return the data's size. Data
    // longer than the buffer gives kErrorMoreData; a null data asks for the size.
    virtual long queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                            unsigned char* data, std::uint32_t& length) = 0;
    virtual void closeKey(KeyHandle key) = 0;
};

}  // namespace quorvik::platform
