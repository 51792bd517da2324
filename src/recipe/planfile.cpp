#include "recipe/planfile.h"

#include "platform/atomicfile.h"
#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "recipe/requirements.h"
#include "recipe/rezeptimportproz.h"

#include <filesystem>

namespace kovanta {
namespace {

// The entry index field: a decimal number that fits the 16 bits of EntryIndex.
bool ParseEntryIndex(std::string_view text, std::uint16_t& index)
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

bool ParseLine(std::string_view line, const std::filesystem::path& planDir, PlanFileRow& row)
{
    row = PlanFileRow{};
    if (line.find_first_not_of(" \t") == std::string_view::npos)
        return true;
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    std::uint16_t index = 0;
    if (fields.size() < 2 || fields.size() > 4 || fields[1].empty() ||
        (fields.size() >= 3 && !ParseEntryIndex(fields[2], index)))
        return false;
    if (fields.size() == 4)
        row.name = std::string(fields[3]);
    std::filesystem::path file{std::string(fields[1])};
    if (file.is_relative() && !planDir.empty())
        file = planDir / file;
    row.free = false;
    row.portions = std::string(fields[0]);
    row.file = file.string();
    row.entryIndex = index;
    return true;
}

// Whether the last component of path is name.
bool SameFileName(std::string_view path, std::string_view name)
{
    if (!path.ends_with(name))
        return false;
    return path.size() == name.size() || path[path.size() - name.size() - 1] == '/';
}

// TAB, CR, LF and the other control characters as blanks: a name field must not end its
// field or line.
std::string WithoutControls(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
    }
    return out;
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

} // namespace

std::string PlanRecipeName(std::string_view shortName)
{
    return WithoutControls(codepage::ansiToUtf8(shortName));
}

PlanRowProblem PlanRowTextProblem(const PlanFileRow& row)
{
    if (row.free)
        return {};
    if (row.file.find('\0') != std::string::npos)
        return {"der Name der Rezeptdatei enthält ein NUL-Zeichen", false};
    if (!PortionsTextAccepted(row.portions)) {
        const std::string limit = std::to_string(kMaxPlanPortions);
        return {"die Portionen " + Quoted(row.portions) + " sind keine ganze Zahl von -" + limit +
                    " bis " + limit,
                false};
    }
    return {};
}

PlanRowProblem PlanRowNameProblem(const PlanFileRow& row, const TImpListInfo& entry)
{
    if (row.free || !row.name)
        return {};
    const std::string now = PlanRecipeName(entry.ShortName);
    if (now == *row.name)
        return {};
    return {"hat als Eintrag " + std::to_string(row.entryIndex) + " jetzt " + Quoted(now) +
                ", nicht " + Quoted(*row.name),
            true};
}

PlanRowProblem CheckPlanRow(const TRezeptImportProz& proz, const PlanFileRow& row,
                            TImpListInfo& entry)
{
    if (row.free)
        return {};
    if (PlanRowProblem problem = PlanRowTextProblem(row); !problem.ok())
        return problem;
    TImpListInfo wanted;
    wanted.FileName = row.file;
    wanted.FileNumber = FileNumberOf(row.file);
    wanted.EntryIndex = row.entryIndex;
    RecipeOpenError error = RecipeOpenError::None;
    if (!proz.OpenRecipe(wanted, error))
        return {DescribeRecipeOpenError(proz, wanted, error), true};
    // The names and numbers of the entry as the recipe list would show them.
    RecipeList listed;
    proz.ReadRecipeIndex(row.file, listed);
    for (RecipeListItem& item : listed) {
        if (item.Entry->EntryIndex != row.entryIndex)
            continue;
        if (PlanRowProblem problem = PlanRowNameProblem(row, *item.Entry); !problem.ok())
            return problem;
        entry = std::move(*item.Entry);
        return {};
    }
    // Positioned access finds the entry, the index reader does not (an index cut short by a
    // Ctrl-Z): the list would not offer it.
    return {DescribeRecipeOpenError(proz, wanted, RecipeOpenError::EntryNotHeld), true};
}

bool ParsePlanText(std::string_view text, const std::filesystem::path& planDir,
                   std::vector<PlanFileRow>& rows, int& errorLine)
{
    rows.clear();
    errorLine = 0;
    // Some editors put a byte order mark in front of a UTF-8 file.
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        PlanFileRow row;
        if (!ParseLine(line, planDir, row)) {
            errorLine = number;
            return false;
        }
        rows.push_back(std::move(row));
    }
    return true;
}

