// `rezeptur requirements PLANFILE [--csv]`: the requirements list of a menu plan, computed as
// the window computes it, one TAB-separated line per row, or the CSV file of "Bedarfsliste
// exportieren...". For batch use and the golden tests.
#include "command.h"
#include "platform/codepage.h"
#include "recipe/planfile.h"
#include "recipe/requirements.h"
#include "recipe/requirementscsv.h"
#include "recipe/rezeptimportproz.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace kovanta::cli {
namespace {

constexpr const char* kName = "rezeptur requirements";

// Texts from recipe files as one output field: UTF-8, and a TAB, CR or LF in the file cannot
// break the line into extra fields or lines.
std::string Field(std::string_view ansi)
{
    std::string utf8 = codepage::ansiToUtf8(ansi);
    for (char& c : utf8) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return utf8;
}

int RunRequirements(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    bool csv = false;
    for (const std::string& arg : args) {
        if (arg == "--csv" && !csv)
            csv = true;
        else
            files.push_back(arg);
    }
    if (files.size() != 1) {
        std::cerr << "Aufruf: rezeptur requirements PLANDATEI [--csv]\n";
        return kExitUsage;
    }
    const std::string& planPath = files[0];
    const PlanReadResult read = ReadPlanFile(planPath);
    switch (read.status) {
    case PlanReadStatus::Ok:
        break;
    case PlanReadStatus::CannotOpen:
        std::cerr << kName << ": \"" << planPath << "\" nicht gefunden\n";
        return kExitFailure;
    case PlanReadStatus::TooLarge:
        std::cerr << kName << ": \"" << planPath << "\" ist größer als "
                  << kMaxPlanFileBytes / (1024 * 1024) << " MiB\n";
        return kExitFailure;
    case PlanReadStatus::Malformed:
        std::cerr << kName << ": \"" << planPath << "\", Zeile " << read.line
                  << ": erwartet PORTIONEN<TAB>DATEI[<TAB>EINTRAG]\n";
        return kExitFailure;
    }

    std::vector<std::unique_ptr<TImpListInfo>> entries;
    std::vector<PlanRow> plan;
    plan.reserve(read.rows.size());
    for (const PlanFileRow& row : read.rows) {
        if (row.free) {
            plan.push_back(PlanRow{nullptr, {}});
            continue;
        }
        auto entry = std::make_unique<TImpListInfo>();
        entry->FileName = row.file;
        entry->FileNumber = FileNumberOf(entry->FileName);
        entry->EntryIndex = row.entryIndex;
        plan.push_back(PlanRow{entry.get(), row.portions});
        entries.push_back(std::move(entry));
    }

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
            out += Field(list[i].UnitName);
            out += '\t';
            out += Field(list[i].Article);
            out += '\n';
        }
        if (alternatives) {
            out += kAlternativesCaption;
            out += '\n';
        }
    }
    std::cout << out;
    std::cout.flush();
    return kExitOk;
}

const Registrar kRequirementsCommand{
    Command{"requirements",
            "requirements PLANDATEI [--csv]   Bedarfsliste eines Speiseplans (PORTIONEN<TAB>DATEI"
            "[<TAB>EINTRAG] je Zeile); --csv: als CSV-Datei",
            RunRequirements}};

} // namespace
} // namespace kovanta::cli
