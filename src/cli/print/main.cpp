// rezeptur-print: the printouts of the program as PDF files, for batch printing and archiving.
// Started by `rezeptur print` (cmd_print.cpp) with the arguments after "print":
//
//   list PATH... | plan PLANFILE | requirements PLANFILE | recipe FILE [--entry N] [--portions N]
//   followed (or preceded) by --pdf OUT.pdf [--copies N]
//
// Same printouts, same code as the window, written with QPdfWriter: A4 portrait, 600 dpi, all
// copies one after the other in the one file. Links Qt Gui on the offscreen platform, no
// widgets. Exit 0 on success, 1 with a message when the output cannot be written, a recipe
// file cannot be read or a plan row cannot be used (the rest is printed), 2 on a usage error.
#include "cli/common/help.h"
#include "cli/common/output.h"
#include "cli/common/planfile.h"
#include "cli/common/recipesources.h"
#include "print/listprintouts.h"
#include "print/qt/paintercanvas.h"
#include "print/qt/pdffile.h"
#include "print/recipeprintout.h"
#include "recipe/recipetext.h"
#include "recipe/requirements.h"
#include "recipe/rezeptimportproz.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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

// The recipe list of every PATH, in the order `rezeptur list` prints it. A PATH that gives
// `rezeptur list` an error gives the same error here, and then no list: an empty or partial
// printout would look like the whole list.
std::optional<ListTable> RecipeListTable(const TRezeptImportProz& proz,
                                         const std::vector<std::string>& paths)
{
    ListTable table;
    table.header = RecipeListPrintHeader();
    bool failed = false;
    for (const std::string& path : paths) {
        RecipeScan::Entries entries;
        cli::RecipeSourceReport report;
        const bool read = cli::ReadRecipeSource(proz, path, entries, report);
        for (const std::string& file : report.cutIndexes)
            std::cerr << kName << ": " << cli::quotedName(file) << ": Index nach "
                      << kMaxIndexEntries << " Einträgen abgeschnitten\n";
        if (!read) {
            std::cerr << kName << ": " << cli::quotedName(path) << ' ' << report.error << '\n';
            failed = true;
            continue;
        }
        for (const auto& entry : entries)
            table.rows.push_back(ListRow{RecipeListTexts(*entry), true});
    }
    if (failed)
        return std::nullopt;
    return table;
}

// The plan rows with their portions, recipe name and group; a row that cannot be used was named
// by ReadPlanFile and stays empty, as the window leaves it out of the plan.
ListTable PlanTable(const std::vector<cli::PlanLine>& lines)
{
    ListTable table;
    table.header = MenuPlanPrintHeader();
    for (const cli::PlanLine& line : lines) {
        ListRow row;
        row.hasEntry = !line.free;
        if (!line.free)
            row.cells = {line.portions, line.entry->ShortName, line.entry->GroupName};
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

// Writes the printout to the file as the program writes every file (AtomicFile): a failed run
// leaves an earlier file of that name as it was, and only a regular file is ever replaced.
int WritePdf(const Printout& printout, const Arguments& args)
{
    PdfFileSettings settings;
    settings.layout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0));
    settings.resolution = kResolution;
    settings.creator = QStringLiteral("VEMO-KOVANTA Rezepturendisplay");
    const std::string error = WritePdfFile(args.pdf, printout, args.copies, TodayForPrint(), settings);
    if (!error.empty()) {
        std::cerr << kName << ": " << cli::quotedName(args.pdf) << ' ' << error << "\n";
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
        RecipeOpenError error = RecipeOpenError::None;
        if (!FillPrintGrid(proz, entry, grid, args.portions, &error)) {
            std::cerr << kName << ": " << cli::quotedName(entry.FileName) << ' '
                      << DescribeRecipeOpenError(proz, entry, error) << '\n';
            return kExitFailure;
        }
        return WritePdf(RecipePrintout(std::move(grid)), args);
    }
    int unusable = 0;
    const auto lines = cli::ReadPlanFile(kName, args.paths[0], unusable);
    if (!lines)
        return kExitFailure;
    // The printout of the usable rows is made all the same; the rows left out were named.
    const int failed = unusable > 0 ? kExitFailure : kExitOk;
    if (args.kind == "plan") {
        const int written = WritePdf(ListPrintout::MenuPlan(PlanTable(*lines)), args);
        return written != kExitOk ? written : failed;
    }
    bool alternatives = false;
    ListTable table = RequirementsTable(proz, *lines, alternatives);
    const int written =
        WritePdf(ListPrintout::Requirements(std::move(table), alternatives), args);
    return written != kExitOk ? written : failed;
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
