// ReadRecipeIndex over a collection of 20,000 recipes (10,000 single-recipe files and 100 list
// files of 100 entries) against the least any scan must do: open each file, read its first
// 2 KiB, close it. The ratio of the two times is what matters; the goal is at most 2.
// BM_BoundedRead: what a file that is no recipe file costs at most, one per shape: a sparse file
// of 40 GB (one line without end, as single-recipe and as list file) and an index of short lines
// that runs on beyond kMaxIndexBytes. The scan looks at its stop flag between files, so this is
// also how long a stop request can wait; the goal is far below a second.
#include "benchsupport.h"
#include "recipe/rezeptimportproz.h"
#include "recipegen/recipegen.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
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

void BM_BoundedRead(benchmark::State& state)
{
    const std::filesystem::path dir = bench::MakeScratchDir("kovanta-bench-bounded");
    const std::string file = (dir / "REZ99999.DAT").string();
    {
        std::ofstream out(file, std::ios::binary);
        if (state.range(0) == 1)
            out << '^';
        for (std::uint64_t n = 0; state.range(0) == 2 && n <= kovanta::kMaxIndexBytes + 1024;
             n += 3)
            out << ".\r\n"; // comment lines without end
    }
    if (state.range(0) != 2 && ::truncate(file.c_str(), 40LL << 30) != 0)
        state.SkipWithError("no sparse file");
    const kovanta::TRezeptImportProz proz;
    kovanta::IndexRead read = kovanta::IndexRead::Complete;
    for (auto _ : state) {
        kovanta::RecipeList list;
        read = proz.ReadRecipeIndex(file, list);
        benchmark::DoNotOptimize(list.data());
    }
    if (read == kovanta::IndexRead::Complete || read == kovanta::IndexRead::Cut)
        state.SkipWithError("the file was taken for a recipe file");
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace

BENCHMARK(BM_OpenRead2KiBClose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRecipeIndex)->Unit(benchmark::kMillisecond);
// 0: sparse single-recipe file, 1: sparse list file, 2: an index beyond kMaxIndexBytes.
BENCHMARK(BM_BoundedRead)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
