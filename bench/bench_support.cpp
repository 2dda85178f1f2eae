#include "bench_support.h"

#include <fstream>
#include <iterator>
#include <random>

namespace quorvik::bench {

namespace {

// The sample files the tests use, kept once in tests/data.
std::string sample(const char* name) {
    std::ifstream in(std::filesystem::path(QUORVIK_TEST_DATA) / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string typicalVideo() { return sample("Video.scr"); }

std::string typicalAudio() { return sample("Audio.scr"); }

std::string longVideo(std::size_t lines) {
    const std::string typical = typicalVideo();
    std::string text;
    std::size_t count = 0;
    std::size_t at = 0;
    while (count < lines) {
        const std::size_t end = typical.find("\r\n", at);
        text.append(typical, at, end + 2 - at);
        at = end + 2 == typical.size() ? 0 : end + 2;
        ++count;
    }
    return text;
}

std::string videoOfSize(std::size_t bytes) {
    std::string text = longVideo(bytes / 20 + 1);
    text.resize(bytes, 'x');
    return text;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path makeGameFolders() {
    std::random_device random;
    const auto root = std::filesystem::temp_directory_path() /
                      ("quorvik-bench-" + std::to_string(random())) / "Quell Moor" / "out";
    std::filesystem::create_directories(root / "Settings");
    std::filesystem::create_directories(root / "Data" / "Scripts");
    std::filesystem::create_directories(root / "Data" / "Skills");
    return root / "Settings";
}

}  // namespace quorvik::bench
