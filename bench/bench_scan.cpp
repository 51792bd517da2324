// Reading 100,000 recipes (50,500 files in two search directories, warm cache), measured side by
// side in one run:
//   BM_ScanAgainstFloor: the shared scan (app/recipescan.h, as `rezeptur list` and the window
//     use it) against the least any scan must do: open each file, read its first 2 KiB, close
//     it. Counter "ratio" = scan / floor; goal at most 1.5.
//   BM_WindowAgainstList: reading all recipes into the main window (worker scan, batch hand-over,
//     grid fill, window painted) against `rezeptur list` of the same directories (a process
//     writing to /dev/null). Counter "ratio" = window / list; goal at most 1.5. "peak_rss_mb" is
//     the peak memory of this process (the window with 100,000 recipes). That of `rezeptur list`
//     cannot be told from here (a spawned child counts the parent's pages until it execs):
//     measure it with `/usr/bin/time -v rezeptur list DIR...`.
// Each iteration times both in turn (wall clock), so that a busy machine slows both alike.
#include "app/recipescan.h"
#include "app/searchpaths.h"
#include "benchsupport.h"
#include "platform/qt/settingsstore.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"
#include "shell/messages.h"
#include "views/recipelistmodel.h"
#include "shell/tsdiappform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>


namespace {

class Collection {
public:
    static const Collection& Get()
    {
        static const Collection collection;
        return collection;
    }
    const std::vector<std::string>& Files() const { return files_; }
    std::size_t Recipes() const { return recipes_; }
    const kovanta::SearchPathList& Paths() const { return paths_; }
    std::string ProgramDir() const { return root_.string() + "/prog/"; }
    std::string SettingsFile() const { return root_.string() + "/registry.conf"; }

    ~Collection()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

private:
    Collection()
    {
        root_ = bench::MakeScratchDir("kovanta-bench-scan");
        std::filesystem::create_directories(root_ / "prog");
        kovanta::recipegen::CollectionShape shape;
        shape.seed = 2024;
        shape.singleFiles = 25000;
        shape.listFiles = 250;
        shape.entriesPerList = 100;
        for (const char* sub : {"kantine", "internet"}) {
            const std::string dir = root_.string() + "/" + sub + "/";
            recipes_ += kovanta::recipegen::WriteCollection(dir, shape).recipes;
            paths_.add(dir, true);
            shape.seed += 1;
            shape.firstNumber += 100000;
        }
        paths_.add(root_.string() + "/inactive/", false);
        std::ofstream ini(root_ / "prog" / "kovanta.INI", std::ios::binary);
        ini << "[SuchPfade]\r\n";
        int key = 0;
        for (const auto& p : paths_.entries())
            ini << ++key << '=' << (p.active ? '1' : '0') << p.path << "\r\n";
        for (const auto& p : paths_.entries()) {
            if (!p.active)
                continue;
            for (const auto& entry : std::filesystem::directory_iterator(p.path))
                files_.push_back(entry.path().string());
        }
    }

    std::filesystem::path root_;
    std::vector<std::string> files_;
    std::size_t recipes_ = 0;
    kovanta::SearchPathList paths_;
};

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ScanAgainstFloor(benchmark::State& state)
{
    const auto& collection = Collection::Get();
    const kovanta::TRezeptImportProz proz;
    kovanta::RecipeScan scan(proz, collection.ProgramDir());
    double floor = 0, scanned = 0;
    std::size_t recipes = 0;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(bench::ReadFirst2KiBOfEach(collection.Files()));
        floor += Seconds(t);
        t = std::chrono::steady_clock::now();
        recipes = scan.readAll(collection.Paths()).size();
        const double s = Seconds(t);
        scanned += s;
        state.SetIterationTime(s);
    }
    if (recipes != collection.Recipes())
        state.SkipWithError("the collection did not read back completely");
    const double n = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floor / n * 1e3;
    state.counters["scan_ms"] = scanned / n * 1e3;
    state.counters["ratio"] = floor > 0 ? scanned / floor : 0;
    state.counters["files"] = static_cast<double>(collection.Files().size());
}

void BM_WindowAgainstList(benchmark::State& state)
{
    const auto& collection = Collection::Get();
    kovanta::SettingsStore::setDefaultFileName(QString::fromStdString(collection.SettingsFile()));
    kovanta::ShellOptions options;
    options.programDirectory = QString::fromStdString(collection.ProgramDir());
    options.startDelayMs = 24 * 60 * 60 * 1000;
    kovanta::TSDIAppForm window(options);
    window.resize(1000, 700);
    window.show(); // first show: the search paths come from kovanta.INI
    QApplication::processEvents();
    std::vector<std::string> dirs;
    for (const auto& p : collection.Paths().entries()) {
        if (p.active)
            dirs.push_back(p.path);
    }

    double list = 0, windowRead = 0;
    std::size_t recipes = 0;
    bool listOk = true;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        listOk = bench::RezepturListPeakMb(dirs) >= 0 && listOk;
        list += Seconds(t);

        // As "Programmstart" does it: the message, the read, the tabs shown and painted.
        t = std::chrono::steady_clock::now();
        kovanta::postWindowMessage(&window, kovanta::MSG_RELOAD_RECIPES);
        QApplication::processEvents();
        while (window.readingRecipes())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.repaint();
        const double w = Seconds(t);
        windowRead += w;
        state.SetIterationTime(w);
        recipes = static_cast<std::size_t>(window.recipeList()->entryCount());
    }
    if (!listOk)
        state.SkipWithError("rezeptur list failed (KOVANTA_BIN_DIR must name the built programs)");
    else if (recipes != collection.Recipes())
        state.SkipWithError("the collection did not read back completely");
    const double n = static_cast<double>(state.iterations());
    state.counters["list_ms"] = list / n * 1e3;
    state.counters["window_ms"] = windowRead / n * 1e3;
    state.counters["ratio"] = list > 0 ? windowRead / list : 0;
    state.counters["recipes"] = static_cast<double>(recipes);
    state.counters["peak_rss_mb"] = PeakRssMb();
}

} // namespace

BENCHMARK(BM_ScanAgainstFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_WindowAgainstList)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
