// Peak memory of the process after loading the largest Video.scr the tool accepts.

#include <sys/resource.h>

#include <cstdio>

#include "app/form1.h"
#include "bench_support.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"
#include "settings/lines.h"

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path settings = quorvik::bench::makeGameFolders();
    const std::size_t size = quorvik::settings::kMaxSettingsFileBytes;
    quorvik::bench::writeFile(settings / "Video.scr", quorvik::bench::videoOfSize(size));

    quorvik::bench::SilentDialogs dialogs;
    // No line about the prefix on standard error: the benchmark's output is its figures.
    quorvik::platform::posix::PosixSystem system{quorvik::platform::posix::processPrefixSearch({}),
                                                 nullptr};
    quorvik::app::Form1 form{dialogs, system};
    form.Form_Load();
    form.SettingsPath = quorvik::platform::pathToUtf8(settings);
    const long before = peakKilobytes();
    form.Command1_Click();
    const long after = peakKilobytes();
    std::printf("file: %zu bytes, %s\n", size, form.videoLoaded() ? "loaded" : "not loaded");
    std::printf("peak memory before loading: %.1f MiB\n", before / 1024.0);
    std::printf("peak memory after loading:  %.1f MiB\n", after / 1024.0);
    fs::remove_all(settings.parent_path().parent_path().parent_path());
    return form.videoLoaded() ? 0 : 1;
}
