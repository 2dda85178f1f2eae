#include "platform/wine/wine_registry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/text_codec.h"

namespace quorvik::platform::wine {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

// Case folding as the registry compares names: ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic, which covers what game installers write.
char16_t foldUnit(char16_t c) {
    if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    const bool odd = (c & 1) != 0;
    if ((c >= 0x100 && c <= 0x137 && odd) || (c >= 0x139 && c <= 0x148 && !odd) ||
        (c >= 0x14A && c <= 0x177 && odd) || (c >= 0x179 && c <= 0x17E && !odd)) {
        return static_cast<char16_t>(c - 1);
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    return c;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

// Reads a hex number of at most eight digits at s[pos]; false when there is none.
bool readHex32(std::string_view s, std::size_t& pos, std::uint32_t& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && isHexDigit(s[pos])) {
        if (pos - start == 8) return false;
        value = (value << 4) | hexValue(s[pos]);
        ++pos;
    }
    return pos > start;
}

// Decodes a string as Wine writes it, from s[pos] up to the unescaped end
// character, which is consumed, and hands each UTF-16 unit to emit. Text is
// UTF-8 between escapes. False when the string has no end, or as soon as emit
// returns false: a reader that only compares can stop at the first difference.
template <typename Emit>
bool decodeString(std::string_view s, std::size_t& pos, char end, Emit&& emit) {
    while (pos < s.size()) {
        const char c = s[pos];
        if (c == end) {
            ++pos;
            return true;
        }
        if (c != '\\') {
            if (static_cast<unsigned char>(c) < 0x80) {
                if (!emit(static_cast<char16_t>(c))) return false;
                ++pos;
                continue;
            }
            std::size_t stop = pos;
            while (stop < s.size() && static_cast<unsigned char>(s[stop]) >= 0x80) ++stop;
            for (const char16_t unit : utf8ToUtf16(s.substr(pos, stop - pos))) {
                if (!emit(unit)) return false;
            }
            pos = stop;
            continue;
        }
        if (pos + 1 >= s.size()) return false;
        const char e = s[pos + 1];
        pos += 2;
        switch (e) {
            case 'a':
                if (!emit(u'\a')) return false;
                continue;
            case 'b':
                if (!emit(u'\b')) return false;
                continue;
            case 'e':
                if (!emit(char16_t{0x1B})) return false;
                continue;
            case 'f':
                if (!emit(u'\f')) return false;
                continue;
            case 'n':
                if (!emit(u'\n')) return false;
                continue;
            case 'r':
                if (!emit(u'\r')) return false;
                continue;
            case 't':
                if (!emit(u'\t')) return false;
                continue;
            case 'v':
                if (!emit(u'\v')) return false;
                continue;
            case 'x': {
                if (pos >= s.size() || !isHexDigit(s[pos])) {
                    if (!emit(u'x')) return false;
                    continue;
                }
                unsigned unit = 0;
                for (int i = 0; i < 4 && pos < s.size() && isHexDigit(s[pos]); ++i, ++pos) {
                    unit = unit * 16 + hexValue(s[pos]);
                }
                if (!emit(static_cast<char16_t>(unit))) return false;
                continue;
            }
            default:
                break;
        }
        if (e >= '0' && e <= '7') {
            unsigned unit = static_cast<unsigned>(e - '0');
            for (int i = 0; i < 2 && pos < s.size() && s[pos] >= '0' && s[pos] <= '7'; ++i, ++pos) {
                unit = unit * 8 + static_cast<unsigned>(s[pos] - '0');
            }
            if (!emit(static_cast<char16_t>(unit))) return false;
        } else if (static_cast<unsigned char>(e) < 0x80) {
            if (!emit(static_cast<char16_t>(e))) return false;  // \\ \" \[ \] and the like
        } else {
            --pos;  // an escaped non-ASCII character is just that character
        }
    }
    return false;
}

bool parseString(std::string_view s, std::size_t& pos, char end, std::u16string& out) {
    return decodeString(s, pos, end, [&out](char16_t unit) {
        out.push_back(unit);
        return true;
    });
}

std::string utf16Bytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::u16string unitsOf(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

// Splits the text into lines, a trailing CR dropped; the last line may lack
// its line feed.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const auto nl = text_.find('\n', pos_);
        const std::size_t end = nl == std::string_view::npos ? text_.size() : nl;
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        last_ = pos_;
        pos_ = nl == std::string_view::npos ? text_.size() : nl + 1;
        terminated_ = nl != std::string_view::npos;
        return true;
    }
    void unread() { pos_ = last_; }
    // Wine ends every line, the last one included: a line without its line
    // feed is where the file was cut off.
    bool terminated() const { return terminated_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t last_ = 0;
    bool terminated_ = true;
};

// Hex bytes "aa,bb,..." with "\" at the end of a line continuing on the next.
bool parseHexData(std::string_view s, Lines& lines, std::string& out) {
    for (;;) {
        std::size_t pos = 0;
        while (pos < s.size() && isHexDigit(s[pos])) {
            unsigned value = 0;
            const std::size_t start = pos;
            while (pos < s.size() && isHexDigit(s[pos])) {
                value = value * 16 + hexValue(s[pos]);
                if (value > 0xFF || pos - start > 8) return false;
                ++pos;
            }
            out.push_back(static_cast<char>(value));
            while (pos < s.size() && isBlank(s[pos])) ++pos;
            if (pos < s.size() && s[pos] == ',') ++pos;
            while (pos < s.size() && isBlank(s[pos])) ++pos;
        }
        if (pos == s.size()) return lines.terminated();
        if (s[pos] != '\\') return false;
        std::string_view next;
        if (!lines.next(next)) return false;  // cut off in the middle of the value
        next = trimLeft(next);
        // A continuation never starts like a key, a value or a comment: the
        // value was cut short, and the line belongs to what follows.
        if (!next.empty() && std::strchr("[\"@#;", next.front()) != nullptr) {
            lines.unread();
            return false;
        }
        s = next;
    }
}

// "name"=data or @=data. False for a line that cannot be read.
bool parseValue(std::string_view line, Lines& lines, std::u16string& name, RegistryValue& value) {
    std::size_t pos = 1;
    if (line.front() == '"' && !parseString(line, pos, '"', name)) return false;
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') return false;
    ++pos;
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    std::string_view rest = line.substr(pos);

    const auto readString = [&](std::size_t at, std::uint32_t type) {
        std::u16string text;
        if (!parseString(rest, at, '"', text)) return false;
        text.push_back(u'\0');
        value.type = type;
        value.data = utf16Bytes(text);
        return true;
    };
    // "str(2):" and "hex(7):": the type in hex, then ':'.
    const auto readType = [&](std::size_t at, std::uint32_t& type) -> std::size_t {
        if (!readHex32(rest, at, type) || rest.substr(at, 2) != "):") return 0;
        return at + 2;
    };

    if (rest.starts_with('"')) return readString(1, kRegSz);
    if (rest.starts_with("str:\"")) return readString(5, kRegSz);
    if (rest.starts_with("str(")) {
        std::uint32_t type = 0;
        const std::size_t at = readType(4, type);
        if (at == 0 || rest.substr(at, 1) != "\"") return false;
        return readString(at + 1, type);
    }
    if (rest.starts_with("dword:")) {
        std::size_t at = 6;
        std::uint32_t number = 0;
        if (!readHex32(rest, at, number)) return false;
        if (!trimLeft(rest.substr(at)).empty() || !lines.terminated()) return false;
        value.type = kRegDword;
        value.data.clear();
        for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<char>(number >> (8 * i)));
        return true;
    }
    std::size_t at = 0;
    if (rest.starts_with("hex:")) {
        value.type = kRegBinary;
        at = 4;
    } else if (rest.starts_with("hex(")) {
        at = readType(4, value.type);
        if (at == 0) return false;
    } else {
        return false;
    }
    value.data.clear();
    return parseHexData(rest.substr(at), lines, value.data);
}

// Follows a key's name, unit by unit as it is decoded, against a key path
// folded as foldKeyPath folds it: whether the path names that key or one of
// its parents, as RegistryHive::hasKey says once the name is folded. Runs of
// backslashes in the name count as one, and at its ends as none, as empty
// parts are dropped.
class KeyNameMatch {
public:
    explicit KeyNameMatch(std::u16string_view folded) : path_(folded) {}

