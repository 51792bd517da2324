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
                                                  const std::string& planPath, int& unusable)
{
    unusable = 0;
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
                  << ": erwartet PORTIONEN<TAB>DATEI[<TAB>EINTRAG[<TAB>NAME]]\n";
        return std::nullopt;
    }
    const TRezeptImportProz proz;
    std::vector<PlanLine> plan;
    plan.reserve(read.rows.size());
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        const PlanFileRow& row = read.rows[i];
        PlanLine line;
        auto entry = std::make_unique<TImpListInfo>();
        if (const PlanRowProblem problem = CheckPlanRow(proz, row, *entry); !problem.ok()) {
            ++unusable;
            std::cerr << command << ": " << quotedName(planPath) << ", Zeile " << i + 1 << ": ";
            if (problem.afterFileName)
                std::cerr << quotedName(row.file) << ' ';
            std::cerr << escaped(problem.text) << '\n';
        } else if (!row.free) {
            line.free = false;
            line.portions = row.portions;
            line.entry = std::move(entry);
        }
        plan.push_back(std::move(line));
    }
    return plan;
}

} // namespace kovanta::cli
