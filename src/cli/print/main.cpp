// rezeptur-print: the printouts of the program as PDF files, for batch printing and archiving.
// Started by `rezeptur print` (cmd_print.cpp) with the arguments after "print":
//
//   list PATH... | plan PLANFILE | requirements PLANFILE | recipe FILE [--entry N] [--portions N]
//   followed (or preceded) by --pdf OUT.pdf [--copies N]
//
// Same printouts, same code as the window, written with QPdfWriter: A4 portrait, 600 dpi, all
// copies one after the other in the one file. Links Qt Gui on the offscreen platform, no
// widgets. Exit 0 on success, 1 with a message when the output cannot be written or a recipe
// file cannot be read, 2 on a usage error.
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "cli/common/planfile.h"
#include "cli/common/recipesources.h"
#include "print/listprintouts.h"
#include "print/qt/paintercanvas.h"
#include "print/recipeprintout.h"
#include "recipe/recipetext.h"
#include "recipe/requirements.h"
#include "recipe/rezeptimportproz.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace kovanta;
using namespace kovanta::print;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kName = "rezeptur print";
constexpr int kResolution = 600;

struct Arguments {
    std::string kind;
    std::vector<std::string> paths;
    std::string pdf;
    int copies = 1;
    std::uint16_t entry = 0;
    std::int32_t portions = 0;
};

// The kind of printout, then its arguments by the rules of `rezeptur print` (cli/common/help.h);
// a bad argument is reported there, as `rezeptur print` since that is how users call this.
std::optional<Arguments> Parse(const std::vector<std::string>& args)
{
    static const char* const kKinds[] = {"list", "plan", "requirements", "recipe"};
    if (args.empty() || std::find(std::begin(kKinds), std::end(kKinds), args[0]) == std::end(kKinds)) {
        cli::usageError("print", args.empty() ? std::string("Art des Ausdrucks fehlt")
                                              : "unbekannte Art des Ausdrucks " +
                                                    cli::quotedName(args[0]));
        return std::nullopt;
    }
    const auto parsed = cli::parseCommandArguments(
        "print", std::vector<std::string>(args.begin() + 1, args.end()), args[0]);
    if (!parsed)
        return std::nullopt;
    Arguments out;
    out.kind = args[0];
    out.paths = parsed->positional;
    out.pdf = parsed->text("--pdf");
    out.copies = static_cast<int>(parsed->number("--copies", 1));
    out.entry = static_cast<std::uint16_t>(parsed->number("--entry", 0));
    out.portions = static_cast<std::int32_t>(parsed->number("--portions", 0));
    return out;
}

// The recipe list of every PATH, in the order `rezeptur list` prints it.
std::optional<ListTable> RecipeListTable(const TRezeptImportProz& proz,
                                         const std::vector<std::string>& paths)
{
    ListTable table;
    table.header = RecipeListPrintHeader();
    for (const std::string& path : paths) {
        RecipeScan::Entries entries;
        if (!cli::ReadRecipeSource(proz, path, entries)) {
            std::cerr << kName << ": " << cli::quotedName(path) << " nicht gefunden\n";
            return std::nullopt;
        }
        for (const auto& entry : entries)
            table.rows.push_back(ListRow{RecipeListPrintCells(*entry), true});
    }
    return table;
}

