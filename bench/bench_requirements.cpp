// The requirements of a full menu plan: 50 recipes of 100 article lines each, 5,000 distinct
// articles in all (every line a new row, the worst case for finding a row), against reading the
// same 50 recipes' lines and doing nothing with them. The ratio of the two times is what
// matters; the goal is at most 2 (BM_RatioComputeToRead reports it as the counter "ratio"). A
// further run sums through a plain search of the rows, to show what the index saves.
#include "recipe/requirements.h"
#include "recipe/rezeptimportproz.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRecipes = 50;
constexpr int kLinesPerRecipe = 100;

std::string Padded(std::string text, std::size_t width, bool right)
{
    if (text.size() >= width)
        return text.substr(0, width);
    const std::string blanks(width - text.size(), ' ');
    return right ? blanks + text : text + blanks;
}

// An article line of the full layout: amount 2-10, divisor 18-21, unit 46-53, article 79-108.
std::string ArticleLine(int amount, const std::string& unit, const std::string& article)
{
    return "*" + Padded(std::to_string(amount), 9, true) + std::string(7, ' ') + "   1" +
           std::string(24, ' ') + Padded(unit, 8, false) + std::string(25, ' ') +
           Padded(article, 30, false);
}

class Plan {
public:
    static const Plan& Get()
    {
        static const Plan plan;
        return plan;
    }
    const std::vector<kovanta::PlanRow>& Rows() const { return rows_; }

    ~Plan()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

private:
    Plan()
    {
        std::random_device rd;
        dir_ = std::filesystem::temp_directory_path() /
               ("kovanta-bench-plan-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(dir_);
        const char* const units[] = {"kg", "g", "l", "Stk", "Bund"};
        for (int r = 0; r < kRecipes; ++r) {
            std::string file;
            for (const std::string& line :
                 {std::string("06.12.2026"), std::string("Kantine"), std::string("Rezeptur"),
                  Padded("Rezept " + std::to_string(r + 1), 20, false) + "    1",
                  std::string("Gruppe"), std::string("Beschreibung"), std::string(),
                  std::string("10")})
                file += line + "\r\n";
            for (int i = 0; i < kLinesPerRecipe; ++i) {
                const int article = r * kLinesPerRecipe + i;
                file += ArticleLine(100 + article % 900, units[article % 5],
                                    "Artikel Nummer " + std::to_string(article)) +
                        "\r\n";
            }
            file += "^^\r\n";
            char name[32];
            std::snprintf(name, sizeof name, "REZ%05d.DAT", r + 1);
            std::ofstream(dir_ / name, std::ios::binary) << file;
            auto entry = std::make_unique<kovanta::TImpListInfo>();
            entry->FileName = (dir_ / name).string();
            rows_.push_back(kovanta::PlanRow{entry.get(), "25"});
            entries_.push_back(std::move(entry));
        }
    }

    std::filesystem::path dir_;
    std::vector<std::unique_ptr<kovanta::TImpListInfo>> entries_;
    std::vector<kovanta::PlanRow> rows_;
};

// The least the computation must do: open every planned recipe, read its head and body lines.
std::size_t ReadPlannedLines(const kovanta::TRezeptImportProz& proz,
                             const std::vector<kovanta::PlanRow>& rows)
{
    std::size_t lines = 0;
    for (const kovanta::PlanRow& row : rows) {
        auto file = proz.OpenRecipe(*row.Entry);
        if (!file)
            continue;
        proz.ReadRecipeLines(8, *file, true);
        while (!file->AtEnd()) {
            const std::string line = proz.ReadRecipeLines(1, *file, true);
            if (line.compare(0, 2, "^^") == 0)
                break;
            benchmark::DoNotOptimize(line.data());
            ++lines;
        }
    }
    return lines;
}

void BM_ReadPlannedRecipeLines(benchmark::State& state)
{
    const auto& plan = Plan::Get();
    const kovanta::TRezeptImportProz proz;
    std::size_t lines = 0;
    for (auto _ : state)
        lines = ReadPlannedLines(proz, plan.Rows());
    if (lines != static_cast<std::size_t>(kRecipes * kLinesPerRecipe))
        state.SkipWithError("the plan did not read back completely");
    state.counters["lines"] = static_cast<double>(lines);
}

// Thread CPU time in nanoseconds: what this thread spent, whatever else the machine runs.
double CpuNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

// Both in turn within each iteration, so that a busy machine slows both alike; the counter
// "ratio" is the computation's CPU time over the reading's.
void BM_RatioComputeToRead(benchmark::State& state)
{
    const auto& plan = Plan::Get();
    const kovanta::TRezeptImportProz proz;
    kovanta::RequirementsList list;
    double read = 0, compute = 0;
    for (auto _ : state) {
        const double t0 = CpuNanoseconds();
        benchmark::DoNotOptimize(ReadPlannedLines(proz, plan.Rows()));
        const double t1 = CpuNanoseconds();
        benchmark::DoNotOptimize(kovanta::ComputeRequirements(proz, plan.Rows(), list));
        const double t2 = CpuNanoseconds();
        read += t1 - t0;
        compute += t2 - t1;
    }
    state.counters["ratio"] = read > 0 ? compute / read : 0;
}

void BM_ComputeRequirements(benchmark::State& state)
{
    const auto& plan = Plan::Get();
    const kovanta::TRezeptImportProz proz;
    kovanta::RequirementsList list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kovanta::ComputeRequirements(proz, plan.Rows(), list));
    }
    if (list.size() != static_cast<std::size_t>(kRecipes * kLinesPerRecipe))
        state.SkipWithError("expected one row per article");
    state.counters["rows"] = static_cast<double>(list.size());
}

// Summing the same keys through a search of all rows, as a list without index would.
void BM_SumByPlainSearch(benchmark::State& state)
{
    const auto& plan = Plan::Get();
    const kovanta::TRezeptImportProz proz;
    kovanta::RequirementsList source;
    kovanta::ComputeRequirements(proz, plan.Rows(), source);
    std::vector<kovanta::TBedarfsGridinfo> rows;
    for (auto _ : state) {
        rows.clear();
        for (std::size_t i = 0; i < source.size(); ++i) {
            const kovanta::TBedarfsGridinfo& add = source[i];
            bool found = false;
            for (kovanta::TBedarfsGridinfo& row : rows) {
                if (row.Article == add.Article && row.UnitName == add.UnitName) {
                    row.Quantity += add.Quantity;
                    found = true;
                    break;
                }
            }
            if (!found)
                rows.push_back(add);
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows.size());
}

} // namespace

BENCHMARK(BM_ReadPlannedRecipeLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeRequirements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SumByPlainSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatioComputeToRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
