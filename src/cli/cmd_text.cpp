// `rezeptur preview` and `rezeptur printgrid`: the recipe text of one entry as the preview pane
// and the recipe printout get it, for batch use and black-box tests of the text producers.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "platform/codepage.h"
#include "recipe/recipetext.h"
#include "recipe/rezeptimportproz.h"

#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

namespace kovanta::cli {
namespace {

struct TextArgs {
    std::string file;
    std::uint16_t entry = 0;
    std::int32_t portions = 0;
};

// FILE [--entry N] [--portions N]; a bad argument is reported here (help.h).
std::optional<TextArgs> ParseArgs(const std::string& command, const std::vector<std::string>& args)
{
    const auto parsed = parseCommandArguments(command, args);
    if (!parsed)
        return std::nullopt;
    TextArgs out;
    out.file = parsed->positional[0];
    out.entry = static_cast<std::uint16_t>(parsed->number("--entry", 0));
    out.portions = static_cast<std::int32_t>(parsed->number("--portions", 0));
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
    const auto args = ParseArgs("preview", argv);
    if (!args)
        return kExitUsage;
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
    const auto args = ParseArgs("printgrid", argv);
    if (!args)
        return kExitUsage;
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
