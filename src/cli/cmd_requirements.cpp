// `rezeptur requirements PLANFILE [--csv]`: the requirements list of a menu plan, computed as
// the window computes it, one TAB-separated line per row, or the CSV file of "Bedarfsliste
// exportieren...". For batch use and the golden tests.
#include "command.h"
#include "cli/common/help.h"
#include "cli/common/planfile.h"
#include "recipe/requirements.h"
#include "recipe/requirementscsv.h"
#include "recipe/rezeptimportproz.h"

#include <iostream>
#include <string>
#include <vector>

namespace kovanta::cli {
namespace {

constexpr const char* kName = "rezeptur requirements";

int RunRequirements(const std::vector<std::string>& args)
{
    const auto parsed = parseCommandArguments("requirements", args);
    if (!parsed)
        return kExitUsage;
    const bool csv = parsed->has("--csv");
    int unusable = 0;
    auto lines = ReadPlanFile(kName, parsed->positional[0], unusable);
    if (!lines)
        return kExitFailure;

    std::vector<PlanRow> plan;
    plan.reserve(lines->size());
    for (const PlanLine& line : *lines)
        plan.push_back(PlanRow{line.free ? nullptr : line.entry.get(), line.portions});

    const TRezeptImportProz proz;
    RequirementsList list;
    const bool alternatives = ComputeRequirements(proz, plan, list);

    std::string out;
    if (csv) {
        out = RequirementsCsv(RequirementsCsvRows(list), alternatives);
    } else {
        for (std::size_t i = 0; i < list.size(); ++i) {
            out += RequirementQuantityText(list[i].Quantity);
            out += '\t';
            out += OutputField(list[i].UnitName);
            out += '\t';
            out += OutputField(list[i].Article);
            out += '\n';
        }
        if (alternatives) {
            out += kAlternativesCaption;
            out += '\n';
        }
    }
    std::cout << out;
    std::cout.flush();
    // The list of the usable rows is written all the same; the rows left out were named.
    return unusable > 0 ? kExitFailure : kExitOk;
}

const Registrar kRequirementsCommand{
    Command{"requirements",
            "requirements PLANDATEI [--csv]   Bedarfsliste eines Speiseplans (PORTIONEN<TAB>DATEI"
            "[<TAB>EINTRAG[<TAB>NAME]] je Zeile); --csv: als CSV-Datei",
            RunRequirements}};

} // namespace
} // namespace kovanta::cli