    void restart() {
        at_ = 0;
        partStart_ = true;
        below_ = false;
        lost_ = false;
    }

    // False once the name can no longer match.
    bool feed(char16_t unit) {
        if (below_) return true;
        if (lost_) return false;
        if (unit == u'\\') {
            if (partStart_) return true;  // an empty part
            partStart_ = true;
            if (at_ == path_.size()) {
                below_ = true;  // the path is a parent of this key
            } else if (path_[at_] == u'\\') {
                ++at_;
            } else {
                lost_ = true;
            }
            return !lost_;
        }
        partStart_ = false;
        if (at_ < path_.size() && path_[at_] != u'\\' && foldUnit(unit) == path_[at_]) {
            ++at_;
            return true;
        }
        lost_ = true;
        return false;
    }

    // Once the whole name was fed.
    bool matched() const { return below_ || (!lost_ && at_ == path_.size()); }

private:
    std::u16string_view path_;
    std::size_t at_ = 0;
    bool partStart_ = true;
    bool below_ = false;
    bool lost_ = false;
};

}  // namespace

std::u16string foldCase(std::u16string_view name) {
    std::u16string out(name);
    for (char16_t& c : out) c = foldUnit(c);
    return out;
}

std::u16string foldKeyPath(std::u16string_view path) {
    std::u16string out;
    out.reserve(path.size());
    std::size_t start = 0;
    while (start <= path.size()) {
        auto stop = path.find(u'\\', start);
        if (stop == std::u16string_view::npos) stop = path.size();
        if (stop > start) {
            if (!out.empty()) out.push_back(u'\\');
            for (std::size_t i = start; i < stop; ++i) out.push_back(foldUnit(path[i]));
        }
        start = stop + 1;
    }
    return out;
}

