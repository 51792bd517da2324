// `rezeptur preview` and `rezeptur printgrid`: the recipe text of one entry as the preview pane
// and the recipe printout get it, for batch use and black-box tests of the text producers.
#include "command.h"
#include "cli/common/output.h"
#include "platform/codepage.h"
#include "recipe/recipetext.h"
#include "recipe/rezeptimportproz.h"

#include <charconv>
#include <cstdint>
#include <iostream>
#include <limits>
#include <optional>
#include <string>

namespace kovanta::cli {
namespace {

struct TextArgs {
    std::string file;
    std::uint16_t entry = 0;
    std::int32_t portions = 0;
};

template <typename Int> std::optional<Int> ParseNumber(const std::string& text)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() ||
        value < static_cast<long long>(std::numeric_limits<Int>::min()) ||
        value > static_cast<long long>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(value);
}

// FILE [--entry N] [--portions N], options in any order after the file or before it.
std::optional<TextArgs> ParseArgs(const std::vector<std::string>& args)
{
    TextArgs out;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--entry" || a == "--portions") {
            if (i + 1 >= args.size())
                return std::nullopt;
            const std::string& value = args[++i];
            if (a == "--entry") {
                const auto n = ParseNumber<std::uint16_t>(value);
                if (!n)
                    return std::nullopt;
                out.entry = *n;
            } else {
                const auto n = ParseNumber<std::int32_t>(value);
                if (!n)
                    return std::nullopt;
                out.portions = *n;
            }
        } else if (!haveFile && !a.starts_with("--")) {
            out.file = a;
            haveFile = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveFile)
        return std::nullopt;
    return out;
}

TImpListInfo EntryOf(const TextArgs& args)
{
    TImpListInfo e;
    e.FileName = args.file;
    e.FileNumber = FileNumberOf(args.file);
    e.EntryIndex = args.entry;
    return e;
}

int CannotOpen(const std::string& command, const TextArgs& args, RecipeOpenError error)
{
    const TRezeptImportProz proz;
    std::cerr << "rezeptur " << command << ": " << quotedName(args.file) << ' '
              << DescribeRecipeOpenError(proz, EntryOf(args), error) << '\n';
    return kExitFailure;
}

int RunPreview(const std::vector<std::string>& argv)
{
    const auto args = ParseArgs(argv);
    if (!args) {
        std::cerr << "Aufruf: rezeptur preview DATEI [--entry N] [--portions N]\n";
        return kExitUsage;
    }
    const TRezeptImportProz proz;
    RecipeText text;
    RecipeOpenError error = RecipeOpenError::None;
    if (!FillPreviewRich(proz, EntryOf(*args), text, args->portions, &error))
        return CannotOpen("preview", *args, error);
    // Paragraphs are lines and TABs their columns; anything else that could drive a terminal
    // is escaped.
    std::string out = escaped(codepage::ansiToUtf8(PlainText(text)), true);
    if (!text.paragraphs.empty())
        out += '\n';
    std::cout << out;
    std::cout.flush();
    return kExitOk;
}

int RunPrintGrid(const std::vector<std::string>& argv)
{
    const auto args = ParseArgs(argv);
    if (!args) {
        std::cerr << "Aufruf: rezeptur printgrid DATEI [--entry N] [--portions N]\n";
        return kExitUsage;
    }
    const TRezeptImportProz proz;
    PrintGrid grid;
    RecipeOpenError error = RecipeOpenError::None;
    if (!FillPrintGrid(proz, EntryOf(*args), grid, args->portions, &error))
        return CannotOpen("printgrid", *args, error);
    std::string out;
    for (int row = 1; row < grid.RowCount(); ++row) {
        for (int col = 0; col < PrintGrid::kColumns; ++col) {
            if (col > 0)
                out += '\t';
            std::string_view cell = grid.Cell(col, row);
            while (!cell.empty() && cell.back() == ' ')
                cell.remove_suffix(1);
            out += ansiField(cell);
        }
        out += '\n';
    }
    std::cout << out;
    std::cout.flush();
    return kExitOk;
}

const Registrar kPreviewCommand{Command{
    "preview", "preview DATEI [--entry N] [--portions N]    Vorschau eines Rezeptes als Text",
    RunPreview}};

const Registrar kPrintGridCommand{
    Command{"printgrid",
            "printgrid DATEI [--entry N] [--portions N]  Druckraster eines Rezeptes (TAB-getrennt)",
            RunPrintGrid}};

} // namespace
} // namespace kovanta::cli