PlanReadResult ReadPlanFile(const std::string& path)
{
    PlanReadResult result;
    std::string content;
    const FileReadResult read = readRegularFile(path, kMaxPlanFileBytes, content);
    if (!read.ok()) {
        result.status = read.error == FileReadError::TooLarge ? PlanReadStatus::TooLarge
                                                              : PlanReadStatus::CannotOpen;
        return result;
    }
    const std::filesystem::path dir = std::filesystem::path(path).parent_path();
    if (!ParsePlanText(content, dir, result.rows, result.line)) {
        result.status = PlanReadStatus::Malformed;
        result.rows.clear();
    }
    return result;
}

std::string PlanFileRecipeName(const std::string& file, const std::filesystem::path& planDir)
{
    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(file), ec).lexically_normal();
    if (ec)
        return file;
    const std::filesystem::path dir =
        std::filesystem::absolute(planDir, ec).lexically_normal();
    if (ec || dir.empty())
        return absolute.string();
    const std::filesystem::path relative = absolute.lexically_relative(dir);
    // Below the directory: neither empty (another root), nor "." (the directory itself), nor
    // leading out of it with "..".
    if (relative.empty() || relative == "." || *relative.begin() == "..")
        return absolute.string();
    return relative.generic_string();
}

bool FormatPlanText(const std::vector<PlanFileRow>& rows, const std::filesystem::path& planDir,
                    std::string& text, std::size_t& badRow)
{
    text.clear();
    badRow = 0;
    const std::vector<PlanFileRow> trimmed = TrimmedPlanRows(rows);
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const PlanFileRow& row = trimmed[i];
        if (row.free) {
            text += '\n';
            continue;
        }
        const std::string name = PlanFileRecipeName(row.file, planDir);
        if (name.empty() || name.find_first_of("\t\n") != std::string::npos) {
            badRow = i;
            text.clear();
            return false;
        }
        std::string portions = row.portions;
        for (char& c : portions) {
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        }
        // The index is always written: it ends the line or comes before the recipe name, so a
        // file name ending in CR or blanks keeps them when read back.
        text += portions;
        text += '\t';
        text += name;
        text += '\t';
        text += std::to_string(row.entryIndex);
        if (row.name) {
            text += '\t';
            text += WithoutControls(*row.name);
        }
        text += '\n';
    }
    return true;
}

bool WritePlanFile(const std::string& path, const std::vector<PlanFileRow>& rows,
                   std::string& reason)
{
    std::error_code ec;
    // Relative to the directory the reader will resolve against: that of path as given.
    const std::filesystem::path dir =
        std::filesystem::absolute(std::filesystem::path(path), ec).parent_path();
    std::string text;
    std::size_t badRow = 0;
    if (!FormatPlanText(rows, dir, text, badRow)) {
        reason = "Zeile " + std::to_string(badRow + 1) +
                 ": der Dateiname des Rezepts enthält einen Tabulator oder Zeilenumbruch";
        return false;
    }
    return writeFileAtomically(path, text, reason);
}

PlannedRecipeFinder::PlannedRecipeFinder(std::vector<const TImpListInfo*> listed)
    : listed_(std::move(listed))
{}

const std::string& PlannedRecipeFinder::Canonical(const std::string& file)
{
    const auto found = canonical_.find(file);
    if (found != canonical_.end())
        return found->second;
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(file, ec);
    return canonical_.emplace(file, ec ? std::string() : resolved.string()).first->second;
}

int PlannedRecipeFinder::Find(const PlanFileRow& row)
{
    if (row.free)
        return -1;
    for (std::size_t i = 0; i < listed_.size(); ++i) {
        const TImpListInfo* e = listed_[i];
        if (e && e->EntryIndex == row.entryIndex && e->FileName == row.file)
            return static_cast<int>(i);
    }
    // Another spelling: only files of the same name are worth a look at the disk.
    const std::string name = std::filesystem::path(row.file).filename().string();
    const std::string& wanted = Canonical(row.file);
    if (wanted.empty())
        return -1;
    for (std::size_t i = 0; i < listed_.size(); ++i) {
        const TImpListInfo* e = listed_[i];
        if (!e || e->EntryIndex != row.entryIndex || !SameFileName(e->FileName, name))
            continue;
        if (Canonical(e->FileName) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<PlanFileRow> TrimmedPlanRows(std::vector<PlanFileRow> rows)
{
    while (!rows.empty() && rows.back().free)
        rows.pop_back();
    return rows;
}

} // namespace kovanta
