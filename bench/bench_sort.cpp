#include "grid/core/gridsort.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

// Sorting a 20,000-row recipe list by a text and by a number column, against std::stable_sort
// of the same keys in the same run. The grid sort includes what it really does per sort: the
// rows-without-object rule, the key extraction (digit values) and the work list of positions.

namespace {

constexpr int kRows = 20000;

struct Rows {
    std::vector<std::string> names;
    std::vector<std::string> numbers;
    int object = 0;
};

const Rows& rows()
{
    static const Rows r = [] {
        Rows out;
        std::mt19937 rng(20000);
        const char* words[] = {"Suppe",   "Braten",   "Salat",  "Kuchen",    "Eintopf",
                               "Auflauf", "\xC4pfel", "zucker", "Gem\xFCse", "Fisch"};
        for (int i = 0; i < kRows; ++i) {
            out.names.push_back(std::string(words[rng() % 10]) + " " + words[rng() % 10] + " " +
                                std::to_string(rng() % 1000));
            out.numbers.push_back(std::to_string(rng() % 5000));
        }
        return out;
    }();
    return r;
}

std::vector<kovanta::grid::SortEntry> entries(const std::vector<std::string>& texts)
{
    std::vector<kovanta::grid::SortEntry> e;
    e.reserve(texts.size());
    for (const auto& t : texts)
        e.push_back({t, &rows().object});
    return e;
}

void GridSortText(benchmark::State& state)
{
    const auto e = entries(rows().names);
    for (auto _ : state) {
        auto order = kovanta::grid::sortOrder(e, {kovanta::grid::SortType::Text, 0, true});
        benchmark::DoNotOptimize(order.data());
    }
}

void StdStableSortText(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::string> keys = rows().names;
        std::stable_sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
}

void GridSortNumber(benchmark::State& state)
{
    const auto e = entries(rows().numbers);
    for (auto _ : state) {
        auto order = kovanta::grid::sortOrder(e, {kovanta::grid::SortType::Number, 0, true});
        benchmark::DoNotOptimize(order.data());
    }
}

void StdStableSortNumber(benchmark::State& state)
{
    std::vector<int> parsed;
    for (const auto& t : rows().numbers)
        parsed.push_back(std::stoi(t));
    for (auto _ : state) {
        std::vector<int> keys = parsed;
        std::stable_sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
}

} // namespace

BENCHMARK(GridSortText)->Unit(benchmark::kMillisecond);
BENCHMARK(StdStableSortText)->Unit(benchmark::kMillisecond);
BENCHMARK(GridSortNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(StdStableSortNumber)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
