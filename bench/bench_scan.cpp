// Reading all recipes of a 20,000-recipe collection into the recipe list of the main window
// (scan of the search directories from kovanta.INI, event queue served at each growth step,
// list hidden while filled, whatever list grid the window has), against the least any scan must do:
// open each file, read its first 2 KiB, close it. Goal: at most 3 times the baseline; peak RSS
// below 150 MB (reported as the counter peak_rss_mb, the whole process).
#include "benchsupport.h"
#include "platform/qt/settingsstore.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"
#include "shell/messages.h"
#include "shell/recipelistmodel.h"
#include "shell/recipescan.h"
#include "shell/searchpaths.h"
#include "shell/tsdiappform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// 10,000 single-recipe files and 100 list files of 100 recipes, split over two search
// directories; the program directory (a third one) holds nothing.
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
        shape.singleFiles = 5000;
        shape.listFiles = 50;
        shape.entriesPerList = 100;
        for (const char* sub : {"kantine", "internet"}) {
            const std::string dir = root_.string() + "/" + sub + "/";
            recipes_ += kovanta::recipegen::WriteCollection(dir, shape).recipes;
            paths_.add(dir, true);
            shape.seed += 1;
            shape.firstNumber += 10000;
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

double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_OpenRead2KiBClose(benchmark::State& state)
{
    const auto& files = Collection::Get().Files();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::ReadFirst2KiBOfEach(files));
    state.counters["files"] = static_cast<double>(files.size());
}

// The scan alone (search paths, listing, reader, event queue served at each growth step),
// without any list: shows which part of the whole read the list grid takes.
void BM_ScanOnly(benchmark::State& state)
{
    const auto& collection = Collection::Get();
    const kovanta::TRezeptImportProz proz;
    kovanta::RecipeScan scan(proz, collection.ProgramDir());
    std::size_t recipes = 0;
    for (auto _ : state) {
        const auto entries =
            scan.readAll(collection.Paths(), [](std::size_t) { QApplication::processEvents(); });
        recipes = entries.size();
    }
    if (recipes != collection.Recipes())
        state.SkipWithError("the collection did not read back completely");
}

void BM_ReadAllRecipesIntoList(benchmark::State& state)
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

    std::size_t recipes = 0;
    for (auto _ : state) {
        // As "Programmstart" does it: the message, the read, the tabs shown and painted.
        kovanta::postWindowMessage(&window, kovanta::MSG_RELOAD_RECIPES);
        QApplication::processEvents();
        window.repaint();
        recipes = static_cast<std::size_t>(window.recipeList()->entryCount());
    }
    if (recipes != collection.Recipes())
        state.SkipWithError("the collection did not read back completely");
    state.counters["recipes"] = static_cast<double>(recipes);
    state.counters["peak_rss_mb"] = PeakRssMb();
}

} // namespace

BENCHMARK(BM_OpenRead2KiBClose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllRecipesIntoList)->Unit(benchmark::kMillisecond);
