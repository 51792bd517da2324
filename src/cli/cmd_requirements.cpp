// `rezeptur requirements PLANFILE`: the requirements list of a menu plan, computed as the
// window computes it, one TAB-separated line per row. For batch use and the golden tests.
#include "command.h"
#include "outputfield.h"
#include "platform/codepage.h"
#include "recipe/requirements.h"
#include "recipe/rezeptimportproz.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace kovanta::cli {
namespace {

constexpr const char* kName = "rezeptur requirements";

// The entry index field: a decimal number that fits the 16 bits of EntryIndex.
bool ParseEntryIndex(const std::string& text, std::uint16_t& index)
{
    if (text.empty() || text.size() > 5)
        return false;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFFF)
        return false;
    index = static_cast<std::uint16_t>(value);
    return true;
}

struct PlanLine {
    bool free = true; // an empty line: a plan row without recipe
    std::string portions;
    std::unique_ptr<TImpListInfo> entry;
};

// One plan row per line: portions TAB file name [TAB entry index]. A relative file name is
// taken relative to the plan file's directory, so a plan travels with its recipe files.
bool ParsePlan(const std::string& planPath, std::istream& in, std::vector<PlanLine>& plan)
{
    const std::filesystem::path base = std::filesystem::path(planPath).parent_path();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        PlanLine row;
        if (line.find_first_not_of(" \t") == std::string::npos) {
            plan.push_back(std::move(row));
            continue;
        }
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        if (line.back() == '\t')
            fields.emplace_back();
        std::uint16_t index = 0;
        if (fields.size() < 2 || fields.size() > 3 || fields[1].empty() ||
            (fields.size() == 3 && !ParseEntryIndex(fields[2], index))) {
            std::cerr << kName << ": \"" << planPath << "\", Zeile " << number
                      << ": erwartet PORTIONEN<TAB>DATEI[<TAB>EINTRAG]\n";
            return false;
        }
        std::filesystem::path file(fields[1]);
        if (file.is_relative() && !base.empty())
            file = base / file;
        row.free = false;
        row.portions = fields[0];
        row.entry = std::make_unique<TImpListInfo>();
        row.entry->FileName = file.string();
        row.entry->FileNumber = FileNumberOf(row.entry->FileName);
        row.entry->EntryIndex = index;
        plan.push_back(std::move(row));
    }
    return true;
}

int RunRequirements(const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        std::cerr << "Aufruf: rezeptur requirements PLANDATEI\n";
        return kExitUsage;
    }
    const std::string& planPath = args[0];
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(planPath, ec))
        in.open(planPath, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << kName << ": \"" << planPath << "\" nicht gefunden\n";
        return kExitFailure;
    }
    std::vector<PlanLine> lines;
    if (!ParsePlan(planPath, in, lines))
        return kExitFailure;

    std::vector<PlanRow> plan;
    plan.reserve(lines.size());
    for (const PlanLine& line : lines)
        plan.push_back(PlanRow{line.free ? nullptr : line.entry.get(), line.portions});

    const TRezeptImportProz proz;
    RequirementsList list;
    const bool alternatives = ComputeRequirements(proz, plan, list);

    std::string out;
    for (std::size_t i = 0; i < list.size(); ++i) {
        out += RequirementQuantityText(list[i].Quantity);
        out += '\t';
        out += outputField(list[i].UnitName);
        out += '\t';
        out += outputField(list[i].Article);
        out += '\n';
    }
    if (alternatives) {
        out += kAlternativesCaption;
        out += '\n';
    }
    std::cout << out;
    std::cout.flush();
    return kExitOk;
}

const Registrar kRequirementsCommand{
    Command{"requirements",
            "requirements PLANDATEI   Bedarfsliste eines Speiseplans (PORTIONEN<TAB>DATEI"
            "[<TAB>EINTRAG] je Zeile)",
            RunRequirements}};

} // namespace
} // namespace kovanta::cli
