// Loading and saving through the window's handlers against real files,
// reading a registry file Wine wrote, and the search for the game's prefix.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "app/form1.h"
#include "bench_support.h"
#include "operations/game.h"
#include "platform/paths.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_system.h"
#include "platform/wine/prefix_finder.h"
#include "platform/wine/wine_registry.h"

namespace {

using quorvik::app::Form1;
using quorvik::bench::SilentDialogs;
namespace fs = std::filesystem;

struct Setup {
    fs::path settings = quorvik::bench::makeGameFolders();
    SilentDialogs dialogs;
    // No line about the prefix on standard error: the benchmark's output is its figures.
    quorvik::platform::posix::PosixSystem system{quorvik::platform::posix::processPrefixSearch({}),
                                                 nullptr};
    Form1 form{dialogs, system};

    Setup() {
        form.Form_Load();
        form.SettingsPath = quorvik::platform::pathToUtf8(settings);
    }
    ~Setup() { fs::remove_all(settings.parent_path().parent_path().parent_path()); }
};

void BM_LoadTypicalVideo(benchmark::State& state) {
    Setup setup;
    quorvik::bench::writeFile(setup.settings / "Video.scr", quorvik::bench::typicalVideo());
    for (auto _ : state) setup.form.Command1_Click();
    benchmark::DoNotOptimize(setup.form.panel.Text1.Text);
}
BENCHMARK(BM_LoadTypicalVideo);

void BM_LoadTypicalAudio(benchmark::State& state) {
    Setup setup;
    quorvik::bench::writeFile(setup.settings / "Audio.scr", quorvik::bench::typicalAudio());
    for (auto _ : state) setup.form.Command2_Click();
    benchmark::DoNotOptimize(setup.form.panel.Text16.Text);
}
BENCHMARK(BM_LoadTypicalAudio);

void BM_Load100000Lines(benchmark::State& state) {
    Setup setup;
    const std::string text = quorvik::bench::longVideo(100000);
    quorvik::bench::writeFile(setup.settings / "Video.scr", text);
    for (auto _ : state) setup.form.Command1_Click();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Load100000Lines)->Unit(benchmark::kMillisecond);

// A save that changes something every time: the folder locked and checked,
// what it replaces kept in the history (pruned to its newest entries), two
// backups, both settings files and the five override scripts, written in turn
// and removed in turn, each written in full and synced before any is put in place.
void BM_FullSaveNineFiles(benchmark::State& state) {
    Setup setup;
    quorvik::bench::writeFile(setup.settings / "Video.scr", quorvik::bench::typicalVideo());
    quorvik::bench::writeFile(setup.settings / "Audio.scr", quorvik::bench::typicalAudio());
    setup.form.Command1_Click();
    setup.form.Command2_Click();
    int round = 0;
    for (auto _ : state) {
        const int on = ++round % 2;
        setup.form.panel.Check4.Value = on;
        setup.form.panel.Check11.Value = on;
        setup.form.panel.Text4.Text = on != 0 ? "16" : "32";
        setup.form.save_Click();
    }
}
BENCHMARK(BM_FullSaveNineFiles)->Unit(benchmark::kMillisecond);

// The system.reg Wine wrote that scripts/bench names; nothing (and the
// benchmark skipped) without one.
std::optional<std::string> wineSystemReg(benchmark::State& state) {
    const char* path = std::getenv("QUORVIK_BENCH_SYSTEM_REG");
    if (path == nullptr) {
        state.SkipWithError("set QUORVIK_BENCH_SYSTEM_REG to a system.reg that Wine wrote");
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BM_ParseSystemReg(benchmark::State& state) {
    const auto file = wineSystemReg(state);
    if (!file) return;
    const std::string& text = *file;
    std::size_t keys = 0;
    for (auto _ : state) {
        const auto hive = quorvik::platform::wine::parseRegistryFile(text);
        keys = hive.keyCount();
        benchmark::DoNotOptimize(keys);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    state.counters["keys"] = static_cast<double>(keys);
}
BENCHMARK(BM_ParseSystemReg)->Unit(benchmark::kMillisecond);

// Whether Wine's own system.reg holds the game's key, either spelling, as the
// prefix search asks of every prefix. It does not, so both ways read the file
// to its end: the keys parsed into a hive (0), or the key lines alone (1).
void BM_SystemRegHoldsGameKey(benchmark::State& state) {
    const auto file = wineSystemReg(state);
    if (!file) return;
    const std::string& text = *file;
    namespace wine = quorvik::platform::wine;
    const std::u16string_view paths[] = {u"Software\\Grenmark\\QuellMoor",
                                         u"Software\\Wow6432Node\\Grenmark\\QuellMoor"};
    const bool linesOnly = state.range(0) == 1;
    for (auto _ : state) {
        bool holds = false;
        if (linesOnly) {
            holds = wine::holdsAnyKey(text, paths);
        } else {
            const wine::RegistryHive keys = wine::parseRegistryKeys(text);
            holds = keys.hasKey(paths[0]) || keys.hasKey(paths[1]);
        }
        benchmark::DoNotOptimize(holds);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_SystemRegHoldsGameKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The search start-up makes with WINEPREFIX unset, in the home folder scripts/bench
// fills with five prefixes, each with a system.reg as Wine writes it; one of them
// holds the game. The files come from the page cache, as they do at start-up.
void BM_ChoosePrefixFivePrefixes(benchmark::State& state) {
    const char* home = std::getenv("QUORVIK_BENCH_HOME");
    if (home == nullptr) {
        state.SkipWithError("set QUORVIK_BENCH_HOME to a home folder with Wine prefixes");
        return;
    }
    namespace wine = quorvik::platform::wine;
    wine::PrefixSearch search =
        quorvik::platform::posix::processPrefixSearch(quorvik::operations::game::signature());
    search.winePrefix.reset();
    search.home = fs::path(home);
    std::size_t searched = 0;
    for (auto _ : state) {
        const wine::PrefixChoice choice =
            wine::choosePrefix(search, quorvik::platform::posix::readFile);
        if (!choice.chosen) {
            state.SkipWithError("no prefix holds the game");
            return;
        }
        searched = choice.searched.size();
        benchmark::DoNotOptimize(choice);
    }
    state.counters["prefixes"] = static_cast<double>(searched);
}
BENCHMARK(BM_ChoosePrefixFivePrefixes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
