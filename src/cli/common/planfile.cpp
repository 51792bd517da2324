#include "planfile.h"

#include "platform/codepage.h"
#include "recipe/rezeptimportproz.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace kovanta::cli {

namespace {

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

} // namespace

std::string OutputField(std::string_view ansi)
{
    std::string utf8 = codepage::ansiToUtf8(ansi);
    for (char& c : utf8) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return utf8;
}

std::optional<std::vector<PlanLine>> ReadPlanFile(std::string_view command,
                                                  const std::string& planPath)
{
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(planPath, ec))
        in.open(planPath, std::ios::binary);
    if (!in.is_open()) {
        std::cerr << command << ": \"" << planPath << "\" nicht gefunden\n";
        return std::nullopt;
    }
    const std::filesystem::path base = std::filesystem::path(planPath).parent_path();
    std::vector<PlanLine> plan;
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
            std::cerr << command << ": \"" << planPath << "\", Zeile " << number
                      << ": erwartet PORTIONEN<TAB>DATEI[<TAB>EINTRAG]\n";
            return std::nullopt;
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
    return plan;
}

} // namespace kovanta::cli
