#pragma once

#include "recipe/records.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Menu plan files ("*.plan", docs/plan-files.md): the one reader and the one writer, shared by
// the window ("Speiseplan öffnen/speichern"), `rezeptur requirements` and `rezeptur print plan`.
// Standard C++ only.
//
// Format: UTF-8 text, one plan row per line in plan order,
//     PORTIONS <TAB> RECIPE FILE [<TAB> ENTRY INDEX [<TAB> RECIPE NAME]]
// and an empty (or blank) line for a free plan row. PORTIONS is the text of the "Portionen"
// cell as typed; the entry index is 0 for a single-recipe file and 1..n for the n-th recipe of a
// list file (0 when missing); the recipe name is the short name the row was planned with, so
// that a list file exported again in another order is noticed. A relative recipe file name is
// relative to the plan file's directory. Lines may end in LF or CR LF; the writer uses LF. A
// byte order mark in front of the first line is skipped.
namespace kovanta {

class TRezeptImportProz;

// One line of a plan file.
struct PlanFileRow {
    bool free = true;           // a free plan row (no recipe); the other fields are empty
    std::string portions;       // the portion text, UTF-8, as in the file
    std::string file;           // the recipe file; after reading, relative names are resolved
    std::uint16_t entryIndex = 0;
    // The recipe's short name as PlanRecipeName gives it; none in a row written without one
    // (plan files of earlier versions).
    std::optional<std::string> name;

    friend bool operator==(const PlanFileRow&, const PlanFileRow&) = default;
};

// The name field of a row for a recipe whose short name (ANSI) is shortName: UTF-8, with
// control characters (a TAB would end the field) as blanks.
std::string PlanRecipeName(std::string_view shortName);

// The largest plan file the reader accepts. A plan has 50 rows; anything near this size is not
// a plan.
inline constexpr std::size_t kMaxPlanFileBytes = 1024 * 1024;

// Parses the text of a plan file into rows. A relative recipe file name is joined to planDir
// (left as it stands when planDir is empty). On a line of another form returns false with
// errorLine set to its number (1-based) and rows holding the lines before it.
bool ParsePlanText(std::string_view text, const std::filesystem::path& planDir,
                   std::vector<PlanFileRow>& rows, int& errorLine);

enum class PlanReadStatus {
    Ok,
    CannotOpen, // missing, unreadable, or not a regular file (directory, FIFO, device)
    TooLarge,   // more than kMaxPlanFileBytes
    Malformed,  // a line of another form; see line
};

struct PlanReadResult {
    PlanReadStatus status = PlanReadStatus::Ok;
    int line = 0; // the offending line for Malformed
    std::vector<PlanFileRow> rows;
};

// Reads and parses the plan file at path (relative recipe names are resolved against the
// directory part of path as given). Opens regular files only, so a FIFO never blocks.
PlanReadResult ReadPlanFile(const std::string& path);

// The text the writer produces for rows, for a plan file in planDir (an absolute directory):
// one line per row up to the last occupied one (trailing free rows are not written), LF line
// ends. A recipe file below planDir is written relative to it, any other as an absolute path.
// TAB, CR and LF in a portion text become blanks (such a text counts as no number anyway).
// Returns false, with badRow the index of the row, when a recipe file name holds a TAB or a line
// break: the format cannot carry it.
bool FormatPlanText(const std::vector<PlanFileRow>& rows, const std::filesystem::path& planDir,
                    std::string& text, std::size_t& badRow);

// The recipe file name as the writer puts it into a plan file in planDir (see FormatPlanText).
std::string PlanFileRecipeName(const std::string& file, const std::filesystem::path& planDir);

// Writes rows to the plan file at path (FormatPlanText relative to the directory of path) so
// that the file is either the old one or the complete new one: a temporary file in the same
// directory is written, flushed to disk and renamed over path. A symbolic link at path is
// written through (the file it points to is replaced, the link stays); a replaced file keeps its
// permission bits, a new one gets 0666 less the umask. Anything but a regular file at path is
// refused. Returns false with a German reason (UTF-8, without the file name) when the plan
// cannot be written; the old file is then untouched and no temporary file is left.
bool WritePlanFile(const std::string& path, const std::vector<PlanFileRow>& rows,
                   std::string& reason);

// The rows as a plan would be compared: trailing free rows dropped, so that two plans that
// differ only in empty rows at the end are the same plan.
std::vector<PlanFileRow> TrimmedPlanRows(std::vector<PlanFileRow> rows);

// Why a row of a plan file cannot be planned, for messages: German, UTF-8. Empty text: the row
// can be used.
struct PlanRowProblem {
    std::string text;
    // The text continues a sentence that begins with the row's recipe file name
    // ("nicht gefunden"); otherwise it stands alone.
    bool afterFileName = false;
    bool ok() const { return text.empty(); }
};

// What the row's own text rules out (no file is looked at): a NUL in the recipe file name, which
// the system would cut the name off at, and portions the plan's "Portionen" cell does not take
// (PortionsTextAccepted: a text that is no whole number, or beyond -99999..99999).
PlanRowProblem PlanRowTextProblem(const PlanFileRow& row);

// The row carries a recipe name and entry, the recipe it now finds, is named otherwise: the
// list file was exported again, and the row would mean another recipe.
PlanRowProblem PlanRowNameProblem(const PlanFileRow& row, const TImpListInfo& entry);

// The row checked against its recipe file, where no recipe list is at hand (the command-line
// companion): PlanRowTextProblem, the file and entry as OpenRecipe finds them, then the name.
// When the row can be used, entry is the recipe's entry as the index reader lists it. A free
// row is no problem (entry untouched).
PlanRowProblem CheckPlanRow(const TRezeptImportProz& proz, const PlanFileRow& row,
                            TImpListInfo& entry);

// Finds the recipes a plan file names among the listed ones (the recipe list of the last read):
// the entry with the same entry index and the same recipe file, by name as written or, failing
// that, as the same file on disk under another spelling of its path ("/k/./rez/", a linked
// directory). The listed entries are not owned and must outlive the finder.
class PlannedRecipeFinder {
public:
    explicit PlannedRecipeFinder(std::vector<const TImpListInfo*> listed);
    // The position in listed of the first entry that row names, or -1 (also for a free row).
    int Find(const PlanFileRow& row);

private:
    const std::string& Canonical(const std::string& file);

    std::vector<const TImpListInfo*> listed_;
    std::map<std::string, std::string> canonical_; // file name -> resolved path ("" unknown)
};

} // namespace kovanta
