// The main window's memory at 100,000 recipes (two search directories of 25,000 single-recipe
// files and 250 list files of 100 recipes each), in one run with its baseline:
//   list_peak_mb      peak resident memory of `rezeptur list` over the same directories, run
//                     first, while this process is still small (a spawned child starts with the
//                     peak of the process it was spawned from: bench_rss_at_spawn_mb);
//   window_peak_mb    peak resident memory of this process once the window has read and shown
//                     the recipes; goal at most 150;
//   peak_after_mb     the same after ten more reads ("Rezepte neu einlesen");
//   rss_first_mb, rss_after_mb   resident memory after the first and after the last read;
//   growth_pct        how much rss_after exceeds rss_first; goal at most 5.
#include "app/searchpaths.h"
#include "benchsupport.h"
#include "platform/qt/settingsstore.h"
#include "recipegen/recipegen.h"
#include "shell/tsdiappform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>


namespace {

constexpr int kRereads = 10;

// A value of /proc/self/status ("VmRSS", "VmHWM") in MiB.
double StatusMb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::strtod(line.c_str() + key.size() + 1, nullptr) / 1024.0;
    }
    return 0;
}

void ReadAndShow(kovanta::TSDIAppForm& window)
{
    window.reloadRecipes();
    while (window.readingRecipes())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    window.repaint();
}

void BM_WindowMemoryAgainstList(benchmark::State& state)
{
    const std::filesystem::path root = bench::MakeScratchDir("kovanta-bench-memory");
    std::filesystem::create_directories(root / "prog");
    kovanta::SearchPathList paths;
    std::vector<std::string> dirs;
    kovanta::recipegen::CollectionShape shape;
    shape.seed = 2024;
    shape.singleFiles = 25000;
    shape.listFiles = 250;
    shape.entriesPerList = 100;
    std::size_t recipes = 0;
    for (const char* sub : {"kantine", "internet"}) {
        dirs.push_back(root.string() + "/" + sub + "/");
        recipes += kovanta::recipegen::WriteCollection(dirs.back(), shape).recipes;
        paths.add(dirs.back(), true);
        shape.seed += 1;
        shape.firstNumber += 100000;
    }

    for (auto _ : state) {
        const double atSpawn = StatusMb("VmRSS");
        const double list = bench::RezepturListPeakMb(dirs);
        kovanta::SettingsStore::setDefaultFileName(
            QString::fromStdString((root / "registry.conf").string()));
        kovanta::ShellOptions options;
        options.programDirectory = QString::fromStdString((root / "prog").string() + "/");
        options.startDelayMs = 24 * 60 * 60 * 1000;
        {
            kovanta::TSDIAppForm window(options);
            window.resize(1000, 700);
            window.show();
            QApplication::processEvents();
            window.searchPaths().assign(paths.entries());
            ReadAndShow(window);
            const double firstPeak = StatusMb("VmHWM");
            const double firstRss = StatusMb("VmRSS");
            for (int i = 0; i < kRereads; ++i)
                ReadAndShow(window);
            const double lastRss = StatusMb("VmRSS");
            state.counters["list_peak_mb"] = list;
            state.counters["bench_rss_at_spawn_mb"] = atSpawn;
            state.counters["window_peak_mb"] = firstPeak;
            state.counters["peak_after_mb"] = StatusMb("VmHWM");
            state.counters["rss_first_mb"] = firstRss;
            state.counters["rss_after_mb"] = lastRss;
            state.counters["growth_pct"] = (lastRss / firstRss - 1.0) * 100.0;
            state.counters["recipes"] = static_cast<double>(recipes);
            if (list < 0)
                state.SkipWithError("rezeptur list failed (KOVANTA_BIN_DIR names the programs)");
        }
        kovanta::SettingsStore::setDefaultFileName(QString());
    }
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

} // namespace

BENCHMARK(BM_WindowMemoryAgainstList)->Unit(benchmark::kMillisecond)->Iterations(1);
