#pragma once

// The registry of a Wine prefix, read from the text files Wine keeps it in:
// system.reg (HKEY_LOCAL_MACHINE) and user.reg (HKEY_CURRENT_USER). Wine owns
// these files and rewrites them whole, so they are only ever read here.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/registry_backend.h"
#include "platform/system.h"

namespace quorvik::platform::wine {

inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// Which Windows a prefix imitates. A 32-bit prefix has no Wow6432Node.
enum class WineArch { Unknown, Win32, Win64 };

struct RegistryValue {
    std::uint32_t type = 0;
    // As Windows stores it: strings in UTF-16LE with their terminating NUL.
    std::string data;
};

// One parsed registry file. Key paths are separated by "\" and, like value
// names, compare without regard to case.
class RegistryHive {
public:
    // False when the text did not start with Wine's header: then it holds nothing.
    bool recognised() const { return recognised_; }
    WineArch arch() const { return arch_; }
    std::size_t keyCount() const { return keys_.size(); }

    // The root ("") always exists; a key exists when it or a subkey was written.
    bool hasKey(std::u16string_view path) const;
    const RegistryValue* findValue(std::u16string_view keyPath,
                                   std::u16string_view valueName) const;
    // The text of a string value (REG_SZ, REG_EXPAND_SZ), up to its first NUL.
    std::optional<std::u16string> stringValue(std::u16string_view keyPath,
                                              std::u16string_view valueName) const;

private:
    friend RegistryHive parseRegistry(std::string_view text, bool withValues);

    // Byte order: a memory compare, and a key's subkeys still sort right after it.
    struct ByteOrder {
        using is_transparent = void;
        bool operator()(std::u16string_view a, std::u16string_view b) const;
    };
    using Values = std::map<std::u16string, RegistryValue, ByteOrder>;

    bool recognised_ = false;
    WineArch arch_ = WineArch::Unknown;
    std::map<std::u16string, Values, ByteOrder> keys_;  // folded paths
};

// Parses the text of a registry file in the format Wine writes. Lines it
// cannot read are skipped, as Wine skips them; nothing here throws on bad input
// and the work is linear in the size of the text.
RegistryHive parseRegistryFile(std::string_view text);
// The keys alone, without their values: a quick look at which keys a file holds.
RegistryHive parseRegistryKeys(std::string_view text);
// Whether the text of a registry file holds a key at any of the paths (a key's
// two spellings, say): parseRegistryKeys(text).hasKey(path) for some path, on
// every input, but found without building the hive. Only the lines that start
// a key are decoded, each only until it differs from every path, and the read
// stops at the first key that matches.
bool holdsAnyKey(std::string_view text, std::span<const std::u16string_view> paths);

// The key path as the hive compares it: case folded, empty parts dropped.
std::u16string foldKeyPath(std::u16string_view path);
// A name folded as Windows compares names without regard to case; file names
// inside a prefix compare the same way.
std::u16string foldCase(std::u16string_view name);

// Registry files beyond this size are not Wine's and are not read.
inline constexpr std::uintmax_t kMaxRegistryFileBytes = 64u * 1024u * 1024u;

// The raw registry reads over a prefix folder. Each file is read on first use,
// through the machine's file reader, and kept; a missing or unreadable file is
// an empty registry. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes;
// other roots have no keys.
class WineRegistry : public RegistryBackend {
public:
    WineRegistry(std::filesystem::path prefix, FileReader reader);
    ~WineRegistry() override;

    long openKey(RootKey root, const std::string& subkey, RegistryView view,
                 KeyHandle& key) override;
    long queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                    unsigned char* data, std::uint32_t& length) override;
    void closeKey(KeyHandle key) override;

    const std::filesystem::path& prefix() const { return prefix_; }
    const RegistryHive& machine();
    const RegistryHive& user();
    int openHandles() const { return static_cast<int>(open_.size()); }

private:
    struct OpenKey {
        const RegistryHive* hive;
        std::u16string path;  // folded
    };

    const RegistryHive& load(std::optional<RegistryHive>& slot, const char* fileName);

    std::filesystem::path prefix_;
    FileReader reader_;
    std::optional<RegistryHive> machine_;
    std::optional<RegistryHive> user_;
    std::map<KeyHandle, OpenKey> open_;
    KeyHandle next_ = 1;
};

}  // namespace quorvik::platform::wine
