#include "planfile.h"

#include "output.h"
#include "platform/regularfile.h"
#include "recipe/planfile.h"
#include "recipe/rezeptimportproz.h"

#include <iostream>

namespace kovanta::cli {

std::string OutputField(std::string_view ansi)
{
    return ansiField(ansi);
}

std::optional<std::vector<PlanLine>> ReadPlanFile(std::string_view command,
                                                  const std::string& planPath)
{
    // The program's one plan reader (recipe/planfile.h); here its rows become plan entries.
    const PlanReadResult read = kovanta::ReadPlanFile(planPath);
    switch (read.status) {
    case PlanReadStatus::Ok:
        break;
    case PlanReadStatus::CannotOpen: {
        // Why: missing, a directory, a FIFO ...
        FileReadResult why;
        if (std::FILE* f = openRegularFile(planPath, why))
            std::fclose(f);
        std::cerr << command << ": " << quotedName(planPath) << ' '
                  << (why.ok() ? std::string("kann nicht gelesen werden")
                               : describeReadError(why, kMaxPlanFileBytes))
                  << '\n';
        return std::nullopt;
    }
    case PlanReadStatus::TooLarge:
        std::cerr << command << ": " << quotedName(planPath) << " ist größer als "
                  << kMaxPlanFileBytes / (1024 * 1024) << " MiB\n";
        return std::nullopt;
    case PlanReadStatus::Malformed:
        std::cerr << command << ": " << quotedName(planPath) << ", Zeile " << read.line
                  << ": erwartet PORTIONEN<TAB>DATEI[<TAB>EINTRAG]\n";
        return std::nullopt;
    }
    std::vector<PlanLine> plan;
    plan.reserve(read.rows.size());
    for (const PlanFileRow& row : read.rows) {
        PlanLine line;
        if (!row.free) {
            line.free = false;
            line.portions = row.portions;
            line.entry = std::make_unique<TImpListInfo>();
            line.entry->FileName = row.file;
            line.entry->FileNumber = FileNumberOf(line.entry->FileName);
            line.entry->EntryIndex = row.entryIndex;
        }
        plan.push_back(std::move(line));
    }
    return plan;
}

} // namespace kovanta::cli
