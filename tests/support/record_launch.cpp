// A stand-in for the programs the tool starts (the launchers, flatpak, snap,
// xdg-open, wine): writes the name it was started by, its working folder,
// $WINEPREFIX, $GAMEID and its arguments, one per line, into a file of its own
// in $QUORVIK_LAUNCH_RECORD, and ends.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const char* folder = std::getenv("QUORVIK_LAUNCH_RECORD");
    if (folder == nullptr) return 2;
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "") + "\n";
    };
    std::string text = std::string(argv[0]) + "\n" + std::filesystem::current_path().string() +
                       "\n" + variable("WINEPREFIX") + variable("GAMEID");
    for (int i = 1; i < argc; ++i) text += std::string(argv[i]) + "\n";
    // Written aside and renamed, so a reader sees the whole record or none.
    const std::filesystem::path record =
        std::filesystem::path(folder) / (std::to_string(::getpid()) + ".run");
    const std::filesystem::path partial = record.string() + ".part";
    std::ofstream(partial, std::ios::binary) << text;
    std::filesystem::rename(partial, record);
    return 0;
}
