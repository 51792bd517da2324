// The quick filter of the recipe list at 100,000 recipes: one keystroke (a query as typed so far)
// through RecipeFilter against a plain scan over the same names and groups, a case-sensitive
// substring search without folding, the least any filter does. BM_RatioFilterToPlainScan runs
// both in turn and reports the CPU time ratio as "ratio" (goal: at most 2) and the filter's CPU
// time per keystroke as "ms_per_key" (goal: at most 30).
#include "recipe/recipefilter.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kRecipes = 100000;

struct Recipe {
    std::string name;  // ANSI
    std::string group; // ANSI
};

// Names as kitchens write them: two or three words from a pool, umlauts included.
const std::vector<Recipe>& Recipes()
{
    static const std::vector<Recipe> recipes = [] {
        const char* const words[] = {
            "Gulasch", "Kartoffel", "Sahne", "Torte", "Suppe", "Gem\xFCse", "Braten", "Salat",
            "Kn\xF6" "del", "Spa\xDF", "Auflauf", "K\xE4se", "Spinat", "Linsen", "Eintopf",
            "Schnitzel", "Pfannkuchen", "Reis", "Nudeln", "Apfel", "Quark", "M\xFCsli", "Fisch",
            "Rahm", "Gr\xFC" "nkohl", "Lauch", "Paprika", "Zwiebel", "Kuchen", "Creme"};
        const char* const groups[] = {"Fleisch", "Suppen", "Desserts", "Beilagen", "Salate",
                                      "Fr\xFChst\xFC" "ck", "Vegetarisch", "Fisch", "Kuchen"};
        std::mt19937 rng(42);
        std::vector<Recipe> out;
        out.reserve(kRecipes);
        for (std::size_t i = 0; i < kRecipes; ++i) {
            Recipe r;
            const int parts = 2 + static_cast<int>(rng() % 2);
            for (int p = 0; p < parts; ++p) {
                if (p)
                    r.name += ' ';
                r.name += words[rng() % std::size(words)];
            }
            r.name = r.name.substr(0, 20); // the short name has 20 characters
            r.group = groups[rng() % std::size(groups)];
            out.push_back(std::move(r));
        }
        return out;
    }();
    return recipes;
}

const kovanta::RecipeFilter& Filter()
{
    static const kovanta::RecipeFilter filter = [] {
        kovanta::RecipeFilter f;
        f.Reserve(kRecipes, kRecipes * 32);
        for (const Recipe& r : Recipes())
            f.Add(r.name, r.group);
        return f;
    }();
    return filter;
}

// What the cook types, one keystroke after the other.
const std::vector<std::string>& Keystrokes()
{
    static const std::vector<std::string> keys = {"k",      "ku",      "kuc",      "kuch",
                                                  "kuche",  "kuchen",  "kuchen ",  "kuchen s",
                                                  "kuchen sa", "kuchen sah", "g", "gr",
                                                  "gr\xFC", "gr\xFCn"};
    return keys;
}

std::size_t PlainScan(const std::vector<Recipe>& recipes, const std::string& query,
                      std::vector<std::uint8_t>& shown)
{
    shown.assign(recipes.size(), 0);
    std::size_t count = 0;
    for (std::size_t i = 0; i < recipes.size(); ++i) {
        const bool match = recipes[i].name.find(query) != std::string::npos ||
                           recipes[i].group.find(query) != std::string::npos;
        shown[i] = match;
        count += match;
    }
    return count;
}

std::size_t FilterScan(kovanta::RecipeFilter& filter, const std::string& query,
                       std::vector<std::uint8_t>& shown)
{
    filter.SetQuery(query);
    return filter.Apply(shown);
}

double CpuNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

void BM_PlainScanPerKeystroke(benchmark::State& state)
{
    const auto& recipes = Recipes();
    std::vector<std::uint8_t> shown;
    for (auto _ : state) {
        for (const std::string& key : Keystrokes())
            benchmark::DoNotOptimize(PlainScan(recipes, key, shown));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Keystrokes().size()));
}

void BM_FilterPerKeystroke(benchmark::State& state)
{
    kovanta::RecipeFilter filter = Filter();
    std::vector<std::uint8_t> shown;
    for (auto _ : state) {
        for (const std::string& key : Keystrokes())
            benchmark::DoNotOptimize(FilterScan(filter, key, shown));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Keystrokes().size()));
}

// Both in turn within each iteration, so that a busy machine slows both alike.
void BM_RatioFilterToPlainScan(benchmark::State& state)
{
    const auto& recipes = Recipes();
    kovanta::RecipeFilter filter = Filter();
    std::vector<std::uint8_t> shown;
    double plain = 0, filtered = 0;
    for (auto _ : state) {
        for (const std::string& key : Keystrokes()) {
            const double t0 = CpuNanoseconds();
            benchmark::DoNotOptimize(PlainScan(recipes, key, shown));
            const double t1 = CpuNanoseconds();
            benchmark::DoNotOptimize(FilterScan(filter, key, shown));
            const double t2 = CpuNanoseconds();
            plain += t1 - t0;
            filtered += t2 - t1;
        }
    }
    const double keys = static_cast<double>(state.iterations()) *
                        static_cast<double>(Keystrokes().size());
    state.counters["ratio"] = plain > 0 ? filtered / plain : 0;
    state.counters["ms_per_key"] = keys > 0 ? filtered / keys / 1e6 : 0;
}

// Building the folded index once per read of the recipes.
void BM_BuildIndex(benchmark::State& state)
{
    const auto& recipes = Recipes();
    for (auto _ : state) {
        kovanta::RecipeFilter f;
        f.Reserve(recipes.size(), recipes.size() * 32);
        for (const Recipe& r : recipes)
            f.Add(r.name, r.group);
        benchmark::DoNotOptimize(f.size());
    }
}

} // namespace

BENCHMARK(BM_PlainScanPerKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterPerKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatioFilterToPlainScan)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