RegistryHive parseRegistry(std::string_view text, bool withValues) {
    RegistryHive hive;
    Lines lines(text);
    std::string_view line;
    if (!lines.next(line) || line != kHeader) return hive;
    hive.recognised_ = true;

    RegistryHive::Values* current = nullptr;
    while (lines.next(line)) {
        line = trimLeft(line);
        if (line.empty()) continue;
        switch (line.front()) {
            case '[': {
                std::u16string name;
                std::size_t pos = 1;
                current = nullptr;  // values after an unreadable key belong nowhere
                if (parseString(line, pos, ']', name)) {
                    current = &hive.keys_[foldKeyPath(name)];
                }
                break;
            }
            case '@':
            case '"': {
                if (!withValues) break;  // continuation lines fall to the default below
                std::u16string name;
                RegistryValue value;
                if (parseValue(line, lines, name, value) && current != nullptr) {
                    current->insert_or_assign(foldCase(name), std::move(value));
                }
                break;
            }
            case '#':
                if (current == nullptr && line.starts_with("#arch=")) {
                    const auto arch = line.substr(6);
                    if (arch.starts_with("win32")) hive.arch_ = WineArch::Win32;
                    if (arch.starts_with("win64")) hive.arch_ = WineArch::Win64;
                }
                break;  // #time=, #class=, #link: nothing the reader needs
            default:
                break;  // ";;" comments and anything unreadable
        }
    }
    return hive;
}

RegistryHive parseRegistryFile(std::string_view text) {
    return parseRegistry(text, true);
}
RegistryHive parseRegistryKeys(std::string_view text) {
    return parseRegistry(text, false);
}

bool holdsAnyKey(std::string_view text, std::span<const std::u16string_view> paths) {
    std::vector<std::u16string> folded;
    folded.reserve(paths.size());
    for (const std::u16string_view path : paths) {
        folded.push_back(foldKeyPath(path));
        if (folded.back().empty()) return true;  // the root is always there
    }
    std::vector<KeyNameMatch> matches(folded.begin(), folded.end());
    if (matches.empty()) return false;

    // Line by line as parseRegistry reads them; in a key-only read every line
    // stands alone, so only the lines that start a key need a look.
    Lines lines(text);
    std::string_view line;
    if (!lines.next(line) || line != kHeader) return false;
    while (lines.next(line)) {
        line = trimLeft(line);
        if (line.empty() || line.front() != '[') continue;
        for (KeyNameMatch& match : matches) match.restart();
        std::size_t pos = 1;
        const bool whole = decodeString(line, pos, ']', [&](char16_t unit) {
            bool live = false;
            for (KeyNameMatch& match : matches) live = match.feed(unit) || live;
            return live;
        });
        // A name without its closing bracket is no key, however well it began.
        if (whole && std::any_of(matches.begin(), matches.end(),
                                 [](const KeyNameMatch& match) { return match.matched(); })) {
            return true;
        }
    }
    return false;
}

bool RegistryHive::ByteOrder::operator()(std::u16string_view a, std::u16string_view b) const {
    const std::size_t common = std::min(a.size(), b.size());
    const int order = common == 0 ? 0 : std::memcmp(a.data(), b.data(), common * sizeof(char16_t));
    return order != 0 ? order < 0 : a.size() < b.size();
}

