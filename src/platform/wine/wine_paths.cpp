#include "platform/wine/wine_paths.h"

#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/text_codec.h"

namespace quorvik::platform::wine {
namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kShellFolders =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A link that points nowhere still takes up its name.
bool entryExists(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found && !error;
}

bool isFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

fs::path resolved(const fs::path& path) {
    std::error_code error;
    fs::path real = fs::canonical(path, error);
    return error ? path : real;
}

std::u16string folded(const fs::path& name) {
    return foldCase(utf8ToUtf16(pathToUtf8(name)));
}

// The entry of folder whose name matches name without regard to case; of
// several, the first in byte order, so the choice does not depend on the order
// the folder lists them in.
std::optional<fs::path> findEntry(const fs::path& folder, const fs::path& name) {
    const std::u16string wanted = folded(name);
    std::optional<fs::path> found;
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path entry = it->path().filename();
        if (folded(entry) == wanted && (!found || entry < *found)) found = entry;
    }
    return found;
}

// folder/name, or the entry that matches name without regard to case.
fs::path matchCase(const fs::path& folder, const fs::path& name) {
    fs::path exact = folder / name;
    if (entryExists(exact)) return exact;
    const auto entry = findEntry(folder, name);
    return entry ? folder / *entry : exact;
}

// The name of a folder under drive_c/users, if it can be one.
bool usableUserName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

}  // namespace

bool isDrivePath(std::string_view utf8) {
    if (utf8.size() < 2 || utf8[1] != ':') return false;
    const char letter = utf8[0];
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && (utf8.size() == 2 || utf8[2] == '\\' || utf8[2] == '/');
}

fs::path mapWindowsPath(const fs::path& prefix, std::string_view utf8) {
    if (!isDrivePath(utf8)) return pathFromUtf8(utf8);
    const char letter = static_cast<char>(utf8[0] | 0x20);
    fs::path path = prefix / "dosdevices" / std::string{letter, ':'};
    if (letter == 'c' && !isFolder(path)) path = prefix / "drive_c";
    std::string_view rest = utf8.substr(2);
    while (!rest.empty()) {
        const auto stop = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, stop);
        rest = stop == std::string_view::npos ? std::string_view() : rest.substr(stop + 1);
        if (part.empty() || part == ".") continue;
        path = part == ".." ? path / ".." : matchCase(path, pathFromUtf8(part));
    }
    return path;
}

fs::path resolveCase(const fs::path& path) {
    if (path.empty() || entryExists(path)) return path;
    fs::path out;
    bool matching = true;
    for (const fs::path& part : path) {
        if (!matching) {
            out /= part;
            continue;
        }
        const bool fixed = part == path.root_name() || part == path.root_directory() ||
                           part == "." || part == ".." || part.empty();
        const fs::path next = out / part;
        if (fixed || entryExists(next)) {
            out = next;
            continue;
        }
        if (const auto entry = findEntry(out, part)) {
            out /= *entry;
        } else {
            out = next;
            matching = false;
        }
    }
    return out;
}

std::optional<fs::path> findDocumentsFolder(const fs::path& prefix, const RegistryHive& user,
                                            std::string_view login) {
    if (const auto personal = user.stringValue(kShellFolders, u"Personal")) {
        const std::string text = utf16ToUtf8(*personal);
        if (isDrivePath(text)) {
            const fs::path folder = mapWindowsPath(prefix, text);
            if (isFolder(folder)) return resolved(folder);
        }
    }
    std::vector<std::string_view> users;
    if (usableUserName(login)) users.push_back(login);
    if (login != "steamuser") users.push_back("steamuser");  // Proton's user
    for (const std::string_view name : users) {
        for (const char* documents : {"Documents", "My Documents"}) {
            const fs::path folder = prefix / "drive_c" / "users" / pathFromUtf8(name) / documents;
            if (isFolder(folder)) return resolved(folder);
        }
    }
    return std::nullopt;
}

}  // namespace quorvik::platform::wine
