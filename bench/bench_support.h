#pragma once

// Shared by the benchmarks: dialogs that answer without showing anything, and
// sample settings files.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace quorvik::bench {

class SilentDialogs : public platform::Dialogs {
public:
    int messageBox(const std::string&, int style, const std::string&) override {
        return (style & 0x0F) == platform::kYesNo ? platform::kNo : platform::kOk;
    }
    std::string inputBox(const std::string&, const std::string&) override { return {}; }
    std::string folderInputBox(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&,
                             const platform::FileKind&) override {
        return {};
    }
    std::string openFileName(const std::string&, const platform::FileKind&) override { return {}; }
    int chooseItem(const std::string&, const std::vector<std::string>&, const std::string&,
                   const std::string&) override {
        return -1;
    }
    void setClipboardText(const std::string&) override {}
    void closeWindow() override {}
};

// A Video.scr and an Audio.scr as the game writes them.
std::string typicalVideo();
std::string typicalAudio();
// A Video.scr of the given number of lines, keys and comments mixed.
std::string longVideo(std::size_t lines);
// A Video.scr of exactly this many bytes.
std::string videoOfSize(std::size_t bytes);

void writeFile(const std::filesystem::path& path, const std::string& bytes);
// A settings folder with Data/Scripts and Data/Skills beside it, in a fresh temporary folder.
std::filesystem::path makeGameFolders();

}  // namespace quorvik::bench
