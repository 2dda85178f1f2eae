// A Wine registry file as the registry rules read it.

#include <cstdint>
#include <cstdlib>
#include <string>
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
    int chooseItem(const std::string&, const std::vector<std::string>&, const std::string&,
                   const std::string&) override {
        return -1;
    }
    void setClipboardText(const std::string&) override {}
    void closeWindow() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvik::platform;
    const std::string text(reinterpret_cast<const char*>(data), size);
    wine::WineRegistry registry("/nonexistent-prefix", [&](const std::filesystem::path&,
                                                          std::uintmax_t) {
        return ReadResult{Status::success(), text};
    });
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
    return 0;
}
