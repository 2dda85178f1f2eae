// A Wine registry file as the registry rules read it, and the quick look at
// its keys against the parse of the whole file.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "app/general.h"
#include "platform/text_codec.h"
#include "platform/wine/wine_registry.h"

namespace {

namespace General = quorvik::app::General;

class SilentDialogs : public quorvik::platform::Dialogs {
public:
    int messageBox(const std::string&, int, const std::string&) override { return 1; }
    std::string inputBox(const std::string&, const std::string&) override { return {}; }
    std::string folderInputBox(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&,
                             const quorvik::platform::FileKind&) override {
        return {};
    }
    std::string openFileName(const std::string&, const quorvik::platform::FileKind&) override {
        return {};
    }
    int chooseItem(const std::string&, const std::vector<std::string>&, const std::string&,
                   const std::string&) override {
        return -1;
    }
    void setClipboardText(const std::string&) override {}
    void closeWindow() override {}
};

// Key paths to ask a file about: the game's, a few others, and the names of
// the file's first key lines with a few of their parents, their escaped
// characters taken as they are, so that the answer is often yes.
std::vector<std::u16string> pathsToAsk(std::string_view text) {
    std::vector<std::u16string> paths = {u"Software\\Grenmark\\QuellMoor",
                                         u"Software\\Wow6432Node\\Grenmark\\QuellMoor", u"Software",
                                         u"", u"A"};
    std::size_t lines = 0;
    for (std::size_t at = 0; at < text.size() && lines < 4;) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with('[')) continue;
        ++lines;
        std::string name;
        for (std::size_t i = 1; i < line.size() && line[i] != ']'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            name += line[i];
        }
        const std::u16string path = quorvik::platform::utf8ToUtf16(name);
        std::size_t parents = 0;
        for (std::size_t cut = path.find(u'\\'); cut != std::u16string::npos && parents < 8;
             cut = path.find(u'\\', cut + 1), ++parents) {
            paths.push_back(path.substr(0, cut));
        }
        paths.push_back(path);
    }
    return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvik::platform;
    const std::string text(reinterpret_cast<const char*>(data), size);
    wine::WineRegistry registry(
        "/nonexistent-prefix",
        [&](const std::filesystem::path&, std::uintmax_t) { return ReadResult{text}; });
    SilentDialogs dialogs;
    for (const char* key : {"HKEY_LOCAL_MACHINE\\Software\\Grenmark\\QuellMoor",
                            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion",
                            "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                            "Explorer\\Shell Folders",
                            "HKEY_LOCAL_MACHINE\\A", "HKEY_LOCAL_MACHINE"}) {
        for (const char* name : {"Version", "Exe_Path", "CurrentVersion", "Personal", "", "a"}) {
            for (const auto policy : {General::ViewPolicy::Default, General::ViewPolicy::Prefer32Bit}) {
                std::string path = key;
                const auto value = General::ReadRegistryValue(registry, dialogs, path, name, policy);
                // The 255-character buffer; a character outside the BMP takes two.
                if (value && utf8Length(*value) > 254) std::abort();
            }
        }
    }
    if (registry.openHandles() != 0) std::abort();

    // The quick look answers as the parsed keys do, for one path and for two.
    const wine::RegistryHive keys = wine::parseRegistryKeys(text);
    const std::vector<std::u16string> paths = pathsToAsk(text);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::u16string_view pair[] = {paths[i], paths[(i + 1) % paths.size()]};
        const bool first = keys.hasKey(pair[0]);
        if (wine::holdsAnyKey(text, std::span(pair).first(1)) != first) std::abort();
        if (wine::holdsAnyKey(text, pair) != (first || keys.hasKey(pair[1]))) std::abort();
    }
    return 0;
}
