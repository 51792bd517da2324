// The quick filter in the recipe list grid at 100,000 recipes, as the cook types: the matching
// and the hiding of rows in the view together, per keystroke (CPU time of the thread). The
// matching alone, against a plain scan, is bench_filter; this shows what the view adds.
#include "grid/astringgrid.h"
#include "grid/stringgridmodel.h"
#include "recipe/records.h"
#include "shell/gridsetup.h"
#include "shell/recipefilterbar.h"
#include "views/recipelistmodel.h"
#include "views/recipelistview.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRecipes = 100000;

double CpuNanoseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

void BM_TypingIntoTheFilteredGrid(benchmark::State& state)
{
    QWidget window;
    window.setObjectName(QStringLiteral("SDIAppForm"));
    window.resize(800, 600);
    kovanta::TAStringGrid* grid = kovanta::CreateListGrid(QStringLiteral("StringGrid1"), &window);
    grid->SaveSettings.AutoSave = false;
    grid->setGeometry(0, 40, 800, 560);
    const char* const words[] = {"Gulasch", "Kartoffel", "Sahne",  "Torte",  "Suppe",
                                 "Gem\xFCse", "Braten",  "Salat",  "Kuchen", "Spinat",
                                 "Linsen",  "Eintopf",   "Quark",  "Fisch",  "Creme"};
    const char* const groups[] = {"Fleisch", "Suppen", "Desserts", "Beilagen", "Kuchen"};
    std::mt19937 rng(7);
    kovanta::RecipeListModel::Entries entries;
    for (int i = 0; i < kRecipes; ++i) {
        auto e = std::make_unique<kovanta::TImpListInfo>();
        e->ShortName = std::string(words[rng() % 15]) + " " + words[rng() % 15];
        e->GroupName = groups[rng() % 5];
        entries.push_back(std::move(e));
    }
    kovanta::RecipeListModel list;
    kovanta::RecipeListView view(grid, list);
    auto* bar = new kovanta::RecipeFilterBar(&window);
    bar->setGeometry(0, 0, 800, 40);
    bar->setList(&view);
    list.setEntries(std::move(entries));
    window.show();
    QCoreApplication::processEvents();

    const char* const keys[] = {"k", "ku", "kuc", "kuch", "kuche", "kuchen", "kuchen s",
                                "kuchen sa", "kuchen", "k", ""};
    double cpu = 0;
    std::size_t strokes = 0;
    for (auto _ : state) {
        for (const char* key : keys) {
            const double t0 = CpuNanoseconds();
            bar->field()->setText(QString::fromLatin1(key));
            const double t1 = CpuNanoseconds();
            cpu += t1 - t0;
            ++strokes;
        }
        QCoreApplication::processEvents();
    }
    state.counters["ms_per_key"] = strokes ? cpu / static_cast<double>(strokes) / 1e6 : 0;
    state.counters["shown_at_end"] = bar->shownCount();
    delete bar;
}

// The automatic column widths after a read of 100,000 recipes: every column measured again
// (one pass of additions, the widest few measured with the font) and the widths applied.
void BM_FittingTheColumnsAfterARead(benchmark::State& state)
{
    QWidget window;
    window.setObjectName(QStringLiteral("SDIAppForm"));
    window.resize(1300, 600);
    kovanta::TAStringGrid* grid = kovanta::CreateListGrid(QStringLiteral("StringGrid1"), &window);
    grid->SaveSettings.AutoSave = false;
    grid->setGeometry(0, 0, 1300, 600);
    window.show();
    std::mt19937 rng(7);
    grid->SetRowCount(kRecipes + 1);
    const auto fill = [&] {
        grid->GridModel()->beginBatch();
        for (int row = 1; row <= kRecipes; ++row) {
            grid->SetCell(2, row, "Rezept " + std::to_string(rng() % 1000000));
            grid->SetCell(3, row, "Gruppe " + std::to_string(rng() % 100));
            for (int col = 4; col <= 10; ++col)
                grid->SetCell(col, row, std::to_string(rng() % 5000));
            grid->SetCell(11, row,
                          "/srv/rezepte/kantine/REZ" + std::to_string(rng() % 10000) + ".DAT");
        }
        grid->GridModel()->endBatch();
    };
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fill();
        state.ResumeTiming();
        const double t0 = CpuNanoseconds();
        QCoreApplication::processEvents(); // the queued fit
        cpu += CpuNanoseconds() - t0;
    }
    state.counters["ms_per_fit"] = cpu / static_cast<double>(state.iterations()) / 1e6;
    state.counters["natural_width"] = grid->NaturalWidth();
}

} // namespace

BENCHMARK(BM_TypingIntoTheFilteredGrid)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FittingTheColumnsAfterARead)->Unit(benchmark::kMillisecond)->Iterations(3);
