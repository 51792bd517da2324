// The preview of one recipe with 300 body lines, against the least any preview must do: open
// the recipe and read its lines. Three steps are measured in the same run, so that their
// ratios can be read off directly:
//   ReadLinesOnly      OpenRecipe + ReadRecipeLines up to "^^";
//   PreviewParagraphs  FillPreviewRich into paragraphs (reading included);
//   PreviewWidget      the same into a QTextEdit, as the "Vorschau" tab does.
#include "recipe/recipetext.h"
#include "recipe/rezeptimportproz.h"
#include "views/richtextpreview.h"

#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

std::string Left(const std::string& text, std::size_t width)
{
    std::string out = text.substr(0, width);
    out.resize(width, ' ');
    return out;
}

std::string Right(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text.substr(text.size() - width)
                                : std::string(width - text.size(), ' ') + text;
}

// A recipe of every line kind: articles (some compact), labels, article segments,
// alternatives, plain text with and without the "ca" marker.
std::string MakeRecipe(int bodyLines)
{
    std::string out;
    const auto line = [&out](const std::string& l) { out += l + "\r\n"; };
    for (const char* head : {"14.02.1998", "Kantine Am Hafen", "Rezeptur Hauptgerichte",
                             "Rindergulasch         101", "Fleischgerichte", "Rindergulasch",
                             "kr\x84"
                             "ftig (!)",
                             "10", "0", "40", "120", "545", "2280", "1", "95"})
        line(head);
    std::mt19937 random(7);
    for (int i = 0; i < bodyLines; ++i) {
        switch (i % 6) {
        case 0:
            line("*" + Right(std::to_string(random() % 100000), 9) + std::string(7, ' ') +
                 Right("1", 4) + std::string(24, ' ') + Left("kg", 8) + std::string(25, ' ') +
                 Left("Rindfleisch aus der Keule", 30));
            break;
        case 1:
            line("*" + Right(std::to_string(random() % 1000), 9) + "0001" + std::string(24, ' ') +
                 Left("g", 8) + std::string(25, ' ') + Left("Paprikapulver edels\x81\xE1", 30));
            break;
        case 2:
            line(":0005F\x81r den Teig:^");
            break;
        case 3:
            line(":0000Salz^Pfeffer^Muskat^");
            break;
        case 4:
            line(":0007oder^");
            break;
        default:
            line(":0090" + Left("Zugedeckt schmoren lassen, bis das Fleisch weich ist.", 63) +
                 "ca");
            break;
        }
    }
    line("^^");
    return out;
}

class RecipeOnDisk {
public:
    static const RecipeOnDisk& Get()
    {
        static const RecipeOnDisk recipe;
        return recipe;
    }
    const kovanta::TImpListInfo& Entry() const { return entry_; }
    ~RecipeOnDisk()
    {
        std::error_code ec;
        std::filesystem::remove(entry_.FileName, ec);
    }

private:
    RecipeOnDisk()
    {
        std::random_device rd;
        entry_.FileName = (std::filesystem::temp_directory_path() /
                           ("kovanta-bench-REZ" + std::to_string(rd()) + ".DAT"))
                              .string();
        std::ofstream(entry_.FileName, std::ios::binary) << MakeRecipe(300);
    }
    kovanta::TImpListInfo entry_;
};

void ReadLinesOnly(benchmark::State& state)
{
    const kovanta::TRezeptImportProz proz;
    const auto& entry = RecipeOnDisk::Get().Entry();
    for (auto _ : state) {
        auto file = proz.OpenRecipe(entry);
        std::size_t lines = 0;
        while (!file->AtEnd()) {
            const std::string line = proz.ReadRecipeLines(1, *file, true);
            ++lines;
            if (line.compare(0, 2, "^^") == 0)
                break;
        }
        benchmark::DoNotOptimize(lines);
    }
}

void PreviewParagraphs(benchmark::State& state)
{
    const kovanta::TRezeptImportProz proz;
    const auto& entry = RecipeOnDisk::Get().Entry();
    for (auto _ : state) {
        kovanta::RecipeText text;
        kovanta::FillPreviewRich(proz, entry, text, 25);
        benchmark::DoNotOptimize(text.paragraphs.data());
    }
}

void PreviewWidget(benchmark::State& state)
{
    const kovanta::TRezeptImportProz proz;
    const auto& entry = RecipeOnDisk::Get().Entry();
    QTextEdit edit;
    edit.setReadOnly(true);
    edit.resize(600, 800);
    for (auto _ : state) {
        kovanta::FillPreviewRich(proz, entry, edit, 25);
        benchmark::DoNotOptimize(edit.document());
    }
}

BENCHMARK(ReadLinesOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(PreviewParagraphs)->Unit(benchmark::kMicrosecond);
BENCHMARK(PreviewWidget)->Unit(benchmark::kMicrosecond);

} // namespace