bool RegistryHive::hasKey(std::u16string_view path) const {
    std::u16string folded = foldKeyPath(path);
    if (folded.empty()) return true;
    if (keys_.find(folded) != keys_.end()) return true;
    folded.push_back(u'\\');
    const auto below = keys_.lower_bound(folded);
    return below != keys_.end() && below->first.starts_with(folded);
}

const RegistryValue* RegistryHive::findValue(std::u16string_view keyPath,
                                             std::u16string_view valueName) const {
    const auto key = keys_.find(foldKeyPath(keyPath));
    if (key == keys_.end()) return nullptr;
    const auto value = key->second.find(foldCase(valueName));
    return value == key->second.end() ? nullptr : &value->second;
}

std::optional<std::u16string> RegistryHive::stringValue(std::u16string_view keyPath,
                                                        std::u16string_view valueName) const {
    const RegistryValue* value = findValue(keyPath, valueName);
    if (value == nullptr || (value->type != kRegSz && value->type != kRegExpandSz)) {
        return std::nullopt;
    }
    std::u16string text = unitsOf(value->data);
    if (const auto nul = text.find(u'\0'); nul != std::u16string::npos) text.erase(nul);
    return text;
}

WineRegistry::WineRegistry(fs::path prefix, FileReader reader)
    : prefix_(std::move(prefix)), reader_(std::move(reader)) {}

WineRegistry::~WineRegistry() = default;

const RegistryHive& WineRegistry::load(std::optional<RegistryHive>& slot, const char* fileName) {
    if (!slot) {
        const ReadResult read = reader_(prefix_ / fileName, kMaxRegistryFileBytes);
        slot = read ? parseRegistryFile(*read) : RegistryHive{};
    }
    return *slot;
}

const RegistryHive& WineRegistry::machine() {
    return load(machine_, "system.reg");
}
const RegistryHive& WineRegistry::user() {
    return load(user_, "user.reg");
}

long WineRegistry::openKey(RootKey root, const std::string& subkey, RegistryView view,
                           KeyHandle& key) {
    const RegistryHive* hive = nullptr;
    std::u16string path = foldKeyPath(utf8ToUtf16(subkey));
    if (root == kHkeyLocalMachine) {
        hive = &machine();
        // A 32-bit program sees HKLM\Software\X at Software\Wow6432Node\X in a
        // 64-bit prefix. Software\Classes is shared by both halves.
        constexpr std::u16string_view kSoftware = u"SOFTWARE\\";
        const bool wide =
            hive->arch() == WineArch::Win64 ||
            (hive->arch() == WineArch::Unknown && hive->hasKey(u"Software\\Wow6432Node"));
        if (view == RegistryView::Wow32 && wide && path.starts_with(kSoftware)) {
            const std::u16string_view below = std::u16string_view(path).substr(kSoftware.size());
            const auto first = below.substr(0, below.find(u'\\'));
            if (first != u"WOW6432NODE" && first != u"CLASSES") {
                path.insert(kSoftware.size(), u"WOW6432NODE\\");
            }
        }
    } else if (root == kHkeyClassesRoot) {
        hive = &machine();
        path = path.empty() ? std::u16string(u"SOFTWARE\\CLASSES") : u"SOFTWARE\\CLASSES\\" + path;
    } else if (root == kHkeyCurrentUser) {
        hive = &user();
    } else {
        return kErrorFileNotFound;
    }
    if (!hive->hasKey(path)) return kErrorFileNotFound;
    key = next_++;
    open_.emplace(key, OpenKey{hive, std::move(path)});
    return kErrorSuccess;
}

long WineRegistry::queryValue(KeyHandle key, const std::string& valueName, std::uint32_t& type,
                              unsigned char* data, std::uint32_t& length) {
    const auto open = open_.find(key);
    if (open == open_.end()) return kErrorInvalidHandle;
    const RegistryValue* value =
        open->second.hive->findValue(open->second.path, utf8ToUtf16(valueName));
    if (value == nullptr) return kErrorFileNotFound;

    // Kept as Windows stores it: strings are UTF-16LE already, NUL included.
    const std::string& bytes = value->data;
    type = value->type;
    if (bytes.size() > UINT32_MAX) {
        length = UINT32_MAX;
        return kErrorMoreData;
    }
    const auto size = static_cast<std::uint32_t>(bytes.size());
    if (data == nullptr) {
        length = size;
        return kErrorSuccess;
    }
    if (size > length) {
        length = size;
        return kErrorMoreData;
    }
    std::memcpy(data, bytes.data(), size);
    length = size;
    return kErrorSuccess;
}

void WineRegistry::closeKey(KeyHandle key) {
    open_.erase(key);
}

}  // namespace quorvik::platform::wine
