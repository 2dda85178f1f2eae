// A stand-in for the programs the tool starts (steam, flatpak, snap, wine):
// writes the name it was started by, its working folder, $WINEPREFIX and its
// arguments, one per line, into a file of its own in $QUORVIK_LAUNCH_RECORD,
// and ends.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const char* folder = std::getenv("QUORVIK_LAUNCH_RECORD");
    if (folder == nullptr) return 2;
    const char* prefix = std::getenv("WINEPREFIX");
    std::string text = std::string(argv[0]) + "\n" + std::filesystem::current_path().string() +
                       "\n" + (prefix != nullptr ? prefix : "") + "\n";
    for (int i = 1; i < argc; ++i) text += std::string(argv[i]) + "\n";
    // Written aside and renamed, so a reader sees the whole record or none.
    const std::filesystem::path record =
        std::filesystem::path(folder) / (std::to_string(::getpid()) + ".run");
    const std::filesystem::path partial = record.string() + ".part";
    std::ofstream(partial, std::ios::binary) << text;
    std::filesystem::rename(partial, record);
    return 0;
}