// The plan rows with their portions, recipe name and group. A row whose recipe is not found
// is left out, as the window drops it from the plan.
ListTable PlanTable(const TRezeptImportProz& proz, const std::vector<cli::PlanLine>& lines)
{
    ListTable table;
    table.header = MenuPlanPrintHeader();
    for (const cli::PlanLine& line : lines) {
        ListRow row;
        row.hasEntry = false;
        if (!line.free) {
            RecipeList list;
            proz.ReadRecipeIndex(line.entry->FileName, list);
            for (const RecipeListItem& item : list) {
                if (item.Entry->EntryIndex == line.entry->EntryIndex) {
                    row.cells = {line.portions, item.Entry->ShortName, item.Entry->GroupName};
                    row.hasEntry = true;
                    break;
                }
            }
            if (!row.hasEntry)
                std::cerr << kName << ": " << cli::quotedName(line.entry->FileName) << " (Eintrag "
                          << line.entry->EntryIndex << ") nicht gefunden, Zeile ausgelassen\n";
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

ListTable RequirementsTable(const TRezeptImportProz& proz,
                            const std::vector<cli::PlanLine>& lines, bool& alternatives)
{
    std::vector<PlanRow> plan;
    plan.reserve(lines.size());
    for (const cli::PlanLine& line : lines)
        plan.push_back(PlanRow{line.free ? nullptr : line.entry.get(), line.portions});
    RequirementsList list;
    alternatives = ComputeRequirements(proz, plan, list);
    ListTable table;
    table.header = RequirementsPrintHeader();
    for (std::size_t i = 0; i < list.size(); ++i)
        table.rows.push_back(ListRow{
            {RequirementQuantityText(list[i].Quantity), list[i].UnitName, list[i].Article},
            true});
    return table;
}

// Writes the printout to the file through a temporary file, so that a failed run leaves an
// earlier file of that name as it was.
int WritePdf(const Printout& printout, const Arguments& args)
{
    QSaveFile file(QString::fromLocal8Bit(args.pdf.c_str()));
    if (!file.open(QIODevice::WriteOnly)) {
        std::cerr << kName << ": " << cli::quotedName(args.pdf) << " kann nicht geschrieben werden: "
                  << file.errorString().toStdString() << "\n";
        return kExitFailure;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0)));
        writer.setCreator(QStringLiteral("VEMO-KOVANTA Rezepturendisplay"));
        PainterCanvas::Options options;
        options.oneDocumentForAllJobs = true;
        options.setTitle = [&writer](const QString& title) { writer.setTitle(title); };
        try {
            PrintOnDevice(writer, printout, args.copies, TodayForPrint(), options);
        } catch (const std::exception& e) {
            file.cancelWriting();
            std::cerr << kName << ": " << cli::quotedName(args.pdf) << ": " << e.what() << "\n";
            return kExitFailure;
        }
    }
    if (!file.commit()) {
        std::cerr << kName << ": " << cli::quotedName(args.pdf) << " kann nicht geschrieben werden: "
                  << file.errorString().toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

int Run(const Arguments& args)
{
    const TRezeptImportProz proz;
    if (args.kind == "list") {
        auto table = RecipeListTable(proz, args.paths);
        if (!table)
            return kExitFailure;
        return WritePdf(ListPrintout::RecipeList(std::move(*table)), args);
    }
    if (args.kind == "recipe") {
        TImpListInfo entry;
        entry.FileName = args.paths[0];
        entry.FileNumber = FileNumberOf(entry.FileName);
        entry.EntryIndex = args.entry;
        PrintGrid grid;
        if (!FillPrintGrid(proz, entry, grid, args.portions)) {
            std::cerr << kName << ": " << cli::quotedName(entry.FileName) << " (Eintrag " << entry.EntryIndex
                      << ") kann nicht gelesen werden\n";
            return kExitFailure;
        }
        return WritePdf(RecipePrintout(grid), args);
    }
    const auto lines = cli::ReadPlanFile(kName, args.paths[0]);
    if (!lines)
        return kExitFailure;
    if (args.kind == "plan")
        return WritePdf(ListPrintout::MenuPlan(PlanTable(proz, *lines)), args);
    bool alternatives = false;
    ListTable table = RequirementsTable(proz, *lines, alternatives);
    return WritePdf(ListPrintout::Requirements(std::move(table), alternatives), args);
}

// Qt's start-up notes about the desktop session (no runtime directory on a server) are no
// concern of a batch run; everything else reaches stderr as usual.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    std::cerr << qFormatLogMessage(type, context, message).toStdString() << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (cli::asksForHelp(all)) {
        std::cout << cli::commandHelp("print", "rezeptur-print") << std::flush;
        return kExitOk;
    }
    if (all.size() == 1 && all[0] == "--version") {
        std::cout << cli::versionText("rezeptur-print") << std::flush;
        return kExitOk;
    }
    const auto args = Parse(all);
    if (!args)
        return kExitUsage;
    // No display is needed, whatever the environment says.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QGuiApplication app(argc, argv);
    return Run(*args);
}
