// What every machine back end shares: a whole write as its two halves, and the
// names of the temporary files a write leaves while it runs.

#include "platform/system.h"

#include <atomic>
#include <random>

#include "platform/paths.h"

namespace quorvik::platform {
namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

Status System::writeFile(const fs::path& path, std::string_view bytes, WriteOptions options) {
    Expected<StagedFile> staged = stageFile(path, bytes, options);
    if (!staged) return staged.problem();
    Status committed = commitFile(*staged);
    if (!committed) discardFile(*staged);
    return committed;
}

std::string temporaryName(const fs::path& target, unsigned long processId) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    return "." + pathToUtf8(target.filename()) + "." + std::to_string(processId) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random() % 1000000) + ".tmp";
}

bool isTemporaryName(const fs::path& name) {
    const std::string text = pathToUtf8(name.filename());
    std::string_view rest = text;
    if (!rest.starts_with('.') || !rest.ends_with(".tmp")) return false;
    rest.remove_suffix(4);
    const auto dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot < 2) return false;
    // <process>-<count>-<random>
    std::string_view numbers = rest.substr(dot + 1);
    for (int part = 0; part < 3; ++part) {
        const auto dash = numbers.find('-');
        const std::string_view number = part < 2 ? numbers.substr(0, dash) : numbers;
        if (!allDigits(number) || (part < 2 && dash == std::string_view::npos)) return false;
        if (part < 2) numbers.remove_prefix(dash + 1);
    }
    return true;
}

}  // namespace quorvik::platform
